#pragma once

#include "HostReads.h"

namespace fai::appserver {

// The hosts' reads of the PostgreSQL database, as the reader login of the settings (see
// HostReadConnection).
std::unique_ptr<HostReadConnection> PostgresHostReads(const DatabaseLocation& location,
                                                      const HostReadSettings& settings);

}  // namespace fai::appserver
