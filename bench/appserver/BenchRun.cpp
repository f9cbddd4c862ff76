#include "BenchRun.h"

#include "AppServer.h"
#include "BulkSeeder.h"
#include "CallLog.h"
#include "HostReadsBench.h"
#include "NativeFloor.h"
#include "RecordedStatements.h"
#include "Schema.h"
#include "ServerKill.h"
#include "SqlSession.h"
#include "TNetConnection.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <latch>
#include <thread>

namespace fai::appserver::bench {
namespace {

constexpr int kWarmUpCalls = 10;
constexpr unsigned kSeed = 400;

QString Address(const AppServer& server) {
    return QStringLiteral("127.0.0.1:%1").arg(server.Port());
}

std::unique_ptr<TNetConnection> Connected(const QString& servers) {
    auto connection = std::make_unique<TNetConnection>();
    connection->SetHost(servers);
    connection->SetDeadline(std::chrono::seconds(60));
    connection->Connect();
    return connection;
}

qint64 CountOf(SqlSession& session, const char* table) {
    SqlRows rows = session.Run(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table)));
    rows.Next();
    return rows.Value(0).toLongLong();
}

void Say(const QString& line) {
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

QString Ms(double ms) { return QString::number(ms, 'f', 2); }

}  // namespace

bool BenchRun::Run() {
    Say(QStringLiteral("\n== %1 ==").arg(location_.Describe()));
    PrepareDatabase();
    SqlSession session(location_);
    CallLog quiet([](const QString&) {});
    AppServerConfig config;
    config.listenAddress = QStringLiteral("127.0.0.1:0");
    config.database = location_;
    config.workers = settings_.workers;
    AppServer server(config, quiet);
    server.Start();
    const std::unique_ptr<TNetConnection> client = Connected(Address(server));
    TrdmEfetFaturDisp& methods = client->AppServer();
    Say(QStringLiteral("server: %1 database workers; %2 samples per method")
            .arg(settings_.workers)
            .arg(settings_.samples));

    Workload workload(plan_, OpenRows(session, plan_, QStringLiteral("00001")), kSeed);
    const std::pair<const char*, std::function<MethodCall()>> methodsMeasured[] = {
        {"GetEfetFatu (by day)", [&] { return workload.GetEfetFatuByDay(); }},
        {"GetEfetFatu (by service)", [&] { return workload.GetEfetFatuByService(); }},
        {"GetItRatEfet", [&] { return workload.GetItRatEfet(); }},
        {"GetTurno", [&] { return workload.GetTurno(); }},
        {"UpdEfetFatu", [&] { return workload.UpdEfetFatu(); }},
    };
    const std::unique_ptr<NativeFloor> floor = NativeFloor::Open(location_);
    std::vector<Measured> measured;
    for (const auto& [method, next] : methodsMeasured)
        measured.push_back(Measure(method, next, session, *floor, methods, settings_.samples));
    measured.push_back(MeasureGeraRel(workload, session, *floor, methods));
    const Latencies empty = EmptyCalls(methods);

    Say(QStringLiteral("%1 %2 %3 | %4 %5 %6 %7 | %8 %9 %10")
            .arg(QStringLiteral("method (ms)"), -26)
            .arg(QStringLiteral("median"), 8)
            .arg(QStringLiteral("p99"), 8)
            .arg(QStringLiteral("SQL"), 8)
            .arg(QStringLiteral("empty"), 8)
            .arg(QStringLiteral("floor"), 8)
            .arg(QStringLiteral("ratio"), 6)
            .arg(QStringLiteral("native"), 8)
            .arg(QStringLiteral("floor"), 8)
            .arg(QStringLiteral("ratio"), 6));
    for (const Measured& m : measured) {
        const double sqlFloor = m.sql.MedianMs() + m.empty.MedianMs();
        const double nativeFloor = m.native.MedianMs() + m.empty.MedianMs();
        Say(QStringLiteral("%1 %2 %3 | %4 %5 %6 %7 | %8 %9 %10")
                .arg(QString::fromLatin1(m.method), -26)
                .arg(Ms(m.overWire.MedianMs()), 8)
                .arg(Ms(m.overWire.P99Ms()), 8)
                .arg(Ms(m.sql.MedianMs()), 8)
                .arg(Ms(m.empty.MedianMs()), 8)
                .arg(Ms(sqlFloor), 8)
                .arg(QString::number(m.overWire.MedianMs() / sqlFloor, 'f', 2), 6)
                .arg(Ms(m.native.MedianMs()), 8)
                .arg(Ms(nativeFloor), 8)
                .arg(QString::number(m.overWire.MedianMs() / nativeFloor, 'f', 2), 6));
    }
    Say(QStringLiteral("%1 %2 %3   (p99 of SQL, native per method: %4)")
            .arg(QStringLiteral("empty calls in a row"), -26)
            .arg(Ms(empty.MedianMs()), 8)
            .arg(Ms(empty.P99Ms()), 8)
            .arg([&] {
                QStringList p99;
                for (const Measured& m : measured)
                    p99 << Ms(m.sql.P99Ms()) + QStringLiteral("/") + Ms(m.native.P99Ms());
                return p99.join(QStringLiteral(", "));
            }()));
    failures_ += HostReadsBench(location_, plan_, settings_.samples).Run(methods, Say);
    SavesAtOnce(session, Address(server), QStringLiteral("one server"));
    {
        // A second server over the same database, as a site adds one.
        AppServer second(config, quiet);
        second.Start();
        SavesAtOnce(session, Address(server) + u',' + Address(second),
                    QStringLiteral("two servers"));
    }
    failures_ += MeasureServerKills(location_, workload, settings_.kills, Say);
    HistorySize(session);
    return failures_ == 0;
}

bool BenchRun::RunManyHosts() {
    Say(QStringLiteral("\n== %1 ==").arg(location_.Describe()));
    PrepareDatabase();
    CallLog quiet([](const QString&) {});
    AppServerConfig config;
    config.listenAddress = QStringLiteral("127.0.0.1:0");
    config.database = location_;
    config.workers = settings_.workers;
    // Every host's read held at once: none is refused for want of a place.
    config.limits.maxCalls = settings_.hosts + 8;
    AppServer server(config, quiet);
    server.Start();
    if (location_.kind == DatabaseKind::PostgreSql) {
        SqlSession session(location_);
        SqlRows limit = session.Run(QStringLiteral("SHOW max_connections"));
        limit.Next();
        Say(QStringLiteral("PostgreSQL max_connections = %1; the server holds at most %2 "
                           "connections (each worker's own and its host reads')")
                .arg(limit.Value(0).toString())
                .arg(2 * settings_.workers + 2));
    }
    return HostReadsBench::ManyHosts(Address(server), plan_, settings_.hosts, Say) == 0;
}

// What the saves above left in the history: its records and the space they take with their
// index, to tell what the history of a site's years would weigh.
void BenchRun::HistorySize(SqlSession& session) {
    const qint64 records = CountOf(session, "HISTEFETFATUR");
    SqlRows size = session.Run(
        location_.kind == DatabaseKind::Sqlite
            ? QStringLiteral("SELECT SUM(pgsize) FROM dbstat "
                             "WHERE name IN ('HISTEFETFATUR', 'IX_HISTEFETFATUR_LINHA')")
            : QStringLiteral("SELECT pg_total_relation_size('histefetfatur')"));
    const qint64 bytes = size.Next() ? size.Value(0).toLongLong() : 0;
    Say(QStringLiteral("history: %1 records, %2 bytes with its index, %3 bytes a record")
            .arg(records)
            .arg(bytes)
            .arg(bytes / std::max<qint64>(records, 1)));
}

void BenchRun::PrepareDatabase() {
    if (location_.kind == DatabaseKind::Sqlite)
        QDir().mkpath(QFileInfo(location_.path).absolutePath());
    SqlSession session(location_);
    Schema::Upgrade(session);
    if (CountOf(session, "FILIAL") == 0) {
        Say(QStringLiteral("seeding %1 branches, %2 clients, %3 days...")
                .arg(plan_.branches)
                .arg(plan_.clients)
                .arg(plan_.days));
        std::chrono::steady_clock::duration took{};
        qint64 rows = 0;
        took = Timed([&] {
            rows = BulkSeeder(session, plan_, [](qint64 written) {
                       std::fprintf(stderr, "\r  %lld headcount rows",
                                    static_cast<long long>(written));
                   }).Seed();
        });
        std::fprintf(stderr, "\n");
        Say(QStringLiteral("seeded in %1 s")
                .arg(std::chrono::duration<double>(took).count(), 0, 'f', 1));
    } else {
        Say(QStringLiteral("database already seeded: measuring what it holds"));
    }
    Say(QStringLiteral("rows: EFETFATUR %1, EFETTURNO %2, ITRATEFECLIFAT %3, APURACFATCLI %4, "
                       "CLIENTE %5, FILIAL %6")
            .arg(CountOf(session, "EFETFATUR"))
            .arg(CountOf(session, "EFETTURNO"))
            .arg(CountOf(session, "ITRATEFECLIFAT"))
            .arg(CountOf(session, "APURACFATCLI"))
            .arg(CountOf(session, "CLIENTE"))
            .arg(CountOf(session, "FILIAL")));
}

BenchRun::Measured BenchRun::Measure(const char* method, const std::function<MethodCall()>& next,
                                     SqlSession& session, NativeFloor& floor,
                                     TrdmEfetFaturDisp& methods, int samples) {
    for (int i = 0; i < kWarmUpCalls; ++i) {
        const MethodCall call = next();
        call.overWire(methods);
        floor.Run(call.floor());
    }
    Measured measured{method, {}, {}, {}, {}};
    int unlike = 0;
    for (int i = 0; i < samples; ++i) {
        const MethodCall call = next();
        // Recording runs the method once in process, which also brings its rows into the
        // caches, so that the timed runs below find them there.
        const RecordedStatements sql =
            RecordedStatements::Of(session, [&] { call.inProcess(session); });
        measured.sql.Add(Timed([&] { sql.Replay(session); }));
        const std::vector<FloorStatement> statements = call.floor();
        qint64 floorRows = 0;
        measured.native.Add(Timed([&] { floorRows = floor.Run(statements); }));
        std::optional<qint64> answered;
        // The empty call before the method's in one sample and after it in the next.
        if (i % 2 == 0) measured.empty.Add(EmptyCall(methods));
        measured.overWire.Add(Timed([&] { answered = call.overWire(methods); }));
        if (i % 2 == 1) measured.empty.Add(EmptyCall(methods));
        if (!answered)
            ++failures_;
        else if (*answered != floorRows)
            ++unlike;
    }
    if (unlike > 0) {
        // A floor that reads other rows than the answer carries measures something else.
        Say(QStringLiteral("%1: the floor read other rows than the answer carried in %2 calls")
                .arg(QLatin1String(method))
                .arg(unlike));
        failures_ += unlike;
    }
    if (failures_ > 0)
        Say(QStringLiteral("%1: %2 calls failed").arg(QLatin1String(method)).arg(failures_));
    return measured;
}

BenchRun::Measured BenchRun::MeasureGeraRel(Workload& workload, SqlSession& session,
                                            NativeFloor& floor, TrdmEfetFaturDisp& methods) {
    std::vector<QString> numbers;
    for (int branch = 0; branch < plan_.branches; ++branch)
        numbers.push_back(methods.PrxRelFatur(BenchPlan::Branch(branch)));
    const QString floorNumber = methods.PrxRelFatur(BenchPlan::Branch(0));
    // A year of a branch is some thousands of rows a call: a tenth of the samples tells.
    Measured measured = Measure(
        "GeraRel (a branch, a year)",
        [&] { return workload.GeraRelForAYear(numbers, floorNumber, session.Dialect()); }, session,
        floor, methods, std::max(settings_.samples / 10, 5));
    {
        SqlRows rows =
            session.Run(QStringLiteral("SELECT COUNT(*), COUNT(DISTINCT NRAPURACGD) "
                                       "FROM RELCOMENSAL"));
        rows.Next();
        Say(QStringLiteral("GeraRel: %1 rows in %2 reports, %3 a report")
                .arg(rows.Value(0).toLongLong())
                .arg(rows.Value(1).toLongLong())
                .arg(rows.Value(0).toLongLong() / std::max<qint64>(rows.Value(1).toLongLong(), 1)));
    }
    for (int branch = 0; branch < plan_.branches; ++branch) {
        if (!methods.DeletaRel(BenchPlan::Branch(branch), numbers[std::size_t(branch)]).success)
            ++failures_;
    }
    if (!methods.DeletaRel(BenchPlan::Branch(0), floorNumber).success) ++failures_;
    return measured;
}

// Refused on the server's gRPC thread, for a date no billing holds, before any database work:
// what a call costs with nothing to do.
std::chrono::steady_clock::duration BenchRun::EmptyCall(TrdmEfetFaturDisp& methods) {
    const QDate noBillingDay(1800, 1, 1);
    bool refused = false;
    const auto took = Timed([&] {
        refused = !methods
                       .GetValidaData(BenchPlan::Branch(0), BenchPlan::ClientCode(0),
                                      QStringLiteral("00001"), noBillingDay)
                       .success;
    });
    if (!refused) ++failures_;
    return took;
}

// Empty calls one after the other.
Latencies BenchRun::EmptyCalls(TrdmEfetFaturDisp& methods) {
    Latencies empty;
    for (int i = 0; i < kWarmUpCalls + settings_.samples; ++i) {
        const auto took = EmptyCall(methods);
        if (i >= kWarmUpCalls) empty.Add(took);
    }
    return empty;
}

void BenchRun::SavesAtOnce(SqlSession& session, const QString& servers, const QString& what) {
    std::vector<SaveTarget> targets = OpenRows(session, plan_, QStringLiteral("00002"));
    const int clerks = settings_.concurrent;
    std::vector<std::vector<SaveTarget>> rowsOf(clerks);
    for (std::size_t i = 0; i < targets.size(); ++i) rowsOf[i % clerks].push_back(targets[i]);
    std::vector<std::unique_ptr<TNetConnection>> connections;
    for (int i = 0; i < clerks; ++i) connections.push_back(Connected(servers));

    std::atomic<qint64> saved{0}, refused{0};
    std::latch start(clerks + 1);
    std::chrono::steady_clock::time_point stop;
    std::vector<std::thread> threads;
    for (int c = 0; c < clerks; ++c)
        threads.emplace_back([&, c] {
            std::vector<SaveTarget>& rows = rowsOf[c];
            start.arrive_and_wait();
            for (std::size_t i = 0; std::chrono::steady_clock::now() < stop && !rows.empty(); ++i) {
                OptionalPacket delta = NextSave(rows[i % rows.size()]), none;
                QString nullFields = NullFieldsOfAnOpenRow();
                if (connections[c]->AppServer().UpdEfetFatu(delta, nullFields, none).success)
                    ++saved;
                else
                    ++refused;
            }
        });
    stop = std::chrono::steady_clock::now() + std::chrono::seconds(settings_.seconds);
    const auto took = Timed([&] {
        start.arrive_and_wait();
        for (std::thread& thread : threads) thread.join();
    });
    const double seconds = std::chrono::duration<double>(took).count();
    failures_ += static_cast<int>(refused);
    Say(QStringLiteral("UpdEfetFatu, %1 clients at once, %6: %2 saves/s (%3 saves in %4 s, %5 "
                       "failed)")
            .arg(clerks)
            .arg(saved / seconds, 0, 'f', 0)
            .arg(saved.load())
            .arg(seconds, 0, 'f', 1)
            .arg(refused.load())
            .arg(what));
}

}  // namespace fai::appserver::bench
