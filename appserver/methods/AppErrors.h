#pragma once

#include "Errors.h"

namespace fai::appserver {

// The request itself is wrong (unknown branch, empty code, date out of range, malformed
// packet) or asks for what the billing rules forbid (a closed day, an assessed period): the
// caller's fault, answered with the message and nothing else done.
class EBadRequest : public EError {
  public:
    using EError::EError;
};

// A host's query that may not or cannot run as it stands (what it reads, its form, its time,
// its rows). The message says what of it, as a predicate of the query ("passou de 30 s"), so
// that the answer names the query the host sent.
class EQueryRefused : public EBadRequest {
  public:
    using EBadRequest::EBadRequest;
};

// A save built on values that another clerk has changed since they were loaded: applying it
// would silently undo that clerk's work, so nothing of it is written.
class EConflict : public EError {
  public:
    using EError::EError;
};

// The call comes without a session where the server asks for one, or with a session that
// has expired or ended: the caller must sign in (again). Nothing of the call was done, so
// the client may repeat it as it was once signed in.
class ESessionRequired : public EError {
  public:
    using EError::EError;
};

// The caller's user may not work in a branch that the request names.
class EForbidden : public EError {
  public:
    using EError::EError;
};

// The database refused or failed a statement, or could not be reached.
class EDatabaseError : public EError {
  public:
    using EError::EError;
};

// The database cannot be reached: it is down, restarting, or the connection to it was lost.
// Nothing of the statement that found it out was done; the message, for the log and the
// administrator, says why.
class EDatabaseUnavailable : public EDatabaseError {
  public:
    using EDatabaseError::EDatabaseError;
};

// The database was made by a newer server; writing to it could lose what that server knows.
class ESchemaTooNew : public EError {
  public:
    using EError::EError;
};

}  // namespace fai::appserver
