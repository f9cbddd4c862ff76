#pragma once

#include "BenchPlan.h"

#include <QString>

#include <functional>

namespace fai::appserver {
class SqlSession;
}

namespace fai::appserver::bench {

// Writes the plan's operation into an empty database with multi-row INSERTs, many rows to a
// statement and many statements to a transaction, so that millions of rows take minutes.
class BulkSeeder {
  public:
    // Told the headcount rows written so far, after each transaction.
    using Progress = std::function<void(qint64 headcounts)>;

    BulkSeeder(SqlSession& session, const BenchPlan& plan, Progress progress)
        : session_(session), plan_(plan), progress_(std::move(progress)) {}

    // How many headcount rows it wrote.
    qint64 Seed();

  private:
    void Branches();
    void Clients();
    qint64 Headcounts();

    SqlSession& session_;
    const BenchPlan& plan_;
    Progress progress_;
};

}  // namespace fai::appserver::bench
