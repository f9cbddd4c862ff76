#pragma once

#include <QString>

#include <functional>
#include <memory>

namespace fai {

// How the channel to the application server is secured.
struct TlsSettings {
    bool enabled = false;
    // The CA that issued the server's certificate; empty: the CAs gRPC trusts by default.
    QString caFile;
    // This computer's own certificate and key, for a server that asks its clients for one.
    QString certificateFile;
    QString keyFile;
};

// How this program reaches the application server: over TLS or not, and in which session.
// The host keeps one for every connection it opens (Host()); a connection may be given
// another (a test that calls as several users). One thread at a time.
class ServerAccess {
  public:
    static const std::shared_ptr<ServerAccess>& Host();

    const TlsSettings& Tls() const { return tls_; }
    void SetTls(const TlsSettings& tls) { tls_ = tls; }

    // The token sent with every call; empty while the server runs open.
    const QString& Token() const { return token_; }
    void SetToken(const QString& token) { token_ = token; }

    // Asked when the server says that the call needs a (new) session, with the server's
    // words; returns true once a new token is set, and the call is then made again as it
    // was. Without one, the call fails with the server's words.
    using Renewal = std::function<bool(const QString& reason)>;
    void SetRenewal(Renewal renewal) { renewal_ = std::move(renewal); }
    bool Renew(const QString& reason) const { return renewal_ && renewal_(reason); }

  private:
    TlsSettings tls_;
    QString token_;
    Renewal renewal_;
};

}  // namespace fai
