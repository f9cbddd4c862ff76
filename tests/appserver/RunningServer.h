#pragma once

#include "AppServer.h"
#include "CallLog.h"
#include "TNetConnection.h"

#include <QStringList>

#include <memory>
#include <mutex>

namespace fai::appserver::test {

// The application server started in the test on 127.0.0.1 with a port of its own, and a
// client connected to it through the real TNetConnection.
class RunningServer {
  public:
    explicit RunningServer(const DatabaseLocation& location, bool seedDemo = false, int workers = 2,
                           const CallLimits& limits = {});
    // The server as configured, on the port it picks when the address names port 0.
    explicit RunningServer(const AppServerConfig& config);
    ~RunningServer();

    // Through a client connected on first use, over the host's access.
    TrdmEfetFaturDisp& Methods();
    int Port() const { return server_.Port(); }
    // A further client of its own, for calls from other threads.
    std::unique_ptr<TNetConnection> Connect() const;
    QStringList LogLines() const;

    // On 127.0.0.1 with a port of its own, over the database.
    static AppServerConfig TestConfig(const DatabaseLocation& location, bool seedDemo = false,
                                      int workers = 2, const CallLimits& limits = {});

  private:
    mutable std::mutex mutex_;
    QStringList lines_;
    CallLog log_;
    AppServer server_;
    std::unique_ptr<TNetConnection> client_;
};

}  // namespace fai::appserver::test
