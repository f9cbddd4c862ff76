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
    ~RunningServer();

    TrdmEfetFaturDisp& Methods() { return client_->AppServer(); }
    int Port() const { return server_.Port(); }
    // A further client of its own, for calls from other threads.
    std::unique_ptr<TNetConnection> Connect() const;
    QStringList LogLines() const;

  private:
    mutable std::mutex mutex_;
    QStringList lines_;
    CallLog log_;
    AppServer server_;
    std::unique_ptr<TNetConnection> client_;
};

}  // namespace fai::appserver::test
