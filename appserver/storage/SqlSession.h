#pragma once

#include "DatabaseConnection.h"
#include "DatabaseLocation.h"
#include "SqlDialect.h"
#include "StatementCache.h"

#include <QDate>
#include <QDateTime>
#include <QSqlDatabase>
#include <QVariantList>

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace fai::appserver {

class SqlAhead;

// What one run of a statement answered: its rows, read forward once, and how many rows it
// changed. The statement stays prepared in its session for its next run; this run of it ends
// when the object goes away.
class SqlRows {
  public:
    SqlRows(SqlRows&& other) noexcept : cached_(std::exchange(other.cached_, nullptr)) {}
    SqlRows& operator=(SqlRows&&) = delete;
    ~SqlRows();

    // Throws EDatabaseError as SqlSession::Run does.
    bool Next() { return cached_->statement->Next(); }
    int Columns() const { return cached_->statement->Columns(); }
    int Changed() const { return cached_->statement->Changed(); }
    // The cell of the current row as the database's library holds it: for packets.
    SqlCell Cell(int column) const { return cached_->statement->Cell(column); }
    // The cell as a QVariant: null, a whole number, a double, a text, or a date (PostgreSQL;
    // SQLite keeps dates as ISO text, see DateFromSql).
    QVariant Value(int column) const { return cached_->statement->Value(column); }

  private:
    friend class SqlSession;
    explicit SqlRows(CachedStatement& cached);

    CachedStatement* cached_;
};

// One open database connection. Qt allows a connection only in the thread that opened it,
// so each worker thread owns one session and nothing else touches it. QtSql opens it; its
// statements go through the database's own client library, each prepared once for the
// connection's life.
class SqlSession {
  public:
    // Opens and prepares the connection; throws EDatabaseError when that fails.
    explicit SqlSession(const DatabaseLocation& location);
    ~SqlSession();
    SqlSession(const SqlSession&) = delete;
    SqlSession& operator=(const SqlSession&) = delete;

    // Runs one statement with its parameters bound in order (never spliced into the text),
    // prepared on its first run and kept prepared. Throws EDatabaseError with the
    // database's reason, EDatabaseUnavailable when the connection is lost.
    SqlRows Run(const QString& sql, const QVariantList& params = {});
    bool Any(const QString& sql, const QVariantList& params);
    struct Statement;
    // Runs the statements in order, on PostgreSQL in one round trip; the rows of each are read
    // afterwards from its SqlRows, in any order. Throws as Run on the first that fails. One
    // not prepared (transaction control) runs as it stands and has no rows among them.
    std::vector<SqlRows> RunTogether(const std::vector<Statement>& statements);
    // Runs an INSERT, UPDATE or DELETE and returns how many rows it changed.
    int Change(const QString& sql, const QVariantList& params);
    // Runs statements without parameters as they stand, unprepared: transaction control,
    // settings, schema changes.
    void Execute(const QString& sql);
    bool HasTable(const QString& name) const;
    // False when the database is known to have dropped the connection since its last
    // statement (it restarted, or ended the session), found out without a round trip.
    bool IsOpen() { return connection_->IsOpen(); }

    const SqlDialect& Dialect() const { return dialect_; }

    // Hears every statement this session runs, before it runs: how a measurement learns the
    // exact SQL a method sends. Empty to stop.
    struct Statement {
        QString sql;
        QVariantList params;
        bool prepared = true;  // false: run as it stands (transaction control, settings)

        friend bool operator==(const Statement&, const Statement&) = default;
    };
    using Observer = std::function<void(const Statement& statement)>;
    void Observe(Observer observer) { observer_ = std::move(observer); }

    // A write whose result nothing in the transaction reads (a record of what it changed),
    // sent with the transaction's COMMIT: on PostgreSQL in the same round trip. Its failure
    // fails the commit, and the transaction is rolled back whole; a transaction rolled back
    // drops it. Outside a transaction it runs at once.
    void WithCommit(Statement statement);

  private:
    friend class SqlAhead;
    friend class Transaction;

    void Told(const QString& sql, const QVariantList& params, bool prepared) const {
        if (observer_) observer_({sql, params, prepared});
    }
    void Close();

    const SqlDialect& dialect_;
    Observer observer_;
    QString connectionName_;
    QSqlDatabase db_;
    std::unique_ptr<DatabaseConnection> connection_;
    std::unique_ptr<StatementCache> statements_;
    SqlAhead* ahead_ = nullptr;
    // The BEGIN of a transaction that has sent nothing yet: it goes with the first statement.
    std::optional<QString> pendingBegin_;
    bool inTransaction_ = false;
    std::vector<Statement> withCommit_;
};

// Reads sent along with the next statement the session runs, in the same round trip on
// PostgreSQL: reads whose arguments are known before the checks that come first and whose rows
// are wanted only once those checks passed. Reading the rows of reads not sent yet runs them
// then; what was not read goes with this object. One at a time per session.
class SqlAhead {
  public:
    SqlAhead(SqlSession& session, std::vector<SqlSession::Statement> reads);
    ~SqlAhead();
    SqlAhead(const SqlAhead&) = delete;
    SqlAhead& operator=(const SqlAhead&) = delete;

    SqlRows& Rows(std::size_t read);

  private:
    friend class SqlSession;

    SqlSession& session_;
    std::vector<SqlSession::Statement> reads_;
    std::vector<SqlRows> rows_;  // once sent
};

// Dates are bound as ISO text: SQLite keeps them as such, ordered like the dates they are,
// and PostgreSQL reads them into its DATE columns.
QString SqlDate(const QDate& date);
// A date column read back: PostgreSQL gives a date, SQLite the ISO text it keeps. Invalid
// when it is neither.
QDate DateFromSql(const QVariant& value);
// Moments are kept in UTC to the second as "yyyy-MM-dd HH:mm:ss": SQLite keeps the text,
// ordered like the moments it stands for, and PostgreSQL reads it into its TIMESTAMP columns.
QString SqlTimestamp(const QDateTime& moment);
// A timestamp column read back, in UTC; invalid when it holds none.
QDateTime TimestampFromSql(const QVariant& value);

// A transaction that rolls back unless committed, so that a failure leaves nothing behind.
// One that begins with a single statement sends it with its first statement (on PostgreSQL in
// that round trip), so a dropped connection shows at that statement rather than here; one that
// ran nothing sends nothing. An exclusive one holds the database from here on.
class Transaction {
  public:
    // Read: sees one state of the database throughout. Write: see SqlDialect::BeginWrite.
    // Exclusive: the only one in the database, for schema changes. Query: the reads of one
    // call, see SqlDialect::BeginQuery.
    enum class Kind { Read, Write, Exclusive, Query };
    explicit Transaction(SqlSession& session, Kind kind = Kind::Read);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void Commit();

  private:
    SqlSession& session_;
    bool open_ = false;
};

}  // namespace fai::appserver
