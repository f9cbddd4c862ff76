#include "AppServer.h"

#include "Authorization.h"
#include "CallGate.h"
#include "CallLog.h"
#include "DemoSeeder.h"
#include "Errors.h"
#include "HealthWatch.h"
#include "HostReadAccess.h"
#include "RdmEfetFaturService.h"
#include "ReportPurge.h"
#include "Schema.h"
#include "SessionService.h"
#include "SqlSession.h"
#include "SqliteCopies.h"
#include "UserRepository.h"
#include "WorkerPool.h"

#include <QDir>
#include <QFileInfo>

#include <grpcpp/ext/proto_server_reflection_plugin.h>
#include <grpcpp/grpcpp.h>
#include <grpcpp/health_check_service_interface.h>

#include <chrono>

namespace fai::appserver {
namespace {

constexpr std::chrono::seconds kShutdownGrace{5};
// The headcounts of a whole screen travel in one request (GetVerifSoma, a large save); the
// client takes answers of the same size.
constexpr int kMaxRequestBytes = 64 * 1024 * 1024;
// A screen makes one call at a time: one program holding more on one connection is most
// likely stuck, and must not take every call the server can hold.
constexpr int kMaxCallsPerConnection = 16;
// While a connection has calls under way, the client is asked every so often to show it is
// still there; one that does not answer in time (gone, frozen, cut off) is dropped.
constexpr std::chrono::seconds kKeepaliveInterval{60};
constexpr std::chrono::seconds kKeepaliveTimeout{20};

int Milliseconds(std::chrono::milliseconds span) { return static_cast<int>(span.count()); }

}  // namespace

AppServer::AppServer(AppServerConfig config, CallLog& log)
    : config_(std::move(config)), log_(log) {}

AppServer::~AppServer() { Shutdown(); }

int AppServer::PrepareDatabase() {
    if (config_.database.kind == DatabaseKind::Sqlite)
        QDir().mkpath(QFileInfo(config_.database.path).absolutePath());
    SqlSession session(config_.database);
    // Taken once the file is known to open, so that a database out of reach is told as such.
    if (config_.database.kind == DatabaseKind::Sqlite)
        fileLock_ = std::make_unique<SqliteServingLock>(config_.database.path,
                                                        SqliteServingLock::Mode::Serving);
    Schema::Upgrade(session);
    AllowHostReads(session, config_.database, config_.hostReads);
    if (const int discarded = ReportPurge::Sweep(session, config_.reportRetention); discarded > 0)
        log_.Note(DiscardedNote(discarded));
    if (config_.seedDemo) {
        if (DemoSeeder(session, QDate::currentDate()).SeedIfEmpty())
            log_.Note(QStringLiteral("dados de demonstração gravados"));
        else
            log_.Note(QStringLiteral("o banco já tem dados: nenhum dado de demonstração gravado"));
    }
    return UserRepository(session).Count();
}

EError AppServer::CannotListen() const {
    return EError(config_.tls.Enabled()
                      ? QStringLiteral("Não foi possível escutar em %1: endereço inválido, porta "
                                       "em uso, ou certificado e chave TLS que não formam um par.")
                            .arg(config_.listenAddress)
                      : QStringLiteral("Não foi possível escutar em %1: endereço inválido ou "
                                       "porta em uso.")
                            .arg(config_.listenAddress));
}

// Said at start, so that the administrator knows who the server lets in.
void AppServer::NoteAccess(bool loopback, int users) {
    if (config_.tls.Enabled())
        log_.Note(config_.tls.clientCa.isEmpty()
                      ? QStringLiteral("TLS ativo")
                      : QStringLiteral("TLS ativo, exigindo certificado de cliente"));
    else if (!loopback)
        log_.Note(QStringLiteral("ATENÇÃO: escutando em %1 sem TLS, numa rede dita confiável "
                                 "(--trusted-network): senhas, sessões e dados trafegam sem "
                                 "criptografia")
                      .arg(config_.listenAddress));
    if (users > 0)
        log_.Note(QStringLiteral("%1 usuário(s) cadastrado(s): toda chamada exige sessão, que "
                                 "expira após %2 s sem uso")
                      .arg(users)
                      .arg(config_.sessionTimeout.count()));
    else if (loopback)
        log_.Note(
            QStringLiteral("modo aberto: escutando só nesta máquina e sem usuários "
                           "cadastrados, toda chamada é atendida sem entrar; ao cadastrar "
                           "o primeiro usuário (fai-appserver user add), toda chamada "
                           "passa a exigir sessão"));
    else
        log_.Note(
            QStringLiteral("nenhum usuário cadastrado: toda chamada será recusada até que "
                           "um seja cadastrado (fai-appserver user add)"));
}

void AppServer::Start() {
    const ServerSecurity::Reach reach = ServerSecurity::ReachOf(config_.listenAddress);
    if (reach == ServerSecurity::Reach::Invalid) throw CannotListen();
    const bool loopback = reach == ServerSecurity::Reach::ThisMachine;
    if (!loopback && !config_.tls.Enabled() && !config_.trustedNetwork)
        throw EError(QStringLiteral("Recusado escutar em %1 sem TLS: fora desta máquina, senhas e "
                                    "dados trafegariam sem criptografia. Informe --tls-cert e "
                                    "--tls-key, ou --trusted-network se a rede for confiável.")
                         .arg(config_.listenAddress));
    const std::shared_ptr<grpc::ServerCredentials> credentials =
        ServerSecurity::Credentials(config_.tls);
    const int users = PrepareDatabase();
    workers_ = std::make_unique<WorkerPool>(config_.database, config_.workers, config_.hostReads);
    purge_ = std::make_unique<ReportPurge>(config_.database, config_.reportRetention, log_);
    calls_ = std::make_unique<CallGate>(config_.limits.maxCalls, config_.limits.callTimeout);
    authorization_ = std::make_unique<Authorization>(loopback, config_.sessionTimeout);
    const Serving serving{*calls_, *workers_, log_};
    service_ = std::make_unique<RdmEfetFaturService>(serving, *authorization_);
    sessions_ = std::make_unique<SessionService>(serving, *authorization_);
    // Both are process-wide settings read by every builder made afterwards.
    grpc::EnableDefaultHealthCheckService(true);
    grpc::reflection::InitProtoReflectionServerBuilderPlugin();
    grpc::ServerBuilder builder;
    // Two servers on one port would split the calls between them without anyone noticing.
    builder.AddChannelArgument(GRPC_ARG_ALLOW_REUSEPORT, 0);
    builder.SetMaxReceiveMessageSize(kMaxRequestBytes);
    builder.AddChannelArgument(GRPC_ARG_MAX_CONCURRENT_STREAMS, kMaxCallsPerConnection);
    builder.AddChannelArgument(GRPC_ARG_MAX_CONNECTION_IDLE_MS,
                               Milliseconds(config_.limits.idleTimeout));
    builder.AddChannelArgument(GRPC_ARG_KEEPALIVE_TIME_MS, Milliseconds(kKeepaliveInterval));
    builder.AddChannelArgument(GRPC_ARG_KEEPALIVE_TIMEOUT_MS, Milliseconds(kKeepaliveTimeout));
    // A call whose answer waits for its client is asked after all along, not only for the
    // first two pings that gRPC allows by default without data in between.
    builder.AddChannelArgument(GRPC_ARG_HTTP2_MAX_PINGS_WITHOUT_DATA, 0);
    builder.AddListeningPort(config_.listenAddress.toStdString(), credentials, &port_);
    builder.RegisterService(service_.get());
    builder.RegisterService(sessions_.get());
    server_ = builder.BuildAndStart();
    if (!server_ || port_ == 0) {
        server_.reset();
        throw CannotListen();
    }
    health_ =
        std::make_unique<HealthWatch>(config_.database, *server_->GetHealthCheckService(), log_);
    log_.Note(QStringLiteral("fai-appserver escutando na porta %1 (%2), banco %3, %4 threads, "
                             "até %5 chamadas de até %6 s")
                  .arg(port_)
                  .arg(config_.listenAddress, config_.database.Describe())
                  .arg(config_.workers)
                  .arg(config_.limits.maxCalls)
                  .arg(config_.limits.callTimeout.count()));
    NoteAccess(loopback, users);
}

void AppServer::Shutdown() {
    if (health_) {
        health_.reset();
        // A balancer or probe sends no more calls here while those under way finish.
        server_->GetHealthCheckService()->SetServingStatus(false);
    }
    if (server_) {
        server_->Shutdown(std::chrono::system_clock::now() + kShutdownGrace);
        server_->Wait();
        server_.reset();
        log_.Note(QStringLiteral("fai-appserver encerrado"));
    }
    purge_.reset();
    // Every call is done once the gRPC server is: the work still queued only lets go of its
    // calls, and the gate is the last to go.
    workers_.reset();
    service_.reset();
    sessions_.reset();
    authorization_.reset();
    calls_.reset();
    fileLock_.reset();
}

}  // namespace fai::appserver
