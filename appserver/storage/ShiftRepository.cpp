#include "ShiftRepository.h"

#include "PacketReader.h"
#include "PacketShapes.h"
#include "Quantities.h"
#include "SqlSession.h"

namespace fai::appserver {
namespace {

const QString kKey =
    QStringLiteral("CDFILIAL = ? AND CDCLIENTE = ? AND CDSERVFILI = ? AND DTFATURAMTUR = ?");

QVariantList KeyParams(const HeadcountKey& key) {
    return {key.branch, key.client, key.service, SqlDate(key.date)};
}

}  // namespace

PacketRead ShiftRepository::ShiftsOf(const HeadcountKey& key) {
    return {
        {QStringLiteral("SELECT T.CDTURNO, T.NMTURNO, T.CDFILIAL, NULL, NULL, NULL, Q.QTCOMFATUTUR "
                        "FROM TURNO T LEFT JOIN EFETTURNO Q ON Q.CDFILIAL = T.CDFILIAL "
                        "AND Q.CDTURNO = T.CDTURNO AND Q.CDCLIENTE = ? AND Q.CDSERVFILI = ? "
                        "AND Q.DTFATURAMTUR = ? WHERE T.CDFILIAL = ? ORDER BY T.CDTURNO"),
         {key.client, key.service, SqlDate(key.date), key.branch}},
        &shapes::Shifts(),
        {{ShiftFields::CDSERVFILI, Value(key.service)},
         {ShiftFields::CDCLIENTE, Value(key.client)},
         {ShiftFields::DTFATURAMTUR, Value(key.date)}}};
}

PacketRead ShiftRepository::ShiftSum(const HeadcountKey& key) {
    return {{QStringLiteral("SELECT COALESCE(SUM(QTCOMFATUTUR), 0) FROM EFETTURNO WHERE ") + kKey,
             KeyParams(key)},
            &shapes::ShiftSum(),
            {},
            // The screen compares the sum with the row's billed count exactly: shifts of 33.3,
            // 33.3 and 33.4 must answer 100, not the 100.00000000000001 that adding them gives.
            AtQuantityPrecision};
}

std::map<std::pair<QString, QDate>, double> ShiftRepository::Sums(const QString& branch,
                                                                  const QString& client,
                                                                  const QDate& first,
                                                                  const QDate& last) {
    SqlRows rows = session_.Run(
        QStringLiteral("SELECT CDSERVFILI, DTFATURAMTUR, SUM(QTCOMFATUTUR) FROM EFETTURNO "
                       "WHERE CDFILIAL = ? AND CDCLIENTE = ? AND DTFATURAMTUR BETWEEN ? AND ? "
                       "GROUP BY CDSERVFILI, DTFATURAMTUR"),
        {branch, client, SqlDate(first), SqlDate(last)});
    std::map<std::pair<QString, QDate>, double> sums;
    while (rows.Next())
        sums[{rows.Value(0).toString(), DateFromSql(rows.Value(1))}] = rows.Value(2).toDouble();
    return sums;
}

bool ShiftRepository::IsShiftOfBranch(const QString& branch, const QString& shift) {
    return session_.Any(QStringLiteral("SELECT 1 FROM TURNO WHERE CDFILIAL = ? AND CDTURNO = ?"),
                        {branch, shift});
}

std::optional<double> ShiftRepository::Locked(const HeadcountKey& key, const QString& shift) {
    SqlRows rows =
        session_.Run(QStringLiteral("SELECT QTCOMFATUTUR FROM EFETTURNO WHERE ") + kKey +
                         QStringLiteral(" AND CDTURNO = ?") + session_.Dialect().LockRows(),
                     KeyParams(key) + QVariantList{shift});
    if (!rows.Next()) return std::nullopt;
    return rows.Value(0).toDouble();
}

bool ShiftRepository::InsertIfAbsent(const HeadcountKey& key, const QString& shift,
                                     double quantity) {
    return session_.Change(QStringLiteral("INSERT INTO EFETTURNO (CDFILIAL, CDCLIENTE, "
                                          "CDSERVFILI, DTFATURAMTUR, CDTURNO, QTCOMFATUTUR) "
                                          "VALUES (?, ?, ?, ?, ?, ?) ON CONFLICT (CDFILIAL, "
                                          "CDCLIENTE, CDSERVFILI, DTFATURAMTUR, CDTURNO) "
                                          "DO NOTHING"),
                           KeyParams(key) + QVariantList{shift, quantity}) == 1;
}

void ShiftRepository::Update(const HeadcountKey& key, const QString& shift, double quantity) {
    session_.Run(QStringLiteral("UPDATE EFETTURNO SET QTCOMFATUTUR = ? WHERE ") + kKey +
                     QStringLiteral(" AND CDTURNO = ?"),
                 QVariantList{quantity} + KeyParams(key) + QVariantList{shift});
}

void ShiftRepository::Remove(const HeadcountKey& key, const QString& shift) {
    session_.Run(
        QStringLiteral("DELETE FROM EFETTURNO WHERE ") + kKey + QStringLiteral(" AND CDTURNO = ?"),
        KeyParams(key) + QVariantList{shift});
}

void ShiftRepository::RemoveAll(const HeadcountKey& key) {
    session_.Run(QStringLiteral("DELETE FROM EFETTURNO WHERE ") + kKey, KeyParams(key));
}

}  // namespace fai::appserver
