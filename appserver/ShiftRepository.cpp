#include "ShiftRepository.h"

#include "PacketReader.h"
#include "PacketShapes.h"
#include "SqlSession.h"

namespace fai::appserver {

DataPacket ShiftRepository::ShiftsOf(const HeadcountKey& key) {
    QSqlQuery query = session_.Run(
        QStringLiteral("SELECT T.CDTURNO, T.NMTURNO, T.CDFILIAL, NULL, NULL, NULL, Q.QTCOMFATUTUR "
                       "FROM TURNO T LEFT JOIN EFETTURNO Q ON Q.CDFILIAL = T.CDFILIAL "
                       "AND Q.CDTURNO = T.CDTURNO AND Q.CDCLIENTE = ? AND Q.CDSERVFILI = ? "
                       "AND Q.DTFATURAMTUR = ? WHERE T.CDFILIAL = ? ORDER BY T.CDTURNO"),
        {key.client, key.service, SqlDate(key.date), key.branch});
    DataPacket packet = ReadPacket(query, shapes::Shifts());
    FillColumn(packet, QStringLiteral("CDSERVFILI"), Value(key.service));
    FillColumn(packet, QStringLiteral("CDCLIENTE"), Value(key.client));
    FillColumn(packet, QStringLiteral("DTFATURAMTUR"), Value(key.date));
    return packet;
}

DataPacket ShiftRepository::ShiftSum(const HeadcountKey& key) {
    QSqlQuery query =
        session_.Run(QStringLiteral("SELECT COALESCE(SUM(QTCOMFATUTUR), 0) FROM EFETTURNO "
                                    "WHERE CDFILIAL = ? AND CDCLIENTE = ? AND CDSERVFILI = ? "
                                    "AND DTFATURAMTUR = ?"),
                     {key.branch, key.client, key.service, SqlDate(key.date)});
    return ReadPacket(query, shapes::ShiftSum());
}

}  // namespace fai::appserver
