#include "SessionService.h"

#include "AppErrors.h"
#include "Authorization.h"
#include "RequestChecks.h"
#include "SessionRepository.h"
#include "SessionTokens.h"
#include "SignIn.h"
#include "WireText.h"

namespace fai::appserver {

grpc::ServerUnaryReactor* SessionService::GetAccessMode(grpc::CallbackServerContext* call,
                                                        const Fai00400::AccessModeRequest*,
                                                        Fai00400::AccessMode* mode) {
    return Serve(serving_, call, "GetAccessMode", mode, Access::Read, [this] {
        return Work([this](SqlSession& session) {
            auto answer = std::make_shared<Fai00400::AccessMode>();
            answer->set_sign_in_required(authorization_.SignInRequired(session));
            return Answer{{}, {}, {}, std::move(answer)};
        });
    });
}

grpc::ServerUnaryReactor* SessionService::SignIn(grpc::CallbackServerContext* call,
                                                 const Fai00400::SignInRequest* request,
                                                 Fai00400::SignInResult* result) {
    return Serve(serving_, call, "SignIn", result, Access::Own, [this, request] {
        // The password is never quoted, not even to say that it is malformed.
        const std::optional<QString> password = DecodeUtf8(request->password());
        if (!password) throw EBadRequest(QStringLiteral("Usuário ou senha incorretos."));
        return Work([timeout = authorization_.SessionTimeout(),
                     login =
                         RequestChecks::ArgumentText(request->login(), QStringLiteral("Usuário")),
                     password = *password](SqlSession& session) {
            const appserver::SignIn::SignedIn user =
                appserver::SignIn(session, timeout).Run(login, password);
            auto answer = std::make_shared<Fai00400::SignInResult>();
            answer->set_token(user.token.toStdString());
            answer->set_login(user.login.toStdString());
            answer->set_name(user.name.toStdString());
            answer->set_administrator(user.administrator);
            for (const QString& branch : user.branches) answer->add_branches(branch.toStdString());
            return Answer{{}, {}, QStringLiteral("usuário %1").arg(user.login), std::move(answer)};
        });
    });
}

grpc::ServerUnaryReactor* SessionService::SignOut(grpc::CallbackServerContext* call,
                                                  const Fai00400::SignOutRequest*,
                                                  Fai00400::SignOutResult* result) {
    return Serve(serving_, call, "SignOut", result, Access::Write, [call] {
        return Work([token = SessionTokenOf(*call)](SqlSession& session) {
            if (!token.isEmpty()) SessionRepository(session).Delete(SessionTokens::Digest(token));
            return Answer{{}, {}, {}, std::make_shared<Fai00400::SignOutResult>()};
        });
    });
}

}  // namespace fai::appserver
