#pragma once

#include <QString>

#include <memory>

namespace grpc {
class ServerCredentials;
}

namespace fai::appserver {

// The files of the listener's TLS: its certificate (with the chain up to the CA the clients
// trust) and private key, and optionally the CA whose certificates the clients must show.
struct TlsFiles {
    QString certificate;
    QString key;
    QString clientCa;

    bool Enabled() const { return !certificate.isEmpty(); }
};

// How the server is reached.
class ServerSecurity {
  public:
    // Where HOST:PORT listens: on this machine only (127.0.0.0/8, ::1, localhost, a unix
    // socket), on a network, or nowhere, for an address no listener could have.
    enum class Reach { ThisMachine, Network, Invalid };
    static Reach ReachOf(const QString& listenAddress);
    // TLS with the files, or none when no certificate is given. Throws EError naming a file
    // that cannot be read or does not hold what it should, or a key given without a
    // certificate (or the reverse).
    static std::shared_ptr<grpc::ServerCredentials> Credentials(const TlsFiles& files);
};

}  // namespace fai::appserver
