#pragma once

#include "DatabaseConnection.h"
#include "DatabaseLocation.h"
#include "Value.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

#include <chrono>
#include <memory>
#include <vector>

namespace fai::appserver {

// The rows a host's query may see: those of the caller's branches, or of every branch (an
// administrator, or a server running open).
struct ReadScope {
    bool everyBranch = false;
    QStringList branches;

    static ReadScope Every() { return {true, {}}; }
};

// A column of a host query's answer, typed as the database declares it; a column the
// database gives no type (an expression on SQLite) takes the type of its first value.
struct HostColumn {
    QString name;
    FieldType type = FieldType::String;
    bool typed = false;  // declared by the database
};

// One run of a host's query: its rows, read forward once, in a transaction that ends, with
// nothing of it kept, when the object goes.
class HostQuery {
  public:
    virtual ~HostQuery() = default;

    virtual const std::vector<HostColumn>& Columns() const = 0;
    // Throws EQueryRefused when the query runs past its time, EDatabaseError as SqlSession::Run.
    virtual bool Next() = 0;
    // Valid until the next Next.
    virtual SqlCell Cell(int column) const = 0;
};

// What the server needs to read for the hosts.
struct HostReadSettings {
    // PostgreSQL: the login the hosts' queries run as, which may read the hosts' tables and
    // nothing else, and is bound by their row policies; its password, if any, as libpq finds
    // it. Empty: kDefaultReader.
    QString reader;
    // A query that has not given all its rows by then is stopped.
    std::chrono::milliseconds timeLimit{std::chrono::seconds(30)};

    static const QString kDefaultReader;
};

// The connection a database worker runs the hosts' queries on, apart from its own: a query a
// host sends reads only the tables a host may read, only the rows of the caller's branches,
// in a transaction that cannot write, within a time limit. What bounds it is the database
// engine's own: on PostgreSQL a login of its own under row-level security; on SQLite a
// read-only connection whose every statement passes an authorizer, with the tables shadowed
// by views of the caller's rows. The text of a query is never looked into.
class HostReadConnection {
  public:
    // Opens it; throws EDatabaseUnavailable when the database cannot be reached.
    static std::unique_ptr<HostReadConnection> Open(const DatabaseLocation& location,
                                                    const HostReadSettings& settings);

    virtual ~HostReadConnection() = default;

    // Runs one SELECT with its parameters bound in order to its "?" places. Throws EQueryRefused
    // with the reason when the database refuses it (what it reads, its form, its text), and
    // EDatabaseError, or EDatabaseUnavailable when the connection was lost, as SqlSession::Run.
    // One run at a time.
    virtual std::unique_ptr<HostQuery> Run(const QString& sql, const QVariantList& params,
                                           const ReadScope& scope) = 0;
    // False when the database is known to have dropped the connection.
    virtual bool IsOpen() = 0;
};

// Refuses a host's query (EQueryRefused) with the database's reason, kept to one short line:
// the reason may quote what the query says, which no answer or log line repeats at length.
[[noreturn]] void QueryRefused(const QString& reason);
// Refuses a host's query that ran past its time.
[[noreturn]] void QueryTooLong(std::chrono::milliseconds limit);

}  // namespace fai::appserver
