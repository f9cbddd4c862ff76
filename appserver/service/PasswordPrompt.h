#pragma once

#include <QString>

namespace fai::appserver {

// A new password for a user, as the administrator gives it: typed twice on the terminal
// without echo, or, for scripts, the first line of standard input. Throws EError when there
// is no terminal to ask on, the two typings differ, or standard input holds no line.
class PasswordPrompt {
  public:
    static QString FromTerminal(const QString& login);
    static QString FromStandardInput();
};

}  // namespace fai::appserver
