#include "SqliteHostReads.h"

#include "AppErrors.h"
#include "HostReadable.h"
#include "SqliteClient.h"

#include <QRandomGenerator>
#include <QSet>
#include <QUrl>

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <set>

namespace fai::appserver {
namespace {

using Clock = std::chrono::steady_clock;

// The longest text or blob a host query may make: a report prints names, not books, and a
// query that builds a huge value would hold the server's memory.
constexpr int kMaxValueBytes = 1 << 20;
// How often, in the database's steps, a running query looks at its time.
constexpr int kStepsBetweenLooks = 10'000;

// What a query may call: the functions of plain reading, formatting and counting. Anything
// else (a function an extension adds, the ones that reveal the database's inner state) is
// refused.
const std::set<std::string, std::less<>>& AllowedFunctions() {
    static const std::set<std::string, std::less<>> names{
        "abs",          "avg",       "ceil",       "ceiling",      "char",       "coalesce",
        "count",        "cume_dist", "date",       "datetime",     "dense_rank", "first_value",
        "floor",        "format",    "glob",       "group_concat", "hex",        "ifnull",
        "iif",          "instr",     "julianday",  "lag",          "last_value", "lead",
        "length",       "like",      "likelihood", "likely",       "lower",      "ltrim",
        "max",          "min",       "mod",        "nth_value",    "ntile",      "nullif",
        "percent_rank", "printf",    "quote",      "rank",         "replace",    "round",
        "row_number",   "rtrim",     "sign",       "strftime",     "substr",     "substring",
        "sum",          "time",      "total",      "trim",         "trunc",      "typeof",
        "unicode",      "unlikely",  "upper",
    };
    return names;
}

FieldType DeclaredType(const char* declared, bool* typed) {
    *typed = declared != nullptr;
    if (!declared) return FieldType::String;
    const QByteArray type = QByteArray(declared).toUpper();
    if (type.contains("DATE") || type.contains("TIME")) return FieldType::DateTime;
    for (const char* number : {"INT", "REAL", "DOUB", "FLOA", "NUM", "DEC"})
        if (type.contains(number)) return FieldType::Float;
    return FieldType::String;
}

class SqliteHostQuery;

class SqliteReadConnection final : public HostReadConnection {
  public:
    SqliteReadConnection(const QString& path, const HostReadSettings& settings)
        : timeLimit_(settings.timeLimit), data_(SecretSchemaName()) {
        // The connection's own database is an empty one in memory: the data is reached only
        // under a name that no query can know, so that a table can be named only through the
        // views below.
        if (sqlite3_open_v2(":memory:", &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI, nullptr) !=
            SQLITE_OK) {
            const QString reason = QString::fromUtf8(sqlite3_errmsg(db_));
            sqlite3_close(db_);
            throw EDatabaseUnavailable(
                QStringLiteral("Não foi possível abrir o banco de dados para as consultas dos "
                               "hosts: %1")
                    .arg(reason));
        }
        sqlite3_limit(db_, SQLITE_LIMIT_LENGTH, kMaxValueBytes);
        sqlite3_limit(db_, SQLITE_LIMIT_ATTACHED, 1);
        sqlite3_busy_timeout(db_, int(timeLimit_.count()));
        sqlite3_set_authorizer(db_, &SqliteReadConnection::Authorize, this);
        try {
            QUrl file = QUrl::fromLocalFile(path);
            file.setScheme(QStringLiteral("file"));
            file.setQuery(QStringLiteral("mode=ro"));
            Setup(QStringLiteral("ATTACH DATABASE ? AS %1").arg(data_), {file.toString()});
            Setup(QStringLiteral("CREATE TEMP TABLE %1 (CDFILIAL TEXT NOT NULL)")
                      .arg(kReadScopeTable));
            for (const HostReadableTable& table : HostReadableTables()) {
                Setup(
                    QStringLiteral("CREATE TEMP VIEW %1 AS SELECT * FROM %2.%1 AS %1 WHERE %3")
                        .arg(table.name, data_,
                             CallerRowCondition(table, QStringLiteral("temp.") + kReadScopeTable)));
                views_.insert(table.name.toUpper());
            }
            tables_ = TablesOf(data_) + TablesOf(QStringLiteral("temp"));
        } catch (...) {
            sqlite3_close(db_);
            throw;
        }
    }

    ~SqliteReadConnection() override { sqlite3_close(db_); }

    std::unique_ptr<HostQuery> Run(const QString& sql, const QVariantList& params,
                                   const ReadScope& scope) override;

    bool IsOpen() override { return true; }

  private:
    friend class SqliteHostQuery;

    static QString SecretSchemaName() {
        std::array<quint32, 4> words{};
        QRandomGenerator::system()->fillRange(words.data(), words.size());
        QString name = QStringLiteral("dados_");
        for (quint32 word : words) name += QStringLiteral("%1").arg(word, 8, 16, QChar(u'0'));
        return name;
    }

    // The server's own statements: it makes the views and keeps the caller's branches.
    void Setup(const QString& sql, const QVariantList& params = {}) {
        setup_ = true;
        sqlite3_stmt* statement = nullptr;
        const QByteArray text = sql.toUtf8();
        int status =
            sqlite3_prepare_v2(db_, text.constData(), int(text.size()), &statement, nullptr);
        for (int i = 0; status == SQLITE_OK && i < params.size(); ++i)
            status = SqliteBind(statement, i + 1, params[i]);
        if (status == SQLITE_OK) status = sqlite3_step(statement);
        sqlite3_finalize(statement);
        setup_ = false;
        if (status != SQLITE_DONE && status != SQLITE_OK)
            throw EDatabaseError(QStringLiteral("Falha no banco de dados: %1")
                                     .arg(QString::fromUtf8(sqlite3_errmsg(db_))));
    }

    static int Authorize(void* self, int action, const char* first, const char* second,
                         const char* database, const char* view) {
        return static_cast<SqliteReadConnection*>(self)->Allowed(action, first, second, database,
                                                                 view)
                   ? SQLITE_OK
                   : SQLITE_DENY;
    }

    bool Allowed(int action, const char* first, const char* second, const char* database,
                 const char* view) {
        if (setup_) return true;
        switch (action) {
            case SQLITE_SELECT:
            case SQLITE_RECURSIVE:
                return true;
            case SQLITE_FUNCTION:
                if (second && AllowedFunctions().contains(QByteArray(second).toLower().data()))
                    return true;
                refused_ = QStringLiteral("a função %1").arg(QString::fromUtf8(second));
                return false;
            case SQLITE_READ:
                if (Readable(first, database, view)) return true;
                refused_ = QStringLiteral("%1").arg(QString::fromUtf8(first));
                return false;
            default:
                refused_ = QStringLiteral("o que não é leitura");
                return false;
        }
    }

    // The names of the tables and views of a schema, in upper case as SQLite compares them.
    QSet<QString> TablesOf(const QString& schema) {
        QSet<QString> names;
        setup_ = true;
        sqlite3_stmt* statement = nullptr;
        const QByteArray text = QStringLiteral(
                                    "SELECT upper(name) FROM %1.sqlite_schema WHERE "
                                    "type IN ('table', 'view')")
                                    .arg(schema)
                                    .toUtf8();
        if (sqlite3_prepare_v2(db_, text.constData(), int(text.size()), &statement, nullptr) ==
            SQLITE_OK)
            while (sqlite3_step(statement) == SQLITE_ROW)
                names.insert(QString::fromUtf8(
                    reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))));
        sqlite3_finalize(statement);
        setup_ = false;
        return names;
    }

    // A host's view of a table may be read; the data behind it only through such a view,
    // the caller's branches only by the views that are bounded by them. A query cannot name
    // the data's schema, whose name is a secret of the connection, nor read where it is
    // written down.
    bool Readable(const char* table, const char* database, const char* view) const {
        if (!table) return false;
        const QString name = QString::fromUtf8(table).toUpper();
        const bool throughView = view && views_.contains(QString::fromUtf8(view).toUpper());
        // SQLite names no database where a count reads no column: of a view of the host's,
        // of a common table expression, or of a table, which is refused.
        if (!database) return views_.contains(name) || !tables_.contains(name);
        const std::string_view schema(database);
        if (schema == "temp")
            return views_.contains(name) || (name == kReadScopeTable && throughView);
        return schema == data_.toStdString() && throughView && views_.contains(name);
    }

    const std::chrono::milliseconds timeLimit_;
    const QString data_;
    sqlite3* db_ = nullptr;
    QSet<QString> views_;   // the host's views of its tables, in upper case
    QSet<QString> tables_;  // every table and view a query could name, in upper case
    bool setup_ = false;
    QString refused_;  // what the authorizer last refused
};

class SqliteHostQuery final : public HostQuery {
  public:
    SqliteHostQuery(SqliteReadConnection& reads, sqlite3_stmt* statement, Clock::time_point due)
        : reads_(reads), statement_(statement), due_(due) {
        sqlite3_progress_handler(reads_.db_, kStepsBetweenLooks, &SqliteHostQuery::Late, this);
        const int count = sqlite3_column_count(statement_);
        columns_.reserve(std::size_t(count));
        for (int column = 0; column < count; ++column) {
            HostColumn described;
            described.name = QString::fromUtf8(sqlite3_column_name(statement_, column));
            described.type =
                DeclaredType(sqlite3_column_decltype(statement_, column), &described.typed);
            columns_.push_back(described);
        }
    }

    ~SqliteHostQuery() override {
        sqlite3_finalize(statement_);
        sqlite3_progress_handler(reads_.db_, 0, nullptr, nullptr);
    }

    const std::vector<HostColumn>& Columns() const override { return columns_; }

    bool Next() override {
        switch (sqlite3_step(statement_)) {
            case SQLITE_ROW:
                return true;
            case SQLITE_DONE:
                return false;
            case SQLITE_INTERRUPT:
                QueryTooLong(reads_.timeLimit_);
            case SQLITE_TOOBIG:
                throw EQueryRefused(QStringLiteral("monta um valor grande demais."));
            default:
                QueryRefused(QString::fromUtf8(sqlite3_errmsg(reads_.db_)));
        }
    }

    SqlCell Cell(int column) const override { return SqliteCell(statement_, column); }

  private:
    static int Late(void* self) {
        return Clock::now() >= static_cast<SqliteHostQuery*>(self)->due_;
    }

    SqliteReadConnection& reads_;
    sqlite3_stmt* statement_;
    const Clock::time_point due_;
    std::vector<HostColumn> columns_;
};

std::unique_ptr<HostQuery> SqliteReadConnection::Run(const QString& sql, const QVariantList& params,
                                                     const ReadScope& scope) {
    Setup(QStringLiteral("DELETE FROM temp.%1").arg(kReadScopeTable));
    const QStringList branches = scope.everyBranch ? QStringList{kEveryBranch} : scope.branches;
    for (const QString& branch : branches)
        Setup(QStringLiteral("INSERT INTO temp.%1 (CDFILIAL) VALUES (?)").arg(kReadScopeTable),
              {branch});

    refused_.clear();
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt* statement = nullptr;
    const char* rest = nullptr;
    const int status =
        sqlite3_prepare_v2(db_, text.constData(), int(text.size()), &statement, &rest);
    if (status != SQLITE_OK) {
        const QString reason = status == SQLITE_AUTH && !refused_.isEmpty()
                                   ? QStringLiteral("não é permitido ler %1.").arg(refused_)
                                   : QString::fromUtf8(sqlite3_errmsg(db_));
        QueryRefused(reason);
    }
    auto query = std::make_unique<SqliteHostQuery>(*this, statement, Clock::now() + timeLimit_);
    if (!statement ||
        !QByteArrayView(rest, text.constData() + text.size() - rest).trimmed().isEmpty() ||
        !sqlite3_stmt_readonly(statement) || sqlite3_stmt_isexplain(statement))
        throw EQueryRefused(QStringLiteral("deve ser um único SELECT."));
    if (sqlite3_bind_parameter_count(statement) != params.size())
        throw EQueryRefused(QStringLiteral("tem %1 parâmetros e recebeu %2.")
                                .arg(sqlite3_bind_parameter_count(statement))
                                .arg(params.size()));
    for (int i = 0; i < params.size(); ++i)
        if (SqliteBind(statement, i + 1, params[i]) != SQLITE_OK)
            QueryRefused(QStringLiteral("o parâmetro %1: %2")
                             .arg(i + 1)
                             .arg(QString::fromUtf8(sqlite3_errmsg(db_))));
    return query;
}

}  // namespace

std::unique_ptr<HostReadConnection> SqliteHostReads(const QString& path,
                                                    const HostReadSettings& settings) {
    return std::make_unique<SqliteReadConnection>(path, settings);
}

}  // namespace fai::appserver
