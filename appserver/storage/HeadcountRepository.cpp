#include "HeadcountRepository.h"

#include "PacketReader.h"
#include "PacketShapes.h"
#include "SqlSession.h"

#include <algorithm>
#include <bit>

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
    StoredRows stored = Locked(std::span(&key, 1));
    if (stored.empty()) return std::nullopt;
    return std::move(stored.begin()->second);
}

HeadcountRepository::StoredRows HeadcountRepository::Locked(std::span<const HeadcountKey> keys) {
    StoredRows stored;
    for (std::size_t first = 0; first < keys.size(); first += kLockedAtOnce) {
        const SqlSession::Statement read =
            LockedRead(keys.subspan(first, std::min(kLockedAtOnce, keys.size() - first)));
        SqlRows rows = session_.Run(read.sql, read.params);
        TakeLocked(rows, stored);
    }
    return stored;
}

SqlSession::Statement HeadcountRepository::LockedRead(std::span<const HeadcountKey> keys) const {
    // The list is filled up to a power of two with its last key again, so that reads of any
    // length share a few prepared statements instead of one statement each.
    const std::size_t terms = std::bit_ceil(keys.size());
    QString sql = QStringLiteral(
        "SELECT CDFILIAL, CDCLIENTE, CDSERVFILI, DTFATURAM, QTCOMEFATU, QTCOMEPREV, "
        "VRSERVFATUDT, CDFILIFATU, NRAPURACFAT FROM EFETFATUR WHERE ");
    QVariantList params;
    params.reserve(qsizetype(terms) * 4);
    for (std::size_t i = 0; i < terms; ++i) {
        sql += (i == 0 ? QStringLiteral("(") : QStringLiteral(" OR (")) + kKey + u')';
        params += KeyParams(keys[std::min(i, keys.size() - 1)]);
    }
    sql += QStringLiteral(" ORDER BY CDFILIAL, CDCLIENTE, CDSERVFILI, DTFATURAM") +
           session_.Dialect().LockRows();
    return {sql, params};
}

void HeadcountRepository::TakeLocked(SqlRows& rows, StoredRows& stored) {
    while (rows.Next())
        stored.insert_or_assign(HeadcountKey{rows.Value(0).toString(), rows.Value(1).toString(),
                                             rows.Value(2).toString(), DateFromSql(rows.Value(3))},
                                HeadcountRow{{rows.Value(4).toDouble(), rows.Value(5).toDouble(),
                                              rows.Value(6).toDouble()},
                                             rows.Value(7),
                                             rows.Value(8)});
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

SqlSession::Statement HeadcountRepository::Update(const HeadcountKey& key,
                                                  const HeadcountRow& row) {
    return {QStringLiteral("UPDATE EFETFATUR SET QTCOMEFATU = ?, QTCOMEPREV = ?, "
                           "VRSERVFATUDT = ?, CDFILIFATU = ?, NRAPURACFAT = ? WHERE ") +
                kKey,
            QVariantList{row.counts.billed, row.counts.forecast, row.counts.value,
                         row.billingBranch, row.assessment} +
                KeyParams(key)};
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
