#pragma once

#include "Errors.h"
#include "ServerEndpoint.h"

#include <QString>

#include <chrono>

namespace fai {

// The application server could not be reached, or stopped answering: a failure of the
// connection, not of the request. The factories hold the only wording of these messages,
// so that every screen says the same thing about the same trouble.
class EConnectionError : public EError {
  public:
    using EError::EError;

    static EConnectionError NotConnected();
    static EConnectionError InvalidAddress(const ServerEndpoint& endpoint);
    static EConnectionError UnknownServer(const QString& serverName, const QString& known);
    static EConnectionError Unreachable(const ServerEndpoint& endpoint);
    static EConnectionError NoAnswer(const ServerEndpoint& endpoint,
                                     std::chrono::milliseconds deadline);
    // The server's port answers, but no secure channel could be set up with it.
    static EConnectionError SecureConnectionFailed(const ServerEndpoint& endpoint);
    // The server's port answers, but not to a channel without TLS.
    static EConnectionError PlainConnectionRefused(const ServerEndpoint& endpoint);
};

}  // namespace fai
