#include "ApportionmentRepository.h"

#include "PacketReader.h"
#include "PacketShapes.h"
#include "SqlSession.h"

namespace fai::appserver {

DataPacket ApportionmentRepository::ItemsOfClient(const QString& client) {
    QSqlQuery query = session_.Run(
        QStringLiteral("SELECT CDCLIENTE, NRITEMRATEIOEFET, CDITEMRATEIOEFET, NMITEMRATEIOEFET "
                       "FROM ITEMRATEIOEFET WHERE CDCLIENTE = ? ORDER BY CDITEMRATEIOEFET"),
        {client});
    return ReadPacket(query, shapes::ApportionItems());
}

DataPacket ApportionmentRepository::ItemsOfHeadcount(const HeadcountKey& key) {
    QSqlQuery query = session_.Run(
        QStringLiteral(
            "SELECT L.NRITRATEFECLIFAT, L.CDFILIAL, L.CDSERVFILI, I.CDCLIENTE, L.DTFATURAM, "
            "L.CDSERVPLAN, I.NRITEMRATEIOEFET, I.CDITEMRATEIOEFET, I.NMITEMRATEIOEFET, "
            "L.QTEFETIVOS FROM ITEMRATEIOEFET I LEFT JOIN ITRATEFECLIFAT L "
            "ON L.NRITEMRATEIOEFET = I.NRITEMRATEIOEFET AND L.CDCLIENTE = I.CDCLIENTE "
            "AND L.CDFILIAL = ? AND L.CDSERVFILI = ? AND L.DTFATURAM = ? "
            "WHERE I.CDCLIENTE = ? ORDER BY I.CDITEMRATEIOEFET"),
        {key.branch, key.service, SqlDate(key.date), key.client});
    return ReadPacket(query, shapes::HeadcountApportion());
}

}  // namespace fai::appserver
