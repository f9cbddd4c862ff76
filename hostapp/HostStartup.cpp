#include "HostStartup.h"

#include "Errors.h"
#include "GeneralData.h"
#include "HostSession.h"
#include "ReportCatalog.h"
#include "ServerGeneralData.h"
#include "TADOIBQuery.h"
#include "TNetConnection.h"
#include "WorkingContext.h"

#include <chrono>

namespace fai {
namespace {

// Starting the host should not keep a user waiting long for a server that is not there.
constexpr std::chrono::seconds kServerCheckDeadline{10};

QStringList BranchSql(bool all) {
    return {
        QStringLiteral("SELECT CDFILIAL, NMFILIAL FROM FILIAL"),
        all ? QStringLiteral("ORDER BY CDFILIAL") : QStringLiteral("WHERE CDFILIAL = :P_CDFILIAL")};
}

}  // namespace

QDate HostStartup::ProcessingDate(const QString& branch) {
    TADOIBQuery query(QStringLiteral("qryDataProc"));
    query.SetSQL(QStringLiteral("SELECT DTPROCESSA FROM PARAMFATUR WHERE CDFILIAL = :P_CDFILIAL"));
    query.DataSet().AddField({QStringLiteral("DTPROCESSA"), FieldType::DateTime});
    query.ParamByName(QStringLiteral("P_CDFILIAL")).SetAsString(branch);
    query.Open();
    return query.IsEmpty() ? QDate() : query.FieldByName(QStringLiteral("DTPROCESSA")).AsDateTime();
}

QString HostStartup::BranchName(const QString& branch) {
    TADOIBQuery query(QStringLiteral("qryFilial"));
    query.SetSQL(BranchSql(false));
    query.ParamByName(QStringLiteral("P_CDFILIAL")).SetAsString(branch);
    query.Open();
    if (query.IsEmpty()) throw EError(QStringLiteral("Filial %1 não cadastrada.").arg(branch));
    return query.FieldByName(QStringLiteral("NMFILIAL")).AsString();
}

QString HostStartup::FirstBranch() {
    TADOIBQuery query(QStringLiteral("qryFilial"));
    query.SetSQL(BranchSql(true));
    query.Open();
    if (query.IsEmpty())
        throw EError(
            QStringLiteral("Não há filial cadastrada: cadastre as filiais no servidor "
                           "de aplicação."));
    return query.FieldByName(QStringLiteral("CDFILIAL")).AsString();
}

void HostStartup::CheckServer(const QString& host, int port) {
    TNetConnection connection;
    connection.SetHost(host);
    connection.SetPort(port);
    connection.SetDeadline(kServerCheckDeadline);
    connection.Connect();
    connection.Disconnect();
}

void HostStartup::ChooseBranches(WorkingContextData& context, const HostSettings& settings,
                                 const std::optional<SignedInUser>& user) {
    if (user && !user->administrator) context.userBranches = user->branches;
    const auto allowed = [&](const QString& branch) {
        if (!context.userBranches || context.userBranches->contains(branch)) return;
        throw EError(
            QStringLiteral("A filial %1 não é das filiais do usuário %2 (%3).")
                .arg(branch, user->login, context.userBranches->join(QStringLiteral(", "))));
    };
    context.branch = !settings.branch.isEmpty() ? settings.branch
                     : context.userBranches     ? context.userBranches->first()
                                                : FirstBranch();
    allowed(context.branch);
    context.branchName = BranchName(context.branch);
    context.billingBranch = settings.billingBranch;
    if (!context.billingBranch.isEmpty()) {
        allowed(context.billingBranch);
        context.billingBranchName = BranchName(context.billingBranch);
    }
    context.branchFixed =
        settings.branchFixed || (context.userBranches && context.userBranches->size() == 1);
}

void HostStartup::Run(const HostSettings& settings, HostSession& session) {
    ServerAccess::Host()->SetTls(settings.tls);
    CheckServer(settings.serverHost, settings.serverPort);
    const std::optional<SignedInUser> user = session.Start();
    SetGeneralData(std::make_shared<ServerGeneralData>(settings.serverHost, settings.serverPort));
    WorkingContextData context;
    if (user) context.userName = user->name;
    ChooseBranches(context, settings, user);
    context.serverHost = settings.serverHost;
    context.serverPort = settings.serverPort;
    context.processingDate = &HostStartup::ProcessingDate;
    SetWorkingContext(std::move(context));
    SetSiteReportFolder(settings.reportFolder);
}

}  // namespace fai
