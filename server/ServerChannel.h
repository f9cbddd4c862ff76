#pragma once

#include "ServerAccess.h"
#include "ServerEndpoint.h"

#include <grpcpp/grpcpp.h>

#include <chrono>
#include <memory>

namespace fai {

// A channel to the application server, secured as the settings say, that has answered.
class ServerChannel {
  public:
    // Waits, at most `deadline`, until the server answers. A refused connection fails at
    // once rather than after the deadline: the user is told the server is not running while
    // it still matters. A server whose port answers but with which no channel can be set up
    // is told apart: a TLS that fails (a certificate not trusted, of another address, a
    // client certificate missing, a server without TLS), or a server that wants TLS.
    // Throws EConnectionError.
    static std::shared_ptr<grpc::Channel> Open(const ServerEndpoint& endpoint,
                                               const TlsSettings& tls,
                                               std::chrono::milliseconds deadline);

    // Turns a call's failure into our exceptions: no answer in time and a server gone away
    // into EConnectionError, anything else the server said no to into EServerError with its
    // message (or, without one, the method's name and the status code).
    static void Check(const grpc::Status& status, const ServerEndpoint& endpoint,
                      std::chrono::milliseconds deadline, const char* method);
};

}  // namespace fai
