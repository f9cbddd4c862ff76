#include "HostSettings.h"

#include "DatabaseLocation.h"
#include "Errors.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace fai {
namespace {

const QString kDefaultModuleName = QStringLiteral("Pkg_fai00400");

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
    settings.serverHost = ini.value("servidor/host", settings.serverHost).toString();
    bool portOk = true;
    const QVariant port = ini.value("servidor/porta");
    if (port.isValid()) settings.serverPort = port.toString().toInt(&portOk);
    if (!portOk)
        throw EError(QStringLiteral("Porta do servidor inválida no arquivo %1.").arg(path));
    settings.database = ini.value("banco/local", settings.database).toString();
    settings.modulePath = ini.value("modulo/arquivo", settings.modulePath).toString();
}

void SplitServer(HostSettings& settings, const QString& address) {
    const qsizetype colon = address.lastIndexOf(QLatin1Char(':'));
    bool ok = colon > 0;
    const int port = ok ? address.mid(colon + 1).toInt(&ok) : 0;
    if (!ok)
        throw EError(
            QStringLiteral("Endereço do servidor inválido: \"%1\" (use HOST:PORTA).").arg(address));
    settings.serverHost = address.left(colon);
    settings.serverPort = port;
}

}  // namespace

QString HostSettings::DefaultIniPath() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
        .filePath(QStringLiteral("fai-host.ini"));
}

QString HostSettings::DefaultModulePath() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(kDefaultModuleName);
}

HostSettings HostSettings::FromCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Host desktop application of the billing system: opens the headcount module."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption config(
        "config", "INI file with the settings below (default: " + DefaultIniPath() + ").", "file");
    const QCommandLineOption branch("branch", "Working branch code (FiliProc).", "code");
    const QCommandLineOption billingBranch("billing-branch", "Billing branch code (FiliProcFat).",
                                           "code");
    const QCommandLineOption fixed("fixed-branch",
                                   "The branch is fixed for the session (ModuFili).");
    const QCommandLineOption server("server", "Application server (default 127.0.0.1:7400).",
                                    "host:port");
    const QCommandLineOption database(
        "database",
        "Shared database for the lookups: sqlite:PATH or postgresql://user@host:port/db "
        "(default: the application server's default file).",
        "location");
    const QCommandLineOption module("module", "Module library to load.", "path");
    const QCommandLineOption start("start", "Open the headcount screen right after start.");
    parser.addOptions({config, branch, billingBranch, fixed, server, database, module, start});
    parser.process(arguments);

    HostSettings settings;
    settings.database = DatabaseLocation::DefaultText();
    settings.modulePath = DefaultModulePath();
    ApplyIni(settings, parser.isSet(config) ? parser.value(config) : DefaultIniPath(),
             parser.isSet(config));
    if (parser.isSet(branch)) settings.branch = parser.value(branch);
    if (parser.isSet(billingBranch)) settings.billingBranch = parser.value(billingBranch);
    if (parser.isSet(fixed)) settings.branchFixed = true;
    if (parser.isSet(server)) SplitServer(settings, parser.value(server));
    if (parser.isSet(database)) settings.database = parser.value(database);
    if (parser.isSet(module)) settings.modulePath = parser.value(module);
    settings.startModule = parser.isSet(start);
    if (settings.serverPort < 1 || settings.serverPort > 65535)
        throw EError(QStringLiteral("Porta do servidor fora do intervalo 1 a 65535: %1.")
                         .arg(settings.serverPort));
    settings.branch = settings.branch.trimmed().toUpper();
    settings.billingBranch = settings.billingBranch.trimmed().toUpper();
    return settings;
}

}  // namespace fai
