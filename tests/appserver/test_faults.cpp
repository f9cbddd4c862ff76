// Faults the server must come through: killed outright (SIGKILL) or stopped (SIGTERM) in the
// middle of its work, and its PostgreSQL database stopped and started again under it. Nothing
// acknowledged is lost, nothing is left half written, and no call fails once the database is
// back.
#include "AppErrors.h"
#include "BackendTest.h"
#include "Deltas.h"
#include "PostgresCluster.h"
#include "RunningServer.h"
#include "SampleData.h"
#include "SavingClerks.h"
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
    QStringList Arguments() const { return ServerProcess::DatabaseArguments(Location()); }

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
// is there whole or not at all, whole when the call was acknowledged, and its history with it.
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
        // A change and its history go together: two records (billed and forecast) for every
        // day written, none when none was.
        const QList<QVariantList> recorded =
            TestSeed(Location())
                .Rows(QStringLiteral("SELECT COUNT(*) FROM HISTEFETFATUR WHERE CDCLIENTE = ? "
                                     "AND DTFATURAM BETWEEN ? AND ?"),
                      {kAlfa, SqlDate(first), SqlDate(last)});
        EXPECT_EQ(recorded.at(0).at(0).toLongLong(), 2 * stored.size());
    }
}

// Killed while four clerks save, each on its own days: every save that was acknowledged is
// there after the restart, as it was sent. Stopped (SIGTERM) the same way, it ends within its
// grace time and keeps them too.
TEST_P(Faults, AServerKilledOrStoppedUnderConcurrentSavesKeepsEveryAcknowledgedSave) {
    constexpr int kClerks = 4, kSavesBeforeTheEnd = 40;
    enum class End { Kill, Stop };
    const End ends[] = {End::Kill, End::Kill, End::Kill, End::Stop};
    for (int round = 0; round < int(std::size(ends)); ++round) {
        SCOPED_TRACE(round);
        auto server = std::make_unique<ServerProcess>(Arguments());
        if (round == 0) {
            TestSeed seed(Location());
            sample::Seed(seed);
        }
        SavingClerks clerks([&] { return server->Connect(); }, kClerks, round);
        ASSERT_TRUE(clerks.WaitFor(kSavesBeforeTheEnd));
        if (ends[round] == End::Kill) {
            server->Kill();
        } else {
            const auto asked = std::chrono::steady_clock::now();
            EXPECT_EQ(server->Stop(), 0) << server->ErrorOutput().toStdString();
            // The server's grace for the calls under way is five seconds.
            EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::seconds(10));
        }
        clerks.Join();

        server = std::make_unique<ServerProcess>(Arguments());
        TestSeed check(Location());
        EXPECT_EQ(clerks.Missing(check, clerks.SavedByNow()), QString());
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
    // A save first, on a connection the restart dropped.
    OptionalPacket headcounts = InsertedHeadcount(AlfasLunch(kDay), 3, 4);
    QString nullFields;
    OptionalPacket apportionment;
    const ServerResult saved = server.Methods().UpdEfetFatu(headcounts, nullFields, apportionment);
    EXPECT_TRUE(saved.success) << saved.error.toStdString();
    EXPECT_EQ(FailedCalls(server, kWorkers, 5), QStringList());

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
