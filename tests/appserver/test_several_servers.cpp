// Several servers over one database, as a site runs them: the host's connection names them
// all and its calls reach every one; one killed outright (SIGKILL) is left out without a read
// failing, and every save is there once or the clerk was told.
#include "BackendTest.h"
#include "Errors.h"
#include "SampleData.h"
#include "SavingClerks.h"
#include "ServerProcess.h"
#include "TestSeed.h"

#include <QFile>
#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <mutex>
#include <numeric>
#include <thread>

namespace fai::appserver::test {
namespace {

using namespace sample;
using Clock = std::chrono::steady_clock;

// Generous for a loaded machine; the waits end as soon as what they wait for happens.
constexpr auto kPatience = std::chrono::seconds(30);

class SeveralServers : public BackendTest {
  protected:
    void SetUp() override {
        BackendTest::SetUp();
        if (IsSkipped()) return;
        // The first makes the schema, which the seed then fills, before the second starts.
        for (int i = 0; i < 2; ++i) {
            const QString log = dir_.filePath(QStringLiteral("server-%1.log").arg(i));
            servers_.push_back(std::make_unique<ServerProcess>(
                ServerProcess::DatabaseArguments(Location()) << QStringLiteral("--log") << log,
                log));
            logs_ << log;
            if (i == 0) {
                TestSeed seed(Location());
                Seed(seed);
            }
        }
    }

    QString Address(int server) const {
        return QStringLiteral("127.0.0.1:%1").arg(servers_[server]->Port());
    }
    QString BothServers() const { return Address(0) + u',' + Address(1); }

    static std::unique_ptr<TNetConnection> Connect(const QString& servers) {
        auto connection = std::make_unique<TNetConnection>();
        connection->SetHost(servers);
        connection->SetDeadline(kPatience);
        connection->Connect();
        return connection;
    }

    int CallsServed(int server, const char* method) const {
        QFile log(logs_[server]);
        if (!log.open(QIODevice::ReadOnly)) return 0;
        return int(QString::fromUtf8(log.readAll()).count(QStringLiteral(" %1 ").arg(method)));
    }

    QTemporaryDir dir_;
    QStringList logs_;
    std::vector<std::unique_ptr<ServerProcess>> servers_;
};

// Reads made one after the other on one connection, until stopped: each that fails is kept.
class StreamOfReads {
  public:
    explicit StreamOfReads(TNetConnection& connection)
        : thread_([this, &connection] {
              while (!stop_) {
                  QString failure;
                  try {
                      const ServerResult result = connection.AppServer().GetParams(kBranch);
                      if (!result.success) failure = result.error;
                  } catch (const EError& e) {
                      failure = e.Message();
                  }
                  if (!failure.isEmpty()) {
                      std::lock_guard lock(mutex_);
                      failures_ << failure;
                  }
                  ++reads_;
              }
          }) {}
    ~StreamOfReads() { Stop(); }

    int Reads() const { return reads_; }
    bool WaitFor(int reads) const {
        const auto giveUp = Clock::now() + kPatience;
        while (reads_ < reads && Clock::now() < giveUp)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return reads_ >= reads;
    }
    QStringList Stop() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        std::lock_guard lock(mutex_);
        return failures_;
    }

  private:
    std::atomic<bool> stop_ = false;
    std::atomic<int> reads_ = 0;
    std::mutex mutex_;
    QStringList failures_;
    std::thread thread_;
};

TEST_P(SeveralServers, TheCallsReachEveryServerAndNoReadFailsWhenOneIsKilled) {
    const auto connection = Connect(BothServers());
    // Round-robin takes a server in as soon as it serves: a few calls reach both.
    const auto giveUp = Clock::now() + kPatience;
    while ((CallsServed(0, "GetParams") == 0 || CallsServed(1, "GetParams") == 0) &&
           Clock::now() < giveUp)
        ASSERT_TRUE(connection->AppServer().GetParams(kBranch).success);
    EXPECT_GT(CallsServed(0, "GetParams"), 0);
    EXPECT_GT(CallsServed(1, "GetParams"), 0);

    StreamOfReads reads(*connection);
    ASSERT_TRUE(reads.WaitFor(100));
    servers_[0]->Kill();
    const int atTheKill = reads.Reads();
    ASSERT_TRUE(reads.WaitFor(atTheKill + 300));
    EXPECT_EQ(reads.Stop(), QStringList());
}

// Each clerk saves new rows through both servers; one server is killed under them. A save that
// was acknowledged is there as sent; a save that was under way on the killed server is not
// made again by the connection: the clerk is told, makes it again, and it is either saved then
// or refused because it had been saved; no row is there twice or without having been sent.
TEST_P(SeveralServers, SavesAcrossTheKillOfAServerAreThereOnceOrTheClerkIsTold) {
    constexpr int kClerks = 4, kSaves = 60;
    TestSeed check(Location());
    const int rowsBefore = check.Count(QStringLiteral("EFETFATUR"));
    SavingClerks clerks([&] { return Connect(BothServers()); }, kClerks, 0, kSaves);
    ASSERT_TRUE(clerks.WaitFor(40));
    servers_[0]->Kill();
    clerks.Join();

    std::vector<int> saved = clerks.SavedByNow();
    const auto survivor = Connect(Address(1));
    for (int c = 0; c < kClerks; ++c) {
        if (saved[c] == kSaves) continue;
        SCOPED_TRACE(c);
        const ServerResult again = clerks.Save(survivor->AppServer(), c, saved[c]);
        // Saved now, or refused because it had been saved before the server died.
        if (!again.success) {
            EXPECT_FALSE(again.error.isEmpty());
        }
        ++saved[c];
    }
    EXPECT_EQ(clerks.Missing(check, saved), QString());
    EXPECT_EQ(check.Count(QStringLiteral("EFETFATUR")) - rowsBefore,
              std::accumulate(saved.begin(), saved.end(), 0));
}

TEST_P(SeveralServers, AListWithADeadAddressFromTheStartWorksOnTheOther) {
    servers_[0]->Kill();
    const auto connection = Connect(BothServers());
    for (int call = 0; call < 20; ++call)
        EXPECT_TRUE(connection->AppServer().GetParams(kBranch).success);
    SavingClerks clerks([&] { return Connect(BothServers()); }, 1, 0, 10);
    clerks.Join();
    EXPECT_EQ(clerks.SavedByNow(), std::vector<int>{10});
    TestSeed check(Location());
    EXPECT_EQ(clerks.Missing(check, clerks.SavedByNow()), QString());
}

INSTANTIATE_TEST_SUITE_P(Backends, SeveralServers, kBackends, BackendNamer());

}  // namespace
}  // namespace fai::appserver::test
