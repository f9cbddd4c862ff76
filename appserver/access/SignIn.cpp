#include "SignIn.h"

#include "AppErrors.h"
#include "PasswordHash.h"
#include "SessionRepository.h"
#include "SessionTokens.h"
#include "SqlSession.h"
#include "UserAdministration.h"
#include "UserRepository.h"

#include <QDateTime>

#include <algorithm>

namespace fai::appserver {
namespace {

constexpr std::chrono::seconds kFirstWait{30};
constexpr int kLongestWaitDoublings = 5;  // 30 s doubled five times: 16 minutes

const QString kWrong = QStringLiteral("Usuário ou senha incorretos.");

[[noreturn]] void Refuse(const QString& why) { throw EBadRequest(why); }

// What an unknown login's password is checked against, so that it takes as long to refuse
// as a known one's.
const QString& StandIn() {
    static const QString hash = PasswordHash::Of(QStringLiteral("sem usuário"));
    return hash;
}

}  // namespace

std::chrono::seconds SignIn::Wait(int failures) {
    if (failures < kFreeFailures) return std::chrono::seconds(0);
    return kFirstWait * (1 << std::min(failures - kFreeFailures, kLongestWaitDoublings));
}

SignIn::SignedIn SignIn::Run(const QString& typedLogin, const QString& password) {
    const QString login = UserAdministration::Login(typedLogin);
    if (login.isEmpty()) Refuse(QStringLiteral("Informe o usuário."));
    if (password.isEmpty()) Refuse(QStringLiteral("Informe a senha."));
    // No user has such a login, and it has no place among the counted failures.
    if (!UserAdministration::IsLogin(login)) {
        PasswordHash::Matches(StandIn(), password.left(UserAdministration::kLongestPassword));
        Refuse(kWrong);
    }
    UserRepository users(session_);
    std::optional<UserRepository::User> user;
    UserRepository::Failures failures;
    {
        Transaction read(session_);
        user = users.Find(login);
        failures = users.FailuresOf(login);
        read.Commit();
    }
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    const qint64 waitUntil = failures.last + Wait(failures.count).count();
    if (now < waitUntil)
        Refuse(QStringLiteral("Muitas tentativas sem sucesso para o usuário %1: tente de novo "
                              "daqui a %2 segundos.")
                   .arg(login)
                   .arg(waitUntil - now));
    const bool matches = password.size() <= UserAdministration::kLongestPassword &&
                         PasswordHash::Matches(user ? user->passwordHash : StandIn(), password);

    Transaction write(session_, Transaction::Kind::Write);
    if (!user || !matches) {
        users.RecordFailure(login, now);
        write.Commit();
        Refuse(kWrong);
    }
    // Said only to who knows the password.
    if (!user->active)
        Refuse(QStringLiteral("O usuário %1 está desativado. Procure o administrador.").arg(login));
    if (!user->administrator && user->branches.isEmpty())
        Refuse(QStringLiteral("O usuário %1 não tem acesso a nenhuma filial. Procure o "
                              "administrador.")
                   .arg(login));
    users.ClearFailures(login);
    SessionRepository sessions(session_);
    sessions.DeleteUnusedSince(now - sessionTimeout_.count());
    SignedIn signedIn{SessionTokens::New(), login, user->name, user->administrator, user->branches};
    sessions.Create(SessionTokens::Digest(signedIn.token), login, now);
    write.Commit();
    return signedIn;
}

}  // namespace fai::appserver
