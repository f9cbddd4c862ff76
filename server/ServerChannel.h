#pragma once

#include "ServerAccess.h"
#include "ServerList.h"

#include <grpcpp/grpcpp.h>

#include <chrono>
#include <memory>

namespace fai {

// A channel to the application server, secured as the settings say, that has answered. Over
// several servers, gRPC spreads the calls round-robin over those whose standard health service
// says they serve, and leaves one out from the moment its connection drops until it serves
// again; the channel answers while any one of them does.
class ServerChannel {
  public:
    // Waits, at most `deadline`, until the server (one of the servers) answers. A refused
    // connection fails at once rather than after the deadline: the user is told the server is not
    // running while it still matters. A server whose port answers but with which no channel can be
    // set up is told apart: a TLS that fails (a certificate not trusted, of another address, a
    // client certificate missing, a server without TLS), or a server that wants TLS.
    // Throws EConnectionError.
    static std::shared_ptr<grpc::Channel> Open(const ServerList& servers, const TlsSettings& tls,
                                               std::chrono::milliseconds deadline);

    // Whether a call that failed so is made once more: a read whose server went away before
    // answering, when there are other servers to take it.
    static bool TakenElsewhere(const grpc::Status& status, const ServerList& servers,
                               const char* method);

    // Turns a call's failure into our exceptions: no answer in time and a server gone away
    // into EConnectionError, anything else the server said no to into EServerError with its
    // message (or, without one, the method's name and the status code).
    static void Check(const grpc::Status& status, const ServerList& servers,
                      std::chrono::milliseconds deadline, const char* method);
};

}  // namespace fai
