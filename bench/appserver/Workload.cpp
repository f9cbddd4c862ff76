#include "Workload.h"

#include "EfetFaturReads.h"
#include "HeadcountSave.h"
#include "ListingReports.h"
#include "PacketShapes.h"
#include "SqlSession.h"

namespace fai::appserver::bench {
namespace {

const QString kLunch = QStringLiteral("00001");

// A read as a worker runs it: one transaction around the method.
std::function<void(SqlSession&)> Read(std::function<void(EfetFaturReads&)> read) {
    return [read = std::move(read)](SqlSession& session) {
        Transaction transaction(session);
        EfetFaturReads reads(session);
        read(reads);
        transaction.Commit();
    };
}

std::vector<Value> RowOf(const SaveTarget& target) {
    const auto& fields = shapes::Headcounts();
    std::vector<Value> row(fields.size());
    auto set = [&](const char* field, const Value& value) {
        for (std::size_t i = 0; i < fields.size(); ++i)
            if (fields[i].name == QLatin1String(field)) row[i] = value;
    };
    set("CDFILIAL", target.key.branch);
    set("CDCLIENTE", target.key.client);
    set("CDSERVFILI", target.key.service);
    set("DTFATURAM", target.key.date);
    set("QTCOMEFATU", target.counts.billed);
    set("QTCOMEPREV", target.counts.forecast);
    set("VRSERVFATUDT", target.counts.value);
    return row;
}

}  // namespace

std::vector<SaveTarget> OpenRows(SqlSession& session, const BenchPlan& plan,
                                 const QString& service) {
    QSqlQuery query = session.Run(
        QStringLiteral(
            "SELECT CDFILIAL, CDCLIENTE, DTFATURAM, QTCOMEFATU, QTCOMEPREV, VRSERVFATUDT "
            "FROM EFETFATUR WHERE CDSERVFILI = ? AND DTFATURAM >= ? "
            "ORDER BY CDFILIAL, CDCLIENTE, DTFATURAM"),
        {service, SqlDate(plan.FirstNotAssessed())});
    std::vector<SaveTarget> targets;
    while (query.next())
        targets.push_back(
            {{query.value(0).toString(), query.value(1).toString(), service,
              DateFromSql(query.value(2))},
             {query.value(3).toDouble(), query.value(4).toDouble(), query.value(5).toDouble()}});
    return targets;
}

DataPacket NextSave(SaveTarget& target) {
    DataPacket delta;
    delta.fields = shapes::Headcounts();
    PacketRow row{RowChange::Modified, {}, RowOf(target)};
    target.counts.billed += 1;
    row.values = RowOf(target);
    delta.rows.push_back(std::move(row));
    return delta;
}

QString NullFieldsOfAnOpenRow() { return QStringLiteral("CDFILIFATU|NRAPURACFAT|"); }

Workload::Workload(const BenchPlan& plan, std::vector<SaveTarget> targets, unsigned seed)
    : plan_(plan), targets_(std::move(targets)), random_(seed) {}

int Workload::AnyClient() {
    return std::uniform_int_distribution<int>(0, plan_.clients - 1)(random_);
}

int Workload::OneClientIn(int step) {
    return step * std::uniform_int_distribution<int>(0, (plan_.clients - 1) / step)(random_);
}

QDate Workload::ServedDay(int client) {
    std::uniform_int_distribution<int> days(0, plan_.days - 1);
    for (;;) {
        const QDate day = plan_.First().addDays(days(random_));
        if (BenchPlan::Serves(client, day)) return day;
    }
}

HeadcountKey Workload::LunchOf(int client) {
    return {BenchPlan::Branch(plan_.BranchOf(client)), BenchPlan::ClientCode(client), kLunch,
            ServedDay(client)};
}

MethodCall Workload::GetEfetFatuByDay() {
    const HeadcountKey key = LunchOf(AnyClient());
    return {Read([key](EfetFaturReads& reads) {
                reads.GetEfetFatu(key.client, key.branch, QString(), key.date, 0);
            }),
            [key](TrdmEfetFaturDisp& methods) {
                QString service;
                QDate day = key.date;
                return methods.GetEfetFatu(key.client, key.branch, service, day, 0).success;
            }};
}

MethodCall Workload::GetEfetFatuByService() {
    const HeadcountKey key = LunchOf(AnyClient());
    return {Read([key](EfetFaturReads& reads) {
                reads.GetEfetFatu(key.client, key.branch, key.service, ZeroDate(), 1);
            }),
            [key](TrdmEfetFaturDisp& methods) {
                QString service = key.service;
                QDate noDay = ZeroDate();
                return methods.GetEfetFatu(key.client, key.branch, service, noDay, 1).success;
            }};
}

MethodCall Workload::GetItRatEfet() {
    const HeadcountKey key = LunchOf(OneClientIn(20));
    return {Read([key](EfetFaturReads& reads) {
                reads.GetItRatEfet(key.branch, key.client, key.date, key.service);
            }),
            [key](TrdmEfetFaturDisp& methods) {
                return methods.GetItRatEfet(key.branch, key.client, key.date, key.service).success;
            }};
}

MethodCall Workload::GetTurno() {
    const HeadcountKey key = LunchOf(OneClientIn(10));
    return {Read([key](EfetFaturReads& reads) {
                reads.GetTurno(key.branch, key.client, key.service, key.date);
            }),
            [key](TrdmEfetFaturDisp& methods) {
                QString service = key.service;
                QDate day = key.date;
                return methods.GetTurno(key.branch, key.client, service, day).success;
            }};
}

MethodCall Workload::UpdEfetFatu() {
    SaveTarget* target =
        &targets_[std::uniform_int_distribution<std::size_t>(0, targets_.size() - 1)(random_)];
    return {[target](SqlSession& session) {
                Transaction transaction(session, Transaction::Kind::Write);
                HeadcountSave(session).Run(NextSave(*target), NullFieldsOfAnOpenRow(),
                                           std::nullopt);
                transaction.Commit();
            },
            [target](TrdmEfetFaturDisp& methods) {
                OptionalPacket delta = NextSave(*target), none;
                QString nullFields = NullFieldsOfAnOpenRow();
                return methods.UpdEfetFatu(delta, nullFields, none).success;
            }};
}

MethodCall Workload::GeraRelForAYear(const std::vector<QString>& numbers) {
    const int branch = std::uniform_int_distribution<int>(0, plan_.branches - 1)(random_);
    const QString code = BenchPlan::Branch(branch), number = numbers[std::size_t(branch)];
    const QDate last = plan_.Last(), first = last.addDays(-364);
    return {[=](SqlSession& session) {
                Transaction transaction(session, Transaction::Kind::Write);
                ListingReports(session).GeraRel(code, first, last, number);
                transaction.Commit();
            },
            [=](TrdmEfetFaturDisp& methods) {
                return methods.GeraRel(code, first, last, number).success;
            }};
}

}  // namespace fai::appserver::bench
