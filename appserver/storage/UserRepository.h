#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace fai::appserver {

class SqlSession;

// The users who may call the server (USUARIO), the branches each works in (USUARIOFILIAL)
// and the count of failed sign-ins per login typed (FALHAENTRADA).
class UserRepository {
  public:
    struct User {
        QString login;
        QString name;
        QString passwordHash;
        bool active = true;
        bool administrator = false;
        QStringList branches;  // by code; none for an administrator
    };
    struct Failures {
        int count = 0;
        qint64 last = 0;  // seconds since 1970
    };

    explicit UserRepository(SqlSession& session) : session_(session) {}

    bool AnyUser();
    int Count();
    // The user with the branches; none for a login not registered.
    std::optional<User> Find(const QString& login);
    std::vector<User> All();
    QStringList BranchesOf(const QString& login);

    void Add(const User& user);
    void SetPasswordHash(const QString& login, const QString& hash);
    // An administrator keeps no branches of their own: every branch is theirs.
    void SetBranches(const QString& login, bool administrator, const QStringList& branches);
    void SetActive(const QString& login, bool active);

    Failures FailuresOf(const QString& login);
    void RecordFailure(const QString& login, qint64 when);
    void ClearFailures(const QString& login);

  private:
    void InsertBranches(const QString& login, const QStringList& branches);

    SqlSession& session_;
};

}  // namespace fai::appserver
