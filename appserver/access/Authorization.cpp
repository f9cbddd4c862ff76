#include "Authorization.h"

#include "AppErrors.h"
#include "SessionRepository.h"
#include "SessionTokens.h"
#include "UserRepository.h"
#include "WireText.h"

#include <QDateTime>

namespace fai::appserver {
namespace {

// Past this many sessions remembered, those expired are forgotten.
constexpr std::size_t kRememberedSessions = 1024;

qint64 Now() { return QDateTime::currentSecsSinceEpoch(); }

}  // namespace

Authorization::Authorization(bool openWithoutUsers, std::chrono::seconds sessionTimeout)
    : openWithoutUsers_(openWithoutUsers),
      sessionTimeout_(sessionTimeout),
      useInterval_(sessionTimeout / 60) {}

bool Authorization::SignInRequired(SqlSession& session) const {
    return !openWithoutUsers_ || UserRepository(session).AnyUser();
}

bool Authorization::UseDue(const QString& token) {
    if (token.isEmpty()) return false;
    std::lock_guard lock(mutex_);
    const auto found = uses_.find(SessionTokens::Digest(token));
    return found == uses_.end() || Now() - found->second >= useInterval_.count();
}

void Authorization::Remember(const QString& digest, qint64 use) {
    std::lock_guard lock(mutex_);
    if (uses_.size() >= kRememberedSessions)
        std::erase_if(uses_, [expired = Now() - sessionTimeout_.count()](const auto& entry) {
            return entry.second < expired;
        });
    uses_[digest] = use;
}

Authorization::Caller Authorization::Admit(SqlSession& session, const QString& token,
                                           const QStringList& branches, bool writing) {
    if (token.isEmpty()) {
        if (!SignInRequired(session)) return {{}, ReadScope::Every()};
        throw ESessionRequired(
            QStringLiteral("Este servidor de aplicação exige usuário e "
                           "senha: entre no sistema para continuar."));
    }
    const QString digest = SessionTokens::Digest(token);
    SessionRepository sessions(session);
    const std::optional<SessionRepository::Found> found = sessions.Find(digest);
    const qint64 now = Now();
    if (!found || now - found->lastUse > sessionTimeout_.count())
        throw ESessionRequired(
            QStringLiteral("Sua sessão expirou ou foi encerrada: entre "
                           "novamente para continuar."));
    if (!found->userActive)
        throw ESessionRequired(QStringLiteral("O usuário %1 está desativado.").arg(found->login));
    qint64 use = found->lastUse;
    if (writing && now - use >= useInterval_.count()) {
        sessions.Touch(digest, now);
        use = now;
    }
    Remember(digest, use);
    const Caller caller{found->login, found->administrator ? ReadScope::Every()
                                                           : ReadScope{false, found->branches}};
    if (caller.scope.everyBranch) return caller;
    for (const QString& branch : branches) {
        if (!found->branches.contains(branch))
            throw EForbidden(QStringLiteral("O usuário %1 não tem acesso à filial %2.")
                                 .arg(found->login, Excerpt(branch)));
    }
    return caller;
}

}  // namespace fai::appserver
