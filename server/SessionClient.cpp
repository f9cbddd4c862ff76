#include "SessionClient.h"

#include "ConnectionError.h"
#include "ServerChannel.h"
#include "SessionMetadata.h"

namespace fai {

SessionClient::SessionClient(const ServerList& servers, std::shared_ptr<ServerAccess> access,
                             std::chrono::milliseconds deadline)
    : servers_(servers), access_(std::move(access)), deadline_(deadline) {}

SessionClient::~SessionClient() = default;

template <class Request, class Response>
Response SessionClient::Call(const char* method,
                             grpc::Status (Fai00400::Session::Stub::*rpc)(grpc::ClientContext*,
                                                                          const Request&,
                                                                          Response*),
                             const Request& request) {
    servers_.Validate();
    if (!stub_)
        stub_ =
            Fai00400::Session::NewStub(ServerChannel::Open(servers_, access_->Tls(), deadline_));
    // A read made again on another server keeps the deadline it had on the first.
    const auto until = std::chrono::system_clock::now() + deadline_;
    for (bool retried = false;; retried = true) {
        grpc::ClientContext context;
        context.set_deadline(until);
        if (!access_->Token().isEmpty())
            context.AddMetadata(kSessionMetadataKey, access_->Token().toStdString());
        Response response;
        const grpc::Status status = (stub_.get()->*rpc)(&context, request, &response);
        if (!retried && ServerChannel::TakenElsewhere(status, servers_, method)) continue;
        ServerChannel::Check(status, servers_, deadline_, method);
        return response;
    }
}

bool SessionClient::SignInRequired() {
    return Call("GetAccessMode", &Fai00400::Session::Stub::GetAccessMode,
                Fai00400::AccessModeRequest())
        .sign_in_required();
}

SignedInUser SessionClient::SignIn(const QString& login, const QString& password) {
    Fai00400::SignInRequest request;
    request.set_login(login.toStdString());
    request.set_password(password.toStdString());
    const Fai00400::SignInResult result = Call("SignIn", &Fai00400::Session::Stub::SignIn, request);
    access_->SetToken(QString::fromStdString(result.token()));
    SignedInUser user;
    user.login = QString::fromStdString(result.login());
    user.name = QString::fromStdString(result.name());
    user.administrator = result.administrator();
    for (const std::string& branch : result.branches())
        user.branches << QString::fromStdString(branch);
    return user;
}

void SessionClient::SignOut() {
    if (access_->Token().isEmpty()) return;
    Call("SignOut", &Fai00400::Session::Stub::SignOut, Fai00400::SignOutRequest());
    access_->SetToken({});
}

}  // namespace fai
