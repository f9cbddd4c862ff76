#include "UserCommands.h"

#include "AdminCommand.h"
#include "DatabaseLocation.h"
#include "Errors.h"
#include "PasswordPrompt.h"
#include "Schema.h"
#include "SqlSession.h"
#include "UserAdministration.h"

#include <QCommandLineParser>

#include <cstdio>

namespace fai::appserver {
namespace {

const QString kCommand = QStringLiteral("user");

void Say(const QString& text) { std::printf("%s\n", text.toUtf8().constData()); }

QString BranchesText(const UserRepository::User& user) {
    return user.administrator ? QStringLiteral("todas (administrador)")
                              : user.branches.join(QStringLiteral(", "));
}

class Command {
  public:
    Command()
        : database_(admin::DatabaseOption()),
          name_(QStringLiteral("name"), QStringLiteral("Nome do usuário."), QStringLiteral("nome")),
          branches_(QStringLiteral("branches"),
                    QStringLiteral("Filiais em que o usuário trabalha, separadas por vírgula."),
                    QStringLiteral("filiais")),
          admin_(QStringLiteral("admin"),
                 QStringLiteral("Administrador: trabalha em todas as filiais.")),
          passwordStdin_(QStringLiteral("password-stdin"),
                         QStringLiteral("Lê a senha da primeira linha da entrada padrão.")) {
        parser_.setApplicationDescription(
            QStringLiteral("Usuários do servidor de aplicação:\n"
                           "  user add USUARIO --name NOME (--branches 0001,0002 | --admin)\n"
                           "  user password USUARIO\n"
                           "  user branches USUARIO (--branches 0001,0003 | --admin)\n"
                           "  user disable USUARIO\n"
                           "  user enable USUARIO\n"
                           "  user list"));
        parser_.addHelpOption();
        parser_.addOptions({database_, name_, branches_, admin_, passwordStdin_});
    }

    int Run(const QStringList& arguments) {
        if (!parser_.parse(arguments)) throw EError(parser_.errorText());
        if (parser_.isSet(QStringLiteral("help"))) {
            std::printf("%s", parser_.helpText().toUtf8().constData());
            return 0;
        }
        const QStringList words = parser_.positionalArguments().mid(1);
        const QString action = words.value(0);
        const int wanted = action == u"list" ? 1 : 2;
        if (words.size() != wanted)
            throw EError(
                QStringLiteral("Uso: fai-appserver user add|password|branches|disable|"
                               "enable USUARIO, ou fai-appserver user list "
                               "(--help explica)."));
        const QString login = words.value(1);
        SqlSession session(Database());
        Schema::Upgrade(session);
        UserAdministration users(session);
        if (action == u"add") {
            if (!parser_.isSet(name_)) throw EError(QStringLiteral("Informe --name."));
            users.CheckNew(login, parser_.value(name_), Branches(), parser_.isSet(admin_));
            users.Add(login, parser_.value(name_), Password(login), Branches(),
                      parser_.isSet(admin_));
            Say(QStringLiteral("Usuário %1 cadastrado.").arg(UserAdministration::Login(login)));
        } else if (action == u"password") {
            users.CheckExisting(login);
            users.SetPassword(login, Password(login));
            Say(QStringLiteral("Senha de %1 alterada; as sessões abertas com a anterior foram "
                               "encerradas.")
                    .arg(UserAdministration::Login(login)));
        } else if (action == u"branches") {
            if (!parser_.isSet(branches_) && !parser_.isSet(admin_))
                throw EError(QStringLiteral("Informe --branches ou --admin."));
            users.SetBranches(login, Branches(), parser_.isSet(admin_));
            Say(QStringLiteral("Filiais de %1 alteradas.").arg(UserAdministration::Login(login)));
        } else if (action == u"disable" || action == u"enable") {
            const bool enable = action == u"enable";
            users.SetActive(login, enable);
            Say(enable
                    ? QStringLiteral("Usuário %1 reativado.").arg(UserAdministration::Login(login))
                    : QStringLiteral("Usuário %1 desativado; suas sessões foram encerradas.")
                          .arg(UserAdministration::Login(login)));
        } else if (action == u"list") {
            for (const UserRepository::User& user : users.List())
                Say(QStringLiteral("%1\t%2\t%3\t%4")
                        .arg(user.login, user.name,
                             user.active ? QStringLiteral("ativo") : QStringLiteral("desativado"),
                             BranchesText(user)));
        } else {
            throw EError(QStringLiteral("Comando de usuário desconhecido: %1 (use add, password, "
                                        "branches, disable, enable ou list).")
                             .arg(action));
        }
        return 0;
    }

  private:
    DatabaseLocation Database() const { return admin::ExistingDatabase(parser_.value(database_)); }

    QStringList Branches() const {
        return parser_.value(branches_).split(u',', Qt::SkipEmptyParts);
    }

    QString Password(const QString& login) const {
        return parser_.isSet(passwordStdin_)
                   ? PasswordPrompt::FromStandardInput()
                   : PasswordPrompt::FromTerminal(UserAdministration::Login(login));
    }

    QCommandLineParser parser_;
    QCommandLineOption database_;
    QCommandLineOption name_;
    QCommandLineOption branches_;
    QCommandLineOption admin_;
    QCommandLineOption passwordStdin_;
};

}  // namespace

bool UserCommands::Asked(int argc, char* argv[]) { return admin::Asked(argc, argv, kCommand); }

int UserCommands::Run(const QStringList& arguments) {
    return admin::Run([&] { return Command().Run(arguments); });
}

}  // namespace fai::appserver
