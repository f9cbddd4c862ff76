#include "PasswordPrompt.h"

#include "Errors.h"

#include <cstdio>
#include <iostream>
#include <string>

#include <termios.h>
#include <unistd.h>

namespace fai::appserver {
namespace {

// The terminal's echo is off while it lives, and back as it was after.
class EchoOff {
  public:
    EchoOff() {
        if (tcgetattr(STDIN_FILENO, &saved_) != 0) return;
        termios quiet = saved_;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        active_ = tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
    }
    ~EchoOff() {
        if (active_) tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved_);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

  private:
    termios saved_{};
    bool active_ = false;
};

QString ReadLine() {
    std::string line;
    if (!std::getline(std::cin, line))
        throw EError(QStringLiteral("A entrada padrão terminou sem a senha."));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return QString::fromStdString(line);
}

QString Ask(const QString& prompt) {
    std::fprintf(stderr, "%s", prompt.toUtf8().constData());
    std::fflush(stderr);
    QString typed;
    {
        const EchoOff quiet;
        typed = ReadLine();
    }
    std::fprintf(stderr, "\n");
    return typed;
}

}  // namespace

QString PasswordPrompt::FromTerminal(const QString& login) {
    if (!isatty(STDIN_FILENO))
        throw EError(
            QStringLiteral("Não há terminal para digitar a senha: use "
                           "--password-stdin para lê-la da entrada padrão."));
    const QString password = Ask(QStringLiteral("Senha de %1: ").arg(login));
    if (Ask(QStringLiteral("Repita a senha: ")) != password)
        throw EError(QStringLiteral("As senhas digitadas não conferem; nada foi alterado."));
    return password;
}

QString PasswordPrompt::FromStandardInput() { return ReadLine(); }

}  // namespace fai::appserver
