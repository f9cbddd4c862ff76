#pragma once

#include "Errors.h"

namespace fai::appserver {

// The request itself is wrong (unknown branch, empty code, date out of range, malformed
// packet): the caller's fault, answered with the message and nothing else done.
class EBadRequest : public EError {
  public:
    using EError::EError;
};

// The database refused or failed a statement, or could not be reached.
class EDatabaseError : public EError {
  public:
    using EError::EError;
};

// The database was made by a newer server; writing to it could lose what that server knows.
class ESchemaTooNew : public EError {
  public:
    using EError::EError;
};

// A method whose behaviour this server does not provide yet.
class EMethodUnavailable : public EError {
  public:
    using EError::EError;
};

}  // namespace fai::appserver
