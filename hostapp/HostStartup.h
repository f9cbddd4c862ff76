#pragma once

#include "HostSettings.h"

#include <QDate>

namespace fai {

// Everything the host checks and sets up before its window opens: the shared database, the
// working branches (which must exist), their processing dates and the application server
// (which must answer). Throws EError with a message for the user on the first problem.
class HostStartup {
  public:
    static void Run(const HostSettings& settings);

    // Opens the shared database of the settings as the lookups' connection.
    static void OpenSharedDatabase(const QString& location);
    // The name of the branch, or an error saying that it does not exist.
    static QString BranchName(const QString& branch);
    // The first branch by code, for a host started without one.
    static QString FirstBranch();
    static void CheckServer(const QString& host, int port);
    // The processing date the branch's billing parameters hold; none when it has none.
    static QDate ProcessingDate(const QString& branch);
};

}  // namespace fai
