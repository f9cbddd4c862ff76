#pragma once

#include "HeadcountKey.h"
#include "PacketReader.h"

namespace fai::appserver {

class SqlSession;

// What the billing rules compare a headcount with: the client's billing periods already
// assessed (APURACFATCLI) and the catering planning's diners counts (PLANEFETCLI).
class BillingRulesRepository {
  public:
    explicit BillingRulesRepository(SqlSession& session) : session_(session) {}

    static PacketRead AssessedPeriods(const QString& branch, const QString& client);
    // The planned diners for the key; no row when the planning has none.
    static PacketRead PlannedCount(const HeadcountKey& key);
    // Whether the assessment exists for the client at the billing branch.
    bool HasAssessment(const QString& billingBranch, const QString& client,
                       const QString& assessment);

  private:
    SqlSession& session_;
};

}  // namespace fai::appserver
