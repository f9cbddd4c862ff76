#include "EfetFaturSession.h"

#include "AssessedPeriod.h"
#include "BrazilianText.h"
#include "CheckResultServ.h"
#include "Consiste.h"
#include "EfetFaturData.h"
#include "FocusOnFailure.h"
#include "HistoryFields.h"
#include "ImportSummaryFields.h"
#include "NamedResults.h"
#include "Planning.h"
#include "ScopedDetach.h"
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

RowKey EfetFaturSession::CurrentKey(const LoadFilter& filter) const {
    if (filter.byService)
        return {filter.branch, filter.client, filter.service,
                cdsEfetFatu.FieldByName(HeadcountFields::DTFATURAM).AsDateTime()};
    return {filter.branch, filter.client,
            cdsEfetFatu.FieldByName(HeadcountFields::CDSERVFILI).AsString(), filter.date};
}

RowKey EfetFaturSession::KeyOfRow() const {
    return {cdsEfetFatu.FieldByName(HeadcountFields::CDFILIAL).AsString(),
            cdsEfetFatu.FieldByName(HeadcountFields::CDCLIENTE).AsString(),
            cdsEfetFatu.FieldByName(HeadcountFields::CDSERVFILI).AsString(),
            cdsEfetFatu.FieldByName(HeadcountFields::DTFATURAM).AsDateTime()};
}

// The column exit fetches the record as the clerk works along a row, but going down a
// column or a reload brings another row under the cursor with no column left: the record
// held may then be another service's, and a row must never be checked with another's flags.
const ClientDataSet& EfetFaturSession::RowService(const LoadFilter& filter) {
    const QString service = CurrentKey(filter).service;
    if (service.isEmpty() ||
        cdsServico.FieldByName(ServiceFields::CDSERVFILI).AsString() == service)
        return cdsServico;
    FindServices(filter.branch, filter.client, service);
    return cdsServico;
}

bool EfetFaturSession::SaleValueFixedForRow(const LoadFilter& filter) {
    return RowService(filter).FieldByName(ServiceFields::IDVLRVARDATA).AsString() ==
           QLatin1String("N");
}

bool EfetFaturSession::DateOpenForEditing(const LoadFilter& filter) const {
    if (cdsParams.IsEmpty()) return true;
    if (!filter.byService) return !ClosedDayRuleOf(cdsParams).IsClosed(filter.date);
    const QDate day = cdsEfetFatu.FieldByName(HeadcountFields::DTFATURAM).AsDateTime();
    return cdsEfetFatu.IsEmpty() || day == ZeroDate() || !ClosedDayRuleOf(cdsParams).IsClosed(day);
}

void EfetFaturSession::CheckAssessedDay(const LoadFilter& filter) {
    CliFatDate = CurrentKey(filter).date;
    if (Assessed(CliFatDate)) msgPadrao.Fail(QStringLiteral("Efet_Apur"));
}

// The figures follow the message, so that the clerk sees which count the planning holds.
void EfetFaturSession::CheckPlanning(const LoadFilter& filter) {
    if (RowService(filter).FieldByName(ServiceFields::IDCONSCOMFAT).AsString() !=
        QLatin1String("S"))
        return;
    const double planned = PlannedDiners(CurrentKey(filter));
    const double billed = cdsEfetFatu.FieldByName(HeadcountFields::QTCOMEFATU).AsFloat();
    if (DiffersFromPlanning(billed, planned))
        MensErro(QStringLiteral("%1\nPlanejamento: %2; faturados: %3.")
                     .arg(msgPadrao.Msg(QStringLiteral("EfetDifere_Inf")), FloatToStr(planned),
                          FloatToStr(billed)));
}

// A row without a date is not on a closed day: it is told that its date is missing.
void EfetFaturSession::CheckDateOpen() {
    if (!RowOnClosedDay()) return;
    cdsEfetFatu.FieldByName(HeadcountFields::DTFATURAM).FocusControl();
    msgPadrao.Fail(QStringLiteral("DATA_BLOQ"));
}

void EfetFaturSession::CheckRowDate(const LoadFilter& filter) {
    Field& billingDate = cdsEfetFatu.FieldByName(HeadcountFields::DTFATURAM);
    const bool newRow = cdsEfetFatu.State() == DataSetState::Insert;
    FocusOnFailure(billingDate, [&] {
        if (billingDate.IsNull()) msgPadrao.Fail(QStringLiteral("Data_Emp"));
        if (newRow && BillingDateTaken(CurrentKey(filter)))
            msgPadrao.Fail(QStringLiteral("Data_ja_cad"));
    });
}

void EfetFaturSession::StampRow(const LoadFilter& filter) {
    cdsEfetFatu.FieldByName(HeadcountFields::CDFILIAL).SetAsString(filter.branch);
    cdsEfetFatu.FieldByName(HeadcountFields::CDCLIENTE).SetAsString(filter.client);
    if (filter.byService) {
        cdsEfetFatu.FieldByName(HeadcountFields::CDSERVFILI).SetAsString(filter.service);
    } else {
        cdsEfetFatu.FieldByName(HeadcountFields::DTFATURAM).SetAsDateTime(filter.date);
    }
}

std::optional<packets::FieldName> EfetFaturSession::ZeroFillCounts() {
    for (packets::FieldName name : {HeadcountFields::QTCOMEFATU, HeadcountFields::QTCOMEPREV,
                                    HeadcountFields::VRSERVFATUDT}) {
        Field& value = cdsEfetFatu.FieldByName(name);
        if (value.AsString().isEmpty()) {
            value.SetAsFloat(0);
        } else if (value.AsFloat() < 0) {
            return name;
        }
    }
    return std::nullopt;
}

void EfetFaturSession::ProposeBillingDate(const LoadFilter& filter,
                                          const QString& clientRegistration,
                                          const QDate& processingDate) {
    LoadLatestDate(
        filter.branch, filter.service,
        cdsCliente.FieldByName(ClientFields::IDTPIJURCLIE).AsString() + clientRegistration);
    Field& billingDate = cdsEfetFatu.FieldByName(HeadcountFields::DTFATURAM);
    billingDate.SetAsDateTime(NextBillingDate(processingDate));
    billingDate.FocusControl();
}

void EfetFaturSession::LoadHeadcounts(const LoadFilter& filter) {
    ModeArguments args = ModeOf(filter);
    const HeadcountPackets packets = HeadcountPacketsOf(netEfetFatur.AppServer().GetEfetFatu(
        filter.client, filter.branch, args.service, args.date, args.mode));
    cdsEfetFatu.SetData(packets.headcounts);
    cdsVdCliFat.SetData(packets.assessedPeriods);
    TakeAssessments();
    cdsItemRat.SetData(packets.apportionmentItems);
}

QString EfetFaturSession::ImportTransported(const LoadFilter& filter) {
    ModeArguments args = ModeOf(filter);
    const ImportedPackets packets = ImportedPacketsOf(netEfetFatur.AppServer().ImportaEfetTrans(
        filter.client, filter.branch, args.service, args.date, args.mode));
    cdsEfetFatu.SetData(packets.headcounts);
    cdsVdCliFat.SetData(packets.assessedPeriods);
    TakeAssessments();
    const DataPacket& summary = packets.summary;
    // A count the answer lacks is none: the rows loaded are what matters.
    const auto count = [&summary](packets::FieldName field) {
        const int column = summary.FieldIndex(field);
        if (summary.rows.empty() || column < 0) return QStringLiteral("0");
        const Value& value = summary.rows.front().values.at(std::size_t(column));
        return QString::number(value.IsNumber() ? qRound(value.Number()) : 0);
    };
    return QStringLiteral(
               "Efetivos transportados importados: %1 gravado(s).\n"
               "Deixados como estavam: %2 de dias fechados, %3 de períodos já "
               "apurados e %4 que já tinham o número transportado.")
        .arg(count(ImportSummaryFields::QTGRAVADOS), count(ImportSummaryFields::QTDIAFECHADO),
             count(ImportSummaryFields::QTDIAAPURADO), count(ImportSummaryFields::QTSEMALTERACAO));
}

void EfetFaturSession::TakeAssessments() {
    const bool filtered = cdsVdCliFat.Filtered();
    cdsVdCliFat.SetFiltered(false);
    assessments_.clear();
    cdsVdCliFat.ForEachRow([this](const RowView& period) {
        assessments_.push_back({period.AsString(AssessedPeriodFields::NRAPURACFAT),
                                {period.AsDateTime(AssessedPeriodFields::DTINIAPURAC),
                                 period.AsDateTime(AssessedPeriodFields::DTFIMAPURAC)}});
    });
    cdsVdCliFat.SetFiltered(filtered);
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

bool EfetFaturSession::RowKeepsItsKey(bool byService) const {
    const Field& key = cdsEfetFatu.FieldByName(RowKeyField(byService));
    return key.AsValue() == key.OldValue();
}

QString EfetFaturSession::DayLockReason(const QDate& day) const {
    if (!day.isValid() || day == ZeroDate()) return {};
    if (const ClosedDayRule rule = ClosedDayRuleOf(cdsParams); rule.IsClosed(day))
        return QStringLiteral("%1\nPrimeiro dia aberto: %2.")
            .arg(msgPadrao.Msg(QStringLiteral("DATA_BLOQ")), FormatDate(rule.FirstOpenDay()));
    for (const Assessment& assessment : assessments_) {
        if (assessment.days.Holds(day))
            return QStringLiteral("%1\nApuração %2, de %3 a %4.")
                .arg(msgPadrao.Msg(QStringLiteral("Efet_Apur")), assessment.number,
                     FormatDate(assessment.days.first), FormatDate(assessment.days.last));
    }
    return {};
}

QDate EfetFaturSession::DayOfRow(const LoadFilter& filter, const RowView& row) const {
    return filter.byService ? row.AsDateTime(HeadcountFields::DTFATURAM) : filter.date;
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

void EfetFaturSession::StampShiftRow(const RowKey& key) {
    cdsTurno.FieldByName(ShiftFields::CDCLIENTE).SetAsString(key.client);
    cdsTurno.FieldByName(ShiftFields::CDFILIAL).SetAsString(key.branch);
    cdsTurno.FieldByName(ShiftFields::CDSERVFILI).SetAsString(key.service);
    cdsTurno.FieldByName(ShiftFields::DTFATURAMTUR).SetAsDateTime(key.date);
}

// No quantity of diners is negative, so a new one is refused below 0 too.
void EfetFaturSession::CheckShiftQuantity() {
    const Field& quantity = cdsTurno.FieldByName(ShiftFields::QTCOMFATUTUR);
    const bool nothingStored = quantity.TextOf(quantity.OldValue()).isEmpty();
    if (nothingStored && quantity.AsFloat() == 0) msgPadrao.Fail(QStringLiteral("QtTurno_Inf"));
    if (quantity.AsFloat() < 0) msgPadrao.Fail(QStringLiteral("Quant_Inv"));
}

// Read without moving the cursor, which may be on a row the dialog left in view.
double EfetFaturSession::ApportionedDiners() {
    const Field& diners = cdsItRatEfet.FieldByName(ApportionmentFields::QTEFETIVOS);
    double total = 0;
    cdsItRatEfet.ForEachRow([&](const RowView& row) {
        if (const double value = row.AsFloat(diners); value > 0) total += value;
    });
    return total;
}

// An item emptied asks the server to drop its link; there is nothing to number or stamp.
void EfetFaturSession::ClearApportionment() {
    ScopedDetach unchecked(cdsItRatEfet.BeforePost);
    Field& diners = cdsItRatEfet.FieldByName(ApportionmentFields::QTEFETIVOS);
    for (cdsItRatEfet.First(); !cdsItRatEfet.Eof(); cdsItRatEfet.Next()) {
        if (diners.AsFloat() <= 0) continue;
        cdsItRatEfet.Edit();
        diners.Clear();
        cdsItRatEfet.Post();
    }
}

// The number and the key let the server store a new link with the row it belongs to.
void EfetFaturSession::CompleteApportionmentItem(const LoadFilter& filter) {
    Field& diners = cdsItRatEfet.FieldByName(ApportionmentFields::QTEFETIVOS);
    if (diners.AsFloat() < 0) {
        diners.FocusControl();
        msgPadrao.Fail(QStringLiteral("QTEFET<0"));
    }
    if (diners.AsFloat() == 0) {
        diners.Clear();
        return;
    }
    Field& link = cdsItRatEfet.FieldByName(ApportionmentFields::NRITRATEFECLIFAT);
    if (!link.IsNull()) return;
    ItRatSeq += 1;
    link.SetAsFloat(-ItRatSeq);
    const RowKey key = CurrentKey(filter);
    const RowKey stamped = KeyOfRow();
    cdsItRatEfet.FieldByName(ApportionmentFields::CDFILIAL).SetAsString(stamped.branch);
    cdsItRatEfet.FieldByName(ApportionmentFields::DTFATURAM).SetAsDateTime(key.date);
    cdsItRatEfet.FieldByName(ApportionmentFields::CDSERVFILI).SetAsString(key.service);
    cdsItRatEfet.FieldByName(ApportionmentFields::CDSERVPLAN).SetAsString(key.service);
    cdsItRatEfet.FieldByName(ApportionmentFields::CDCLIENTE).SetAsString(stamped.client);
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
