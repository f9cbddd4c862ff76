#include "TestDatabase.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <atomic>
#include <stdexcept>

namespace fai::appserver::test {
namespace {

// CREATE and DROP DATABASE cannot be prepared statements, so they run on a plain
// connection of their own; the name is ours, never the user's.
void Administer(const QString& statement) {
    static std::atomic<int> connections{0};
    const QString name = QStringLiteral("fai-test-admin-%1").arg(++connections);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        const DatabaseLocation admin = DatabaseLocation::Parse(PostgresUrl());
        db.setHostName(admin.host);
        db.setPort(admin.port);
        db.setUserName(admin.user);
        db.setDatabaseName(admin.databaseName);
        if (!db.open())
            throw std::runtime_error("PostgreSQL de teste inacessível: " +
                                     db.lastError().text().toStdString());
        QSqlQuery query(db);
        if (!query.exec(statement))
            throw std::runtime_error(statement.toStdString() + ": " +
                                     query.lastError().text().toStdString());
    }
    QSqlDatabase::removeDatabase(name);
}

QString UniqueDatabaseName() {
    static std::atomic<int> counter{0};
    return QStringLiteral("fai_test_%1_%2_%3")
        .arg(QCoreApplication::applicationPid())
        .arg(++counter)
        .arg(QRandomGenerator::global()->generate(), 8, 16, QChar(u'0'));
}

}  // namespace

std::string BackendName(Backend backend) {
    return backend == Backend::Sqlite ? "SQLite" : "PostgreSQL";
}

void PrintTo(Backend backend, std::ostream* out) { *out << BackendName(backend); }

QString PostgresUrl() { return qEnvironmentVariable("FAI_TEST_PG"); }

TestDatabase::TestDatabase(Backend backend) : backend_(backend) {
    if (backend == Backend::Sqlite) {
        dir_ = std::make_unique<QTemporaryDir>();
        location_ = DatabaseLocation::Parse(QStringLiteral("sqlite:") +
                                            dir_->filePath(QStringLiteral("fai.sqlite")));
        return;
    }
    postgresName_ = UniqueDatabaseName();
    Administer(QStringLiteral("CREATE DATABASE %1").arg(postgresName_));
    location_ = DatabaseLocation::Parse(PostgresUrl());
    location_.databaseName = postgresName_;
}

TestDatabase::~TestDatabase() {
    if (backend_ != Backend::Postgres) return;
    try {
        Administer(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(postgresName_));
    } catch (const std::exception& e) {
        qWarning("banco de teste %s não removido: %s", qPrintable(postgresName_), e.what());
    }
}

}  // namespace fai::appserver::test
