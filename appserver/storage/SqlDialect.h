#pragma once

#include "DatabaseConnection.h"
#include "DatabaseLocation.h"

#include <QSqlDatabase>
#include <QStringList>

#include <memory>

namespace fai::appserver {

class SqlSession;

// Everything that differs between SQLite and PostgreSQL lives here; all other SQL of the
// server is written once and runs on both.
class SqlDialect {
  public:
    static const SqlDialect& For(DatabaseKind kind);

    virtual ~SqlDialect() = default;

    virtual QString DriverName() const = 0;
    // Connection parameters, before the connection is opened.
    virtual void Configure(QSqlDatabase& db, const DatabaseLocation& location) const = 0;
    // The database's own client library on the connection QtSql opened.
    virtual std::unique_ptr<DatabaseConnection> Connection(const QSqlDatabase& opened) const = 0;
    // Run on every connection right after it opens; throws EDatabaseError.
    virtual void SetUp(SqlSession& session) const = 0;
    // Starts a transaction that no other server process can run beside, for schema changes.
    virtual QStringList BeginExclusive() const = 0;
    // Starts a transaction that writes. It must never fail half-way for want of a lock that
    // another writer holds: it waits for that writer instead.
    virtual QStringList BeginWrite() const = 0;
    // Starts the transaction of a call that only reads, or nothing where a transaction would
    // add nothing to what its statements see.
    virtual QStringList BeginQuery() const = 0;
    // Appended to a SELECT inside a write transaction: the rows read stay as read until the
    // commit, so that what a save checked is still true when it writes.
    virtual QString LockRows() const = 0;
    // Column type of an integer key that the database numbers itself.
    virtual QString GeneratedKey() const = 0;
    // Statements that make the database itself refuse to change or remove a row of the table:
    // a history that the server only ever appends to.
    virtual QStringList AppendOnly(const QString& table) const = 0;
    // Statements that bound the hosts' reads by the caller's branches inside the database:
    // where the database keeps such rules itself (PostgreSQL's row policies); nothing where
    // the host-read connection shadows the tables by views of its own.
    virtual QStringList BoundHostReads() const = 0;
    // An integer expression of the day of the week of a date column, 0 for Sunday to 6.
    virtual QString DayOfWeek(const QString& dateColumn) const = 0;
};

}  // namespace fai::appserver
