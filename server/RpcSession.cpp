#include "RpcSession.h"

namespace fai {

std::unique_ptr<RpcSession> RpcSession::Open(const ServerList& servers,
                                             std::chrono::milliseconds deadline,
                                             std::shared_ptr<ServerAccess> access) {
    auto channel = ServerChannel::Open(servers, access->Tls(), deadline);
    return std::unique_ptr<RpcSession>(
        new RpcSession(servers, deadline, std::move(access), std::move(channel)));
}

RpcSession::RpcSession(const ServerList& servers, std::chrono::milliseconds deadline,
                       std::shared_ptr<ServerAccess> access, std::shared_ptr<grpc::Channel> channel)
    : servers_(servers),
      deadline_(deadline),
      access_(std::move(access)),
      channel_(std::move(channel)),
      stub_(Fai00400::rdmEfetFatur::NewStub(channel_)) {}

void RpcSession::ReopenIfFailing() {
    if (channel_->GetState(false) != GRPC_CHANNEL_TRANSIENT_FAILURE) return;
    auto channel = ServerChannel::Open(servers_, access_->Tls(), deadline_);
    stub_ = Fai00400::rdmEfetFatur::NewStub(channel);
    channel_ = std::move(channel);
}

void RpcSession::Prepare(grpc::ClientContext& context,
                         std::chrono::system_clock::time_point until) const {
    context.set_deadline(until);
    if (!access_->Token().isEmpty())
        context.AddMetadata(kSessionMetadataKey, access_->Token().toStdString());
    context.AddMetadata(kLocalUserMetadataKey, Workstation::Here().user.toStdString());
    context.AddMetadata(kMachineMetadataKey, Workstation::Here().machine.toStdString());
}

void RpcSession::Check(const char* method, const grpc::Status& status) const {
    ServerChannel::Check(status, servers_, deadline_, method);
}

}  // namespace fai
