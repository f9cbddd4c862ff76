#pragma once

#include "DatabaseLocation.h"

#include <QString>

namespace fai {

// Where the host's general data connection (the shared database with FILIAL, SERVICO,
// CLIENFILIAL, CLIENTE) is: a QtSql driver ("QSQLITE", "QPSQL") and its connection data.
struct SharedDatabaseSettings {
    QString driver = QStringLiteral("QSQLITE");
    QString databaseName;
    QString host;
    int port = -1;
    QString user;
    QString password;

    // The settings for a database written as the administrator writes it ("sqlite:PATH" or a
    // PostgreSQL URL).
    static SharedDatabaseSettings From(const DatabaseLocation& location);
};

// The name of the connection the read-only queries run on.
QString SharedConnectionName();

// Sets up the shared connection, replacing one set up before, and opens it. Throws EError
// when the driver is missing or the database cannot be opened; no connection is left then.
void RegisterSharedDatabase(const SharedDatabaseSettings& settings);
// Closes and forgets the shared connection; nothing when there is none.
void UnregisterSharedDatabase();
bool SharedDatabaseRegistered();

}  // namespace fai
