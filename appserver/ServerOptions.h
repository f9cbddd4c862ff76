#pragma once

#include "AppServer.h"

#include <QCommandLineParser>
#include <QStringList>

namespace fai::appserver {

// The command line of fai-appserver.
class ServerOptions {
  public:
    enum class Action { Run, ShowHelp, ShowVersion };

    ServerOptions();

    // Throws EError with a message for the administrator when an option is wrong.
    Action Parse(const QStringList& arguments);
    QString HelpText() const { return parser_.helpText(); }
    const AppServerConfig& Config() const { return config_; }

    // Where the database lives when none is given: a file in the user's data directory.
    static QString DefaultDatabase();
    static int DefaultWorkers();

  private:
    QCommandLineParser parser_;
    QCommandLineOption listen_;
    QCommandLineOption database_;
    QCommandLineOption demo_;
    QCommandLineOption threads_;
    AppServerConfig config_;
};

}  // namespace fai::appserver
