#pragma once

#include "HostReads.h"

namespace fai::appserver {

// The hosts' reads of the SQLite file at `path` (see HostReadConnection).
std::unique_ptr<HostReadConnection> SqliteHostReads(const QString& path,
                                                    const HostReadSettings& settings);

}  // namespace fai::appserver
