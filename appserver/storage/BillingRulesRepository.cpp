#include "BillingRulesRepository.h"

#include "PacketReader.h"
#include "PacketShapes.h"
#include "SqlSession.h"

namespace fai::appserver {

PacketRead BillingRulesRepository::AssessedPeriods(const QString& branch, const QString& client) {
    return {{QStringLiteral("SELECT CDFILIAL, CDCLIENTE, NRAPURACFAT, DTINIAPURAC, DTFIMAPURAC "
                            "FROM APURACFATCLI WHERE CDFILIAL = ? AND CDCLIENTE = ? "
                            "ORDER BY DTINIAPURAC, NRAPURACFAT"),
             {branch, client}},
            &shapes::AssessedPeriods()};
}

PacketRead BillingRulesRepository::PlannedCount(const HeadcountKey& key) {
    return {{QStringLiteral("SELECT QTCOMEFETCLI FROM PLANEFETCLI WHERE CDFILIAL = ? "
                            "AND CDCLIENTE = ? AND CDSERVFILI = ? AND DTPLANEJAM = ?"),
             {key.branch, key.client, key.service, SqlDate(key.date)}},
            &shapes::PlannedCount()};
}

bool BillingRulesRepository::HasAssessment(const QString& billingBranch, const QString& client,
                                           const QString& assessment) {
    return session_.Any(QStringLiteral("SELECT 1 FROM APURACFATCLI WHERE CDFILIAL = ? AND "
                                       "CDCLIENTE = ? AND NRAPURACFAT = ?"),
                        {billingBranch, client, assessment});
}

}  // namespace fai::appserver
