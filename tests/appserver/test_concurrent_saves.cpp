// Clerks saving at the same moment, against one server with several database workers and
// against two servers on one database, on both databases: a row saved by two clerks at once
// keeps exactly one clerk's save, and saves of different rows are all kept.
#include "Clerk.h"
#include "RunningServer.h"
#include "SampleData.h"
#include "TestDatabase.h"
#include "TestSeed.h"

#include <gtest/gtest.h>

#include <latch>
#include <thread>

namespace fai::appserver::test {
namespace {

using namespace sample;

enum class Servers { OneWithFourWorkers, TwoOnOneDatabase };
using Setting = std::tuple<Backend, Servers>;

std::string ServersName(Servers servers) {
    return servers == Servers::OneWithFourWorkers ? "OneServer" : "TwoServers";
}
void PrintTo(Servers servers, std::ostream* out) { *out << ServersName(servers); }

class ConcurrentSaves : public ::testing::TestWithParam<Setting> {
  protected:
    void SetUp() override {
        const Backend backend = std::get<0>(GetParam());
        if (backend == Backend::Postgres && PostgresUrl().isEmpty())
            GTEST_SKIP() << "FAI_TEST_PG não definido: variante PostgreSQL não executada";
        database_ = std::make_unique<TestDatabase>(backend);
        if (std::get<1>(GetParam()) == Servers::OneWithFourWorkers) {
            servers_.push_back(std::make_unique<RunningServer>(database_->Location(), false, 4));
        } else {
            for (int i = 0; i < 2; ++i)
                servers_.push_back(
                    std::make_unique<RunningServer>(database_->Location(), false, 2));
        }
        seed_ = std::make_unique<TestSeed>(database_->Location());
        sample::Seed(*seed_);
    }

    // A connection of its own for each clerk, the clerks spread over the servers.
    std::unique_ptr<TNetConnection> Connection(int clerk) {
        return servers_[clerk % servers_.size()]->Connect();
    }

    std::unique_ptr<TestDatabase> database_;
    std::vector<std::unique_ptr<RunningServer>> servers_;
    std::unique_ptr<TestSeed> seed_;
};

TEST_P(ConcurrentSaves, OfTwoClerksSavingOneRowAtOnceExactlyOneWins) {
    constexpr int kRounds = 8;
    auto first = Connection(0), second = Connection(1);
    for (int round = 0; round < kRounds; ++round) {
        // Every other round the row is not stored yet: both clerks fill a service shown
        // empty on its day.
        const bool stored = round % 2 == 0;
        SCOPED_TRACE(stored ? "a stored row" : "a row not stored yet");
        const QDate day = kDay.addDays(round);
        const QString service = stored ? kLunch : kDinner;
        if (stored) seed_->Headcount({kBranch, kAlfa, kLunch, day}, 100, 100);
        Clerk clerks[] = {Clerk(first->AppServer(), kBranch, kAlfa),
                          Clerk(second->AppServer(), kBranch, kAlfa)};
        const double typed[] = {200.0 + round, 300.0 + round};
        for (Clerk& clerk : clerks) {
            clerk.OpenDay(day);
            ASSERT_TRUE(clerk.GoTo(service));
        }
        ServerResult results[2];
        std::latch start(2);
        std::vector<std::thread> saving;
        for (int i = 0; i < 2; ++i)
            saving.emplace_back([&, i] {
                start.arrive_and_wait();
                results[i] = clerks[i].Edit({typed[i], {}, {}});
            });
        for (std::thread& t : saving) t.join();

        ASSERT_NE(results[0].success, results[1].success)
            << results[0].error.toStdString() << " / " << results[1].error.toStdString();
        const int winner = results[0].success ? 0 : 1;
        EXPECT_EQ(results[1 - winner].error,
                  QStringLiteral("Serviço %1, data %2: o efetivo foi alterado por outro usuário "
                                 "depois de carregado. Recarregue os efetivos e refaça a "
                                 "alteração.")
                      .arg(service, day.toString(u"dd/MM/yyyy")));
        const auto kept = seed_->Headcount({kBranch, kAlfa, service, day});
        ASSERT_TRUE(kept.has_value());
        EXPECT_EQ(kept->billed, typed[winner]);
    }
}

TEST_P(ConcurrentSaves, ManyClerksSavingDifferentRowsAtOnceLoseNothing) {
    constexpr int kClerks = 8, kSavesEach = 10;
    std::vector<std::unique_ptr<TNetConnection>> connections;
    for (int i = 0; i < kClerks; ++i) connections.push_back(Connection(i));
    // Half the clerks fill dinner day by day, half add lunch days by service.
    auto dayOf = [](int clerk, int save) { return kDay.addDays(clerk * 100 + save); };
    std::latch start(kClerks);
    std::mutex mutex;
    QStringList failures;
    std::vector<std::thread> clerks;
    for (int c = 0; c < kClerks; ++c)
        clerks.emplace_back([&, c] {
            Clerk clerk(connections[c]->AppServer(), kBranch, kAlfa);
            const bool byDay = c % 2 == 0;
            if (!byDay) clerk.OpenService(kLunch);
            start.arrive_and_wait();
            for (int s = 0; s < kSavesEach; ++s) {
                const double count = c * 1000 + s;
                ServerResult result;
                if (byDay) {
                    clerk.OpenDay(dayOf(c, s));
                    clerk.GoTo(kDinner);
                    result = clerk.Edit({count, count, {}});
                } else {
                    result = clerk.Insert(dayOf(c, s), {count, count, {}});
                }
                if (!result.success) {
                    std::lock_guard lock(mutex);
                    failures << result.error;
                }
            }
        });
    for (std::thread& clerk : clerks) clerk.join();

    EXPECT_TRUE(failures.isEmpty()) << failures.join(u'\n').toStdString();
    EXPECT_EQ(seed_->Count(QStringLiteral("EFETFATUR")), kClerks * kSavesEach);
    for (int c = 0; c < kClerks; ++c)
        for (int s = 0; s < kSavesEach; ++s) {
            const auto stored =
                seed_->Headcount({kBranch, kAlfa, c % 2 == 0 ? kDinner : kLunch, dayOf(c, s)});
            ASSERT_TRUE(stored.has_value()) << c << "/" << s;
            EXPECT_EQ(stored->billed, c * 1000 + s);
        }
}

std::string SettingName(const ::testing::TestParamInfo<Setting>& info) {
    return BackendName(std::get<0>(info.param)) + '_' + ServersName(std::get<1>(info.param));
}

INSTANTIATE_TEST_SUITE_P(Backends, ConcurrentSaves,
                         ::testing::Combine(::testing::Values(Backend::Sqlite, Backend::Postgres),
                                            ::testing::Values(Servers::OneWithFourWorkers,
                                                              Servers::TwoOnOneDatabase)),
                         SettingName);

}  // namespace
}  // namespace fai::appserver::test
