#pragma once

#include "ServerAccess.h"
#include "ServerList.h"

#include <grpcpp/grpcpp.h>

#include <memory>
#include <string>

namespace fai {

// What a channel over several servers is made of: their addresses in one target, the policy
// that spreads the calls over those that serve, and a TLS that knows each server by its name.
struct SpreadTarget {
    // Every address of every server, looked up now: a name of several addresses counts each.
    // Empty when no name could be looked up.
    static std::string Of(const ServerList& servers);

    // Round-robin over the servers whose standard health service says they serve.
    static const char* ServiceConfig();

    // TLS that takes a server's certificate when the CA in `root` issued it (the CAs gRPC
    // trusts by default when empty) for one of the servers' names: one channel checks every
    // server against one name otherwise, which no two servers' certificates would share.
    static std::shared_ptr<grpc::ChannelCredentials> Tls(const ServerList& servers,
                                                         const std::string& root,
                                                         const std::string& certificate,
                                                         const std::string& key);
};

}  // namespace fai
