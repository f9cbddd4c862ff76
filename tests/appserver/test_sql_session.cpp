// The statements of a session: those it keeps prepared, as the database itself lists them for
// the connection (SQLite's sqlite_stmt, PostgreSQL's pg_prepared_statements), and those it
// sends together.
#include "AppErrors.h"
#include "BackendTest.h"
#include "CallServing.h"
#include "PostgresClient.h"
#include "SampleData.h"
#include "Schema.h"
#include "StatementCache.h"
#include "TestSeed.h"
#include "WorkerPool.h"

#include <QThread>

#include <future>

namespace fai::appserver::test {
namespace {

using namespace sample;

const QString kBranchCount = QStringLiteral("SELECT COUNT(*) FROM FILIAL WHERE CDFILIAL = ?");

// The runs of each statement with this text kept prepared on the session's connection, as the
// database counts them.
std::vector<qint64> PreparedRuns(SqlSession& session, const QString& sql) {
    const bool postgres = session.Dialect().DriverName() == QStringLiteral("QPSQL");
    SqlRows rows =
        session.Run(postgres ? QStringLiteral("SELECT generic_plans + custom_plans FROM "
                                              "pg_prepared_statements WHERE statement = ?")
                             : QStringLiteral("SELECT run FROM sqlite_stmt WHERE sql = ?"),
                    {postgres ? NumberedPlaceholders(sql) : sql});
    std::vector<qint64> runs;
    while (rows.Next()) runs.push_back(rows.Value(0).toLongLong());
    return runs;
}

qint64 CountOf(SqlSession& session, const QString& sql, const QVariantList& params = {}) {
    SqlRows rows = session.Run(sql, params);
    return rows.Next() ? rows.Value(0).toLongLong() : -1;
}

class StatementCacheTest : public BackendTest {
  protected:
    void SetUp() override {
        BackendTest::SetUp();
        if (IsSkipped()) return;
        seed_ = std::make_unique<TestSeed>(Location());
        Schema::Upgrade(seed_->Session());
        sample::Seed(*seed_);
    }

    std::unique_ptr<TestSeed> seed_;
};

TEST_P(StatementCacheTest, AStatementIsPreparedOnceAndRunAgainWithNewParameters) {
    SqlSession session(Location());
    const QString branches[] = {kBranch, kOtherBranch, QStringLiteral("9999")};
    const qint64 expected[] = {1, 1, 0};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(CountOf(session, kBranchCount, {branches[i]}), expected[i]);
    EXPECT_EQ(PreparedRuns(session, kBranchCount), std::vector<qint64>{3});

    // Rows left unread are let go of: the next run starts from the first row.
    const QString branchCodes = QStringLiteral("SELECT CDFILIAL FROM FILIAL ORDER BY CDFILIAL");
    EXPECT_TRUE(session.Any(branchCodes, {}));
    SqlRows again = session.Run(branchCodes);
    ASSERT_TRUE(again.Next());
    EXPECT_EQ(again.Value(0).toString(), kBranch) << "not started over";
}

TEST_P(StatementCacheTest, KeepsAtMostItsCapacityDroppingTheOneUnusedLongest) {
    SqlSession session(Location());
    const QString first = QStringLiteral("SELECT 0 AS N");
    EXPECT_EQ(CountOf(session, first), 0);
    for (std::size_t i = 1; i <= StatementCache::kCapacity + 10; ++i)
        EXPECT_EQ(CountOf(session, QStringLiteral("SELECT %1 AS N").arg(i)), qint64(i));
    const bool postgres = Location().kind == DatabaseKind::PostgreSql;
    EXPECT_EQ(
        CountOf(session, postgres ? QStringLiteral("SELECT COUNT(*) FROM pg_prepared_statements")
                                  : QStringLiteral("SELECT COUNT(*) FROM sqlite_stmt")),
        qint64(StatementCache::kCapacity));
    EXPECT_TRUE(PreparedRuns(session, first).empty());
    EXPECT_EQ(CountOf(session, first), 0) << "prepared again when it comes back";
}

TEST_P(StatementCacheTest, AFailingStatementDoesNotSpoilTheNextRun) {
    SqlSession session(Location());
    const QString insert = QStringLiteral(
        "INSERT INTO EFETFATUR (CDFILIAL, CDCLIENTE, CDSERVFILI, DTFATURAM, QTCOMEFATU, "
        "QTCOMEPREV, VRSERVFATUDT) VALUES (?, ?, ?, ?, ?, 0, 0)");
    const QVariantList refused{kBranch, kAlfa, kLunch, SqlDate(kDay), -1.0};
    const QVariantList accepted{kBranch, kAlfa, kLunch, SqlDate(kDay), 12.0};
    {
        Transaction transaction(session, Transaction::Kind::Write);
        EXPECT_THROW(session.Run(insert, refused), EDatabaseError);
    }
    {
        Transaction transaction(session, Transaction::Kind::Write);
        EXPECT_EQ(session.Change(insert, accepted), 1);
        transaction.Commit();
    }
    EXPECT_EQ(PreparedRuns(session, insert).size(), 1u) << "prepared once, failure and all";
    EXPECT_EQ(seed_->Headcount({kBranch, kAlfa, kLunch, kDay})->billed, 12);

    // A statement the database cannot compile is refused and not kept; the session goes on.
    const QString misspelt = QStringLiteral("SELECT CDFILIAL FROM FILIAIS WHERE CDFILIAL = ?");
    EXPECT_THROW(session.Run(misspelt, {kBranch}), EDatabaseError);
    EXPECT_TRUE(PreparedRuns(session, misspelt).empty());
    EXPECT_EQ(CountOf(session, kBranchCount, {kBranch}), 1);
}

// A worker opens its connection again after a database failure, and after a cut that its
// first statement finds out: the statements of the old connection are not carried over.
TEST_P(StatementCacheTest, AConnectionOpenedAgainPreparesItsStatementsAnew) {
    WorkerPool pool(Location(), 1);
    const auto onWorker = [&pool](std::function<std::vector<qint64>(WorkerPool::Context&)> job) {
        std::promise<std::vector<qint64>> done;
        pool.Post([&](WorkerPool::Context& worker) {
            try {
                done.set_value(job(worker));
            } catch (...) {
                done.set_exception(std::current_exception());
            }
        });
        return done.get_future().get();
    };
    // As the server runs a call's work, which finds a dropped connection out by its first
    // statement and runs again on a new one.
    const auto countAndList = [](WorkerPool::Context& worker) {
        std::vector<qint64> runs;
        Transacted(
            worker, Access::Write,
            [&runs](SqlSession& session) {
                EXPECT_EQ(CountOf(session, kBranchCount, {kBranch}), 1);
                runs = PreparedRuns(session, kBranchCount);
                return Answer{};
            },
            [] {});
        return runs;
    };
    EXPECT_EQ(onWorker(countAndList), std::vector<qint64>{1});
    EXPECT_EQ(onWorker(countAndList), std::vector<qint64>{2});

    EXPECT_EQ(onWorker([&](WorkerPool::Context& worker) {
                  worker.DiscardSession();
                  return countAndList(worker);
              }),
              std::vector<qint64>{1});

    if (Location().kind != DatabaseKind::PostgreSql) return;
    const QString others = QStringLiteral(
        "FROM pg_stat_activity WHERE datname = current_database() AND pid <> pg_backend_pid()");
    seed_->Rows(QStringLiteral("SELECT pg_terminate_backend(pid) ") + others);
    for (int wait = 0; wait < 250 && !seed_->Rows(QStringLiteral("SELECT pid ") + others).isEmpty();
         ++wait)
        QThread::msleep(20);
    EXPECT_EQ(onWorker(countAndList), std::vector<qint64>{1});
}

TEST_P(StatementCacheTest, StatementsSentTogetherAnswerEachInTurnAndStopAtAFailure) {
    SqlSession session(Location());
    const QString branchName = QStringLiteral("SELECT NMFILIAL FROM FILIAL WHERE CDFILIAL = ?");
    const auto names = [](std::vector<SqlRows>& rows) {
        QStringList read;
        for (SqlRows& each : rows)
            while (each.Next()) read << each.Value(0).toString();
        return read;
    };
    const QString branchCode = QStringLiteral("SELECT CDFILIAL FROM FILIAL WHERE CDFILIAL = ?");
    std::vector<SqlRows> rows = session.RunTogether({{branchName, {kOtherBranch}},
                                                     {kBranchCount, {kBranch}},
                                                     {branchCode, {QStringLiteral("9999")}}});
    EXPECT_EQ(names(rows), (QStringList{QStringLiteral("Norte"), QStringLiteral("1")}));
    rows.clear();

    const QString insert = QStringLiteral("INSERT INTO FILIAL (CDFILIAL, NMFILIAL) VALUES (?, ?)");
    EXPECT_THROW(session.RunTogether({{branchName, {kBranch}},
                                      {insert, {kBranch, QStringLiteral("Repetida")}},
                                      {kBranchCount, {kBranch}}}),
                 EDatabaseError);
    rows = session.RunTogether({{branchName, {kBranch}}, {kBranchCount, {kOtherBranch}}});
    EXPECT_EQ(names(rows), (QStringList{QStringLiteral("Centro"), QStringLiteral("1")}));
}

// Reads ahead go out with the next statement, after it, and are read once it answered; when no
// statement comes, reading them runs them.
TEST_P(StatementCacheTest, ReadsAheadGoWithTheNextStatement) {
    SqlSession session(Location());
    std::vector<QString> heard;
    session.Observe([&heard](const SqlSession::Statement& s) { heard.push_back(s.sql); });
    const QString branchName = QStringLiteral("SELECT NMFILIAL FROM FILIAL WHERE CDFILIAL = ?");
    {
        SqlAhead ahead(session, {{branchName, {kOtherBranch}}});
        EXPECT_TRUE(heard.empty()) << "sent before its time";
        EXPECT_EQ(CountOf(session, kBranchCount, {kBranch}), 1);
        EXPECT_EQ(heard, (std::vector<QString>{kBranchCount, branchName}));
        ASSERT_TRUE(ahead.Rows(0).Next());
        EXPECT_EQ(ahead.Rows(0).Value(0).toString(), QStringLiteral("Norte"));
    }
    heard.clear();
    {
        SqlAhead ahead(session, {{branchName, {kBranch}}});
        ASSERT_TRUE(ahead.Rows(0).Next());
        EXPECT_EQ(ahead.Rows(0).Value(0).toString(), QStringLiteral("Centro"));
    }
    EXPECT_EQ(CountOf(session, kBranchCount, {kBranch}), 1);
    EXPECT_EQ(heard, (std::vector<QString>{branchName, kBranchCount}));
}

INSTANTIATE_TEST_SUITE_P(Backends, StatementCacheTest, kBackends, BackendNamer());

}  // namespace
}  // namespace fai::appserver::test
