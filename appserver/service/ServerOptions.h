#pragma once

#include "AppServer.h"

#include <QCommandLineParser>
#include <QStringList>

#include <chrono>
#include <optional>

namespace fai::appserver {

// Where the call log goes: standard error when `path` is empty.
struct LogSettings {
    QString path;
    qint64 maxBytes = 10 * 1024 * 1024;  // a file past this is set aside as FILE.1
    static constexpr int kKept = 5;      // files set aside, FILE.1 to FILE.5
};

// The command line of fai-appserver.
class ServerOptions {
  public:
    enum class Action { Run, ShowHelp, ShowVersion, ProbeHealth, BackUp, Restore };

    ServerOptions();

    // Throws EError with a message for the administrator when an option is wrong.
    Action Parse(const QStringList& arguments);
    QString HelpText() const { return parser_.helpText(); }
    const AppServerConfig& Config() const { return config_; }
    const LogSettings& Log() const { return log_; }
    // With ProbeHealth: the server to ask.
    QString HealthAddress() const { return parser_.value(health_); }
    // With BackUp or Restore: the copy to write or to put in the database's place.
    QString CopyPath() const;

    // Where the database lives when none is given: a file in the user's data directory.
    static QString DefaultDatabase();
    static int DefaultWorkers();
    // "30m", "12h", "2d" (a bare number is hours); nothing for anything else or a time
    // outside one minute to a year.
    static std::optional<std::chrono::seconds> ParseRetention(const QString& text);

  private:
    QCommandLineParser parser_;
    QCommandLineOption listen_;
    QCommandLineOption database_;
    QCommandLineOption demo_;
    QCommandLineOption threads_;
    QCommandLineOption maxCalls_;
    QCommandLineOption callTimeout_;
    QCommandLineOption idleTimeout_;
    QCommandLineOption logFile_;
    QCommandLineOption logSize_;
    QCommandLineOption tlsCert_;
    QCommandLineOption tlsKey_;
    QCommandLineOption tlsClientCa_;
    QCommandLineOption trustedNetwork_;
    QCommandLineOption sessionTimeout_;
    QCommandLineOption reportRetention_;
    QCommandLineOption reader_;
    QCommandLineOption configFile_;
    QCommandLineOption health_;
    QCommandLineOption backup_;
    QCommandLineOption restore_;
    QList<QCommandLineOption> settable_;  // what the configuration file may set
    AppServerConfig config_;
    LogSettings log_;
};

}  // namespace fai::appserver
