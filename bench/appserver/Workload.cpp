#include "Workload.h"

#include "BrazilianText.h"
#include "EfetFaturReads.h"
#include "HeadcountSave.h"
#include "HistoryRepository.h"
#include "ListingReports.h"
#include "PacketShapes.h"
#include "SqlSession.h"

#include <QDateTime>

namespace fai::appserver::bench {
namespace {

const QString kLunch = QStringLiteral("00001");

// The rows of each packet of the answers, read as a hand-written client would.
const QString kHeadcountColumns = QStringLiteral(
    "SELECT SC.CDFILIAL, SC.CDSERVFILI, S.NMSERVICO, %1, SC.CDCLIENTE, E.QTCOMEFATU, "
    "E.CDFILIFATU, E.NRAPURACFAT, E.QTCOMEPREV, E.VRSERVFATUDT, SC.DSEMISSERCLI ");
const QString kRowsOfDay = kHeadcountColumns.arg(QStringLiteral("E.DTFATURAM")) +
                           QStringLiteral(
                               "FROM SERVCLIEFILI SC JOIN SERVICO S ON S.CDFILIAL = SC.CDFILIAL "
                               "AND S.CDSERVFILI = SC.CDSERVFILI LEFT JOIN EFETFATUR E "
                               "ON E.CDFILIAL = SC.CDFILIAL AND E.CDCLIENTE = SC.CDCLIENTE "
                               "AND E.CDSERVFILI = SC.CDSERVFILI AND E.DTFATURAM = ? "
                               "WHERE SC.CDFILIAL = ? AND SC.CDCLIENTE = ? ORDER BY SC.CDSERVFILI");
const QString kRowsOfService =
    kHeadcountColumns.arg(QStringLiteral("E.DTFATURAM")) +
    QStringLiteral(
        "FROM EFETFATUR E JOIN SERVCLIEFILI SC ON SC.CDFILIAL = E.CDFILIAL "
        "AND SC.CDCLIENTE = E.CDCLIENTE AND SC.CDSERVFILI = E.CDSERVFILI "
        "JOIN SERVICO S ON S.CDFILIAL = SC.CDFILIAL AND S.CDSERVFILI = SC.CDSERVFILI "
        "WHERE E.CDFILIAL = ? AND E.CDCLIENTE = ? AND E.CDSERVFILI = ? "
        "ORDER BY E.DTFATURAM");
const QString kPeriods = QStringLiteral(
    "SELECT CDFILIAL, CDCLIENTE, NRAPURACFAT, DTINIAPURAC, DTFIMAPURAC FROM APURACFATCLI "
    "WHERE CDFILIAL = ? AND CDCLIENTE = ? ORDER BY DTINIAPURAC, NRAPURACFAT");
const QString kItems = QStringLiteral(
    "SELECT CDCLIENTE, NRITEMRATEIOEFET, CDITEMRATEIOEFET, NMITEMRATEIOEFET FROM ITEMRATEIOEFET "
    "WHERE CDCLIENTE = ? ORDER BY CDITEMRATEIOEFET");
const QString kItemsOfRow = QStringLiteral(
    "SELECT L.NRITRATEFECLIFAT, L.CDFILIAL, L.CDSERVFILI, I.CDCLIENTE, L.DTFATURAM, L.CDSERVPLAN, "
    "I.NRITEMRATEIOEFET, I.CDITEMRATEIOEFET, I.NMITEMRATEIOEFET, L.QTEFETIVOS "
    "FROM ITEMRATEIOEFET I LEFT JOIN ITRATEFECLIFAT L ON L.NRITEMRATEIOEFET = I.NRITEMRATEIOEFET "
    "AND L.CDCLIENTE = I.CDCLIENTE AND L.CDFILIAL = ? AND L.CDSERVFILI = ? AND L.DTFATURAM = ? "
    "WHERE I.CDCLIENTE = ? ORDER BY I.CDITEMRATEIOEFET");
const QString kShiftsOfRow = QStringLiteral(
    "SELECT T.CDTURNO, T.NMTURNO, T.CDFILIAL, Q.QTCOMFATUTUR FROM TURNO T LEFT JOIN EFETTURNO Q "
    "ON Q.CDFILIAL = T.CDFILIAL AND Q.CDTURNO = T.CDTURNO AND Q.CDCLIENTE = ? "
    "AND Q.CDSERVFILI = ? AND Q.DTFATURAMTUR = ? WHERE T.CDFILIAL = ? ORDER BY T.CDTURNO");
// One more billed diner, checked against the count the clerk saw, in one statement.
const QString kSaveBilled = QStringLiteral(
    "UPDATE EFETFATUR SET QTCOMEFATU = ? WHERE CDFILIAL = ? AND CDCLIENTE = ? AND CDSERVFILI = ? "
    "AND DTFATURAM = ? AND QTCOMEFATU = ?");

// The history's record of that change.
const QString kRecordBilled = QStringLiteral(
    "INSERT INTO HISTEFETFATUR (DTHRALTERACAO, NMUSUARIO, NMMAQUINA, NMMETODO, IDOPERACAO, "
    "CDFILIAL, CDCLIENTE, CDSERVFILI, DTFATURAM, NMCAMPO, VLANTERIOR, VLNOVO) "
    "VALUES (?, 'bench', '', 'UpdEfetFatu', 'A', ?, ?, ?, ?, 'QTCOMEFATU', ?, ?)");

// The listing's working data of a branch over a period, with each day's weekday.
const QString kReportRows = QStringLiteral(
    "INSERT INTO RELCOMENSAL (NRAPURACGD, CDFILIAL, CDCLIENTE, NMRAZSOCCLIE, NMFANTCLIE, "
    "CDSERVFILI, NMSERVICO, DTFATURAM, NMDIASEMANA, QTCOMEFATU, QTCOMEPREV, VRSERVFATUDT) "
    "SELECT CAST(? AS INTEGER), E.CDFILIAL, E.CDCLIENTE, C.NMRAZSOCCLIE, C.NMFANTCLIE, "
    "E.CDSERVFILI, S.NMSERVICO, E.DTFATURAM, %1, E.QTCOMEFATU, E.QTCOMEPREV, E.VRSERVFATUDT "
    "FROM EFETFATUR E JOIN CLIENTE C ON C.CDCLIENTE = E.CDCLIENTE "
    "JOIN SERVICO S ON S.CDFILIAL = E.CDFILIAL AND S.CDSERVFILI = E.CDSERVFILI "
    "WHERE E.CDFILIAL = ? AND E.DTFATURAM BETWEEN ? AND ?");
const QString kDropReportRows = QStringLiteral("DELETE FROM RELCOMENSAL WHERE NRAPURACGD = ?");

// What an answer carries, all packets told.
std::optional<qint64> RowsOf(const ServerResult& result) {
    if (!result.success) return std::nullopt;
    qint64 rows = 0;
    for (const DataPacket& packet : result.payload) rows += qint64(packet.rows.size());
    return rows;
}

// A read as a worker runs it: one transaction around the method.
std::function<void(SqlSession&)> Read(std::function<void(EfetFaturReads&)> read) {
    return [read = std::move(read)](SqlSession& session) {
        Transaction transaction(session, Transaction::Kind::Query);
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
    SqlRows rows = session.Run(
        QStringLiteral(
            "SELECT CDFILIAL, CDCLIENTE, DTFATURAM, QTCOMEFATU, QTCOMEPREV, VRSERVFATUDT "
            "FROM EFETFATUR WHERE CDSERVFILI = ? AND DTFATURAM >= ? "
            "ORDER BY CDFILIAL, CDCLIENTE, DTFATURAM"),
        {service, SqlDate(plan.FirstNotAssessed())});
    std::vector<SaveTarget> targets;
    while (rows.Next())
        targets.push_back(
            {{rows.Value(0).toString(), rows.Value(1).toString(), service,
              DateFromSql(rows.Value(2))},
             {rows.Value(3).toDouble(), rows.Value(4).toDouble(), rows.Value(5).toDouble()}});
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
            [key] {
                return std::vector<FloorStatement>{
                    {kRowsOfDay, {SqlDate(key.date), key.branch, key.client}},
                    {kPeriods, {key.branch, key.client}},
                    {kItems, {key.client}}};
            },
            [key](TrdmEfetFaturDisp& methods) {
                QString service;
                QDate day = key.date;
                return RowsOf(methods.GetEfetFatu(key.client, key.branch, service, day, 0));
            }};
}

MethodCall Workload::GetEfetFatuByService() {
    const HeadcountKey key = LunchOf(AnyClient());
    return {Read([key](EfetFaturReads& reads) {
                reads.GetEfetFatu(key.client, key.branch, key.service, ZeroDate(), 1);
            }),
            [key] {
                return std::vector<FloorStatement>{
                    {kRowsOfService, {key.branch, key.client, key.service}},
                    {kPeriods, {key.branch, key.client}},
                    {kItems, {key.client}}};
            },
            [key](TrdmEfetFaturDisp& methods) {
                QString service = key.service;
                QDate noDay = ZeroDate();
                return RowsOf(methods.GetEfetFatu(key.client, key.branch, service, noDay, 1));
            }};
}

MethodCall Workload::GetItRatEfet() {
    const HeadcountKey key = LunchOf(OneClientIn(20));
    return {Read([key](EfetFaturReads& reads) {
                reads.GetItRatEfet(key.branch, key.client, key.date, key.service);
            }),
            [key] {
                return std::vector<FloorStatement>{
                    {kItemsOfRow, {key.branch, key.service, SqlDate(key.date), key.client}}};
            },
            [key](TrdmEfetFaturDisp& methods) {
                return RowsOf(methods.GetItRatEfet(key.branch, key.client, key.date, key.service));
            }};
}

MethodCall Workload::GetTurno() {
    const HeadcountKey key = LunchOf(OneClientIn(10));
    return {Read([key](EfetFaturReads& reads) {
                reads.GetTurno(key.branch, key.client, key.service, key.date);
            }),
            [key] {
                return std::vector<FloorStatement>{
                    {kShiftsOfRow, {key.client, key.service, SqlDate(key.date), key.branch}}};
            },
            [key](TrdmEfetFaturDisp& methods) {
                QString service = key.service;
                QDate day = key.date;
                return RowsOf(methods.GetTurno(key.branch, key.client, service, day));
            }};
}

MethodCall Workload::UpdEfetFatu() {
    SaveTarget* target =
        &targets_[std::uniform_int_distribution<std::size_t>(0, targets_.size() - 1)(random_)];
    return {[target](SqlSession& session) {
                Transaction transaction(session, Transaction::Kind::Write);
                HistoryRepository history(
                    session, {QStringLiteral("bench"), QString(), QStringLiteral("UpdEfetFatu")});
                HeadcountSave(session, history)
                    .Run(NextSave(*target), NullFieldsOfAnOpenRow(), std::nullopt);
                history.Flush();
                transaction.Commit();
            },
            [target] {
                const double seen = target->counts.billed;
                target->counts.billed += 1;
                const HeadcountKey& key = target->key;
                return std::vector<FloorStatement>{
                    {kSaveBilled,
                     {target->counts.billed, key.branch, key.client, key.service, SqlDate(key.date),
                      seen}},
                    {kRecordBilled,
                     {QDateTime::currentMSecsSinceEpoch(), key.branch, key.client, key.service,
                      SqlDate(key.date), QString::number(seen, 'g', 15),
                      QString::number(target->counts.billed, 'g', 15)}}};
            },
            [target](TrdmEfetFaturDisp& methods) -> std::optional<qint64> {
                OptionalPacket delta = NextSave(*target), none;
                QString nullFields = NullFieldsOfAnOpenRow();
                if (!methods.UpdEfetFatu(delta, nullFields, none).success) return std::nullopt;
                return 2;  // the row saved and its change recorded
            }};
}

MethodCall Workload::GeraRelForAYear(const std::vector<QString>& numbers,
                                     const QString& floorNumber, const SqlDialect& dialect) {
    const int branch = std::uniform_int_distribution<int>(0, plan_.branches - 1)(random_);
    const QString code = BenchPlan::Branch(branch), number = numbers[std::size_t(branch)];
    const QDate last = plan_.Last(), first = last.addDays(-364);
    // The answer tells no rows: the plan does.
    qint64 written = 0;
    for (int client = branch; client < plan_.clients; client += plan_.branches)
        for (QDate day = std::max(first, plan_.First()); day <= last; day = day.addDays(1))
            if (BenchPlan::Serves(client, day)) written += BenchPlan::ServicesOf(client).size();
    return {[=](SqlSession& session) {
                Transaction transaction(session, Transaction::Kind::Write);
                ListingReports(session).GeraRel(code, first, last, number);
                transaction.Commit();
            },
            // The rows written under a number of the floor's own and then removed, so that
            // each run starts from the same state: twice the rows the answer reports.
            [=, &dialect] {
                QVariantList params{floorNumber};
                QString weekday =
                    QStringLiteral("CASE %1").arg(dialect.DayOfWeek(QStringLiteral("E.DTFATURAM")));
                for (int day = 0; day < WeekdayNames().size(); ++day) {
                    weekday += QStringLiteral(" WHEN %1 THEN ?").arg(day);
                    params << WeekdayNames()[day];
                }
                params << code << SqlDate(first) << SqlDate(last);
                return std::vector<FloorStatement>{
                    {kReportRows.arg(weekday + QStringLiteral(" END")), params},
                    {kDropReportRows, {floorNumber}}};
            },
            [=](TrdmEfetFaturDisp& methods) -> std::optional<qint64> {
                if (!methods.GeraRel(code, first, last, number).success) return std::nullopt;
                return 2 * written;
            }};
}

}  // namespace fai::appserver::bench
