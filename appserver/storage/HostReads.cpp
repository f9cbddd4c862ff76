#include "HostReads.h"

#include "PostgresHostReads.h"
#include "SqliteHostReads.h"

namespace fai::appserver {

const QString HostReadSettings::kDefaultReader = QStringLiteral("fai_leitor");

std::unique_ptr<HostReadConnection> HostReadConnection::Open(const DatabaseLocation& location,
                                                             const HostReadSettings& settings) {
    if (location.kind == DatabaseKind::PostgreSql) return PostgresHostReads(location, settings);
    return SqliteHostReads(location.path, settings);
}

}  // namespace fai::appserver
