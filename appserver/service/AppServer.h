#pragma once

#include "DatabaseLocation.h"
#include "Errors.h"
#include "HostReads.h"
#include "ServerSecurity.h"

#include <QString>

#include <chrono>
#include <memory>

namespace grpc {
class Server;
}

namespace fai::appserver {

class Authorization;
class CallGate;
class CallLog;
class HealthWatch;
class SqliteServingLock;
class RdmEfetFaturService;
class ReportPurge;
class SessionService;
class WorkerPool;

// How much of the server one call, and one connection, may hold.
struct CallLimits {
    // Calls held at once, from their arrival to the end of their answer (waiting for a
    // worker, running, or being sent); one more is refused at once as "servidor ocupado".
    int maxCalls = 128;
    // From its arrival: a call not answered by then is refused, and an answer still unread
    // then is dropped. A client's shorter deadline counts instead.
    std::chrono::seconds callTimeout{60};
    // A connection without any call for this long is closed; the client's next call opens
    // another one by itself.
    std::chrono::seconds idleTimeout{600};
};

struct AppServerConfig {
    QString listenAddress = QStringLiteral("127.0.0.1:7400");
    DatabaseLocation database;
    bool seedDemo = false;
    int workers = 4;
    CallLimits limits;
    // Without TLS the server listens only on this machine, unless the network is said to be
    // trusted.
    TlsFiles tls;
    bool trustedNetwork = false;
    // A session not used for this long has expired: its user signs in again.
    std::chrono::seconds sessionTimeout{3600};
    // The listing's working data of a report number unused for this long is discarded.
    std::chrono::seconds reportRetention = std::chrono::hours(24);
    // How the hosts' queries read the database.
    HostReadSettings hostReads;
};

// One running "Fai00400.rdmEfetFatur": its database made ready, its database workers and
// its gRPC listener. It keeps nothing between calls, so several of them can serve one
// PostgreSQL database.
class AppServer {
  public:
    AppServer(AppServerConfig config, CallLog& log);
    ~AppServer();
    AppServer(const AppServer&) = delete;
    AppServer& operator=(const AppServer&) = delete;

    // Creates or upgrades the schema, seeds the demo data when asked and the database is
    // empty, then listens, with the standard health service and server reflection beside
    // the methods so that ordinary gRPC tools can probe, list and call them. Throws EError
    // (ESchemaTooNew, EDatabaseError...) with a message for the administrator; among them,
    // for an address other than this machine's without TLS while the network is not said to
    // be trusted.
    void Start();
    // The port listened on: the one asked for, or the one chosen for port 0.
    int Port() const { return port_; }
    // Says "not serving" to health probes, lets the calls under way finish (a few seconds at
    // most), refuses new ones, closes the database connections.
    void Shutdown();

  private:
    // How many users the database holds.
    int PrepareDatabase();
    void NoteAccess(bool loopback, int users);
    EError CannotListen() const;

    AppServerConfig config_;
    CallLog& log_;
    int port_ = 0;
    std::unique_ptr<SqliteServingLock> fileLock_;
    std::unique_ptr<WorkerPool> workers_;
    std::unique_ptr<CallGate> calls_;
    std::unique_ptr<Authorization> authorization_;
    std::unique_ptr<ReportPurge> purge_;
    std::unique_ptr<RdmEfetFaturService> service_;
    std::unique_ptr<SessionService> sessions_;
    std::unique_ptr<grpc::Server> server_;
    std::unique_ptr<HealthWatch> health_;
};

}  // namespace fai::appserver
