// The suite needs a Qt application (database drivers are plugins) and says up front which
// databases it runs on.
#include "TestDatabase.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const QString postgres = fai::appserver::test::PostgresUrl();
    std::printf("Bancos de dados desta execução: SQLite%s\n",
                postgres.isEmpty()
                    ? "; PostgreSQL não (FAI_TEST_PG não definido, variantes puladas)"
                    : qPrintable(QStringLiteral(" e PostgreSQL (%1)").arg(postgres)));
    return RUN_ALL_TESTS();
}
