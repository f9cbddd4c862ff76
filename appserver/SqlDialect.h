#pragma once

#include "DatabaseLocation.h"

#include <QSqlDatabase>
#include <QStringList>

namespace fai::appserver {

// Everything that differs between SQLite and PostgreSQL lives here; all other SQL of the
// server is written once and runs on both.
class SqlDialect {
  public:
    static const SqlDialect& For(DatabaseKind kind);

    virtual ~SqlDialect() = default;

    virtual QString DriverName() const = 0;
    // Connection parameters, before the connection is opened.
    virtual void Configure(QSqlDatabase& db, const DatabaseLocation& location) const = 0;
    // Run on every connection right after it opens.
    virtual QStringList SessionSetup() const = 0;
    // Starts a transaction that no other server process can run beside, for schema changes.
    virtual QStringList BeginExclusive() const = 0;
    // Column type of an integer key that the database numbers itself.
    virtual QString GeneratedKey() const = 0;
};

}  // namespace fai::appserver
