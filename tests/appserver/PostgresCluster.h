#pragma once

#include "DatabaseLocation.h"

#include <QString>

namespace fai::appserver::test {

// A PostgreSQL cluster of its own (scripts/lib/pg-cluster), for a test that stops and
// starts the database, which the cluster the other tests share must never see. Removed
// with the object.
class PostgresCluster {
  public:
    // Throws std::runtime_error with the script's output when the cluster cannot be made.
    PostgresCluster();
    ~PostgresCluster();
    PostgresCluster(const PostgresCluster&) = delete;
    PostgresCluster& operator=(const PostgresCluster&) = delete;

    // Its "postgres" database, as the server is told it.
    const DatabaseLocation& Location() const { return location_; }
    void Stop();
    void Start();

  private:
    QString dataDirectory_;
    DatabaseLocation location_;
};

}  // namespace fai::appserver::test
