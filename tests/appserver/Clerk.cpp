#include "Clerk.h"

#include "CheckResultServ.h"

#include <stdexcept>

namespace fai::appserver::test {
namespace {

// The null-field list of the row being posted: every empty field, in field order.
QString EmptyFieldsOf(const ClientDataSet& dataSet) {
    QString names;
    for (const Field* field : dataSet.Fields())
        if (field->AsString().isEmpty()) names += field->FieldName() + u'|';
    return names;
}

void Require(bool condition, const char* what) {
    if (!condition) throw std::logic_error(what);
}

}  // namespace

Clerk::Clerk(TrdmEfetFaturDisp& methods, QString branch, QString client)
    : methods_(methods), branch_(std::move(branch)), client_(std::move(client)) {}

void Clerk::OpenDay(const QDate& day) {
    byDay_ = true;
    day_ = day;
    service_.clear();
    Load(QString(), day, 0);
}

void Clerk::OpenService(const QString& service) {
    byDay_ = false;
    service_ = service;
    Load(service, ZeroDate(), 1);
}

void Clerk::Load(QString service, QDate date, int mode) {
    const std::vector<DataPacket> packets =
        CheckResultServ(methods_.GetEfetFatu(client_, branch_, service, date, mode), true, 0);
    rows_.SetData(packets.at(0));
}

bool Clerk::GoTo(const QString& service) {
    return rows_.Locate(u"CDSERVFILI", Value(service), {true});
}

bool Clerk::GoTo(const QDate& day) { return rows_.Locate(u"DTFATURAM", Value(day)); }

ServerResult Clerk::Edit(const Entry& entry) {
    rows_.Edit();
    return Post(entry);
}

ServerResult Clerk::Insert(const QDate& day, const Entry& entry) {
    Require(!byDay_, "new rows exist only by service");
    rows_.Append();
    rows_.FieldByName(u"DTFATURAM").SetAsDateTime(day);
    return Post(entry);
}

ServerResult Clerk::Delete() {
    rows_.Delete();
    return Save();
}

ServerResult Clerk::Post(const Entry& entry) {
    rows_.FieldByName(u"CDFILIAL").SetAsString(branch_);
    rows_.FieldByName(u"CDCLIENTE").SetAsString(client_);
    if (byDay_)
        rows_.FieldByName(u"DTFATURAM").SetAsDateTime(day_);
    else
        rows_.FieldByName(u"CDSERVFILI").SetAsString(service_);
    const std::pair<const char16_t*, std::optional<double>> counts[] = {
        {u"QTCOMEFATU", entry.billed},
        {u"QTCOMEPREV", entry.forecast},
        {u"VRSERVFATUDT", entry.value}};
    for (const auto& [name, typed] : counts) {
        Field& field = rows_.FieldByName(name);
        if (typed) field.SetAsFloat(*typed);
        if (field.IsNull()) field.SetAsFloat(0);
    }
    nullFields_ = EmptyFieldsOf(rows_);
    rows_.Post();
    return Save();
}

ServerResult Clerk::Save() {
    if (rows_.ChangeCount() == 0 && apportionment_.ChangeCount() == 0) return {true, {}, {}};
    OptionalPacket headcounts, apportionment;
    if (rows_.ChangeCount() > 0) headcounts = rows_.Delta();
    if (apportionment_.ChangeCount() > 0) apportionment = apportionment_.Delta();
    ServerResult result = methods_.UpdEfetFatu(headcounts, nullFields_, apportionment);
    if (result.success)
        rows_.MergeChangeLog();
    else
        rows_.CancelUpdates();
    return result;
}

void Clerk::LoadApportionment() {
    apportionment_.SetData(
        CheckResultServ(methods_.GetItRatEfet(rows_.FieldByName(u"CDFILIAL").AsString(),
                                              rows_.FieldByName(u"CDCLIENTE").AsString(),
                                              rows_.FieldByName(u"DTFATURAM").AsDateTime(),
                                              rows_.FieldByName(u"CDSERVFILI").AsString()),
                        true, 0)
            .at(0));
}

void Clerk::Apportion(const QString& itemCode, std::optional<double> diners) {
    Require(apportionment_.Locate(u"CDITEMRATEIOEFET", Value(itemCode)), "no such item");
    apportionment_.Edit();
    Field& quantity = apportionment_.FieldByName(u"QTEFETIVOS");
    Field& link = apportionment_.FieldByName(u"NRITRATEFECLIFAT");
    if (!diners || *diners == 0) {
        quantity.Clear();
    } else {
        quantity.SetAsFloat(*diners);
        if (link.IsNull()) {
            link.SetAsFloat(-(++linkSequence_));
            apportionment_.FieldByName(u"CDFILIAL")
                .SetAsString(rows_.FieldByName(u"CDFILIAL").AsString());
            apportionment_.FieldByName(u"DTFATURAM")
                .SetAsDateTime(rows_.FieldByName(u"DTFATURAM").AsDateTime());
            const QString service = rows_.FieldByName(u"CDSERVFILI").AsString();
            apportionment_.FieldByName(u"CDSERVFILI").SetAsString(service);
            apportionment_.FieldByName(u"CDSERVPLAN").SetAsString(service);
            apportionment_.FieldByName(u"CDCLIENTE")
                .SetAsString(rows_.FieldByName(u"CDCLIENTE").AsString());
        }
    }
    apportionment_.Post();
}

void Clerk::OpenShifts() {
    QString service = rows_.FieldByName(u"CDSERVFILI").AsString();
    QDate day = rows_.FieldByName(u"DTFATURAM").AsDateTime();
    shifts_.SetData(
        CheckResultServ(methods_.GetTurno(branch_, client_, service, day), true, 0).at(0));
}

ServerResult Clerk::SetShift(const QString& shift, std::optional<double> quantity) {
    Require(shifts_.Locate(u"CDTURNO", Value(shift)), "no such shift");
    shifts_.Edit();
    if (quantity)
        shifts_.FieldByName(u"QTCOMFATUTUR").SetAsFloat(*quantity);
    else
        shifts_.FieldByName(u"QTCOMFATUTUR").Clear();
    shifts_.FieldByName(u"CDCLIENTE").SetAsString(client_);
    shifts_.FieldByName(u"CDFILIAL").SetAsString(branch_);
    shifts_.FieldByName(u"CDSERVFILI").SetAsString(rows_.FieldByName(u"CDSERVFILI").AsString());
    shifts_.FieldByName(u"DTFATURAMTUR")
        .SetAsDateTime(rows_.FieldByName(u"DTFATURAM").AsDateTime());
    shiftFields_ = EmptyFieldsOf(shifts_);
    shifts_.Post();
    if (shifts_.ChangeCount() == 0) return {true, {}, {}};
    ServerResult result = methods_.SetTurno(shifts_.Delta(), shiftFields_);
    if (result.success)
        shifts_.MergeChangeLog();
    else
        shifts_.CancelUpdates();
    return result;
}

}  // namespace fai::appserver::test
