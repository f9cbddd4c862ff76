#pragma once

#include "BenchPlan.h"
#include "DatabaseLocation.h"
#include "Latencies.h"
#include "Workload.h"

#include <functional>

namespace fai::appserver::bench {

// The whole benchmark on one database: seeds it when it is empty, starts the application
// server on it, measures each method beside two floors (the SQL it sends, run again through
// the server's own session; the same rows read with the fewest statements through the
// database's client library), each plus an empty gRPC call, then the saves of many clerks at
// once, and prints the figures.
class BenchRun {
  public:
    struct Settings {
        int samples = 300;
        int concurrent = 32;
        int seconds = 10;
        int workers = 8;
        int kills = 5;
        int hosts = 0;  // only the hosts reading at once, this many
    };

    BenchRun(DatabaseLocation location, const BenchPlan& plan, Settings settings)
        : location_(std::move(location)), plan_(plan), settings_(settings) {}

    // False when a call failed that should not have.
    bool Run();
    // Only `hosts` hosts reading at once, each on a connection of its own.
    bool RunManyHosts();

  private:
    struct Measured {
        const char* method;
        Latencies overWire;
        Latencies sql;
        Latencies native;
        // Empty calls taken among the method's, each beside one of them, so that the floor's
        // call finds the server as warm or as cold as the method's does.
        Latencies empty;
    };

    void PrepareDatabase();
    Measured Measure(const char* method, const std::function<MethodCall()>& next,
                     SqlSession& session, NativeFloor& floor, TrdmEfetFaturDisp& methods,
                     int samples);
    // GeraRel for a branch over a year, under report numbers taken for the run and deleted
    // afterwards, so that a database measured again holds no report data of this run.
    Measured MeasureGeraRel(Workload& workload, SqlSession& session, NativeFloor& floor,
                            TrdmEfetFaturDisp& methods);
    Latencies EmptyCalls(TrdmEfetFaturDisp& methods);
    std::chrono::steady_clock::duration EmptyCall(TrdmEfetFaturDisp& methods);
    // Saves of `concurrent` clerks, each on rows of its own, for `seconds`, through
    // connections to `servers` (one, or several separated by commas).
    void SavesAtOnce(SqlSession& session, const QString& servers, const QString& what);
    void HistorySize(SqlSession& session);

    DatabaseLocation location_;
    const BenchPlan& plan_;
    Settings settings_;
    int failures_ = 0;
};

}  // namespace fai::appserver::bench
