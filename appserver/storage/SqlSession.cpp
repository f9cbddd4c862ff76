#include "SqlSession.h"

#include "AppErrors.h"

#include <QSqlError>

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <utility>

namespace fai::appserver {
namespace {

QString NewConnectionName() {
    static std::atomic<quint64> counter{0};
    return QStringLiteral("fai-appserver-%1").arg(++counter);
}

}  // namespace

SqlRows::SqlRows(CachedStatement& cached) : cached_(&cached) { cached.reading = true; }

SqlRows::~SqlRows() {
    if (!cached_) return;
    cached_->statement->Finish();
    cached_->reading = false;
}

SqlSession::SqlSession(const DatabaseLocation& location)
    : dialect_(SqlDialect::For(location.kind)), connectionName_(NewConnectionName()) {
    db_ = QSqlDatabase::addDatabase(dialect_.DriverName(), connectionName_);
    dialect_.Configure(db_, location);
    if (!db_.open()) {
        const EDatabaseUnavailable failure(
            QStringLiteral("Não foi possível abrir o banco de dados %1: %2")
                .arg(location.Describe(), db_.lastError().text().simplified()));
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName_);
        throw failure;
    }
    try {
        connection_ = dialect_.Connection(db_);
        statements_ = std::make_unique<StatementCache>(*connection_);
        dialect_.SetUp(*this);
    } catch (...) {
        Close();
        throw;
    }
}

SqlSession::~SqlSession() { Close(); }

void SqlSession::Close() {
    // SQLite will not close a connection that still has statements.
    statements_.reset();
    connection_.reset();
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(connectionName_);
}

SqlRows SqlSession::Run(const QString& sql, const QVariantList& params) {
    if (ahead_ || pendingBegin_) {
        std::vector<Statement> together{{sql, params, true}};
        if (ahead_) together.insert(together.end(), ahead_->reads_.begin(), ahead_->reads_.end());
        std::vector<SqlRows> rows = RunTogether(together);
        if (ahead_) {
            ahead_->rows_ = std::vector<SqlRows>(std::make_move_iterator(rows.begin() + 1),
                                                 std::make_move_iterator(rows.end()));
            ahead_ = nullptr;
        }
        return std::move(rows.front());
    }
    Told(sql, params, true);
    CachedStatement& cached = statements_->For(sql);
    if (cached.reading)
        throw std::logic_error("SqlSession::Run: the statement's rows are still being read");
    cached.statement->Run(params);
    return SqlRows(cached);
}

std::vector<SqlRows> SqlSession::RunTogether(const std::vector<Statement>& statements) {
    std::vector<SqlRows> rows;
    rows.reserve(statements.size());
    std::vector<DatabaseConnection::Run> runs;
    runs.reserve(statements.size() + 1);
    // A transaction's BEGIN goes with its first statement, on PostgreSQL in its round trip.
    if (pendingBegin_) runs.push_back({nullptr, nullptr, *pendingBegin_});
    for (const Statement& statement : statements) {
        if (!statement.prepared) {
            runs.push_back({nullptr, nullptr, statement.sql});
            continue;
        }
        CachedStatement& cached = statements_->For(statement.sql);
        if (cached.reading)
            throw std::logic_error("SqlSession::RunTogether: a statement's rows are being read");
        // Taken as it comes, so that making room for the next cannot drop it.
        rows.push_back(SqlRows(cached));
        runs.push_back({cached.statement.get(), &statement.params});
    }
    if (pendingBegin_) Told(*std::exchange(pendingBegin_, std::nullopt), {}, false);
    for (const Statement& statement : statements)
        Told(statement.sql, statement.params, statement.prepared);
    connection_->RunTogether(runs);
    return rows;
}

void SqlSession::WithCommit(Statement statement) {
    if (!inTransaction_) {
        Run(statement.sql, statement.params);
        return;
    }
    // A statement goes once in a round trip: an earlier one of the same text runs now, so
    // that the two still run in the order they were given.
    const auto same = std::find_if(withCommit_.begin(), withCommit_.end(),
                                   [&](const Statement& s) { return s.sql == statement.sql; });
    if (same != withCommit_.end()) {
        Run(same->sql, same->params);
        withCommit_.erase(same);
    }
    withCommit_.push_back(std::move(statement));
}

void SqlSession::Execute(const QString& sql) {
    if (pendingBegin_) {
        Told(*pendingBegin_, {}, false);
        connection_->Execute(*std::exchange(pendingBegin_, std::nullopt));
    }
    Told(sql, {}, false);
    connection_->Execute(sql);
}

bool SqlSession::Any(const QString& sql, const QVariantList& params) {
    return Run(sql, params).Next();
}

int SqlSession::Change(const QString& sql, const QVariantList& params) {
    return Run(sql, params).Changed();
}

bool SqlSession::HasTable(const QString& name) const {
    // PostgreSQL folds unquoted names to lower case; SQLite keeps them as written.
    return db_.tables().contains(name, Qt::CaseInsensitive);
}

SqlAhead::SqlAhead(SqlSession& session, std::vector<SqlSession::Statement> reads)
    : session_(session), reads_(std::move(reads)) {
    if (session_.ahead_) throw std::logic_error("SqlAhead: the session has reads ahead already");
    session_.ahead_ = this;
}

SqlAhead::~SqlAhead() {
    if (session_.ahead_ == this) session_.ahead_ = nullptr;
}

SqlRows& SqlAhead::Rows(std::size_t read) {
    if (session_.ahead_ == this) {
        session_.ahead_ = nullptr;
        rows_ = session_.RunTogether(reads_);
    }
    return rows_.at(read);
}

QString SqlDate(const QDate& date) { return date.toString(Qt::ISODate); }

QDate DateFromSql(const QVariant& value) {
    return value.typeId() == QMetaType::QDate ? value.toDate()
                                              : QDate::fromString(value.toString(), Qt::ISODate);
}

namespace {
const QString kTimestampFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
}  // namespace

QString SqlTimestamp(const QDateTime& moment) { return moment.toUTC().toString(kTimestampFormat); }

// Both databases give the stored text back: SQLite as it keeps it, PostgreSQL in its ISO style.
QDateTime TimestampFromSql(const QVariant& value) {
    if (value.isNull()) return {};
    QDateTime moment = QDateTime::fromString(value.toString(), kTimestampFormat);
    moment.setTimeSpec(Qt::UTC);
    return moment;
}

Transaction::Transaction(SqlSession& session, Kind kind) : session_(session) {
    const QStringList begin = kind == Kind::Exclusive ? session.Dialect().BeginExclusive()
                              : kind == Kind::Write   ? session.Dialect().BeginWrite()
                              : kind == Kind::Query   ? session.Dialect().BeginQuery()
                                                      : QStringList{QStringLiteral("BEGIN")};
    if (begin.isEmpty()) return;
    if (begin.size() == 1 && kind != Kind::Exclusive) {
        session.pendingBegin_ = begin.first();
    } else {
        session.Execute(begin.first());
        try {
            for (qsizetype i = 1; i < begin.size(); ++i) session.Execute(begin[i]);
        } catch (...) {
            session.Execute(QStringLiteral("ROLLBACK"));
            throw;
        }
    }
    open_ = true;
    session.withCommit_.clear();
    session.inTransaction_ = true;
}

Transaction::~Transaction() {
    if (!open_) return;
    session_.withCommit_.clear();
    session_.inTransaction_ = false;
    // Nothing was sent: there is nothing to roll back.
    if (std::exchange(session_.pendingBegin_, std::nullopt)) return;
    try {
        session_.Execute(QStringLiteral("ROLLBACK"));
    } catch (const EDatabaseError&) {
        // The connection is already unusable; its owner discards it after the failure that
        // brought us here.
    }
}

void Transaction::Commit() {
    if (!open_) return;
    std::vector<SqlSession::Statement> together = std::exchange(session_.withCommit_, {});
    if (!together.empty()) {
        together.push_back({QStringLiteral("COMMIT"), {}, false});
        session_.RunTogether(together);
    } else if (!std::exchange(session_.pendingBegin_, std::nullopt)) {
        session_.Execute(QStringLiteral("COMMIT"));
    }
    open_ = false;
    session_.inTransaction_ = false;
}

}  // namespace fai::appserver
