#pragma once

#include "UserRepository.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace fai::appserver {

class SqlSession;

// What the administrator does to the users, from the server's command line, on SQLite or
// PostgreSQL alike. Each change is one transaction; every refusal is an EError with a
// message for the administrator, and changes nothing.
class UserAdministration {
  public:
    explicit UserAdministration(SqlSession& session) : session_(session) {}

    // A login as kept: without surrounding blanks, in lower case, so that "Maria" and
    // "maria" are one user.
    static QString Login(const QString& typed);
    // A login as Login gives it, of the form a user can have: up to 30 letters without
    // accents, digits, dots, hyphens and underscores.
    static bool IsLogin(const QString& login);

    // What Add checks before the password is asked for: a new login, a name, known branches.
    void CheckNew(const QString& login, const QString& name, const QStringList& branches,
                  bool administrator);
    // What the other changes check before a password is asked for: a user that exists.
    void CheckExisting(const QString& login);

    // An administrator works in every branch and is given none; anyone else at least one.
    void Add(const QString& login, const QString& name, const QString& password,
             const QStringList& branches, bool administrator);
    // Ends the user's sessions: whoever signed in with the old password signs in again.
    void SetPassword(const QString& login, const QString& password);
    void SetBranches(const QString& login, const QStringList& branches, bool administrator);
    // Disabling ends the user's sessions at once.
    void SetActive(const QString& login, bool active);
    std::vector<UserRepository::User> List();

    static constexpr int kShortestPassword = 8;
    static constexpr int kLongestPassword = 1024;

  private:
    QString ExistingLogin(UserRepository& users, const QString& typed);
    QStringList KnownBranches(const QStringList& branches, bool administrator);

    SqlSession& session_;
};

}  // namespace fai::appserver
