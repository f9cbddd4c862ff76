#include "RpcSession.h"

#include "ServerChannel.h"

namespace fai {

std::unique_ptr<RpcSession> RpcSession::Open(const ServerEndpoint& endpoint,
                                             std::chrono::milliseconds deadline,
                                             std::shared_ptr<ServerAccess> access) {
    auto channel = ServerChannel::Open(endpoint, access->Tls(), deadline);
    return std::unique_ptr<RpcSession>(
        new RpcSession(endpoint, deadline, std::move(access), std::move(channel)));
}

RpcSession::RpcSession(const ServerEndpoint& endpoint, std::chrono::milliseconds deadline,
                       std::shared_ptr<ServerAccess> access, std::shared_ptr<grpc::Channel> channel)
    : endpoint_(endpoint),
      deadline_(deadline),
      access_(std::move(access)),
      channel_(std::move(channel)),
      stub_(Fai00400::rdmEfetFatur::NewStub(channel_)) {}

void RpcSession::ReopenIfFailing() {
    if (channel_->GetState(false) != GRPC_CHANNEL_TRANSIENT_FAILURE) return;
    auto channel = ServerChannel::Open(endpoint_, access_->Tls(), deadline_);
    stub_ = Fai00400::rdmEfetFatur::NewStub(channel);
    channel_ = std::move(channel);
}

void RpcSession::Check(const char* method, const grpc::Status& status) const {
    ServerChannel::Check(status, endpoint_, deadline_, method);
}

}  // namespace fai
