#include "ApportionmentRepository.h"

#include "PacketReader.h"
#include "PacketShapes.h"
#include "SqlSession.h"

namespace fai::appserver {

PacketRead ApportionmentRepository::ItemsOfClient(const QString& client) {
    return {
        {QStringLiteral("SELECT CDCLIENTE, NRITEMRATEIOEFET, CDITEMRATEIOEFET, NMITEMRATEIOEFET "
                        "FROM ITEMRATEIOEFET WHERE CDCLIENTE = ? ORDER BY CDITEMRATEIOEFET"),
         {client}},
        &shapes::ApportionItems()};
}

PacketRead ApportionmentRepository::ItemsOfHeadcount(const HeadcountKey& key) {
    return {{QStringLiteral(
                 "SELECT L.NRITRATEFECLIFAT, L.CDFILIAL, L.CDSERVFILI, I.CDCLIENTE, L.DTFATURAM, "
                 "L.CDSERVPLAN, I.NRITEMRATEIOEFET, I.CDITEMRATEIOEFET, I.NMITEMRATEIOEFET, "
                 "L.QTEFETIVOS FROM ITEMRATEIOEFET I LEFT JOIN ITRATEFECLIFAT L "
                 "ON L.NRITEMRATEIOEFET = I.NRITEMRATEIOEFET AND L.CDCLIENTE = I.CDCLIENTE "
                 "AND L.CDFILIAL = ? AND L.CDSERVFILI = ? AND L.DTFATURAM = ? "
                 "WHERE I.CDCLIENTE = ? ORDER BY I.CDITEMRATEIOEFET"),
             {key.branch, key.service, SqlDate(key.date), key.client}},
            &shapes::HeadcountApportion()};
}

bool ApportionmentRepository::IsItemOfClient(const QString& client, qint64 item) {
    return session_.Any(QStringLiteral("SELECT 1 FROM ITEMRATEIOEFET WHERE CDCLIENTE = ? AND "
                                       "NRITEMRATEIOEFET = ?"),
                        {client, item});
}

std::optional<StoredLink> ApportionmentRepository::Locked(const HeadcountKey& key, qint64 item) {
    SqlRows rows = session_.Run(
        QStringLiteral("SELECT NRITRATEFECLIFAT, QTEFETIVOS FROM ITRATEFECLIFAT WHERE "
                       "CDFILIAL = ? AND CDCLIENTE = ? AND CDSERVFILI = ? AND DTFATURAM = ? "
                       "AND NRITEMRATEIOEFET = ?") +
            session_.Dialect().LockRows(),
        {key.branch, key.client, key.service, SqlDate(key.date), item});
    if (!rows.Next()) return std::nullopt;
    StoredLink link{rows.Value(0).toLongLong(), std::nullopt};
    if (!rows.Value(1).isNull()) link.diners = rows.Value(1).toDouble();
    return link;
}

bool ApportionmentRepository::InsertIfAbsent(const HeadcountKey& key, qint64 item,
                                             const QString& planService, double diners) {
    return session_.Change(
               QStringLiteral("INSERT INTO ITRATEFECLIFAT (CDFILIAL, CDCLIENTE, CDSERVFILI, "
                              "DTFATURAM, CDSERVPLAN, NRITEMRATEIOEFET, QTEFETIVOS) "
                              "VALUES (?, ?, ?, ?, ?, ?, ?) ON CONFLICT (CDFILIAL, CDCLIENTE, "
                              "CDSERVFILI, DTFATURAM, NRITEMRATEIOEFET) DO NOTHING"),
               {key.branch, key.client, key.service, SqlDate(key.date), planService, item,
                diners}) == 1;
}

void ApportionmentRepository::SetDiners(qint64 link, double diners) {
    session_.Run(
        QStringLiteral("UPDATE ITRATEFECLIFAT SET QTEFETIVOS = ? WHERE NRITRATEFECLIFAT = ?"),
        {diners, link});
}

void ApportionmentRepository::Remove(qint64 link) {
    session_.Run(QStringLiteral("DELETE FROM ITRATEFECLIFAT WHERE NRITRATEFECLIFAT = ?"), {link});
}

}  // namespace fai::appserver
