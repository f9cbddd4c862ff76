#include "SqliteCopies.h"

#include "Errors.h"
#include "SqlSession.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace fai::appserver {
namespace {

QString LockPath(const QString& databasePath) { return databasePath + QStringLiteral(".lock"); }

void RequireSqlite(const DatabaseLocation& database, const QString& what) {
    if (database.kind != DatabaseKind::Sqlite)
        throw EError(QStringLiteral("%1 é só para o banco SQLite; para PostgreSQL use as "
                                    "ferramentas do próprio banco (pg_dump e pg_restore).")
                         .arg(what));
}

// The first column of the first row `pragma` gives on the file, or the error that came instead.
QString PragmaOn(const QString& path, const QString& pragma, bool readOnly) {
    const QString name = QStringLiteral("copia-") + QUuid::createUuid().toString();
    QString answer;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (readOnly) db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!db.open()) {
            answer = db.lastError().text();
        } else {
            QSqlQuery query(db);
            answer = query.exec(pragma) && query.next() ? query.value(0).toString()
                                                        : query.lastError().text();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return answer;
}

// What the database's write-ahead log holds goes into the file and the log is emptied, so
// that removing it loses nothing and it can never be applied to another file. "0" when done.
QString CheckpointOf(const QString& path) {
    if (!QFileInfo::exists(path + QStringLiteral("-wal"))) return QStringLiteral("0");
    return PragmaOn(path, QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"), false);
}

}  // namespace

SqliteServingLock::SqliteServingLock(const QString& databasePath, Mode mode) {
    const QByteArray path = QFile::encodeName(LockPath(databasePath));
    fd_ = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0)
        throw EError(QStringLiteral("Não foi possível criar %1: %2")
                         .arg(LockPath(databasePath), QString::fromLocal8Bit(strerror(errno))));
    if (::flock(fd_, (mode == Mode::Serving ? LOCK_SH : LOCK_EX) | LOCK_NB) == 0) return;
    ::close(fd_);
    throw EError(mode == Mode::Serving
                     ? QStringLiteral("O banco %1 está sendo restaurado; inicie o servidor "
                                      "quando a restauração terminar.")
                           .arg(databasePath)
                     : QStringLiteral("O banco %1 está em uso por um servidor: pare-o antes de "
                                      "restaurar.")
                           .arg(databasePath));
}

SqliteServingLock::~SqliteServingLock() { ::close(fd_); }

void BackUpSqlite(const DatabaseLocation& database, const QString& target) {
    RequireSqlite(database, QStringLiteral("A cópia de segurança"));
    if (QFileInfo::exists(target))
        throw EError(QStringLiteral("A cópia %1 já existe: escolha outro nome.").arg(target));
    if (!QFileInfo::exists(database.path))
        throw EError(QStringLiteral("O banco %1 não existe.").arg(database.path));
    // Owner-only from the start, as the database itself: the copy holds the same data.
    QFile(target).open(QIODevice::NewOnly, QFile::ReadOwner | QFile::WriteOwner);
    QFile::remove(target);
    SqlSession session(database);
    session.Run(QStringLiteral("VACUUM INTO ?"), {target});
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
}

void RestoreSqlite(const QString& source, const DatabaseLocation& database) {
    RequireSqlite(database, QStringLiteral("A restauração"));
    if (!QFileInfo(source).isFile())
        throw EError(QStringLiteral("A cópia %1 não existe.").arg(source));
    if (const QString verdict = PragmaOn(source, QStringLiteral("PRAGMA integrity_check"), true);
        verdict != u"ok")
        throw EError(
            QStringLiteral("%1 não é uma cópia íntegra do banco: %2").arg(source, verdict));
    SqliteServingLock alone(database.path, SqliteServingLock::Mode::Restoring);
    if (const QString busy = CheckpointOf(database.path); busy != u"0")
        throw EError(QStringLiteral("O banco %1 está em uso (%2): feche os hosts que o leem e "
                                    "tente de novo.")
                         .arg(database.path, busy));
    // Copied beside the database first, so that the database is replaced in one step and a
    // failed copy leaves it as it was.
    const QString incoming = database.path + QStringLiteral(".restaurando");
    QFile::remove(incoming);
    if (!QFile::copy(source, incoming))
        throw EError(QStringLiteral("Não foi possível copiar %1 para %2.").arg(source, incoming));
    QFile::setPermissions(incoming, QFile::ReadOwner | QFile::WriteOwner);
    for (const char* journal : {"-wal", "-shm", "-journal"})
        QFile::remove(database.path + QLatin1String(journal));
    if (::rename(QFile::encodeName(incoming).constData(),
                 QFile::encodeName(database.path).constData()) != 0) {
        QFile::remove(incoming);
        throw EError(QStringLiteral("Não foi possível pôr a cópia no lugar de %1: %2")
                         .arg(database.path, QString::fromLocal8Bit(strerror(errno))));
    }
}

}  // namespace fai::appserver
