#pragma once

#include "ServerAccess.h"
#include "ServerList.h"
#include "fai00400.grpc.pb.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <memory>

namespace fai {

// Who signed in, as the server knows them.
struct SignedInUser {
    QString login;
    QString name;
    bool administrator = false;
    QStringList branches;  // none for an administrator, who works in every branch
};

// The user's session with the application server ("Fai00400.Session"), over the access's
// TLS: whether the server asks for one, signing in, signing out. Throws EConnectionError
// when the server cannot be reached, EServerError with the server's words when it refuses.
class SessionClient {
  public:
    explicit SessionClient(const ServerList& servers,
                           std::shared_ptr<ServerAccess> access = ServerAccess::Host(),
                           std::chrono::milliseconds deadline = std::chrono::seconds(30));
    ~SessionClient();

    // False while the server runs open (on loopback, with no user).
    bool SignInRequired();
    // A wrong login or password is refused in the same words. Sets the access's token.
    SignedInUser SignIn(const QString& login, const QString& password);
    // Ends the access's session on the server and forgets its token; nothing without one.
    void SignOut();

  private:
    template <class Request, class Response>
    Response Call(const char* method,
                  grpc::Status (Fai00400::Session::Stub::*rpc)(grpc::ClientContext*, const Request&,
                                                               Response*),
                  const Request& request);

    ServerList servers_;
    std::shared_ptr<ServerAccess> access_;
    std::chrono::milliseconds deadline_;
    std::unique_ptr<Fai00400::Session::Stub> stub_;
};

}  // namespace fai
