#include "ServerChannel.h"

#include "CheckResultServ.h"
#include "ConnectionError.h"
#include "ReadOnlyCalls.h"
#include "SpreadTarget.h"

#include <QFile>
#include <QTcpSocket>

#include <algorithm>

namespace fai {
namespace {

// Room for a long headcount list; the 4 MB default could refuse a year of rows.
constexpr int kMaxAnswerBytes = 64 * 1024 * 1024;
// After the server restarts, the channel tries again within seconds, not the minutes of
// gRPC's default backoff, so the screen works again as soon as the server is back.
constexpr int kMaxReconnectBackoffMs = 5000;
// Enough to tell a port that answers from one that does not, on any network.
constexpr int kPortProbeMs = 3000;

std::string Pem(const QString& path, const QString& what) {
    if (path.isEmpty()) return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EConnectionError(
            QStringLiteral("Não foi possível ler %1 %2: %3.").arg(what, path, file.errorString()));
    return file.readAll().toStdString();
}

std::shared_ptr<grpc::ChannelCredentials> Credentials(const ServerList& servers,
                                                      const TlsSettings& tls) {
    if (!tls.enabled) return grpc::InsecureChannelCredentials();
    const std::string root = Pem(tls.caFile, QStringLiteral("a AC do servidor de aplicação"));
    const std::string certificate =
        Pem(tls.certificateFile, QStringLiteral("o certificado deste host"));
    const std::string key = Pem(tls.keyFile, QStringLiteral("a chave deste host"));
    if (servers.Several()) return SpreadTarget::Tls(servers, root, certificate, key);
    grpc::SslCredentialsOptions options;
    options.pem_root_certs = root;
    options.pem_cert_chain = certificate;
    options.pem_private_key = key;
    return grpc::SslCredentials(options);
}

std::shared_ptr<grpc::Channel> NewChannel(const ServerList& servers, const TlsSettings& tls) {
    grpc::ChannelArguments args;
    // A fresh connection per Connect: a shared subchannel would carry the backoff of an
    // earlier failed attempt into the new one.
    args.SetInt(GRPC_ARG_USE_LOCAL_SUBCHANNEL_POOL, 1);
    args.SetInt(GRPC_ARG_MAX_RECONNECT_BACKOFF_MS, kMaxReconnectBackoffMs);
    args.SetMaxReceiveMessageSize(kMaxAnswerBytes);
    if (!servers.Several())
        return grpc::CreateCustomChannel(servers.Endpoints().front().Target(),
                                         Credentials(servers, tls), args);
    const std::string target = SpreadTarget::Of(servers);
    if (target.empty()) throw EConnectionError::Unreachable(servers);
    args.SetServiceConfigJSON(SpreadTarget::ServiceConfig());
    return grpc::CreateCustomChannel(target, Credentials(servers, tls), args);
}

bool PortAnswers(const ServerEndpoint& endpoint) {
    QTcpSocket socket;
    socket.connectToHost(endpoint.host, static_cast<quint16>(endpoint.port));
    return socket.waitForConnected(kPortProbeMs);
}

[[noreturn]] void Fail(const ServerList& servers, const TlsSettings& tls) {
    const auto& endpoints = servers.Endpoints();
    if (std::none_of(endpoints.begin(), endpoints.end(), PortAnswers))
        throw EConnectionError::Unreachable(servers);
    if (tls.enabled) throw EConnectionError::SecureConnectionFailed(servers);
    throw EConnectionError::PlainConnectionRefused(servers);
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
// only a second refusal is looked into and told to the clerk.
constexpr int kConnectAttempts = 2;

}  // namespace

std::shared_ptr<grpc::Channel> ServerChannel::Open(const ServerList& servers,
                                                   const TlsSettings& tls,
                                                   std::chrono::milliseconds deadline) {
    const auto until = std::chrono::system_clock::now() + deadline;
    for (int attempt = 1;; ++attempt) {
        auto channel = NewChannel(servers, tls);
        switch (WaitUntilReady(*channel, until)) {
            case ChannelOutcome::Ready:
                return channel;
            case ChannelOutcome::Silent:
                throw EConnectionError::NoAnswer(servers, deadline);
            case ChannelOutcome::Refused:
                if (attempt >= kConnectAttempts) Fail(servers, tls);
                break;
        }
    }
}

bool ServerChannel::TakenElsewhere(const grpc::Status& status, const ServerList& servers,
                                   const char* method) {
    return status.error_code() == grpc::StatusCode::UNAVAILABLE && servers.Several() &&
           ChangesNothing(method);
}

void ServerChannel::Check(const grpc::Status& status, const ServerList& servers,
                          std::chrono::milliseconds deadline, const char* method) {
    switch (status.error_code()) {
        case grpc::StatusCode::OK:
            return;
        case grpc::StatusCode::DEADLINE_EXCEEDED:
            throw EConnectionError::NoAnswer(servers, deadline);
        case grpc::StatusCode::UNAVAILABLE:
            // Over several servers the channel is open while one serves: what went away is
            // the server of this call, not every server.
            if (servers.Several()) throw EConnectionError::Interrupted(servers);
            throw EConnectionError::Unreachable(servers);
        default:
            break;
    }
    if (!status.error_message().empty())
        throw EServerError(QString::fromStdString(status.error_message()));
    throw EServerError(
        QStringLiteral("O servidor de aplicação em %1 recusou a chamada %2 (código %3).")
            .arg(servers.Address(), QLatin1String(method))
            .arg(static_cast<int>(status.error_code())));
}

}  // namespace fai
