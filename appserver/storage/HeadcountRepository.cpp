#include "HeadcountRepository.h"

#include "PacketReader.h"
#include "PacketShapes.h"
#include "SqlSession.h"

namespace fai::appserver {
namespace {

// The headcount columns in packet order; a row's service name and invoicing description
// come from the service tables.
QString HeadcountSelect(const QString& dateColumn) {
    return QStringLiteral(
               "SELECT SC.CDFILIAL, SC.CDSERVFILI, S.NMSERVICO, %1, SC.CDCLIENTE, E.QTCOMEFATU, "
               "E.CDFILIFATU, E.NRAPURACFAT, E.QTCOMEPREV, E.VRSERVFATUDT, SC.DSEMISSERCLI ")
        .arg(dateColumn);
}

const QString kKey =
    QStringLiteral("CDFILIAL = ? AND CDCLIENTE = ? AND CDSERVFILI = ? AND DTFATURAM = ?");
const QString kConflictOnKey =
    QStringLiteral(" ON CONFLICT (CDFILIAL, CDCLIENTE, CDSERVFILI, DTFATURAM) ");

QVariantList KeyParams(const HeadcountKey& key) {
    return {key.branch, key.client, key.service, SqlDate(key.date)};
}

const QString kServiceOfClient =
    QStringLiteral("JOIN SERVICO S ON S.CDFILIAL = SC.CDFILIAL AND S.CDSERVFILI = SC.CDSERVFILI ");

}  // namespace

PacketRead HeadcountRepository::ByDate(const QString& branch, const QString& client,
                                       const QDate& date) {
    return {
        {HeadcountSelect(QStringLiteral("NULL")) + QStringLiteral("FROM SERVCLIEFILI SC ") +
             kServiceOfClient +
             QStringLiteral("LEFT JOIN EFETFATUR E ON E.CDFILIAL = SC.CDFILIAL "
                            "AND E.CDCLIENTE = SC.CDCLIENTE AND E.CDSERVFILI = SC.CDSERVFILI "
                            "AND E.DTFATURAM = ? "
                            "WHERE SC.CDFILIAL = ? AND SC.CDCLIENTE = ? ORDER BY SC.CDSERVFILI"),
         {SqlDate(date), branch, client}},
        &shapes::Headcounts(),
        // Every row of the by-date view has the date asked for, stored or not.
        {{HeadcountFields::DTFATURAM, Value(date)}}};
}

PacketRead HeadcountRepository::ByService(const QString& branch, const QString& client,
                                          const QString& service) {
    return {
        {HeadcountSelect(QStringLiteral("E.DTFATURAM")) + QStringLiteral("FROM EFETFATUR E ") +
             QStringLiteral("JOIN SERVCLIEFILI SC ON SC.CDFILIAL = E.CDFILIAL "
                            "AND SC.CDCLIENTE = E.CDCLIENTE AND SC.CDSERVFILI = E.CDSERVFILI ") +
             kServiceOfClient +
             QStringLiteral("WHERE E.CDFILIAL = ? AND E.CDCLIENTE = ? AND E.CDSERVFILI = ? "
                            "ORDER BY E.DTFATURAM"),
         {branch, client, service}},
        &shapes::Headcounts()};
}

PacketRead HeadcountRepository::StoredDate(const HeadcountKey& key) {
    return {{QStringLiteral("SELECT DTFATURAM FROM EFETFATUR WHERE ") + kKey, KeyParams(key)},
            &shapes::BillingDate()};
}

PacketRead HeadcountRepository::LatestDate(const QString& branch, const QString& client,
                                           const QString& service) {
    return {{QStringLiteral("SELECT DTFATURAM FROM EFETFATUR WHERE CDFILIAL = ? AND CDCLIENTE = ? "
                            "AND CDSERVFILI = ? ORDER BY DTFATURAM DESC LIMIT 1"),
             {branch, client, service}},
            &shapes::BillingDate()};
}

std::optional<HeadcountRow> HeadcountRepository::Locked(const HeadcountKey& key) {
    SqlRows rows = session_.Run(QStringLiteral("SELECT QTCOMEFATU, QTCOMEPREV, VRSERVFATUDT, "
                                               "CDFILIFATU, NRAPURACFAT FROM EFETFATUR WHERE ") +
                                    kKey + session_.Dialect().LockRows(),
                                KeyParams(key));
    if (!rows.Next()) return std::nullopt;
    return HeadcountRow{
        {rows.Value(0).toDouble(), rows.Value(1).toDouble(), rows.Value(2).toDouble()},
        rows.Value(3),
        rows.Value(4)};
}

bool HeadcountRepository::InsertIfAbsent(const HeadcountKey& key, const HeadcountRow& row) {
    return session_.Change(
               QStringLiteral("INSERT INTO EFETFATUR (CDFILIAL, CDCLIENTE, CDSERVFILI, DTFATURAM, "
                              "QTCOMEFATU, QTCOMEPREV, VRSERVFATUDT, CDFILIFATU, NRAPURACFAT) "
                              "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)") +
                   kConflictOnKey + QStringLiteral("DO NOTHING"),
               KeyParams(key) + QVariantList{row.counts.billed, row.counts.forecast,
                                             row.counts.value, row.billingBranch,
                                             row.assessment}) == 1;
}

void HeadcountRepository::Update(const HeadcountKey& key, const HeadcountRow& row) {
    session_.Run(QStringLiteral("UPDATE EFETFATUR SET QTCOMEFATU = ?, QTCOMEPREV = ?, "
                                "VRSERVFATUDT = ?, CDFILIFATU = ?, NRAPURACFAT = ? WHERE ") +
                     kKey,
                 QVariantList{row.counts.billed, row.counts.forecast, row.counts.value,
                              row.billingBranch, row.assessment} +
                     KeyParams(key));
}

void HeadcountRepository::Remove(const HeadcountKey& key) {
    session_.Run(QStringLiteral("DELETE FROM EFETFATUR WHERE ") + kKey, KeyParams(key));
}

void HeadcountRepository::StoreCounts(const HeadcountKey& key, double billed, double forecast) {
    session_.Run(QStringLiteral("INSERT INTO EFETFATUR (CDFILIAL, CDCLIENTE, CDSERVFILI, "
                                "DTFATURAM, QTCOMEFATU, QTCOMEPREV) VALUES (?, ?, ?, ?, ?, ?)") +
                     kConflictOnKey +
                     QStringLiteral("DO UPDATE SET QTCOMEFATU = excluded.QTCOMEFATU, "
                                    "QTCOMEPREV = excluded.QTCOMEPREV"),
                 KeyParams(key) + QVariantList{billed, forecast});
}

bool HeadcountRepository::StoreBilled(const HeadcountKey& key, double billed) {
    return session_.Change(QStringLiteral("INSERT INTO EFETFATUR (CDFILIAL, CDCLIENTE, CDSERVFILI, "
                                          "DTFATURAM, QTCOMEFATU) VALUES (?, ?, ?, ?, ?)") +
                               kConflictOnKey +
                               QStringLiteral("DO UPDATE SET QTCOMEFATU = excluded.QTCOMEFATU "
                                              "WHERE EFETFATUR.QTCOMEFATU <> excluded.QTCOMEFATU"),
                           KeyParams(key) + QVariantList{billed}) == 1;
}

}  // namespace fai::appserver
