#pragma once

#include <QString>

#include <string>

namespace fai {

// Where an application server listens. Messages name it as Address(), the way the user
// configured it, so that the user recognises it.
struct ServerEndpoint {
    QString host;
    int port = 0;

    // A host without blanks and a port a TCP socket can have.
    bool IsValid() const;
    // "host:port" as the user wrote the host.
    QString Address() const;
    // The same, with an IPv6 literal bracketed as a channel target requires.
    std::string Target() const;
};

}  // namespace fai
