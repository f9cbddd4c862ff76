#include "HostSettings.h"

#include "BrazilianText.h"
#include "Errors.h"
#include "InstallLayout.h"
#include "ServerList.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace fai {
namespace {

const QString kDefaultModuleName = QStringLiteral("Pkg_fai00400");

// A value with commas comes from QSettings as a list; the setting is the text as written.
QString IniText(const QSettings& ini, const char* key, const QString& fallback) {
    const QVariant value = ini.value(key, fallback);
    return value.typeId() == QMetaType::QStringList ? value.toStringList().join(QLatin1Char(','))
                                                    : value.toString();
}

void ApplyIni(HostSettings& settings, const QString& path, bool mustExist) {
    if (!QFileInfo::exists(path)) {
        if (mustExist)
            throw EError(QStringLiteral("Arquivo de configuração %1 não encontrado.").arg(path));
        return;
    }
    QSettings ini(path, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError)
        throw EError(QStringLiteral("Arquivo de configuração %1 ilegível.").arg(path));
    settings.branch = ini.value("contexto/filial", settings.branch).toString();
    settings.billingBranch =
        ini.value("contexto/filialFaturamento", settings.billingBranch).toString();
    settings.branchFixed = ini.value("contexto/filialFixa", settings.branchFixed).toBool();
    settings.serverHost = IniText(ini, "servidor/host", settings.serverHost);
    bool portOk = true;
    const QVariant port = ini.value("servidor/porta");
    if (port.isValid()) settings.serverPort = port.toString().toInt(&portOk);
    if (!portOk)
        throw EError(QStringLiteral("Porta do servidor inválida no arquivo %1.").arg(path));
    settings.tls.enabled = ini.value("servidor/tls", settings.tls.enabled).toBool();
    settings.tls.caFile = ini.value("servidor/ca", settings.tls.caFile).toString();
    settings.tls.certificateFile =
        ini.value("servidor/certificado", settings.tls.certificateFile).toString();
    settings.tls.keyFile = ini.value("servidor/chave", settings.tls.keyFile).toString();
    settings.user = ini.value("contexto/usuario", settings.user).toString();
    // The host read the shared database itself before its reads went through the server.
    if (ini.contains("banco/local"))
        settings.notes << QStringLiteral(
                              "a seção [banco] de %1 é ignorada: o host lê os dados "
                              "pelo servidor de aplicação.")
                              .arg(path);
    settings.modulePath = ini.value("modulo/arquivo", settings.modulePath).toString();
    settings.reportFolder = ini.value("relatorios/pasta", settings.reportFolder).toString();
}

void SplitServer(HostSettings& settings, const QString& address) {
    // Several servers keep their entries, each with its own port or the configured one.
    if (address.contains(QLatin1Char(','))) {
        settings.serverHost = address;
        return;
    }
    const qsizetype colon = address.lastIndexOf(QLatin1Char(':'));
    bool ok = colon > 0;
    const int port = ok ? address.mid(colon + 1).toInt(&ok) : 0;
    if (!ok)
        throw EError(
            QStringLiteral("Endereço do servidor inválido: \"%1\" (use HOST:PORTA).").arg(address));
    settings.serverHost = address.left(colon);
    settings.serverPort = port;
}

// A list given on the command line: items separated by commas, blanks around them ignored.
QStringList ListOption(const QString& value, const QString& option) {
    QStringList items;
    for (const QString& item : value.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        if (!item.trimmed().isEmpty()) items << item.trimmed();
    }
    if (items.isEmpty())
        throw EError(QStringLiteral("Informe ao menos um item em --%1.").arg(option));
    return items;
}

QDate DateOption(const QString& value, const QString& option) {
    const std::optional<QDate> date = ParseDate(value);
    if (!date)
        throw EError(
            QStringLiteral("Data inválida em --%1: \"%2\" (use DD/MM/AAAA).").arg(option, value));
    return *date;
}

}  // namespace

QString HostSettings::DefaultIniPath() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
        .filePath(QStringLiteral("fai-host.ini"));
}

QString HostSettings::DefaultModulePath() {
    return QDir(InstalledLibraryFolder()).filePath(kDefaultModuleName);
}

HostSettings HostSettings::FromCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Aplicação hospedeira do faturamento: abre o módulo de efetivos para faturamento."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption config(
        "config",
        "Arquivo INI com as opções abaixo (padrão: " + QStringLiteral(FAI_SYSTEM_INI) +
            " e então " + DefaultIniPath() + ").",
        "arquivo");
    const QCommandLineOption branch("branch", "Filial de trabalho (FiliProc).", "codigo");
    const QCommandLineOption billingBranch("billing-branch", "Filial de faturamento (FiliProcFat).",
                                           "codigo");
    const QCommandLineOption fixed("fixed-branch", "A filial fica fixa na sessão (ModuFili).");
    const QCommandLineOption server(
        "server",
        "Servidor de aplicação (padrão 127.0.0.1:7400), ou vários do mesmo banco separados por "
        "vírgulas (a:7400,b:7400), entre os quais as chamadas se repartem.",
        "servidor:porta");
    // Accepted, and ignored with a note, so that a scheduler's older command line still runs.
    QCommandLineOption database("database", QString(), "banco");
    database.setFlags(QCommandLineOption::HiddenFromHelp);
    const QCommandLineOption module("module", "Biblioteca do módulo a carregar.", "caminho");
    const QCommandLineOption reports(
        "reports",
        "Pasta de definições de relatório compartilhada (além das instaladas e das do usuário).",
        "pasta");
    const QCommandLineOption start("start", "Abre a tela de efetivos logo ao iniciar.");
    const QCommandLineOption user(
        "user", "Usuário com que entrar, quando o servidor exige: só a senha é pedida.", "usuario");
    const QCommandLineOption passwordStdin(
        "password-stdin", "Lê a senha da primeira linha da entrada padrão (com --user).");
    const QCommandLineOption tls("tls", "Conecta ao servidor de aplicação com TLS.");
    const QCommandLineOption tlsCa(
        "tls-ca", "AC que emitiu o certificado do servidor (PEM; implica --tls).", "arquivo");
    const QCommandLineOption tlsCert(
        "tls-cert", "Certificado deste computador, se o servidor exige (PEM; implica --tls).",
        "arquivo");
    const QCommandLineOption tlsKey("tls-key", "Chave do certificado deste computador (PEM).",
                                    "arquivo");
    const QCommandLineOption report(
        "report",
        "Gera o relatório de código CODIGO em PDF sem abrir janela alguma (também sem monitor) "
        "e termina: 0 quando o PDF foi gravado, outro valor com a mensagem do problema. "
        "Fai004 é a listagem de comensais da filial de --branch no período de --from a --to.",
        "codigo");
    const QCommandLineOption from("from", "Com --report: data inicial do período.", "DD/MM/AAAA");
    const QCommandLineOption to("to", "Com --report: data final do período.", "DD/MM/AAAA");
    const QCommandLineOption clients(
        "clients",
        "Com --report: só estes clientes, por código ou inscrição, separados por vírgulas "
        "(padrão: todos).",
        "lista");
    const QCommandLineOption services(
        "services", "Com --report: só estes serviços, separados por vírgulas (padrão: todos).",
        "lista");
    const QCommandLineOption title(
        "title", "Com --report: o título da definição do relatório (padrão: a primeira).",
        "titulo");
    const QCommandLineOption pdf("pdf", "Com --report: o arquivo PDF a gravar.", "arquivo");
    parser.addOptions({config, branch, billingBranch, fixed,    server, database, module, reports,
                       start,  user,   passwordStdin, tls,      tlsCa,  tlsCert,  tlsKey, report,
                       from,   to,     clients,       services, title,  pdf});
    parser.process(arguments);

    HostSettings settings;
    settings.modulePath = DefaultModulePath();
    if (parser.isSet(config)) {
        ApplyIni(settings, parser.value(config), true);
    } else {
        // The machine's settings (made by its installation), then the user's over them.
        ApplyIni(settings, QStringLiteral(FAI_SYSTEM_INI), false);
        ApplyIni(settings, DefaultIniPath(), false);
    }
    if (parser.isSet(branch)) settings.branch = parser.value(branch);
    if (parser.isSet(billingBranch)) settings.billingBranch = parser.value(billingBranch);
    if (parser.isSet(fixed)) settings.branchFixed = true;
    if (parser.isSet(server)) SplitServer(settings, parser.value(server));
    if (parser.isSet(database))
        settings.notes << QStringLiteral(
            "--database é ignorado: o host lê os dados pelo "
            "servidor de aplicação.");
    if (parser.isSet(module)) settings.modulePath = parser.value(module);
    if (parser.isSet(reports)) settings.reportFolder = parser.value(reports);
    settings.startModule = parser.isSet(start);
    if (parser.isSet(user)) settings.user = parser.value(user);
    settings.passwordFromStdin = parser.isSet(passwordStdin);
    if (settings.passwordFromStdin && settings.user.trimmed().isEmpty())
        throw EError(QStringLiteral("--password-stdin pede --user: a senha é de um usuário."));
    if (parser.isSet(tlsCa)) settings.tls.caFile = parser.value(tlsCa);
    if (parser.isSet(tlsCert)) settings.tls.certificateFile = parser.value(tlsCert);
    if (parser.isSet(tlsKey)) settings.tls.keyFile = parser.value(tlsKey);
    settings.tls.enabled =
        settings.tls.enabled || parser.isSet(tls) || parser.isSet(tlsCa) || parser.isSet(tlsCert);
    if (parser.isSet(report)) {
        ReportRequest request;
        request.code = parser.value(report).trimmed();
        for (const QCommandLineOption* needed : {&from, &to, &pdf}) {
            if (!parser.isSet(*needed))
                throw EError(
                    QStringLiteral("--report precisa de --%1.").arg(needed->names().first()));
        }
        request.branch = parser.value(branch).trimmed().toUpper();
        request.first = DateOption(parser.value(from), QStringLiteral("from"));
        request.last = DateOption(parser.value(to), QStringLiteral("to"));
        if (parser.isSet(clients)) request.clients = ListOption(parser.value(clients), "clients");
        if (parser.isSet(services))
            request.services = ListOption(parser.value(services), "services");
        request.title = parser.value(title);
        request.pdf = parser.value(pdf);
        settings.report = request;
    } else {
        for (const QCommandLineOption* reportOnly :
             {&from, &to, &clients, &services, &title, &pdf}) {
            if (parser.isSet(*reportOnly))
                throw EError(
                    QStringLiteral("--%1 só vale com --report.").arg(reportOnly->names().first()));
        }
    }
    if (settings.serverPort < 1 || settings.serverPort > 65535)
        throw EError(QStringLiteral("Porta do servidor fora do intervalo 1 a 65535: %1.")
                         .arg(settings.serverPort));
    // A list is refused at start for its first entry that is not an address.
    ServerList::Parse(settings.serverHost, settings.serverPort);
    settings.branch = settings.branch.trimmed().toUpper();
    settings.billingBranch = settings.billingBranch.trimmed().toUpper();
    return settings;
}

}  // namespace fai
