#pragma once

#include <QByteArrayView>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <memory>
#include <vector>

namespace fai::appserver {

// One cell of a row as the database's client library holds it, before any conversion: what
// a packet is read from, without a QVariant per cell. Text (dates included: ISO text on both
// databases) is UTF-8 that stays valid until the statement moves to its next row.
struct SqlCell {
    enum class Kind { Null, Number, Text, Other };
    Kind kind = Kind::Null;
    double number = 0;    // Number
    QByteArrayView text;  // Text
};

// A statement prepared once on its connection and run again and again with new parameters,
// which travel apart from its text. One run at a time: its rows are read forward, once.
class PreparedStatement {
  public:
    virtual ~PreparedStatement() = default;

    // Binds the parameters in order and runs the statement. Throws EDatabaseError with the
    // database's reason, EDatabaseUnavailable when the failure took the connection with it.
    virtual void Run(const QVariantList& params) = 0;
    // Moves to the next row of the run; false after the last. Throws as Run.
    virtual bool Next() = 0;
    // Lets go of the rows not read, so that the statement holds nothing until its next run.
    virtual void Finish() noexcept = 0;

    virtual int Columns() const = 0;
    // Rows that the run inserted, updated or deleted.
    virtual int Changed() const = 0;
    virtual SqlCell Cell(int column) const = 0;
    // The cell as QtSql would give it: null, a whole number, a double, a text or a date.
    virtual QVariant Value(int column) const = 0;
};

// A connection that QtSql opened, driven through the database's own client library, which
// prepares a statement once for the whole connection and reads rows without converting them.
class DatabaseConnection {
  public:
    virtual ~DatabaseConnection() = default;

    // Throws as PreparedStatement::Run: a statement that does not compile is refused here.
    virtual std::unique_ptr<PreparedStatement> Prepare(const QString& sql) = 0;
    // Frees what the database keeps for a statement no longer wanted while the connection
    // stays open; a connection that closes frees all of them by itself.
    virtual void Forget(PreparedStatement& statement) noexcept = 0;
    // Runs statements without parameters as they stand: transaction control, settings,
    // schema changes.
    virtual void Execute(const QString& sql) = 0;
    // False when the database is known to have dropped the connection, found out without
    // sending anything.
    virtual bool IsOpen() = 0;

    // Runs the statements in order, each with its parameters, and keeps the rows of each for
    // reading afterwards; throws as PreparedStatement::Run on the first that fails, and then
    // keeps nothing. One after the other here; a database with round trips sends them in one.
    // A run without a statement is a text run as it stands, unprepared, as Execute runs it
    // (transaction control): it keeps no rows.
    struct Run {
        PreparedStatement* statement;
        const QVariantList* params;
        QString asItStands = {};
    };
    virtual void RunTogether(const std::vector<Run>& runs);
};

// What a failed statement raises: EDatabaseError with the database's reason, or, when the
// connection went with it, EDatabaseUnavailable.
[[noreturn]] void StatementFailed(const QString& reason, bool connectionLost);

// A parameter that QtSql binds as NULL: no value, or a null text, date or byte array.
bool IsSqlNull(const QVariant& value);

}  // namespace fai::appserver
