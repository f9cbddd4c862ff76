#include "SqliteClient.h"

#include <QDate>
#include <QSqlDriver>

#include <sqlite3.h>

#include <stdexcept>

namespace fai::appserver {
namespace {

[[noreturn]] void Failed(sqlite3* db) {
    StatementFailed(QString::fromUtf8(sqlite3_errmsg(db)), false);
}

class SqliteStatement final : public PreparedStatement {
  public:
    SqliteStatement(sqlite3* db, sqlite3_stmt* statement) : db_(db), statement_(statement) {}
    ~SqliteStatement() override { sqlite3_finalize(statement_); }
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    void Run(const QVariantList& params) override {
        sqlite3_reset(statement_);
        if (sqlite3_bind_parameter_count(statement_) != params.size())
            StatementFailed(QStringLiteral("a instrução tem %1 parâmetros e recebeu %2.")
                                .arg(sqlite3_bind_parameter_count(statement_))
                                .arg(params.size()),
                            false);
        for (int i = 0; i < params.size(); ++i)
            if (SqliteBind(statement_, i + 1, params[i]) != SQLITE_OK) Failed(db_);
        // Stepped at once, as QtSql does: a statement that fails says so here, and one that
        // writes has written.
        pending_ = Step();
    }

    bool Next() override {
        if (pending_) {
            pending_ = false;
            return true;
        }
        return !done_ && Step();
    }

    void Finish() noexcept override {
        sqlite3_reset(statement_);
        pending_ = false;
        done_ = true;
    }

    int Columns() const override { return sqlite3_column_count(statement_); }

    int Changed() const override { return sqlite3_changes(db_); }

    SqlCell Cell(int column) const override { return SqliteCell(statement_, column); }

    QVariant Value(int column) const override {
        switch (sqlite3_column_type(statement_, column)) {
            case SQLITE_NULL:
                // As QtSql gives it.
                return QVariant(QMetaType::fromType<QString>());
            case SQLITE_INTEGER:
                return QVariant(qlonglong(sqlite3_column_int64(statement_, column)));
            case SQLITE_FLOAT:
                return QVariant(sqlite3_column_double(statement_, column));
            case SQLITE_BLOB:
                return QVariant(
                    QByteArray(static_cast<const char*>(sqlite3_column_blob(statement_, column)),
                               sqlite3_column_bytes(statement_, column)));
            default:
                return QVariant(QString::fromUtf8(Cell(column).text));
        }
    }

  private:
    // Whether it stopped on a row.
    bool Step() {
        done_ = false;
        switch (sqlite3_step(statement_)) {
            case SQLITE_ROW:
                return true;
            case SQLITE_DONE:
                done_ = true;
                return false;
            default: {
                const QString reason = QString::fromUtf8(sqlite3_errmsg(db_));
                Finish();
                StatementFailed(reason, false);
            }
        }
    }

    sqlite3* db_;
    sqlite3_stmt* statement_;
    bool pending_ = false;
    bool done_ = true;
};

class SqliteConnection final : public DatabaseConnection {
  public:
    explicit SqliteConnection(sqlite3* db) : db_(db) {}

    std::unique_ptr<PreparedStatement> Prepare(const QString& sql) override {
        const QByteArray text = sql.toUtf8();
        sqlite3_stmt* statement = nullptr;
        const char* rest = nullptr;
        if (sqlite3_prepare_v3(db_, text.constData(), int(text.size()), SQLITE_PREPARE_PERSISTENT,
                               &statement, &rest) != SQLITE_OK)
            Failed(db_);
        auto prepared = std::make_unique<SqliteStatement>(db_, statement);
        if (!statement ||
            !QByteArrayView(rest, text.constData() + text.size() - rest).trimmed().isEmpty())
            throw std::logic_error("SqliteConnection::Prepare: not exactly one statement");
        return prepared;
    }

    void Forget(PreparedStatement&) noexcept override {}

    // A file has no connection to lose.
    bool IsOpen() override { return true; }

    void Execute(const QString& sql) override {
        char* error = nullptr;
        if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &error) == SQLITE_OK)
            return;
        const QString reason = QString::fromUtf8(error);
        sqlite3_free(error);
        StatementFailed(reason, false);
    }

  private:
    sqlite3* db_;
};

}  // namespace

SqlCell SqliteCell(sqlite3_stmt* statement, int column) {
    switch (sqlite3_column_type(statement, column)) {
        case SQLITE_NULL:
            return {};
        case SQLITE_INTEGER:
        case SQLITE_FLOAT:
            return {SqlCell::Kind::Number, sqlite3_column_double(statement, column), {}};
        case SQLITE_TEXT: {
            const auto* text =
                reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
            return {SqlCell::Kind::Text, 0,
                    QByteArrayView(text, sqlite3_column_bytes(statement, column))};
        }
        default:
            return {SqlCell::Kind::Other, 0, {}};
    }
}

int SqliteBind(sqlite3_stmt* statement, int index, const QVariant& value) {
    if (IsSqlNull(value)) return sqlite3_bind_null(statement, index);
    switch (value.typeId()) {
        case QMetaType::Double:
        case QMetaType::Float:
            return sqlite3_bind_double(statement, index, value.toDouble());
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Long:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
            return sqlite3_bind_int64(statement, index, value.toLongLong());
        case QMetaType::QByteArray: {
            const QByteArray bytes = value.toByteArray();
            return sqlite3_bind_blob(statement, index, bytes.constData(), int(bytes.size()),
                                     SQLITE_TRANSIENT);
        }
        default: {
            const QByteArray text = value.toString().toUtf8();
            return sqlite3_bind_text(statement, index, text.constData(), int(text.size()),
                                     SQLITE_TRANSIENT);
        }
    }
}

std::unique_ptr<DatabaseConnection> SqliteClient(const QSqlDatabase& opened) {
    const QVariant handle = opened.driver()->handle();
    sqlite3* db = qstrcmp(handle.typeName(), "sqlite3*") == 0
                      ? *static_cast<sqlite3* const*>(handle.constData())
                      : nullptr;
    if (!db)
        StatementFailed(QStringLiteral("o driver QSQLITE não tem uma conexão SQLite aberta."),
                        false);
    return std::make_unique<SqliteConnection>(db);
}

}  // namespace fai::appserver
