#pragma once

#include "HostSettings.h"

#include <QDate>

#include <optional>

namespace fai {

class HostSession;
struct SignedInUser;
struct WorkingContextData;

// Everything the host checks and sets up before its window opens: the application server
// (which must answer, over TLS when the settings say so), the user's session when the server
// asks for one, the reads of the shared data through it, the working branches (which must exist
// and be the user's) and their processing dates. Throws EError with a message for the user on the
// first problem, EAbort when the user gives up the sign-in.
class HostStartup {
  public:
    static void Run(const HostSettings& settings, HostSession& session);

    // The working branch and billing branch of the settings, as the user may have them: the
    // first of the user's branches when none is set, a branch that is not theirs refused,
    // and the branch fixed for a user of a single branch. Names from the shared data.
    static void ChooseBranches(WorkingContextData& context, const HostSettings& settings,
                               const std::optional<SignedInUser>& user);

    // The name of the branch, or an error saying that it does not exist.
    static QString BranchName(const QString& branch);
    // The first branch by code, for a host started without one.
    static QString FirstBranch();
    static void CheckServer(const QString& host, int port);
    // The processing date the branch's billing parameters hold; none when it has none.
    static QDate ProcessingDate(const QString& branch);
};

}  // namespace fai
