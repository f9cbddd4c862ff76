// Faults the server must come through: killed outright (SIGKILL) in the middle of its work,
// and its PostgreSQL database stopped and started again under it. Nothing acknowledged is
// lost, nothing is left half written, and no call fails once the database is back.
#include "AppErrors.h"
#include "BackendTest.h"
#include "Deltas.h"
#include "PostgresCluster.h"
#include "RunningServer.h"
#include "SampleData.h"
#include "ServerProcess.h"
#include "TestSeed.h"

#include <QThread>

#include <atomic>
#include <thread>

namespace fai::appserver::test {
namespace {

using namespace sample;

constexpr int kWaitSteps = 20'000;  // of 1 ms: how long a test waits for the server's work

TestSeed::Key AlfasLunch(const QDate& day) { return {kBranch, kAlfa, kLunch, day}; }

class Faults : public BackendTest {
  protected:
    QStringList Arguments() const {
        return {QStringLiteral("--database"), Location().kind == DatabaseKind::Sqlite
                                                  ? QStringLiteral("sqlite:") + Location().path
                                                  : Location().Describe()};
    }

    // A write transaction of the server holds rows written and not committed yet.
    bool ServerIsWriting(TestSeed& probe) const {
        if (GetParam() == Backend::Postgres)
            return !probe
                        .Rows(QStringLiteral(
                            "SELECT 1 FROM pg_stat_activity WHERE datname = current_database() "
                            "AND backend_xid IS NOT NULL AND pid <> pg_backend_pid()"))
                        .isEmpty();
        // The server's write lock is held from its BEGIN IMMEDIATE to its COMMIT.
        try {
            probe.Session().Execute(QStringLiteral("BEGIN IMMEDIATE"));
            probe.Session().Execute(QStringLiteral("ROLLBACK"));
            return false;
        } catch (const EDatabaseError&) {
            return true;
        }
    }

    std::unique_ptr<TestSeed> Probe() const {
        auto probe = std::make_unique<TestSeed>(Location());
        if (GetParam() == Backend::Sqlite)
            probe->Session().Execute(QStringLiteral("PRAGMA busy_timeout = 0"));
        return probe;
    }
};

// Killed while the year's rows are written and not yet committed: after the restart the year
// is there whole or not at all, whole when the call was acknowledged.
TEST_P(Faults, AServerKilledDuringALongDuplicationLeavesAllOfItOrNothing) {
    constexpr int kKills = 5;
    for (int kill = 0; kill < kKills; ++kill) {
        SCOPED_TRACE(kill);
        auto server = std::make_unique<ServerProcess>(Arguments());
        if (kill == 0) {
            TestSeed seed(Location());
            sample::Seed(seed);
        }
        const QDate first = kDay.addYears(kill), last = first.addYears(1).addDays(-1);
        const std::unique_ptr<TestSeed> probe = Probe();
        const std::unique_ptr<TNetConnection> clerk = server->Connect();
        std::atomic<bool> acknowledged = false;
        std::thread duplicating([&] {
            try {
                acknowledged = clerk->AppServer()
                                   .UpDateServData(kBranch, kAlfa, kLunch, first, last, 7, 8)
                                   .success;
            } catch (const EError&) {
                // The connection went with the server.
            }
        });
        bool caught = false;
        for (int wait = 0; wait < kWaitSteps && !caught && !acknowledged; ++wait)
            if (!(caught = ServerIsWriting(*probe))) QThread::usleep(200);
        server->Kill();
        duplicating.join();
        EXPECT_TRUE(caught || acknowledged);

        server = std::make_unique<ServerProcess>(Arguments());
        const int days = first.daysTo(last) + 1;
        const QList<QVariantList> stored =
            TestSeed(Location())
                .Rows(QStringLiteral(
                          "SELECT QTCOMEFATU, QTCOMEPREV FROM EFETFATUR WHERE CDCLIENTE = ? "
                          "AND DTFATURAM BETWEEN ? AND ?"),
                      {kAlfa, SqlDate(first), SqlDate(last)});
        EXPECT_TRUE(stored.isEmpty() || stored.size() == days) << stored.size();
        if (acknowledged) {
            EXPECT_EQ(stored.size(), days);
        }
        for (const QVariantList& row : stored) EXPECT_EQ(row, (QVariantList{8.0, 7.0}));
    }
}

// Killed while four clerks save, each on its own days: every save that was acknowledged is
// there after the restart, as it was sent.
TEST_P(Faults, AServerKilledUnderConcurrentSavesKeepsEveryAcknowledgedSave) {
    constexpr int kKills = 3, kClerks = 4, kSavesBeforeTheKill = 40, kSavesAtMost = 300;
    for (int kill = 0; kill < kKills; ++kill) {
        SCOPED_TRACE(kill);
        auto server = std::make_unique<ServerProcess>(Arguments());
        if (kill == 0) {
            TestSeed seed(Location());
            sample::Seed(seed);
        }
        auto dayOf = [kill](int clerk, int save) {
            return kDay.addDays(kill * 10'000 + clerk * 1'000 + save);
        };
        std::atomic<int> acknowledged = 0;
        std::vector<int> savedBy(kClerks, 0);
        std::vector<std::thread> clerks;
        for (int c = 0; c < kClerks; ++c)
            clerks.emplace_back([&, c] {
                try {
                    const std::unique_ptr<TNetConnection> connection = server->Connect();
                    for (int s = 0; s < kSavesAtMost; ++s) {
                        OptionalPacket headcounts =
                            InsertedHeadcount(AlfasLunch(dayOf(c, s)), c * 1000 + s, s);
                        QString nullFields;
                        OptionalPacket apportionment;
                        if (!connection->AppServer()
                                 .UpdEfetFatu(headcounts, nullFields, apportionment)
                                 .success)
                            return;
                        savedBy[c] = s + 1;
                        ++acknowledged;
                    }
                } catch (const EError&) {
                    // The connection went with the server.
                }
            });
        for (int wait = 0; wait < kWaitSteps && acknowledged < kSavesBeforeTheKill; ++wait)
            QThread::msleep(1);
        server->Kill();
        for (std::thread& clerk : clerks) clerk.join();
        ASSERT_GE(acknowledged, kSavesBeforeTheKill);

        server = std::make_unique<ServerProcess>(Arguments());
        TestSeed check(Location());
        for (int c = 0; c < kClerks; ++c)
            for (int s = 0; s < savedBy[c]; ++s) {
                const auto stored = check.Headcount(AlfasLunch(dayOf(c, s)));
                ASSERT_TRUE(stored.has_value()) << c << '/' << s;
                EXPECT_EQ(stored->billed, c * 1000 + s);
                EXPECT_EQ(stored->forecast, s);
            }
    }
}

// Each clerk has a connection of its own, so that the calls spread over the workers.
QStringList FailedCalls(RunningServer& server, int clerks, int callsEach) {
    std::mutex mutex;
    QStringList failures;
    std::vector<std::thread> threads;
    for (int c = 0; c < clerks; ++c)
        threads.emplace_back([&] {
            const std::unique_ptr<TNetConnection> connection = server.Connect();
            for (int call = 0; call < callsEach; ++call) {
                const ServerResult result = connection->AppServer().GetParams(kBranch);
                if (result.success) continue;
                std::lock_guard lock(mutex);
                failures << result.error;
            }
        });
    for (std::thread& thread : threads) thread.join();
    return failures;
}

TEST(DatabaseRestart, NoCallFailsOnceThePostgresDatabaseIsBack) {
    if (PostgresUrl().isEmpty())
        GTEST_SKIP() << "FAI_TEST_PG não definido: teste só de PostgreSQL não executado";
    constexpr int kWorkers = 4;
    PostgresCluster cluster;
    RunningServer server(cluster.Location(), false, kWorkers);
    {
        TestSeed seed(cluster.Location());
        sample::Seed(seed);
    }
    EXPECT_EQ(FailedCalls(server, kWorkers, 5), QStringList());

    cluster.Stop();
    cluster.Start();
    EXPECT_EQ(FailedCalls(server, kWorkers, 5), QStringList());
    OptionalPacket headcounts = InsertedHeadcount(AlfasLunch(kDay), 3, 4);
    QString nullFields;
    OptionalPacket apportionment;
    const ServerResult saved = server.Methods().UpdEfetFatu(headcounts, nullFields, apportionment);
    EXPECT_TRUE(saved.success) << saved.error.toStdString();

    cluster.Stop();
    EXPECT_EQ(server.Methods().GetParams(kBranch).error,
              QStringLiteral("Banco de dados indisponível; tente novamente."));
    const QStringList logged = server.LogLines().filter(QStringLiteral("indisponível"));
    ASSERT_EQ(logged.size(), 1);
    EXPECT_TRUE(logged[0].contains(QStringLiteral("(Não foi possível abrir o banco de dados %1: ")
                                       .arg(cluster.Location().Describe())))
        << logged[0].toStdString();

    cluster.Start();
    EXPECT_EQ(FailedCalls(server, kWorkers, 5), QStringList());
    EXPECT_TRUE(TestSeed(cluster.Location()).Headcount(AlfasLunch(kDay)).has_value());
}

INSTANTIATE_TEST_SUITE_P(Backends, Faults, kBackends, BackendNamer());

}  // namespace
}  // namespace fai::appserver::test
