// Clients that never read their answers, that flood the server or that give up on a call:
// the server's threads and calls stay within bounds, and a call given up on writes nothing.
#include "Deltas.h"
#include "RunningServer.h"
#include "SampleTest.h"
#include "UnreadingClient.h"
#include "fai00400.pb.h"

#include <QDir>
#include <QElapsedTimer>
#include <QThread>

namespace fai::appserver::test {
namespace {

using namespace sample;

int Threads() { return static_cast<int>(QDir(QStringLiteral("/proc/self/task")).count()) - 2; }

// Waits until the server has logged `count` lines holding `text`.
bool Logged(const RunningServer& server, const QString& text, int count = 1) {
    for (int wait = 0; wait < 400; ++wait) {
        if (server.LogLines().filter(text).size() >= count) return true;
        QThread::msleep(50);
    }
    return false;
}

std::unique_ptr<UnreadingClient> UnreadParams(const RunningServer& server, int calls) {
    auto client = std::make_unique<UnreadingClient>(server.Port());
    Fai00400::GetParamsRequest request;
    request.set_branch(kBranch.toStdString());
    for (int i = 0; i < calls; ++i) client->Call("GetParams", request);
    return client;
}

class ServerLimits : public SampleTest {};

TEST_P(ServerLimits, AnswersNobodyReadsHoldNoThread) {
    constexpr int kConnections = 4, kCallsEach = 12;
    ASSERT_TRUE(server_->Methods().GetParams(kBranch).success);
    const int before = Threads();
    std::vector<std::unique_ptr<UnreadingClient>> unreading;
    for (int c = 0; c < kConnections; ++c) unreading.push_back(UnreadParams(*server_, kCallsEach));
    ASSERT_TRUE(Logged(*server_, QStringLiteral("GetParams"), kConnections * kCallsEach + 1));

    EXPECT_LT(Threads() - before, kCallsEach);
    EXPECT_TRUE(server_->Methods().GetParams(kBranch).success);
}

// Four answers nobody reads hold the four calls this server may hold: a fifth call is
// refused at once. The four are let go at their deadline, or with their connection when it
// has been left without a call being worked on for the idle time.
TEST_P(ServerLimits, ACallBeyondTheLimitIsRefusedAtOnceUntilUnreadAnswersAreDropped) {
    using std::chrono::seconds;
    struct Case {
        const char* what;
        CallLimits limits;
    };
    const Case cases[] = {{"the call timeout", {4, seconds(2), seconds(600)}},
                          {"the idle time", {4, seconds(600), seconds(1)}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RunningServer server(Location(), false, 1, c.limits);
        const std::unique_ptr<UnreadingClient> unreading = UnreadParams(server, c.limits.maxCalls);
        ASSERT_TRUE(Logged(server, QStringLiteral("GetParams"), c.limits.maxCalls));

        QElapsedTimer clock;
        clock.start();
        const ServerResult busy = server.Methods().GetParams(kBranch);
        EXPECT_LT(clock.elapsed(), 1000);
        EXPECT_EQ(busy.error,
                  QStringLiteral("Servidor ocupado: o servidor de aplicação já atende 4 chamadas. "
                                 "Tente novamente em instantes."));

        if (c.limits.idleTimeout < c.limits.callTimeout) {
            EXPECT_TRUE(unreading->ClosedByServer(seconds(30)));
        }
        bool served = false;
        for (int wait = 0; wait < 300 && !served; ++wait) {
            served = server.Methods().GetParams(kBranch).success;
            if (!served) QThread::msleep(100);
        }
        EXPECT_TRUE(served);
    }
}

// Holds the database's write lock, as another program's long transaction would.
class WriteLock {
  public:
    WriteLock(TestSeed& seed, Backend backend) : session_(seed.Session()) {
        if (backend == Backend::Sqlite) {
            session_.Execute(QStringLiteral("BEGIN IMMEDIATE"));
        } else {
            session_.Execute(QStringLiteral("BEGIN"));
            session_.Execute(QStringLiteral("LOCK TABLE EFETFATUR IN EXCLUSIVE MODE"));
        }
    }
    ~WriteLock() { Release(); }
    void Release() {
        if (std::exchange(held_, false)) session_.Execute(QStringLiteral("ROLLBACK"));
    }

  private:
    SqlSession& session_;
    bool held_ = true;
};

// The save waits for the lock while its client gives up, or while its deadline passes on the
// server; when the lock goes, the save must not be written: the clerk was told it failed.
TEST_P(ServerLimits, ASaveGivenUpBeforeItCommitsWritesNothing) {
    struct Case {
        const char* what;
        std::chrono::seconds clientDeadline, serverTimeout;
        QString told;
    };
    const Case cases[] = {
        {"the client's deadline", std::chrono::seconds(1), std::chrono::seconds(60),
         QStringLiteral("O servidor de aplicação em 127.0.0.1:%1 não respondeu em 1 segundo.")},
        {"the server's call timeout", std::chrono::seconds(30), std::chrono::seconds(1),
         QStringLiteral("Tempo esgotado: o servidor de aplicação não concluiu a chamada em 1 s. "
                        "Nada foi gravado; tente novamente.")},
    };
    int day = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RunningServer server(Location(), false, 1,
                             {128, c.serverTimeout, std::chrono::seconds(600)});
        const std::unique_ptr<TNetConnection> clerk = server.Connect();
        clerk->SetDeadline(c.clientDeadline);
        const TestSeed::Key key = Key(kDinner, kDay.addDays(++day));
        WriteLock lock(*seed_, GetParam());

        OptionalPacket headcounts = InsertedHeadcount(key, 10, 10);
        QString nullFields;
        OptionalPacket apportionment;
        QString told;
        try {
            told = clerk->AppServer().UpdEfetFatu(headcounts, nullFields, apportionment).error;
        } catch (const EError& e) {
            told = e.Message();
        }
        EXPECT_EQ(told, c.told.contains(u"%1") ? c.told.arg(server.Port()) : c.told);
        // The server learns of the client's deadline a moment after the client does.
        EXPECT_TRUE(Logged(server, QStringLiteral("UpdEfetFatu")));

        lock.Release();
        // The one worker takes calls in turn: once this one is answered, the save is over.
        ASSERT_TRUE(server.Methods().GetParams(kBranch).success);
        EXPECT_FALSE(seed_->Headcount(key).has_value());
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, ServerLimits, kBackends, BackendNamer());

}  // namespace
}  // namespace fai::appserver::test
