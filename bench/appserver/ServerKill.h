#pragma once

#include "DatabaseLocation.h"
#include "Workload.h"

#include <functional>

namespace fai::appserver::bench {

// How long a clerk's read takes to go on when the server it went to is killed (SIGKILL): two
// fai-appserver programs over the database, one connection naming both, reads one after the
// other while one of the servers is killed, `kills` times over. Says the figures through
// `say`; returns the reads that failed.
int MeasureServerKills(const DatabaseLocation& location, Workload& workload, int kills,
                       const std::function<void(const QString&)>& say);

}  // namespace fai::appserver::bench
