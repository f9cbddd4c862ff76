#include "UserAdministration.h"

#include "BranchRepository.h"
#include "Errors.h"
#include "PasswordHash.h"
#include "SessionRepository.h"
#include "SqlSession.h"
#include "WireText.h"

#include <QRegularExpression>

namespace fai::appserver {
namespace {

constexpr int kLongestName = 60;

[[noreturn]] void Refuse(const QString& why) { throw EError(why); }

QString CheckedLogin(const QString& typed) {
    const QString login = UserAdministration::Login(typed);
    if (!UserAdministration::IsLogin(login))
        Refuse(QStringLiteral("Usuário inválido: \"%1\" (use até 30 letras sem acento, "
                              "algarismos, ponto, hífen ou sublinhado).")
                   .arg(Excerpt(typed)));
    return login;
}

QString CheckedName(const QString& typed) {
    const QString name = typed.trimmed();
    if (name.isEmpty()) Refuse(QStringLiteral("Informe o nome do usuário."));
    if (name.size() > kLongestName || HasControlCharacter(name))
        Refuse(QStringLiteral("Nome de usuário inválido: \"%1\" (até %2 caracteres, numa linha).")
                   .arg(Excerpt(name))
                   .arg(kLongestName));
    return name;
}

QString HashOf(const QString& password) {
    if (password.size() < UserAdministration::kShortestPassword)
        Refuse(QStringLiteral("A senha deve ter ao menos %1 caracteres.")
                   .arg(UserAdministration::kShortestPassword));
    if (password.size() > UserAdministration::kLongestPassword)
        Refuse(QStringLiteral("A senha deve ter no máximo %1 caracteres.")
                   .arg(UserAdministration::kLongestPassword));
    return PasswordHash::Of(password);
}

}  // namespace

QString UserAdministration::Login(const QString& typed) { return typed.trimmed().toLower(); }

bool UserAdministration::IsLogin(const QString& login) {
    static const QRegularExpression form(QStringLiteral("^[a-z0-9._-]{1,30}$"));
    return form.match(login).hasMatch();
}

QString UserAdministration::ExistingLogin(UserRepository& users, const QString& typed) {
    const QString login = CheckedLogin(typed);
    if (!users.Find(login)) Refuse(QStringLiteral("Usuário %1 não cadastrado.").arg(login));
    return login;
}

QStringList UserAdministration::KnownBranches(const QStringList& typed, bool administrator) {
    if (administrator) {
        if (!typed.isEmpty())
            Refuse(
                QStringLiteral("Um administrador trabalha em todas as filiais: não informe "
                               "filiais para ele."));
        return {};
    }
    QStringList branches;
    BranchRepository known(session_);
    for (const QString& text : typed) {
        const QString branch = text.trimmed().toUpper();
        if (branch.isEmpty() || branches.contains(branch)) continue;
        if (!known.Exists(branch))
            Refuse(QStringLiteral("Filial %1 não cadastrada.").arg(Excerpt(branch)));
        branches << branch;
    }
    if (branches.isEmpty())
        Refuse(
            QStringLiteral("Informe ao menos uma filial do usuário (ou torne-o "
                           "administrador)."));
    return branches;
}

void UserAdministration::CheckNew(const QString& typedLogin, const QString& name,
                                  const QStringList& branches, bool administrator) {
    const QString login = CheckedLogin(typedLogin);
    CheckedName(name);
    Transaction read(session_);
    if (UserRepository(session_).Find(login))
        Refuse(QStringLiteral("O usuário %1 já existe.").arg(login));
    KnownBranches(branches, administrator);
    read.Commit();
}

void UserAdministration::CheckExisting(const QString& login) {
    Transaction read(session_);
    UserRepository users(session_);
    ExistingLogin(users, login);
    read.Commit();
}

void UserAdministration::Add(const QString& typedLogin, const QString& name,
                             const QString& password, const QStringList& branches,
                             bool administrator) {
    UserRepository::User user;
    user.login = CheckedLogin(typedLogin);
    user.name = CheckedName(name);
    user.administrator = administrator;
    user.passwordHash = HashOf(password);
    Transaction write(session_, Transaction::Kind::Write);
    UserRepository users(session_);
    if (users.Find(user.login)) Refuse(QStringLiteral("O usuário %1 já existe.").arg(user.login));
    user.branches = KnownBranches(branches, administrator);
    users.Add(user);
    write.Commit();
}

void UserAdministration::SetPassword(const QString& typedLogin, const QString& password) {
    const QString hash = HashOf(password);
    Transaction write(session_, Transaction::Kind::Write);
    UserRepository users(session_);
    const QString login = ExistingLogin(users, typedLogin);
    users.SetPasswordHash(login, hash);
    users.ClearFailures(login);
    SessionRepository(session_).DeleteOfUser(login);
    write.Commit();
}

void UserAdministration::SetBranches(const QString& typedLogin, const QStringList& branches,
                                     bool administrator) {
    Transaction write(session_, Transaction::Kind::Write);
    UserRepository users(session_);
    const QString login = ExistingLogin(users, typedLogin);
    users.SetBranches(login, administrator, KnownBranches(branches, administrator));
    write.Commit();
}

void UserAdministration::SetActive(const QString& typedLogin, bool active) {
    Transaction write(session_, Transaction::Kind::Write);
    UserRepository users(session_);
    const QString login = ExistingLogin(users, typedLogin);
    users.SetActive(login, active);
    if (!active) SessionRepository(session_).DeleteOfUser(login);
    write.Commit();
}

std::vector<UserRepository::User> UserAdministration::List() {
    Transaction read(session_);
    std::vector<UserRepository::User> users = UserRepository(session_).All();
    read.Commit();
    return users;
}

}  // namespace fai::appserver
