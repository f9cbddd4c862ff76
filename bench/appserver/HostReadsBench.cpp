#include "HostReadsBench.h"

#include "Errors.h"
#include "Latencies.h"
#include "SqlDialect.h"
#include "SqlStatement.h"
#include "TNetConnection.h"

#include <QFile>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <atomic>
#include <latch>
#include <mutex>
#include <thread>

namespace fai::appserver::bench {
namespace {

constexpr int kWarmUps = 5;

// A read as the host makes it: its SQL with :NAME parameters, their values by name (a list
// for a list parameter), and the name the server's log gives it.
struct HostRead {
    QString what;
    QString sql;
    std::map<QString, std::vector<Value>> params;
};

// The SQL with a "?" for each value and the values in their order, as the host sends them.
std::pair<QString, std::vector<Value>> Bound(const HostRead& read) {
    const SqlStatement statement = SqlStatement::Parse(read.sql);
    std::vector<int> placeholders;
    for (const QString& name : statement.Names())
        placeholders.push_back(int(read.params.at(name).size()));
    std::vector<Value> values;
    for (int place : statement.Places())
        for (const Value& value : read.params.at(statement.Names()[place])) values.push_back(value);
    return {statement.Bound(placeholders), values};
}

QVariant Variant(const Value& value) {
    if (value.IsText()) return value.Text();
    if (value.IsNumber()) return value.Number();
    if (value.IsDate()) return value.Date().toString(Qt::ISODate);
    return {};
}

// The listing's query as the installed definition holds it.
QString ListingSql() {
    QFile file(QStringLiteral(FAI_LISTING_DEFINITION));
    if (!file.open(QIODevice::ReadOnly))
        throw EError(QStringLiteral("no listing definition at %1").arg(file.fileName()));
    static const QRegularExpression query(QStringLiteral("<!\\[CDATA\\[(.*?)\\]\\]>"),
                                          QRegularExpression::DotMatchesEverythingOption);
    return query.match(QString::fromUtf8(file.readAll())).captured(1);
}

QString ClientsSql() {
    return QStringLiteral(
        "SELECT B.CDCLIENTE, B.IDTPIJURCLIE, B.NRINSJURCLIE, B.NMRAZSOCCLIE, B.NMFANTCLIE "
        "FROM CLIENFILIAL A, CLIENTE B WHERE (A.CDFILIAL = :P_CDFILIAL) AND "
        "(A.CDCLIENTE = B.CDCLIENTE) ORDER BY B.NMRAZSOCCLIE");
}

// Rows read through the server.
int ThroughServer(TrdmEfetFaturDisp& methods, const HostRead& read) {
    const auto [sql, values] = Bound(read);
    int rows = 0;
    methods.ConsultaHost(read.what, sql, values,
                         [&rows](DataPacket& part) { rows += int(part.rows.size()); });
    return rows;
}

// Rows read straight on the database, every value taken.
int Directly(QSqlDatabase& database, const HostRead& read) {
    const auto [sql, values] = Bound(read);
    QSqlQuery query(database);
    query.setForwardOnly(true);
    if (!query.prepare(sql)) throw EError(query.lastError().text());
    for (const Value& value : values) query.addBindValue(Variant(value));
    if (!query.exec()) throw EError(query.lastError().text());
    const int columns = query.record().count();
    int rows = 0;
    std::vector<QVariant> cells;
    while (query.next()) {
        ++rows;
        for (int column = 0; column < columns; ++column) cells.push_back(query.value(column));
        cells.clear();
    }
    return rows;
}

}  // namespace

int HostReadsBench::Run(TrdmEfetFaturDisp& methods, const Say& say) {
    const QString branch = BenchPlan::Branch(0);
    const QDate last = plan_.Last();
    const QDate first = last.addDays(1 - last.day());
    const QString number = methods.PrxRelFatur(branch);
    if (!methods.GeraRel(branch, first, last, number).success)
        throw EError(QStringLiteral("GeraRel failed for the listing's read"));
    const std::vector<HostRead> reads{
        {QStringLiteral("clients of a branch"), ClientsSql(), {{"P_CDFILIAL", {Value(branch)}}}},
        {QStringLiteral("branch name"),
         QStringLiteral("SELECT CDFILIAL, NMFILIAL FROM FILIAL WHERE CDFILIAL = :P_CDFILIAL"),
         {{"P_CDFILIAL", {Value(branch)}}}},
        {QStringLiteral("processing date"),
         QStringLiteral("SELECT DTPROCESSA FROM PARAMFATUR WHERE CDFILIAL = :P_CDFILIAL"),
         {{"P_CDFILIAL", {Value(branch)}}}},
        {QStringLiteral("listing, branch, month"),
         ListingSql(),
         {{"P_NRAPURACGD", {Value(number)}},
          {"P_CDFILIAL", {Value(branch)}},
          {"P_DTINICIAL", {Value(first)}},
          {"P_DTFINAL", {Value(last)}},
          {"P_DTINICIAL_D", {Value(first.toString(QStringLiteral("dd/MM/yyyy")))}},
          {"P_DTFINAL_D", {Value(last.toString(QStringLiteral("dd/MM/yyyy")))}},
          {"P_CDCLIENTE", {Value(QStringLiteral("T"))}},
          {"P_CDSERVFILI", {Value(QStringLiteral("T"))}}}},
        {QStringLiteral("report of 10,000 rows"),
         QStringLiteral("SELECT CDFILIAL, CDCLIENTE, CDSERVFILI, DTFATURAM, QTCOMEFATU, "
                        "QTCOMEPREV, VRSERVFATUDT FROM EFETFATUR WHERE CDFILIAL = :P_CDFILIAL "
                        "ORDER BY CDCLIENTE, CDSERVFILI, DTFATURAM LIMIT 10000"),
         {{"P_CDFILIAL", {Value(branch)}}}},
    };

    const QString connection = QStringLiteral("bench-host-direct");
    int failures = 0;
    {
        QSqlDatabase database =
            QSqlDatabase::addDatabase(SqlDialect::For(location_.kind).DriverName(), connection);
        SqlDialect::For(location_.kind).Configure(database, location_);
        if (!database.open()) throw EError(database.lastError().text());
        say(QStringLiteral("%1 %2 %3 %4 | %5 %6 | %7")
                .arg(QStringLiteral("host read (ms)"), -24)
                .arg(QStringLiteral("rows"), 6)
                .arg(QStringLiteral("server"), 8)
                .arg(QStringLiteral("p99"), 8)
                .arg(QStringLiteral("direct"), 8)
                .arg(QStringLiteral("p99"), 8)
                .arg(QStringLiteral("ratio")));
        for (const HostRead& read : reads) {
            Latencies server, direct;
            int rows = 0;
            try {
                for (int i = 0; i < kWarmUps; ++i) {
                    ThroughServer(methods, read);
                    Directly(database, read);
                }
                for (int i = 0; i < samples_; ++i) {
                    server.Add(Timed([&] { rows = ThroughServer(methods, read); }));
                    direct.Add(Timed([&] { Directly(database, read); }));
                }
            } catch (const EError& e) {
                say(QStringLiteral("%1 failed: %2").arg(read.what, e.Message()));
                ++failures;
                continue;
            }
            say(QStringLiteral("%1 %2 %3 %4 | %5 %6 | %7")
                    .arg(read.what, -24)
                    .arg(rows, 6)
                    .arg(server.MedianMs(), 8, 'f', 2)
                    .arg(server.P99Ms(), 8, 'f', 2)
                    .arg(direct.MedianMs(), 8, 'f', 2)
                    .arg(direct.P99Ms(), 8, 'f', 2)
                    .arg(server.MedianMs() / direct.MedianMs(), 0, 'f', 2));
        }
    }
    QSqlDatabase::removeDatabase(connection);
    methods.DeletaRel(branch, number);
    return failures;
}

int HostReadsBench::ManyHosts(const QString& servers, const BenchPlan& plan, int hosts,
                              const Say& say) {
    std::latch connected(hosts);
    std::atomic<int> failed{0};
    std::mutex mutex;
    QStringList reasons;
    Latencies reads;
    std::vector<std::thread> threads;
    threads.reserve(std::size_t(hosts));
    for (int host = 0; host < hosts; ++host)
        threads.emplace_back([&, host] {
            const auto fail = [&](const EError& e) {
                ++failed;
                std::lock_guard lock(mutex);
                if (reasons.size() < 3) reasons << e.Message();
            };
            TNetConnection connection;
            bool ready = true;
            try {
                connection.SetHost(servers);
                connection.SetDeadline(std::chrono::seconds(60));
                connection.Connect();
            } catch (const EError& e) {
                fail(e);
                ready = false;
            }
            // Every host connected before any reads: the reads go at once.
            connected.arrive_and_wait();
            if (!ready) return;
            try {
                const HostRead read{
                    QStringLiteral("clients of a branch"),
                    ClientsSql(),
                    {{"P_CDFILIAL", {Value(BenchPlan::Branch(host % plan.branches))}}}};
                const auto took = Timed([&] { ThroughServer(connection.AppServer(), read); });
                std::lock_guard lock(mutex);
                reads.Add(took);
            } catch (const EError& e) {
                fail(e);
            }
        });
    for (std::thread& thread : threads) thread.join();
    say(QStringLiteral("%1 hosts reading at once: %2 answered, %3 failed%4; median %5 ms, "
                       "slowest %6 ms")
            .arg(hosts)
            .arg(reads.Count())
            .arg(failed.load())
            .arg(reasons.isEmpty() ? QString() : QStringLiteral(" (") + reasons.join("; ") + u')')
            .arg(reads.MedianMs(), 0, 'f', 1)
            .arg(reads.MaxMs(), 0, 'f', 1));
    return failed.load();
}

}  // namespace fai::appserver::bench
