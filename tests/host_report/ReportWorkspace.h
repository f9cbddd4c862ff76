#pragma once

#include "ReportCatalog.h"
#include "SharedDatabase.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QTemporaryDir>

namespace fai::testing {

// Where the report windows' tests work: an SQLite file in `dir` as the shared database, with
// NUMEROS holding N from 1 to 12 in the groups GRUPO 'G0' to 'G2', and the installed and the
// user's report folders under `dir` (the installed one made). False when a step fails.
inline bool OpenReportWorkspace(const QTemporaryDir& dir, QString& installed, QString& user) {
    if (!dir.isValid()) return false;
    SharedDatabaseSettings settings;
    settings.databaseName = dir.filePath(QStringLiteral("geral.sqlite"));
    RegisterSharedDatabase(settings);
    QSqlQuery setup(QSqlDatabase::database(SharedConnectionName()));
    if (!setup.exec(QStringLiteral("CREATE TABLE NUMEROS (N INTEGER, GRUPO VARCHAR(10))")))
        return false;
    for (int n = 1; n <= 12; ++n)
        if (!setup.exec(QStringLiteral("INSERT INTO NUMEROS VALUES (%1, 'G%2')").arg(n).arg(n % 3)))
            return false;
    installed = dir.filePath(QStringLiteral("instalados"));
    user = dir.filePath(QStringLiteral("usuario"));
    SetInstalledReportFolder(installed);
    SetUserReportFolder(user);
    return QDir().mkpath(installed);
}

inline void CloseReportWorkspace() {
    SetInstalledReportFolder({});
    SetUserReportFolder({});
    UnregisterSharedDatabase();
}

}  // namespace fai::testing
