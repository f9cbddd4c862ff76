#pragma once

#include "HostSettings.h"
#include "SessionClient.h"

#include <optional>

namespace fai {

// The user's session with the application server for the host's whole run, over the host's
// access (ServerAccess::Host(), which every connection of the screens uses). Signed in at
// start when the server asks for it: in the sign-in dialog, or with the password from
// standard input. Renewed when a call finds it expired: the password is asked again in the
// dialog and the call is made again, so that nothing typed on a screen is lost. Ended when
// the host stops.
class HostSession {
  public:
    explicit HostSession(const HostSettings& settings);
    ~HostSession();
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    // Who signed in; none when the server runs open. Throws EAbort when the user gives up
    // the sign-in, EError when it cannot be made.
    std::optional<SignedInUser> Start();
    // Asks the password again with the server's reason; true once signed in anew. The
    // working context follows the user's branches as the server now has them.
    bool Renew(const QString& reason);
    // Signs out, when signed in (also when the session goes). A server that cannot be reached
    // then is left alone: the session ends by itself once idle.
    void End();

  private:
    SignedInUser SignInWithDialog(const QString& notice);

    HostSettings settings_;
    SessionClient client_;
    std::optional<SignedInUser> user_;
};

}  // namespace fai
