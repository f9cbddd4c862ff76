#include "ServiceRepository.h"

#include "PacketReader.h"
#include "PacketShapes.h"
#include "SqlSession.h"

namespace fai::appserver {
namespace {

const QString kRelation = QStringLiteral(
    "SELECT CDSERVFILI FROM SERVCLIEFILI "
    "WHERE CDFILIAL = ? AND CDCLIENTE = ? AND CDSERVFILI = ?");

}  // namespace

DataPacket ServiceRepository::ServicesOfClient(const QString& branch, const QString& client) {
    return Select(QString(), {branch, client});
}

DataPacket ServiceRepository::ServiceOfClient(const QString& branch, const QString& client,
                                              const QString& service) {
    return Select(QStringLiteral(" AND SC.CDSERVFILI = ?"), {branch, client, service});
}

DataPacket ServiceRepository::Relation(const QString& branch, const QString& client,
                                       const QString& service) {
    SqlRows rows = session_.Run(kRelation, {branch, client, service});
    return ReadPacket(rows, shapes::ServiceOfClient());
}

DataPacket ServiceRepository::Select(const QString& condition, const QVariantList& params) {
    SqlRows rows = session_.Run(
        QStringLiteral("SELECT SC.CDSERVFILI, S.NMSERVICO, SC.IDCONSCOMFAT, SC.IDVLRVARDATA "
                       "FROM SERVCLIEFILI SC JOIN SERVICO S "
                       "ON S.CDFILIAL = SC.CDFILIAL AND S.CDSERVFILI = SC.CDSERVFILI "
                       "WHERE SC.CDFILIAL = ? AND SC.CDCLIENTE = ?%1 ORDER BY SC.CDSERVFILI")
            .arg(condition),
        params);
    return ReadPacket(rows, shapes::Services());
}

}  // namespace fai::appserver
