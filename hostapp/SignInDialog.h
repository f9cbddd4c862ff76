#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace fai {

// "Entrar": the user's login and password for the application server. "Entrar" tries them
// at once; a refusal (a wrong password, a login slowed down, a server out of reach) is shown
// in the dialog, which stays open with the password cleared for another try. Shown through
// the dialog service.
class SignInDialog : public QDialog {
    Q_OBJECT
  public:
    // Throws EError with the reason when the server does not take them.
    using Attempt = std::function<void(const QString& login, const QString& password)>;

    // A login given is kept as it is (a session renewed is the same user's); `notice` says
    // why the password is asked for.
    SignInDialog(Attempt attempt, const QString& login, const QString& notice,
                 QWidget* parent = nullptr);

    // Runs the dialog; true once the server has taken a login and password.
    static bool SignIn(const Attempt& attempt, const QString& login, const QString& notice);

  private:
    void Enter();

    Attempt attempt_;
    QLineEdit* edtUsuario_;
    QLineEdit* edtSenha_;
    QLabel* lblErro_;
};

}  // namespace fai
