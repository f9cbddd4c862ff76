#pragma once

#include "BenchPlan.h"
#include "DatabaseLocation.h"

#include <QString>

#include <functional>

namespace fai {
class TrdmEfetFaturDisp;
}

namespace fai::appserver::bench {

// The hosts' reads through the server beside the same reads made straight on the database,
// as hosts made them before their reads went through the server: QtSql on a connection of
// their own, every value read. The lookup of a branch's clients, the branch context (its name
// and processing date), the listing of a branch for a month and a report query of 10,000
// rows, each as the host sends it.
class HostReadsBench {
  public:
    using Say = std::function<void(const QString&)>;

    HostReadsBench(const DatabaseLocation& location, const BenchPlan& plan, int samples)
        : location_(location), plan_(plan), samples_(samples) {}

    // Prints a line per read; returns the reads that failed.
    int Run(TrdmEfetFaturDisp& methods, const Say& say);

    // `hosts` hosts at once, each on a connection of its own to `servers`, each reading the
    // lookup of its branch's clients once. Prints how many were answered and how long the
    // slowest took; returns those that failed.
    static int ManyHosts(const QString& servers, const BenchPlan& plan, int hosts, const Say& say);

  private:
    const DatabaseLocation& location_;
    const BenchPlan& plan_;
    int samples_;
};

}  // namespace fai::appserver::bench
