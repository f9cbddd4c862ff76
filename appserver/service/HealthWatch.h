#pragma once

#include "DatabaseLocation.h"
#include "PeriodicTask.h"

#include <chrono>

namespace grpc {
class HealthCheckServiceInterface;
}

namespace fai::appserver {

class CallLog;

// What the standard health service says of this server: serving while its database answers.
// The database is asked every interval on a connection opened for the purpose, so that a
// probe never waits for a call's worker and finds the database as a new call would; a
// change either way is told in the log.
class HealthWatch {
  public:
    static constexpr std::chrono::seconds kInterval{5};

    // Starts as serving: the server has just made its database ready.
    HealthWatch(DatabaseLocation location, grpc::HealthCheckServiceInterface& health, CallLog& log,
                std::chrono::milliseconds interval = kInterval);
    ~HealthWatch();
    HealthWatch(const HealthWatch&) = delete;
    HealthWatch& operator=(const HealthWatch&) = delete;

  private:
    void Check();
    bool DatabaseAnswers();

    DatabaseLocation location_;
    grpc::HealthCheckServiceInterface& health_;
    CallLog& log_;
    bool serving_;
    PeriodicTask task_;  // last: it stops before the members it uses go
};

}  // namespace fai::appserver
