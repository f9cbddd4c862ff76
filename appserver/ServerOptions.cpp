#include "ServerOptions.h"

#include "Errors.h"

#include <QRegularExpression>
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
               QStringLiteral("n"), QString::number(DefaultWorkers())),
      reportRetention_(
          QStringLiteral("report-retention"),
          QStringLiteral("Tempo sem uso após o qual os dados de um relatório da listagem de "
                         "comensais que ninguém excluiu são descartados: minutos (30m), horas "
                         "(12h) ou dias (2d) (padrão 1d)."),
          QStringLiteral("tempo"), QStringLiteral("1d")) {
    parser_.setApplicationDescription(
        QStringLiteral("Servidor de aplicação Fai00400.rdmEfetFatur (efetivos para "
                       "faturamento)."));
    parser_.addHelpOption();
    parser_.addVersionOption();
    parser_.addOptions({listen_, database_, demo_, threads_, reportRetention_});
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
    const std::optional<std::chrono::seconds> retention =
        ParseRetention(parser_.value(reportRetention_));
    if (!retention)
        throw EError(QStringLiteral("Tempo de retenção de relatórios inválido: %1 (use de 1m a "
                                    "365d, como 30m, 12h ou 2d).")
                         .arg(parser_.value(reportRetention_)));
    config_.reportRetention = *retention;
    return Action::Run;
}

QString ServerOptions::DefaultDatabase() { return DatabaseLocation::DefaultText(); }

std::optional<std::chrono::seconds> ServerOptions::ParseRetention(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^\\s*([0-9]{1,6})\\s*([mhd]?)\\s*$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch()) return std::nullopt;
    const qint64 amount = match.captured(1).toLongLong();
    const QString unit = match.captured(2);
    const qint64 minutes = unit == u"m" ? amount : unit == u"d" ? amount * 24 * 60 : amount * 60;
    if (minutes < 1 || minutes > 365 * 24 * 60) return std::nullopt;
    return std::chrono::minutes(minutes);
}

int ServerOptions::DefaultWorkers() { return std::clamp(QThread::idealThreadCount(), 2, 8); }

}  // namespace fai::appserver
