#include "UserRepository.h"

#include "SqlSession.h"

namespace fai::appserver {
namespace {

QString Flag(bool on) { return on ? QStringLiteral("S") : QStringLiteral("N"); }

const QString kSelectUser =
    QStringLiteral("SELECT NMLOGIN, NMUSUARIO, DSHASHSENHA, IDATIVO, IDADMINISTRADOR FROM USUARIO");

UserRepository::User Read(const QSqlQuery& query) {
    UserRepository::User user;
    user.login = query.value(0).toString();
    user.name = query.value(1).toString();
    user.passwordHash = query.value(2).toString();
    user.active = query.value(3).toString() == u"S";
    user.administrator = query.value(4).toString() == u"S";
    return user;
}

}  // namespace

bool UserRepository::AnyUser() {
    return session_.Any(QStringLiteral("SELECT 1 FROM USUARIO LIMIT 1"), {});
}

int UserRepository::Count() {
    QSqlQuery query = session_.Run(QStringLiteral("SELECT COUNT(*) FROM USUARIO"));
    return query.next() ? query.value(0).toInt() : 0;
}

std::optional<UserRepository::User> UserRepository::Find(const QString& login) {
    QSqlQuery query = session_.Run(kSelectUser + QStringLiteral(" WHERE NMLOGIN = ?"), {login});
    if (!query.next()) return std::nullopt;
    User user = Read(query);
    user.branches = BranchesOf(login);
    return user;
}

std::vector<UserRepository::User> UserRepository::All() {
    std::vector<User> users;
    QSqlQuery query = session_.Run(kSelectUser + QStringLiteral(" ORDER BY NMLOGIN"));
    while (query.next()) users.push_back(Read(query));
    for (User& user : users) user.branches = BranchesOf(user.login);
    return users;
}

QStringList UserRepository::BranchesOf(const QString& login) {
    QStringList branches;
    QSqlQuery query = session_.Run(
        QStringLiteral("SELECT CDFILIAL FROM USUARIOFILIAL WHERE NMLOGIN = ? ORDER BY CDFILIAL"),
        {login});
    while (query.next()) branches << query.value(0).toString();
    return branches;
}

void UserRepository::Add(const User& user) {
    session_.Run(
        QStringLiteral("INSERT INTO USUARIO (NMLOGIN, NMUSUARIO, DSHASHSENHA, IDATIVO, "
                       "IDADMINISTRADOR) VALUES (?, ?, ?, ?, ?)"),
        {user.login, user.name, user.passwordHash, Flag(user.active), Flag(user.administrator)});
    InsertBranches(user.login, user.branches);
}

void UserRepository::SetPasswordHash(const QString& login, const QString& hash) {
    session_.Run(QStringLiteral("UPDATE USUARIO SET DSHASHSENHA = ? WHERE NMLOGIN = ?"),
                 {hash, login});
}

void UserRepository::SetBranches(const QString& login, bool administrator,
                                 const QStringList& branches) {
    session_.Run(QStringLiteral("UPDATE USUARIO SET IDADMINISTRADOR = ? WHERE NMLOGIN = ?"),
                 {Flag(administrator), login});
    session_.Run(QStringLiteral("DELETE FROM USUARIOFILIAL WHERE NMLOGIN = ?"), {login});
    InsertBranches(login, branches);
}

void UserRepository::SetActive(const QString& login, bool active) {
    session_.Run(QStringLiteral("UPDATE USUARIO SET IDATIVO = ? WHERE NMLOGIN = ?"),
                 {Flag(active), login});
}

void UserRepository::InsertBranches(const QString& login, const QStringList& branches) {
    SqlStatement insert(session_, QStringLiteral("INSERT INTO USUARIOFILIAL (NMLOGIN, CDFILIAL) "
                                                 "VALUES (?, ?)"));
    for (const QString& branch : branches) insert.Run({login, branch});
}

UserRepository::Failures UserRepository::FailuresOf(const QString& login) {
    QSqlQuery query = session_.Run(
        QStringLiteral("SELECT QTFALHAS, DTULTIMAFALHA FROM FALHAENTRADA WHERE NMLOGIN = ?"),
        {login});
    if (!query.next()) return {};
    return {query.value(0).toInt(), query.value(1).toLongLong()};
}

void UserRepository::RecordFailure(const QString& login, qint64 when) {
    // Two servers may count a failure of the same login at once.
    session_.Run(QStringLiteral("INSERT INTO FALHAENTRADA (NMLOGIN, QTFALHAS, DTULTIMAFALHA) "
                                "VALUES (?, 1, ?) ON CONFLICT (NMLOGIN) DO UPDATE SET "
                                "QTFALHAS = FALHAENTRADA.QTFALHAS + 1, DTULTIMAFALHA = ?"),
                 {login, when, when});
}

void UserRepository::ClearFailures(const QString& login) {
    session_.Run(QStringLiteral("DELETE FROM FALHAENTRADA WHERE NMLOGIN = ?"), {login});
}

}  // namespace fai::appserver
