#include "ClientRepository.h"

#include "PacketReader.h"
#include "PacketShapes.h"
#include "SqlSession.h"

namespace fai::appserver {

DataPacket ClientRepository::ClientsOfBranch(const QString& branch) {
    return Select(QString(), {branch});
}

DataPacket ClientRepository::ByRegistration(const QString& branch,
                                            const QString& registrationNumber) {
    return Select(QStringLiteral(" AND C.NRINSJURCLIE = ?"), {branch, registrationNumber});
}

DataPacket ClientRepository::ByCode(const QString& branch, const QString& client) {
    return Select(QStringLiteral(" AND C.CDCLIENTE = ?"), {branch, client});
}

DataPacket ClientRepository::Select(const QString& condition, const QVariantList& params) {
    SqlRows rows = session_.Run(
        QStringLiteral("SELECT C.CDCLIENTE, C.IDTPIJURCLIE, C.NRINSJURCLIE, C.NMRAZSOCCLIE, "
                       "C.NMFANTCLIE FROM CLIENFILIAL F "
                       "JOIN CLIENTE C ON C.CDCLIENTE = F.CDCLIENTE "
                       "WHERE F.CDFILIAL = ?%1 ORDER BY C.NMRAZSOCCLIE, C.CDCLIENTE")
            .arg(condition),
        params);
    return ReadPacket(rows, shapes::Clients());
}

}  // namespace fai::appserver
