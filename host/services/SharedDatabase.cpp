#include "SharedDatabase.h"

#include "Errors.h"

#include <QSqlDatabase>
#include <QSqlError>

namespace fai {

SharedDatabaseSettings SharedDatabaseSettings::From(const DatabaseLocation& location) {
    SharedDatabaseSettings settings;
    if (location.kind == DatabaseKind::Sqlite) {
        settings.driver = QStringLiteral("QSQLITE");
        settings.databaseName = location.path;
        return settings;
    }
    settings.driver = QStringLiteral("QPSQL");
    settings.databaseName = location.databaseName;
    settings.host = location.host;
    settings.port = location.port;
    settings.user = location.user;
    settings.password = location.password;
    return settings;
}

QString SharedConnectionName() { return QStringLiteral("dtbGeral"); }

void RegisterSharedDatabase(const SharedDatabaseSettings& settings) {
    UnregisterSharedDatabase();
    if (!QSqlDatabase::isDriverAvailable(settings.driver))
        throw EError(QStringLiteral("O driver de banco de dados '%1' não está instalado.")
                         .arg(settings.driver));
    QString failure;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(settings.driver, SharedConnectionName());
        database.setDatabaseName(settings.databaseName);
        if (!settings.host.isEmpty()) database.setHostName(settings.host);
        if (settings.port > 0) database.setPort(settings.port);
        if (!settings.user.isEmpty()) database.setUserName(settings.user);
        if (!settings.password.isEmpty()) database.setPassword(settings.password);
        if (!database.open()) failure = database.lastError().text();
    }
    if (!failure.isEmpty()) {
        UnregisterSharedDatabase();
        throw EError(
            QStringLiteral("Não foi possível abrir o banco de dados geral: %1").arg(failure));
    }
}

void UnregisterSharedDatabase() {
    if (!SharedDatabaseRegistered()) return;
    {
        QSqlDatabase database = QSqlDatabase::database(SharedConnectionName(), false);
        database.close();
    }
    QSqlDatabase::removeDatabase(SharedConnectionName());
}

bool SharedDatabaseRegistered() { return QSqlDatabase::contains(SharedConnectionName()); }

}  // namespace fai
