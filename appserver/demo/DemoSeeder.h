#pragma once

#include <QDate>

namespace fai::appserver {

class SqlSession;

// Fills an empty database with a believable operation to try the system on: three
// branches with their services, shifts and billing parameters (the closed-day rule on at
// one branch, off at the others), about twenty companies and persons with valid CNPJ and
// CPF, and ninety days of headcounts up to `today` with their assessed periods, planning,
// shift breakdowns, apportionments and transported headcounts. The same `today` always
// gives the same data.
class DemoSeeder {
  public:
    DemoSeeder(SqlSession& session, const QDate& today) : session_(session), today_(today) {}

    // Seeds in one transaction when the database has no branch yet; returns whether it did.
    bool SeedIfEmpty();

  private:
    SqlSession& session_;
    QDate today_;
};

}  // namespace fai::appserver
