#include "ServerKill.h"

#include "Errors.h"
#include "Latencies.h"
#include "ServerProcess.h"

#include <QThread>

#include <atomic>
#include <mutex>
#include <thread>

namespace fai::appserver::bench {
namespace {

using Clock = std::chrono::steady_clock;
using test::ServerProcess;

constexpr int kReadsBefore = 200;
constexpr int kReadsAfter = 300;

struct Read {
    Clock::time_point start, end;
    bool ok;
};

// Reads on one connection until stopped, each kept with its times.
class Reader {
  public:
    Reader(TNetConnection& connection, Workload& workload)
        : thread_([this, &connection, &workload] {
              while (!stop_) {
                  const MethodCall call = workload.GetEfetFatuByDay();
                  Read read{Clock::now(), {}, false};
                  try {
                      read.ok = call.overWire(connection.AppServer()).has_value();
                  } catch (const EError&) {
                      read.ok = false;
                  }
                  read.end = Clock::now();
                  std::lock_guard lock(mutex_);
                  reads_.push_back(read);
              }
          }) {}

    int Count() const {
        std::lock_guard lock(mutex_);
        return int(reads_.size());
    }
    void WaitFor(int reads) const {
        while (Count() < reads) QThread::msleep(1);
    }
    std::vector<Read> Stop() {
        stop_ = true;
        thread_.join();
        return reads_;
    }

  private:
    std::atomic<bool> stop_ = false;
    mutable std::mutex mutex_;
    std::vector<Read> reads_;
    std::thread thread_;
};

double Ms(Clock::duration span) { return std::chrono::duration<double, std::milli>(span).count(); }

}  // namespace

int MeasureServerKills(const DatabaseLocation& location, Workload& workload, int kills,
                       const std::function<void(const QString&)>& say) {
    Latencies before, moveOn;
    int failed = 0;
    for (int kill = 0; kill < kills; ++kill) {
        ServerProcess killed(ServerProcess::DatabaseArguments(location));
        ServerProcess survivor(ServerProcess::DatabaseArguments(location));
        TNetConnection connection;
        connection.SetHost(
            QStringLiteral("127.0.0.1:%1,127.0.0.1:%2").arg(killed.Port()).arg(survivor.Port()));
        connection.SetDeadline(std::chrono::seconds(60));
        connection.Connect();
        Reader reader(connection, workload);
        reader.WaitFor(kReadsBefore);
        const Clock::time_point killedAt = Clock::now();
        killed.Kill();
        reader.WaitFor(reader.Count() + kReadsAfter);
        // The reads under way at the kill and those begun in the second after it: the longest
        // of them is how long a clerk waited, at worst, for the other server to take over.
        double longest = 0;
        for (const Read& read : reader.Stop()) {
            if (!read.ok) ++failed;
            if (read.end < killedAt)
                before.Add(read.end - read.start);
            else if (read.start < killedAt + std::chrono::seconds(1))
                longest = std::max(longest, Ms(read.end - std::max(read.start, killedAt)));
        }
        moveOn.Add(std::chrono::duration_cast<Clock::duration>(
            std::chrono::duration<double, std::milli>(longest)));
    }
    say(QStringLiteral("server killed under reads over two servers, %1 times: reads before the "
                       "kill median %2 ms; longest read from the kill on, median %3 ms, worst "
                       "%4 ms; %5 reads failed")
            .arg(kills)
            .arg(before.MedianMs(), 0, 'f', 2)
            .arg(moveOn.MedianMs(), 0, 'f', 2)
            .arg(moveOn.P99Ms(), 0, 'f', 2)
            .arg(failed));
    return failed;
}

}  // namespace fai::appserver::bench
