#pragma once

#include "DatabaseLocation.h"
#include "TNetConnection.h"

#include <QProcess>
#include <QStringList>

#include <memory>

namespace fai::appserver::test {

// fai-appserver run as a program of its own, as an administrator runs it, listening on a
// free port of 127.0.0.1.
class ServerProcess {
  public:
    // Starts it with `arguments` and waits until it says where it listens, on standard error
    // or in `logFile` when it writes its log there; throws std::runtime_error with what it
    // wrote when it does not.
    explicit ServerProcess(const QStringList& arguments, const QString& logFile = {});
    // --database naming `location` as the program takes it.
    static QStringList DatabaseArguments(const DatabaseLocation& location);

    // Kills it when it still runs.
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    int Port() const { return port_; }
    std::unique_ptr<TNetConnection> Connect() const;
    // SIGKILL: it has no chance to finish anything.
    void Kill();
    // SIGTERM, and its exit code once it has stopped (-1 when it did not stop in time).
    int Stop();
    // Its standard error so far.
    QString ErrorOutput();

  private:
    QProcess process_;
    QString err_;
    int port_ = 0;
};

}  // namespace fai::appserver::test
