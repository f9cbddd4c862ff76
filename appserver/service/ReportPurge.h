#pragma once

#include "DatabaseLocation.h"
#include "PeriodicTask.h"

#include <chrono>

namespace fai::appserver {

class CallLog;
class SqlSession;

// Discards the listing's working data of report numbers left unused for longer than the
// retention time: a host killed or a network dropped before the screen closed leaves its
// data behind, and nobody else deletes it. A number used within the retention time is never
// touched. The server sweeps once at start and then every Interval, on a connection of its
// own opened for each sweep, so that the sweep never waits for a call's worker.
class ReportPurge {
  public:
    // One sweep inside its own transaction; how many numbers it discarded.
    static int Sweep(SqlSession& session, std::chrono::seconds retention);
    // A quarter of the retention time, from one minute to one hour.
    static std::chrono::seconds Interval(std::chrono::seconds retention);

    // Starts sweeping every Interval; a sweep that discards something or fails says so in
    // the log, and a failed one is tried again at the next interval.
    ReportPurge(DatabaseLocation location, std::chrono::seconds retention, CallLog& log);
    ~ReportPurge();  // stops, waiting for a sweep under way
    ReportPurge(const ReportPurge&) = delete;
    ReportPurge& operator=(const ReportPurge&) = delete;

  private:
    void SweepNow();

    DatabaseLocation location_;
    std::chrono::seconds retention_;
    CallLog& log_;
    PeriodicTask task_;  // last: it stops before the members it uses go
};

// What the log says of a sweep that discarded something.
QString DiscardedNote(int numbers);

}  // namespace fai::appserver
