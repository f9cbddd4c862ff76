#include "TransportRepository.h"

#include "SqlSession.h"

namespace fai::appserver {

std::vector<TransportRepository::Transported> TransportRepository::OfDay(const QString& branch,
                                                                         const QString& client,
                                                                         const QDate& day) {
    return Select(QStringLiteral("DTEFETTRANSP = ?"), {branch, client, SqlDate(day)});
}

std::vector<TransportRepository::Transported> TransportRepository::OfService(
    const QString& branch, const QString& client, const QString& service) {
    return Select(QStringLiteral("CDSERVFILI = ?"), {branch, client, service});
}

std::vector<TransportRepository::Transported> TransportRepository::Select(
    const QString& condition, const QVariantList& params) {
    SqlRows rows =
        session_.Run(QStringLiteral("SELECT CDSERVFILI, DTEFETTRANSP, QTEFETTRANSP FROM EFETTRANSP "
                                    "WHERE CDFILIAL = ? AND CDCLIENTE = ? AND %1 "
                                    "ORDER BY CDSERVFILI, DTEFETTRANSP")
                         .arg(condition),
                     params);
    std::vector<Transported> counts;
    while (rows.Next()) {
        counts.push_back(
            {rows.Value(0).toString(), DateFromSql(rows.Value(1)), rows.Value(2).toDouble()});
    }
    return counts;
}

}  // namespace fai::appserver
