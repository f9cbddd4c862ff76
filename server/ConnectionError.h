#pragma once

#include "Errors.h"
#include "ServerEndpoint.h"
#include "ServerList.h"

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
    static EConnectionError InvalidAddress(const QString& address);
    static EConnectionError UnknownServer(const QString& serverName, const QString& known);
    static EConnectionError Unreachable(const ServerEndpoint& endpoint);
    static EConnectionError NoAnswer(const ServerEndpoint& endpoint,
                                     std::chrono::milliseconds deadline);
    // The server's port answers, but no secure channel could be set up with it.
    static EConnectionError SecureConnectionFailed(const ServerEndpoint& endpoint);
    // The server's port answers, but not to a channel without TLS.
    static EConnectionError PlainConnectionRefused(const ServerEndpoint& endpoint);

    // The same of several servers, said of all of them: a list of one is said as its server.
    static EConnectionError Unreachable(const ServerList& servers);
    static EConnectionError NoAnswer(const ServerList& servers, std::chrono::milliseconds deadline);
    static EConnectionError SecureConnectionFailed(const ServerList& servers);
    // A call's connection dropped before its answer came: its server stopped while the others
    // may still serve.
    static EConnectionError Interrupted(const ServerList& servers);
    // None of them serves: those whose port answers refuse a channel without TLS, or have
    // told that they cannot reach their database.
    static EConnectionError PlainConnectionRefused(const ServerList& servers);
};

}  // namespace fai
