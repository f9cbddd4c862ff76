#include "ServerOptions.h"

#include "Errors.h"

#include <QThread>

#include <algorithm>

namespace fai::appserver {
namespace {

constexpr int kMaxWorkers = 64;

}  // namespace

ServerOptions::ServerOptions()
    : listen_({QStringLiteral("l"), QStringLiteral("listen")},
              QStringLiteral("Endereço e porta em que o servidor atende (padrão %1).")
                  .arg(AppServerConfig().listenAddress),
              QStringLiteral("endereço:porta"), AppServerConfig().listenAddress),
      database_({QStringLiteral("d"), QStringLiteral("database")},
                QStringLiteral("Banco de dados: sqlite:CAMINHO ou "
                               "postgresql://usuario@servidor:porta/banco (padrão %1).")
                    .arg(DefaultDatabase()),
                QStringLiteral("banco"), DefaultDatabase()),
      demo_(QStringLiteral("demo"),
            QStringLiteral("Grava dados de demonstração quando o banco está vazio.")),
      threads_({QStringLiteral("t"), QStringLiteral("threads")},
               QStringLiteral("Threads de trabalho, cada uma com sua conexão ao banco de dados "
                              "(padrão %1).")
                   .arg(DefaultWorkers()),
               QStringLiteral("n"), QString::number(DefaultWorkers())) {
    parser_.setApplicationDescription(
        QStringLiteral("Servidor de aplicação Fai00400.rdmEfetFatur (efetivos para "
                       "faturamento)."));
    parser_.addHelpOption();
    parser_.addVersionOption();
    parser_.addOptions({listen_, database_, demo_, threads_});
}

ServerOptions::Action ServerOptions::Parse(const QStringList& arguments) {
    if (!parser_.parse(arguments)) throw EError(parser_.errorText());
    if (parser_.isSet(QStringLiteral("help"))) return Action::ShowHelp;
    if (parser_.isSet(QStringLiteral("version"))) return Action::ShowVersion;
    if (!parser_.positionalArguments().isEmpty())
        throw EError(QStringLiteral("Argumento inesperado: %1.")
                         .arg(parser_.positionalArguments().join(u' ')));
    config_.listenAddress = parser_.value(listen_);
    config_.database = DatabaseLocation::Parse(parser_.value(database_));
    config_.seedDemo = parser_.isSet(demo_);
    bool ok = false;
    config_.workers = parser_.value(threads_).toInt(&ok);
    if (!ok || config_.workers < 1 || config_.workers > kMaxWorkers)
        throw EError(QStringLiteral("Número de threads inválido: %1 (use de 1 a %2).")
                         .arg(parser_.value(threads_))
                         .arg(kMaxWorkers));
    return Action::Run;
}

QString ServerOptions::DefaultDatabase() { return DatabaseLocation::DefaultText(); }

int ServerOptions::DefaultWorkers() { return std::clamp(QThread::idealThreadCount(), 2, 8); }

}  // namespace fai::appserver
