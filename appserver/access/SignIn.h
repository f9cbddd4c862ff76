#pragma once

#include <QString>
#include <QStringList>

#include <chrono>

namespace fai::appserver {

class SqlSession;

// A user signing in with login and password, for a session of the server's idle time.
//
// A wrong login and a wrong password are refused with the same words, in the same time (an
// unknown login is checked against a hash all the same). After five failures in a row for
// one login, each further attempt has to wait, 30 seconds after the fifth, twice as long
// after each one more, at most 16 minutes; an attempt in that wait is refused without
// checking the password. A right password clears the count.
class SignIn {
  public:
    struct SignedIn {
        QString token;
        QString login;
        QString name;
        bool administrator = false;
        QStringList branches;  // none for an administrator
    };

    SignIn(SqlSession& session, std::chrono::seconds sessionTimeout)
        : session_(session), sessionTimeout_(sessionTimeout) {}

    // Runs its own transactions: the password is checked outside any, so that the costly
    // hash holds no lock. Throws EBadRequest with the reason for the user.
    SignedIn Run(const QString& login, const QString& password);

    static constexpr int kFreeFailures = 5;
    // How long a login must wait after `failures` in a row, from the last one.
    static std::chrono::seconds Wait(int failures);

  private:
    SqlSession& session_;
    const std::chrono::seconds sessionTimeout_;
};

}  // namespace fai::appserver
