#pragma once

#include "TNetConnection.h"
#include "TestSeed.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace fai::appserver::test {

// Clerks saving new headcounts at once, each on days of its own and each through a connection
// of its own, until the server stops answering or they have saved enough: what the server's
// faults, stops and backups are tested under. What was acknowledged is known save by save.
class SavingClerks {
  public:
    using Connect = std::function<std::unique_ptr<TNetConnection>()>;

    // `round` keeps the days of one round apart from those of another on the same database.
    SavingClerks(const Connect& connect, int clerks, int round, int savesAtMost = 300);
    ~SavingClerks();  // waits for every clerk

    int Acknowledged() const { return acknowledged_; }
    // Waits until `saves` were acknowledged in all, for at most 20 s; false when they were not.
    bool WaitFor(int saves) const;
    void Join();

    // How many saves of each clerk were acknowledged, up to now.
    std::vector<int> SavedByNow() const;
    // Every save of `savedBy` is in the database as it was sent; a failure message otherwise.
    QString Missing(TestSeed& database, const std::vector<int>& savedBy) const;

    // The save `save` of `clerk`, as it was sent the first time.
    ServerResult Save(TrdmEfetFaturDisp& methods, int clerk, int save) const;

  private:
    TestSeed::Key KeyOf(int clerk, int save) const;

    int round_;
    std::atomic<int> acknowledged_ = 0;
    mutable std::mutex mutex_;
    std::vector<int> savedBy_;
    std::vector<std::thread> threads_;
};

}  // namespace fai::appserver::test
