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

PacketRead ServiceRepository::ServicesOfClient(const QString& branch, const QString& client) {
    return Select(QString(), {branch, client});
}

PacketRead ServiceRepository::ServiceOfClient(const QString& branch, const QString& client,
                                              const QString& service) {
    return Select(QStringLiteral(" AND SC.CDSERVFILI = ?"), {branch, client, service});
}

PacketRead ServiceRepository::Relation(const QString& branch, const QString& client,
                                       const QString& service) {
    return {{kRelation, {branch, client, service}}, &shapes::ServiceOfClient(), {}};
}

PacketRead ServiceRepository::Select(const QString& condition, const QVariantList& params) {
    return {{QStringLiteral("SELECT SC.CDSERVFILI, S.NMSERVICO, SC.IDCONSCOMFAT, SC.IDVLRVARDATA "
                            "FROM SERVCLIEFILI SC JOIN SERVICO S "
                            "ON S.CDFILIAL = SC.CDFILIAL AND S.CDSERVFILI = SC.CDSERVFILI "
                            "WHERE SC.CDFILIAL = ? AND SC.CDCLIENTE = ?%1 ORDER BY SC.CDSERVFILI")
                 .arg(condition),
             params},
            &shapes::Services()};
}

}  // namespace fai::appserver
