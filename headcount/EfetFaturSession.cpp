#include "EfetFaturSession.h"

#include "AssessedPeriod.h"
#include "CheckResultServ.h"
#include "EfetFaturData.h"
#include "HistoryFields.h"
#include "NamedResults.h"
#include "UserBranches.h"

namespace fai {
namespace {

// The mode and the one of service and date the mode takes, as GetEfetFatu wants them.
struct ModeArguments {
    QString service;
    QDate date;
    int mode;
};

ModeArguments ModeOf(const LoadFilter& filter) {
    if (filter.byService) return {filter.service, ZeroDate(), 1};
    return {QString(), filter.date, 0};
}

}  // namespace

EfetFaturSession::EfetFaturSession() {
    netEfetFatur.SetServerName(QStringLiteral("Fai00400.rdmEfetFatur"));
    netEfetFatur.SetThrowException(false);
    DefineHeadcountFields(cdsEfetFatu);
    DefineClientFields(cdsCliente);
    DefineServiceFields(cdsServico);
    DefineCheckFields(cdsValidaData, cdsVerifServ, cdsVerifData, cdsFatuPla, cdsVerifSoma,
                      cdsVdServClie, cdsSomaTurno);
    DefineParamsFields(cdsParams);
    DefineAssessedPeriodFields(cdsVdCliFat);
    DefineShiftFields(cdsTurno);
    DefineApportionmentFields(cdsItRatEfet);
    DefineBranchFields(qryFilial.DataSet());
    qryFilial.SetSQL(
        {QStringLiteral("SELECT CDFILIAL, NMFILIAL FROM FILIAL"),
         QStringLiteral("WHERE (CDFILIAL = :P_CDFILIAL OR :P_TCDFILIAL = 'T') ORDER BY CDFILIAL")});
    RestrictToUserBranches(qryFilial);
}

void EfetFaturSession::LoadHeadcounts(const LoadFilter& filter) {
    ModeArguments args = ModeOf(filter);
    const HeadcountPackets packets = HeadcountPacketsOf(netEfetFatur.AppServer().GetEfetFatu(
        filter.client, filter.branch, args.service, args.date, args.mode));
    cdsEfetFatu.SetData(packets.headcounts);
    cdsVdCliFat.SetData(packets.assessedPeriods);
    cdsItemRat.SetData(packets.apportionmentItems);
}

void EfetFaturSession::ImportTransported(const LoadFilter& filter) {
    ModeArguments args = ModeOf(filter);
    const ImportedPackets packets = ImportedPacketsOf(netEfetFatur.AppServer().ImportaEfetTrans(
        filter.client, filter.branch, args.service, args.date, args.mode));
    cdsEfetFatu.SetData(packets.headcounts);
    cdsVdCliFat.SetData(packets.assessedPeriods);
}

void EfetFaturSession::LoadParams(const QString& branch) {
    cdsParams.SetData(SinglePacket(netEfetFatur.AppServer().GetParams(branch)));
}

void EfetFaturSession::FindClients(const QString& branch, const QString& registrationNumber,
                                   const QString& client) {
    cdsCliente.SetData(
        SinglePacket(netEfetFatur.AppServer().GetCliente(branch, registrationNumber, client)));
}

void EfetFaturSession::FindServices(const QString& branch, const QString& client,
                                    const QString& service) {
    cdsServico.SetData(SinglePacket(netEfetFatur.AppServer().GetServico(branch, client, service)));
}

bool EfetFaturSession::Assessed(const QDate& day) {
    cdsVdCliFat.SetFiltered(false);
    cdsVdCliFat.SetFilter([day](const RowView& period) {
        return AssessedPeriod{period.AsDateTime(AssessedPeriodFields::DTINIAPURAC),
                              period.AsDateTime(AssessedPeriodFields::DTFIMAPURAC)}
            .Holds(day);
    });
    cdsVdCliFat.SetFiltered(true);
    return !cdsVdCliFat.IsEmpty();
}

bool EfetFaturSession::RowOnClosedDay() const {
    const Field& billingDate = cdsEfetFatu.FieldByName(HeadcountFields::DTFATURAM);
    return !billingDate.IsNull() && ClosedDayRuleOf(cdsParams).IsClosed(billingDate.AsDateTime());
}

bool EfetFaturSession::BillingDateTaken(const RowKey& key) {
    cdsValidaData.SetData(SinglePacket(
        netEfetFatur.AppServer().GetValidaData(key.branch, key.client, key.service, key.date)));
    return !cdsValidaData.IsEmpty();
}

void EfetFaturSession::LoadLatestDate(const QString& branch, const QString& service,
                                      const QString& client) {
    cdsVerifData.SetData(
        SinglePacket(netEfetFatur.AppServer().GetVerifData(branch, service, client)));
}

QDate EfetFaturSession::NextBillingDate(const QDate& processingDate) const {
    const QDate last = cdsVerifData.FieldByName(BillingDateFields::DTFATURAM).AsDateTime();
    if (cdsVerifData.IsEmpty() || last == ZeroDate()) return processingDate;
    const QDate next = last.addDays(1);
    const ClosedDayRule rule = ClosedDayRuleOf(cdsParams);
    return rule.IsClosed(next) ? rule.FirstOpenDay() : next;
}

double EfetFaturSession::PlannedDiners(const RowKey& key) {
    cdsFatuPla.SetData(SinglePacket(
        netEfetFatur.AppServer().GetVlrFatPla(key.branch, key.service, key.client, key.date)));
    return cdsFatuPla.FieldByName(PlannedCountFields::QTCOMEFETCLI).AsFloat();
}

double EfetFaturSession::StoredShiftSum(const RowKey& key) {
    QString service = key.service;
    QDate date = key.date;
    cdsSomaTurno.SetData(
        SinglePacket(netEfetFatur.AppServer().GetSomaTurno(key.branch, key.client, service, date)));
    return cdsSomaTurno.FieldByName(ShiftSumFields::SOMA).AsFloat();
}

bool EfetFaturSession::ServiceOfClient(const QString& branch, const QString& client,
                                       const QString& service) {
    cdsVdServClie.SetData(
        SinglePacket(netEfetFatur.AppServer().GetVdServClie(branch, client, service)));
    return !cdsVdServClie.FieldByName(ServiceOfClientFields::CDSERVFILI).AsString().isEmpty();
}

QString EfetFaturSession::FirstDisagreeingService() {
    return netEfetFatur.AppServer().GetVerifSoma(cdsEfetFatu.Data());
}

void EfetFaturSession::LoadShifts(const RowKey& key) {
    QString service = key.service;
    QDate date = key.date;
    cdsTurno.SetData(
        SinglePacket(netEfetFatur.AppServer().GetTurno(key.branch, key.client, service, date)));
}

void EfetFaturSession::LoadApportionment(const RowKey& key) {
    try {
        cdsItRatEfet.SetData(SinglePacket(
            netEfetFatur.AppServer().GetItRatEfet(key.branch, key.client, key.date, key.service)));
    } catch (...) {
        if (cdsItRatEfet.Active()) {
            DataPacket none = cdsItRatEfet.Data();
            none.rows.clear();
            cdsItRatEfet.SetData(std::move(none));
        }
        throw;
    }
}

DataPacket EfetFaturSession::RowHistory(const RowKey& key) {
    constexpr int kPage = 500;
    DataPacket history;
    for (int page = 0;; ++page) {
        DataPacket read = SinglePacket(netEfetFatur.AppServer().GetHistEfetFatu(
            key.branch, key.client, key.service, key.date, key.date, page, kPage));
        if (read.fields != HistoryFields::Fields())
            throw EServerError(
                QStringLiteral("O servidor de aplicação respondeu ao histórico "
                               "com campos que esta tela não conhece."));
        history.fields = std::move(read.fields);
        const bool last = static_cast<int>(read.rows.size()) < kPage;
        std::move(read.rows.begin(), read.rows.end(), std::back_inserter(history.rows));
        if (last) return history;
    }
}

bool EfetFaturSession::HeadcountsPending() const {
    return cdsEfetFatu.ChangeCount() > 0 || cdsItRatEfet.ChangeCount() > 0;
}

void EfetFaturSession::SendHeadcounts() {
    OptionalPacket headcounts;
    OptionalPacket apportionment;
    if (cdsEfetFatu.ChangeCount() > 0) headcounts = cdsEfetFatu.Delta();
    if (cdsItRatEfet.ChangeCount() > 0) apportionment = cdsItRatEfet.Delta();
    CheckResultServ(netEfetFatur.AppServer().UpdEfetFatu(headcounts, NullFields, apportionment),
                    true, 0);
}

void EfetFaturSession::SendShifts() {
    CheckResultServ(netEfetFatur.AppServer().SetTurno(cdsTurno.Delta(), TurnoFields), true, 0);
}

}  // namespace fai
