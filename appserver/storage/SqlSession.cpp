#include "SqlSession.h"

#include "AppErrors.h"

#include <QSqlError>

#include <atomic>

namespace fai::appserver {
namespace {

QString NewConnectionName() {
    static std::atomic<quint64> counter{0};
    return QStringLiteral("fai-appserver-%1").arg(++counter);
}

}  // namespace

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
        dialect_.SetUp(*this);
    } catch (...) {
        db_.close();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName_);
        throw;
    }
}

SqlSession::~SqlSession() {
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(connectionName_);
}

void SqlSession::Fail(const QSqlError& error) const {
    if (!db_.isOpen())
        throw EDatabaseUnavailable(QStringLiteral("Conexão com o banco de dados perdida: %1")
                                       .arg(error.text().simplified()));
    throw EDatabaseError(QStringLiteral("Falha no banco de dados: %1").arg(error.text().trimmed()));
}

QSqlQuery SqlSession::Run(const QString& sql, const QVariantList& params) {
    Told(sql, params, true);
    QSqlQuery query(db_);
    query.setForwardOnly(true);
    if (!query.prepare(sql)) Fail(query.lastError());
    for (const QVariant& param : params) query.addBindValue(param);
    if (!query.exec()) Fail(query.lastError());
    return query;
}

void SqlSession::Execute(const QString& sql) {
    Told(sql, {}, false);
    QSqlQuery query(db_);
    if (!query.exec(sql)) Fail(query.lastError());
}

bool SqlSession::Any(const QString& sql, const QVariantList& params) {
    QSqlQuery query = Run(sql, params);
    return query.next();
}

int SqlSession::Change(const QString& sql, const QVariantList& params) {
    return Run(sql, params).numRowsAffected();
}

bool SqlSession::HasTable(const QString& name) const {
    // PostgreSQL folds unquoted names to lower case; SQLite keeps them as written.
    return db_.tables().contains(name, Qt::CaseInsensitive);
}

SqlStatement::SqlStatement(SqlSession& session, const QString& sql)
    : session_(session), sql_(sql), query_(session.db_) {
    if (!query_.prepare(sql)) session_.Fail(query_.lastError());
}

void SqlStatement::Run(const QVariantList& params) {
    session_.Told(sql_, params, true);
    for (int i = 0; i < params.size(); ++i) query_.bindValue(i, params[i]);
    if (!query_.exec()) session_.Fail(query_.lastError());
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

// PostgreSQL gives a TIMESTAMP as a local date-time with the stored figures: they are UTC.
QDateTime TimestampFromSql(const QVariant& value) {
    if (value.isNull()) return {};
    if (value.typeId() == QMetaType::QDateTime) {
        const QDateTime stored = value.toDateTime();
        return QDateTime(stored.date(), stored.time(), Qt::UTC);
    }
    QDateTime moment = QDateTime::fromString(value.toString(), kTimestampFormat);
    moment.setTimeSpec(Qt::UTC);
    return moment;
}

Transaction::Transaction(SqlSession& session, Kind kind) : session_(session) {
    const QStringList begin = kind == Kind::Exclusive ? session.Dialect().BeginExclusive()
                              : kind == Kind::Write   ? session.Dialect().BeginWrite()
                                                      : QStringList{QStringLiteral("BEGIN")};
    session.Execute(begin.first());
    try {
        for (qsizetype i = 1; i < begin.size(); ++i) session.Execute(begin[i]);
    } catch (...) {
        session.Execute(QStringLiteral("ROLLBACK"));
        throw;
    }
}

Transaction::~Transaction() {
    if (!open_) return;
    try {
        session_.Execute(QStringLiteral("ROLLBACK"));
    } catch (const EDatabaseError&) {
        // The connection is already unusable; its owner discards it after the failure that
        // brought us here.
    }
}

void Transaction::Commit() {
    session_.Execute(QStringLiteral("COMMIT"));
    open_ = false;
}

}  // namespace fai::appserver
