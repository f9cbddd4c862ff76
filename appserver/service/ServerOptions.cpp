#include "ServerOptions.h"

#include "ConfigFile.h"
#include "Errors.h"

#include <QRegularExpression>
#include <QThread>

#include <algorithm>

namespace fai::appserver {
namespace {

constexpr int kMaxWorkers = 64;
constexpr qint64 kMegabyte = 1024 * 1024;

// A whole number from `min` to `max`, or EError naming what it is for.
int Whole(const QString& text, int min, int max, const QString& what) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < min || value > max)
        throw EError(
            QStringLiteral("%1 inválido: %2 (use de %3 a %4).").arg(what, text).arg(min).arg(max));
    return value;
}

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
      maxCalls_(QStringLiteral("max-calls"),
                QStringLiteral("Chamadas atendidas ao mesmo tempo, esperando, em curso ou com a "
                               "resposta ainda não lida; a seguinte é recusada na hora como "
                               "\"servidor ocupado\" (padrão %1).")
                    .arg(CallLimits().maxCalls),
                QStringLiteral("n"), QString::number(CallLimits().maxCalls)),
      callTimeout_(QStringLiteral("call-timeout"),
                   QStringLiteral("Segundos que uma chamada pode durar, da chegada até a "
                                  "resposta ser lida; depois disso é recusada, nada gravado, e "
                                  "a resposta não lida é descartada (padrão %1).")
                       .arg(CallLimits().callTimeout.count()),
                   QStringLiteral("segundos"), QString::number(CallLimits().callTimeout.count())),
      idleTimeout_(QStringLiteral("idle-timeout"),
                   QStringLiteral("Segundos sem chamada em curso após os quais uma conexão é "
                                  "fechada; o cliente abre outra sozinho (padrão %1).")
                       .arg(CallLimits().idleTimeout.count()),
                   QStringLiteral("segundos"), QString::number(CallLimits().idleTimeout.count())),
      logFile_(QStringLiteral("log"),
               QStringLiteral("Grava o registro de chamadas neste arquivo em vez da saída de "
                              "erro; ao passar do tamanho, ele passa a ARQUIVO.1 (até "
                              "ARQUIVO.%1).")
                   .arg(LogSettings::kKept),
               QStringLiteral("arquivo")),
      logSize_(QStringLiteral("log-size"),
               QStringLiteral("Tamanho do arquivo de registro, em MB (padrão %1).")
                   .arg(LogSettings().maxBytes / kMegabyte),
               QStringLiteral("MB"), QString::number(LogSettings().maxBytes / kMegabyte)),
      tlsCert_(QStringLiteral("tls-cert"),
               QStringLiteral("Certificado TLS do servidor (PEM, com a cadeia até a AC em que os "
                              "hosts confiam): as conexões passam a ser criptografadas."),
               QStringLiteral("arquivo")),
      tlsKey_(QStringLiteral("tls-key"), QStringLiteral("Chave privada do certificado TLS (PEM)."),
              QStringLiteral("arquivo")),
      tlsClientCa_(QStringLiteral("tls-client-ca"),
                   QStringLiteral("AC dos certificados de cliente (PEM): só se conecta o host que "
                                  "apresenta um certificado emitido por ela."),
                   QStringLiteral("arquivo")),
      trustedNetwork_(QStringLiteral("trusted-network"),
                      QStringLiteral("Permite escutar fora desta máquina sem TLS, numa rede "
                                     "confiável: senhas e dados trafegam sem criptografia.")),
      sessionTimeout_(QStringLiteral("session-timeout"),
                      QStringLiteral("Segundos sem uso após os quais a sessão de um usuário "
                                     "expira e o host pede a senha de novo (padrão %1).")
                          .arg(AppServerConfig().sessionTimeout.count()),
                      QStringLiteral("segundos"),
                      QString::number(AppServerConfig().sessionTimeout.count())),
      reportRetention_(
          QStringLiteral("report-retention"),
          QStringLiteral("Tempo sem uso após o qual os dados de um relatório da listagem de "
                         "comensais que ninguém excluiu são descartados: minutos (30m), horas "
                         "(12h) ou dias (2d) (padrão 1d)."),
          QStringLiteral("tempo"), QStringLiteral("1d")),
      reader_(QStringLiteral("reader"),
              QStringLiteral("PostgreSQL: o papel com que o servidor lê o banco para os hosts "
                             "(consultas dos lookups e dos relatórios), que só lê as tabelas dos "
                             "hosts e, delas, as linhas das filiais de quem pede: um nome, cuja "
                             "senha está no ~/.pgpass, ou uma URL postgresql:// (padrão %1).")
                  .arg(HostReadSettings::kDefaultReader),
              QStringLiteral("papel"), HostReadSettings::kDefaultReader),
      configFile_(QStringLiteral("config"),
                  QStringLiteral("Arquivo de configuração com estas opções, uma por linha: NOME = "
                                 "VALOR com o nome longo da opção (--demo e as demais sem valor: "
                                 "sim ou não); as da linha de comando valem sobre as do arquivo."),
                  QStringLiteral("arquivo")),
      health_(QStringLiteral("health"),
              QStringLiteral("Pergunta ao servidor neste endereço se está em serviço (o serviço "
                             "de saúde padrão do gRPC) e termina: 0 em serviço, 1 não."),
              QStringLiteral("endereço:porta")),
      backup_(QStringLiteral("backup"),
              QStringLiteral("Grava neste arquivo uma cópia de segurança do banco SQLite de "
                             "--database, mesmo com o servidor atendendo, e termina."),
              QStringLiteral("arquivo")),
      restore_(QStringLiteral("restore"),
               QStringLiteral("Põe esta cópia de segurança no lugar do banco SQLite de "
                              "--database e termina; recusado enquanto um servidor o atende."),
               QStringLiteral("arquivo")) {
    parser_.setApplicationDescription(QStringLiteral(
        "Servidor de aplicação Fai00400.rdmEfetFatur (efetivos para "
        "faturamento).\nUsuários: fai-appserver user --help.\nHistórico dos efetivos "
        "em CSV: fai-appserver history --help."));
    parser_.addHelpOption();
    parser_.addVersionOption();
    settable_ = {listen_,      database_,    demo_,           threads_,        maxCalls_,
                 callTimeout_, idleTimeout_, logFile_,        logSize_,        tlsCert_,
                 tlsKey_,      tlsClientCa_, trustedNetwork_, sessionTimeout_, reportRetention_,
                 reader_};
    parser_.addOptions(settable_);
    parser_.addOptions({configFile_, health_, backup_, restore_});
}

ServerOptions::Action ServerOptions::Parse(const QStringList& arguments) {
    if (!parser_.parse(arguments)) throw EError(parser_.errorText());
    if (parser_.isSet(QStringLiteral("help"))) return Action::ShowHelp;
    if (parser_.isSet(QStringLiteral("version"))) return Action::ShowVersion;
    if (parser_.isSet(health_)) return Action::ProbeHealth;
    if (parser_.isSet(configFile_)) {
        // The file's options go first: where both give one, the command line's comes last
        // and wins.
        const QStringList fromFile = ConfigFileArguments(parser_.value(configFile_), settable_);
        if (!parser_.parse(arguments.mid(0, 1) + fromFile + arguments.mid(1)))
            throw EError(parser_.errorText());
    }
    if (parser_.isSet(backup_) && parser_.isSet(restore_))
        throw EError(QStringLiteral("Use --backup ou --restore, não os dois."));
    if (!parser_.positionalArguments().isEmpty())
        throw EError(QStringLiteral("Argumento inesperado: %1.")
                         .arg(parser_.positionalArguments().join(u' ')));
    config_.listenAddress = parser_.value(listen_);
    config_.database = DatabaseLocation::Parse(parser_.value(database_));
    config_.seedDemo = parser_.isSet(demo_);
    config_.workers =
        Whole(parser_.value(threads_), 1, kMaxWorkers, QStringLiteral("Número de threads"));
    config_.limits.maxCalls =
        Whole(parser_.value(maxCalls_), 1, 10'000, QStringLiteral("Número de chamadas"));
    config_.limits.callTimeout = std::chrono::seconds(
        Whole(parser_.value(callTimeout_), 1, 3'600, QStringLiteral("Tempo limite de chamada")));
    config_.limits.idleTimeout = std::chrono::seconds(Whole(
        parser_.value(idleTimeout_), 1, 86'400, QStringLiteral("Tempo limite de conexão ociosa")));
    config_.tls = {parser_.value(tlsCert_), parser_.value(tlsKey_), parser_.value(tlsClientCa_)};
    config_.trustedNetwork = parser_.isSet(trustedNetwork_);
    config_.sessionTimeout = std::chrono::seconds(
        Whole(parser_.value(sessionTimeout_), 60, 604'800, QStringLiteral("Tempo de sessão")));
    log_.path = parser_.value(logFile_);
    log_.maxBytes =
        Whole(parser_.value(logSize_), 1, 1'024, QStringLiteral("Tamanho do registro")) * kMegabyte;
    const std::optional<std::chrono::seconds> retention =
        ParseRetention(parser_.value(reportRetention_));
    if (!retention)
        throw EError(QStringLiteral("Tempo de retenção de relatórios inválido: %1 (use de 1m a "
                                    "365d, como 30m, 12h ou 2d).")
                         .arg(parser_.value(reportRetention_)));
    config_.reportRetention = *retention;
    config_.hostReads.reader = parser_.value(reader_);
    if (parser_.isSet(backup_)) return Action::BackUp;
    if (parser_.isSet(restore_)) return Action::Restore;
    return Action::Run;
}

QString ServerOptions::CopyPath() const {
    return parser_.isSet(backup_) ? parser_.value(backup_) : parser_.value(restore_);
}

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

QString ServerOptions::DefaultDatabase() { return DatabaseLocation::DefaultText(); }

int ServerOptions::DefaultWorkers() { return std::clamp(QThread::idealThreadCount(), 2, 8); }

}  // namespace fai::appserver
