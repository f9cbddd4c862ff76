#pragma once

#include "PackageProtocol.h"
#include "ServerAccess.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace fai {

// What the host is started with: an INI file, overridden option by option from the
// command line.
struct HostSettings {
    QString branch;         // FiliProc; empty: the user's first branch
    QString billingBranch;  // FiliProcFat; may stay empty
    bool branchFixed = false;
    // One host, or several separated by commas, each "host" or "host:port" (ServerList).
    QString serverHost = QStringLiteral("127.0.0.1");
    int serverPort = 7400;  // the port of a host without one of its own
    TlsSettings tls;
    QString user;                    // the login the sign-in offers; the user types it when empty
    bool passwordFromStdin = false;  // the password read from standard input, for scripts
    QString modulePath;              // the module library
    QString reportFolder;            // report definitions shared by a site; none when empty
    bool startModule = false;
    // --report: the report to write to a PDF without opening any window, then end.
    std::optional<ReportRequest> report;
    // What the settings say to whoever reads standard error at start: settings of older
    // versions that are ignored.
    QStringList notes;

    // Reads the command line (and the INI file it names, or the default one). Throws EError
    // with a message for the user on a bad value; --help and --version print and exit.
    static HostSettings FromCommandLine(const QStringList& arguments);

    static QString DefaultIniPath();
    static QString DefaultModulePath();
};

}  // namespace fai
