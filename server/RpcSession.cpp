#include "RpcSession.h"

#include "CheckResultServ.h"
#include "ConnectionError.h"

namespace fai {
namespace {

// Room for a long headcount list; the 4 MB default could refuse a year of rows.
constexpr int kMaxAnswerBytes = 64 * 1024 * 1024;
// After the server restarts, the channel tries again within seconds, not the minutes of
// gRPC's default backoff, so the screen works again as soon as the server is back.
constexpr int kMaxReconnectBackoffMs = 5000;

std::shared_ptr<grpc::Channel> NewChannel(const ServerEndpoint& endpoint) {
    grpc::ChannelArguments args;
    // A fresh connection per Connect: a shared subchannel would carry the backoff of an
    // earlier failed attempt into the new one.
    args.SetInt(GRPC_ARG_USE_LOCAL_SUBCHANNEL_POOL, 1);
    args.SetInt(GRPC_ARG_MAX_RECONNECT_BACKOFF_MS, kMaxReconnectBackoffMs);
    args.SetMaxReceiveMessageSize(kMaxAnswerBytes);
    return grpc::CreateCustomChannel(endpoint.Target(), grpc::InsecureChannelCredentials(), args);
}

enum class ChannelOutcome { Ready, Refused, Silent };

ChannelOutcome WaitUntilReady(grpc::Channel& channel, std::chrono::system_clock::time_point until) {
    for (auto state = channel.GetState(true); state != GRPC_CHANNEL_READY;
         state = channel.GetState(true)) {
        if (state == GRPC_CHANNEL_TRANSIENT_FAILURE || state == GRPC_CHANNEL_SHUTDOWN)
            return ChannelOutcome::Refused;
        if (!channel.WaitForStateChange(state, until)) return ChannelOutcome::Silent;
    }
    return ChannelOutcome::Ready;
}

// A connection refused once may be a blip of a busy machine: a fresh one is tried at once, and
// only a second refusal tells the clerk that the server is not there.
constexpr int kConnectAttempts = 2;

std::shared_ptr<grpc::Channel> ReadyChannel(const ServerEndpoint& endpoint,
                                            std::chrono::milliseconds deadline) {
    const auto until = std::chrono::system_clock::now() + deadline;
    for (int attempt = 1;; ++attempt) {
        auto channel = NewChannel(endpoint);
        switch (WaitUntilReady(*channel, until)) {
            case ChannelOutcome::Ready:
                return channel;
            case ChannelOutcome::Silent:
                throw EConnectionError::NoAnswer(endpoint, deadline);
            case ChannelOutcome::Refused:
                if (attempt >= kConnectAttempts) throw EConnectionError::Unreachable(endpoint);
                break;
        }
    }
}

}  // namespace

std::unique_ptr<RpcSession> RpcSession::Open(const ServerEndpoint& endpoint,
                                             std::chrono::milliseconds deadline) {
    return std::unique_ptr<RpcSession>(
        new RpcSession(endpoint, deadline, ReadyChannel(endpoint, deadline)));
}

RpcSession::RpcSession(const ServerEndpoint& endpoint, std::chrono::milliseconds deadline,
                       std::shared_ptr<grpc::Channel> channel)
    : endpoint_(endpoint),
      deadline_(deadline),
      channel_(std::move(channel)),
      stub_(Fai00400::rdmEfetFatur::NewStub(channel_)) {}

void RpcSession::ReopenIfFailing() {
    if (channel_->GetState(false) != GRPC_CHANNEL_TRANSIENT_FAILURE) return;
    auto channel = ReadyChannel(endpoint_, deadline_);
    stub_ = Fai00400::rdmEfetFatur::NewStub(channel);
    channel_ = std::move(channel);
}

void RpcSession::Check(const char* method, const grpc::Status& status) const {
    switch (status.error_code()) {
        case grpc::StatusCode::OK:
            return;
        case grpc::StatusCode::DEADLINE_EXCEEDED:
            throw EConnectionError::NoAnswer(endpoint_, deadline_);
        case grpc::StatusCode::UNAVAILABLE:
            throw EConnectionError::Unreachable(endpoint_);
        default:
            break;
    }
    if (!status.error_message().empty())
        throw EServerError(QString::fromStdString(status.error_message()));
    throw EServerError(
        QStringLiteral("O servidor de aplicação em %1 recusou a chamada %2 (código %3).")
            .arg(endpoint_.Address(), QLatin1String(method))
            .arg(static_cast<int>(status.error_code())));
}

}  // namespace fai
