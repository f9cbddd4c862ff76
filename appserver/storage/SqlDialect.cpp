#include "SqlDialect.h"

#include "AppErrors.h"
#include "HostReadable.h"
#include "PostgresClient.h"
#include "SqlSession.h"
#include "SqliteClient.h"

#include <QFile>
#include <QThread>

#include <chrono>

namespace fai::appserver {
namespace {

// Long enough for a write of the host or of another server on the same file to finish,
// short enough that a stuck lock surfaces as an error instead of a hung call.
constexpr int kSqliteBusyTimeoutMs = 10'000;
constexpr int kWalSwitchPauseMs = 20;
// Seconds: a PostgreSQL that is down must not hold a call for the operating system's minutes.
constexpr int kPostgresConnectTimeoutS = 10;
// Any fixed number shared by every fai-appserver; names the schema lock.
constexpr int kSchemaLockKey = 400400;

QString AppendOnlyRefusal(const QString& table) {
    return QStringLiteral(
               "%1 só recebe inclusões: um registro dele não pode ser alterado nem "
               "excluído.")
        .arg(table);
}

class SqliteDialect final : public SqlDialect {
  public:
    QString DriverName() const override { return QStringLiteral("QSQLITE"); }

    // The file holds clients' registration numbers and what they are billed: a new one is
    // made readable by its owner only before SQLite opens it, and SQLite gives its WAL and
    // shared-memory files the permissions of the database file. A file that exists keeps
    // the permissions its administrator gave it.
    void Configure(QSqlDatabase& db, const DatabaseLocation& location) const override {
        QFile file(location.path);
        if (!file.exists()) file.open(QIODevice::NewOnly, QFile::ReadOwner | QFile::WriteOwner);
        db.setDatabaseName(location.path);
    }

    std::unique_ptr<DatabaseConnection> Connection(const QSqlDatabase& opened) const override {
        return SqliteClient(opened);
    }

    // SQLite enforces foreign keys only when asked, per connection.
    void SetUp(SqlSession& session) const override {
        session.Execute(QStringLiteral("PRAGMA busy_timeout = %1").arg(kSqliteBusyTimeoutMs));
        UseWal(session);
        session.Execute(QStringLiteral("PRAGMA foreign_keys = ON"));
    }

    QStringList BeginExclusive() const override { return {QStringLiteral("BEGIN IMMEDIATE")}; }

    // A deferred transaction that reads first and writes later would have to upgrade its lock,
    // and SQLite answers "database is locked" at once when another writer got in between,
    // without waiting for the busy timeout. Taking the write lock at BEGIN waits instead, and
    // then nothing can change under the save: writers of one file go one at a time.
    QStringList BeginWrite() const override { return {QStringLiteral("BEGIN IMMEDIATE")}; }

    // The reads of a call see one state of the file: the snapshot their transaction takes.
    QStringList BeginQuery() const override { return {QStringLiteral("BEGIN")}; }

    // The whole file is locked for writing from BEGIN IMMEDIATE on.
    QString LockRows() const override { return QString(); }

    QString GeneratedKey() const override { return QStringLiteral("INTEGER PRIMARY KEY"); }

    QStringList AppendOnly(const QString& table) const override {
        QStringList statements;
        for (const QString& change : {QStringLiteral("UPDATE"), QStringLiteral("DELETE")})
            statements << QStringLiteral(
                              "CREATE TRIGGER TG_%1_%2 BEFORE %2 ON %1 "
                              "BEGIN SELECT RAISE(ABORT, '%3'); END")
                              .arg(table, change, AppendOnlyRefusal(table));
        return statements;
    }

    // Each host-read connection makes its own views of the caller's rows (SqliteHostReads).
    QStringList BoundHostReads() const override { return {}; }

    QString DayOfWeek(const QString& dateColumn) const override {
        return QStringLiteral("CAST(strftime('%w', %1) AS INTEGER)").arg(dateColumn);
    }

  private:
    // WAL lets the host's read-only lookups and the server's writes on the same file go side
    // by side, and it stays with the file. Asking for it on a file that has it already would
    // make SQLite take the write lock, and answer "database is locked" at once, without the
    // busy timeout, while another server writes: so it is asked for only when missing. Two
    // servers that find a new file without it may ask at the same moment; the one that loses
    // tries again for as long as the busy timeout.
    static void UseWal(SqlSession& session) {
        using Clock = std::chrono::steady_clock;
        const Clock::time_point giveUp =
            Clock::now() + std::chrono::milliseconds(kSqliteBusyTimeoutMs);
        for (;;) {
            try {
                if (JournalMode(session, QStringLiteral("PRAGMA journal_mode")) == u"wal") return;
                if (JournalMode(session, QStringLiteral("PRAGMA journal_mode = WAL")) == u"wal")
                    return;
            } catch (const EDatabaseError&) {
                if (Clock::now() >= giveUp) throw;
            }
            if (Clock::now() >= giveUp)
                throw EDatabaseError(
                    QStringLiteral("Falha no banco de dados: o arquivo não aceitou o modo WAL."));
            QThread::msleep(kWalSwitchPauseMs);
        }
    }

    static QString JournalMode(SqlSession& session, const QString& pragma) {
        SqlRows rows = session.Run(pragma);
        return rows.Next() ? rows.Value(0).toString().toLower() : QString();
    }
};

class PostgresDialect final : public SqlDialect {
  public:
    QString DriverName() const override { return QStringLiteral("QPSQL"); }

    void Configure(QSqlDatabase& db, const DatabaseLocation& location) const override {
        db.setHostName(location.host);
        db.setPort(location.port);
        db.setUserName(location.user);
        db.setPassword(location.password);
        db.setDatabaseName(location.databaseName);
        QString options = QStringLiteral("connect_timeout=%1").arg(kPostgresConnectTimeoutS);
        if (!location.connectOptions.isEmpty()) options += u';' + location.connectOptions;
        db.setConnectOptions(options);
    }

    std::unique_ptr<DatabaseConnection> Connection(const QSqlDatabase& opened) const override {
        return PostgresClient(opened);
    }

    // Rows are read as libpq hands them: texts in UTF-8, dates as ISO text.
    void SetUp(SqlSession& session) const override {
        session.Execute(QStringLiteral("SET client_encoding = 'UTF8'; SET datestyle = 'ISO'"));
    }

    QStringList BeginExclusive() const override {
        return {QStringLiteral("BEGIN"),
                QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(kSchemaLockKey)};
    }

    QStringList BeginWrite() const override {
        return {QStringLiteral("BEGIN ISOLATION LEVEL READ COMMITTED")};
    }

    // Each statement sees what was committed before it began, in a transaction (READ
    // COMMITTED) or not; statements sent together run in one implicit transaction anyway. A
    // BEGIN and a COMMIT would only add two round trips.
    QStringList BeginQuery() const override { return {}; }

    // Rows a save checks are locked until it commits; a row that is not there yet is
    // guarded by inserting it with ON CONFLICT DO NOTHING and counting what was inserted.
    QString LockRows() const override { return QStringLiteral(" FOR UPDATE"); }

    QString GeneratedKey() const override {
        return QStringLiteral("INTEGER GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY");
    }

    // TRUNCATE skips row triggers, so it is refused on its own.
    QStringList AppendOnly(const QString& table) const override {
        return {
            QStringLiteral("CREATE FUNCTION FN_%1_SOINCLUSAO() RETURNS trigger LANGUAGE plpgsql "
                           "AS $$ BEGIN RAISE EXCEPTION '%2'; END $$")
                .arg(table, AppendOnlyRefusal(table)),
            QStringLiteral("CREATE TRIGGER TG_%1_SOINCLUSAO BEFORE UPDATE OR DELETE ON %1 "
                           "FOR EACH ROW EXECUTE FUNCTION FN_%1_SOINCLUSAO()")
                .arg(table),
            QStringLiteral("CREATE TRIGGER TG_%1_SEMTRUNCATE BEFORE TRUNCATE ON %1 "
                           "FOR EACH STATEMENT EXECUTE FUNCTION FN_%1_SOINCLUSAO()")
                .arg(table),
        };
    }

    // The hosts' reader sees a row of a host table only when it is of a branch that the
    // reader's own transaction put in LEITURAFILIAL: rows it never commits, that no other
    // connection sees, and that a read-only transaction cannot change once the query runs.
    // The owner of the tables, the server itself, is not bound by them.
    QStringList BoundHostReads() const override {
        QStringList statements{QStringLiteral("CREATE TABLE %1 (NRPROCESSO INTEGER NOT NULL, "
                                              "CDFILIAL VARCHAR(4) NOT NULL)")
                                   .arg(kReadScopeTable)};
        const QString scope = QStringLiteral(
                                  "(SELECT CDFILIAL FROM %1 WHERE NRPROCESSO = "
                                  "pg_backend_pid())")
                                  .arg(kReadScopeTable);
        for (const HostReadableTable& table : HostReadableTables())
            statements << QStringLiteral("ALTER TABLE %1 ENABLE ROW LEVEL SECURITY").arg(table.name)
                       << QStringLiteral("CREATE POLICY PL_%1_LEITURA ON %1 FOR SELECT USING (%2)")
                              .arg(table.name, CallerRowCondition(table, scope));
        return statements;
    }

    QString DayOfWeek(const QString& dateColumn) const override {
        return QStringLiteral("CAST(EXTRACT(DOW FROM %1) AS INTEGER)").arg(dateColumn);
    }
};

}  // namespace

const SqlDialect& SqlDialect::For(DatabaseKind kind) {
    static const SqliteDialect sqlite;
    static const PostgresDialect postgres;
    if (kind == DatabaseKind::PostgreSql) return postgres;
    return sqlite;
}

}  // namespace fai::appserver
