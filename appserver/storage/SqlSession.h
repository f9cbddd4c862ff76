#pragma once

#include "DatabaseLocation.h"
#include "SqlDialect.h"

#include <QDate>
#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariantList>

#include <functional>

namespace fai::appserver {

// One open database connection. Qt allows a connection only in the thread that opened it,
// so each worker thread owns one session and nothing else touches it.
class SqlSession {
  public:
    // Opens and prepares the connection; throws EDatabaseError when that fails.
    explicit SqlSession(const DatabaseLocation& location);
    ~SqlSession();
    SqlSession(const SqlSession&) = delete;
    SqlSession& operator=(const SqlSession&) = delete;

    // Runs one statement with its parameters bound in order (never spliced into the text).
    // Throws EDatabaseError with the database's reason, EDatabaseUnavailable when the
    // connection is lost.
    QSqlQuery Run(const QString& sql, const QVariantList& params = {});
    bool Any(const QString& sql, const QVariantList& params);
    // Runs an INSERT, UPDATE or DELETE and returns how many rows it changed.
    int Change(const QString& sql, const QVariantList& params);
    // Runs a statement without parameters as it stands: PostgreSQL cannot prepare schema
    // changes or transaction control.
    void Execute(const QString& sql);
    bool HasTable(const QString& name) const;

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

  private:
    friend class SqlStatement;

    // Throws EDatabaseUnavailable when the failure took the connection with it (the driver
    // then closes it), EDatabaseError otherwise.
    [[noreturn]] void Fail(const QSqlError& error) const;

    void Told(const QString& sql, const QVariantList& params, bool prepared) const {
        if (observer_) observer_({sql, params, prepared});
    }

    const SqlDialect& dialect_;
    Observer observer_;
    QString connectionName_;
    QSqlDatabase db_;
};

// One statement prepared once and run many times with different parameters, for loads of
// many rows.
class SqlStatement {
  public:
    SqlStatement(SqlSession& session, const QString& sql);
    void Run(const QVariantList& params);

  private:
    SqlSession& session_;
    QString sql_;
    QSqlQuery query_;
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
class Transaction {
  public:
    // Read: sees one state of the database throughout. Write: see SqlDialect::BeginWrite.
    // Exclusive: the only one in the database, for schema changes.
    enum class Kind { Read, Write, Exclusive };
    explicit Transaction(SqlSession& session, Kind kind = Kind::Read);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void Commit();

  private:
    SqlSession& session_;
    bool open_ = true;
};

}  // namespace fai::appserver
