#pragma once

#include "BackendTest.h"
#include "GeneralDataServer.h"
#include "ReportBuilders.h"
#include "ReportRepository.h"
#include "SqlSession.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <memory>

namespace fai::testing {

using appserver::test::TestSeed;

// A fresh database of the test's backend behind the application server, which the host's
// report queries read through while the test runs.
class ServedDataTest : public appserver::test::BackendTest {
  protected:
    void SetUp() override {
        BackendTest::SetUp();
        if (IsSkipped()) return;
        server_ = std::make_unique<appserver::test::GeneralDataServer>(Location());
    }
    void TearDown() override { server_.reset(); }

    TestSeed& Seed() { return server_->Seed(); }

    // A row of the listing's working data (RELCOMENSAL), the host table that holds in one row
    // the texts, the day and the count a report test reads: the client's code and name and the
    // service's name, all free text. The rows go under one report number of branch 0001.
    void Listed(const QString& client, const QString& clientName, const QString& serviceName,
                const QDate& day, double billed) {
        if (number_ == 0) {
            Seed().Branch(QStringLiteral("0001"), QStringLiteral("Matriz"));
            number_ = appserver::ReportRepository(Seed().Session())
                          .NewNumber(QStringLiteral("0001"), QDateTime::currentDateTimeUtc());
        }
        Seed().Session().Run(
            QStringLiteral("INSERT INTO RELCOMENSAL (NRAPURACGD, CDFILIAL, CDCLIENTE, "
                           "NMRAZSOCCLIE, CDSERVFILI, NMSERVICO, DTFATURAM, QTCOMEFATU, "
                           "QTCOMEPREV, VRSERVFATUDT) VALUES (?, '0001', ?, ?, '00001', ?, ?, ?, "
                           "0, 0)"),
            {number_, client, clientName, serviceName, appserver::SqlDate(day), billed});
    }

  private:
    std::unique_ptr<appserver::test::GeneralDataServer> server_;
    qint64 number_ = 0;
};

}  // namespace fai::testing
