#pragma once

#include "ServerEndpoint.h"

#include <QString>

#include <vector>

namespace fai {

// The application servers a connection may reach: one, or several that serve one database
// and among which the calls are spread. Messages name them as Address(), the way the user
// configured them.
class ServerList {
  public:
    // One server, as it is given; Validate() tells whether it can be one.
    ServerList(const ServerEndpoint& endpoint) : endpoints_{endpoint} {}  // NOLINT: a list of one

    // The host setting: one entry, or several separated by commas, each "host", "host:port",
    // a bare IPv6 address or "[IPv6]:port"; an entry without a port of its own takes `port`.
    // Throws EConnectionError naming the first entry that is not an address.
    static ServerList Parse(const QString& hosts, int port);

    // Throws EConnectionError naming the first server that cannot be one.
    void Validate() const;

    const std::vector<ServerEndpoint>& Endpoints() const { return endpoints_; }
    bool Several() const { return endpoints_.size() > 1; }
    // The servers as the user wrote them, separated by commas.
    QString Address() const;

  private:
    ServerList() = default;

    std::vector<ServerEndpoint> endpoints_;
};

}  // namespace fai
