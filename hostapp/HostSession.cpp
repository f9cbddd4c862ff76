#include "HostSession.h"

#include "Errors.h"
#include "SignInDialog.h"
#include "WorkingContext.h"

#include <QTextStream>

namespace fai {
namespace {

// Signing in and out asks little of the server; quitting the host must not wait long for one
// that does not answer.
constexpr std::chrono::seconds kDeadline{10};

QString PasswordFromStandardInput() {
    QTextStream in(stdin);
    const QString line = in.readLine();
    if (line.isNull())
        throw EError(QStringLiteral("A entrada padrão terminou sem a senha (--password-stdin)."));
    return line;
}

}  // namespace

HostSession::HostSession(const HostSettings& settings)
    : settings_(settings),
      client_(ServerList::Parse(settings.serverHost, settings.serverPort), ServerAccess::Host(),
              kDeadline) {}

HostSession::~HostSession() {
    ServerAccess::Host()->SetRenewal(nullptr);
    End();
}

std::optional<SignedInUser> HostSession::Start() {
    ServerAccess::Host()->SetRenewal([this](const QString& reason) { return Renew(reason); });
    if (!client_.SignInRequired()) return std::nullopt;
    // A report run has no window in which to ask.
    if (settings_.report && !settings_.passwordFromStdin)
        throw EError(
            QStringLiteral("O servidor de aplicação exige entrar: para gerar o relatório "
                           "sem janela, informe --user e --password-stdin."));
    user_ = settings_.passwordFromStdin
                ? client_.SignIn(settings_.user, PasswordFromStandardInput())
                : SignInWithDialog(QString());
    return user_;
}

SignedInUser HostSession::SignInWithDialog(const QString& notice) {
    SignedInUser signedIn;
    const QString login = user_ ? user_->login : settings_.user.trimmed();
    if (!SignInDialog::SignIn(
            [this, &signedIn](const QString& typedLogin, const QString& password) {
                signedIn = client_.SignIn(typedLogin, password);
            },
            login, notice))
        throw EAbort();
    return signedIn;
}

bool HostSession::Renew(const QString& reason) {
    try {
        user_ = SignInWithDialog(reason);
    } catch (const EAbort&) {
        return false;
    }
    WorkingContextData context = WorkingContext();
    context.userName = user_->name;
    context.userBranches =
        user_->administrator ? std::nullopt : std::optional<QStringList>(user_->branches);
    SetWorkingContext(std::move(context));
    return true;
}

void HostSession::End() {
    if (!user_) return;
    try {
        client_.SignOut();
    } catch (const EError&) {
        // Nothing to undo: an unused session expires by itself.
    }
    user_.reset();
}

}  // namespace fai
