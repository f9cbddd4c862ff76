#pragma once

#include "HostReads.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <mutex>
#include <unordered_map>

namespace fai::appserver {

class SqlSession;

// Who may make a call, and in which branches. A call carries the token of a session; the
// session must exist, be used within the idle time and belong to an active user, and every
// branch the request names must be one of the user's (an administrator's: any). A server
// that runs open (on loopback, while no user exists) admits calls without a token. The
// check runs in the call's own transaction, before its work, and throws before anything of
// the call is done.
class Authorization {
  public:
    using Clock = std::chrono::system_clock;

    Authorization(bool openWithoutUsers, std::chrono::seconds sessionTimeout);

    // False while the server runs open.
    bool SignInRequired(SqlSession& session) const;

    // The session's use is written down once in a while, not at every call: a call that
    // reads runs in a writing transaction only when that is due on this server.
    bool UseDue(const QString& token);

    // Who a call comes from: the login (empty: a server running open) and the rows they may
    // read, those of their branches or of every branch.
    struct Caller {
        QString login;
        ReadScope scope;
    };

    // Throws ESessionRequired when the call needs a (new) session, EForbidden naming the
    // first branch that is not the user's. `writing`: the call's transaction writes, so the
    // session's use is written down when due.
    Caller Admit(SqlSession& session, const QString& token, const QStringList& branches,
                 bool writing);

    std::chrono::seconds SessionTimeout() const { return sessionTimeout_; }

  private:
    void Remember(const QString& digest, qint64 use);

    const bool openWithoutUsers_;
    const std::chrono::seconds sessionTimeout_;
    // A session's use is written again once this much older than the last written.
    const std::chrono::seconds useInterval_;
    std::mutex mutex_;
    // The last use written of each session this server has admitted.
    std::unordered_map<QString, qint64> uses_;
};

}  // namespace fai::appserver
