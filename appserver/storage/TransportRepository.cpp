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
    QSqlQuery query =
        session_.Run(QStringLiteral("SELECT CDSERVFILI, DTEFETTRANSP, QTEFETTRANSP FROM EFETTRANSP "
                                    "WHERE CDFILIAL = ? AND CDCLIENTE = ? AND %1 "
                                    "ORDER BY CDSERVFILI, DTEFETTRANSP")
                         .arg(condition),
                     params);
    std::vector<Transported> rows;
    while (query.next()) {
        rows.push_back(
            {query.value(0).toString(), DateFromSql(query.value(1)), query.value(2).toDouble()});
    }
    return rows;
}

}  // namespace fai::appserver
