#pragma once

#include "HostReads.h"

namespace fai::appserver {

class SqlSession;

// Lets the hosts' reader read what a host may read, and nothing else, on a database whose
// schema is current: on PostgreSQL the reader login of the settings must exist and be bound by
// the row policies (no superuser, nothing that bypasses them, not the server's own login);
// whatever it lacks of its grants is granted. Nothing to do on SQLite. Throws EError with a
// message for the administrator.
void AllowHostReads(SqlSession& session, const DatabaseLocation& location,
                    const HostReadSettings& settings);

}  // namespace fai::appserver
