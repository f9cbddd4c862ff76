#pragma once

#include "BackendTest.h"
#include "ReportBuilders.h"
#include "SharedDatabase.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

namespace fai::testing {

// A fresh database of the test's backend as the host's shared database while the test runs.
class SharedDatabaseTest : public appserver::test::BackendTest {
  protected:
    void SetUp() override {
        BackendTest::SetUp();
        if (IsSkipped()) return;
        RegisterSharedDatabase(SharedDatabaseSettings::From(Location()));
    }
    void TearDown() override { UnregisterSharedDatabase(); }

    static void Exec(const QString& sql) {
        QSqlQuery query(QSqlDatabase::database(SharedConnectionName()));
        ASSERT_TRUE(query.exec(sql)) << query.lastError().text().toStdString() << "\n"
                                     << sql.toStdString();
    }
};

}  // namespace fai::testing
