#include "ClientRepository.h"

#include "PacketReader.h"
#include "PacketShapes.h"
#include "SqlSession.h"

namespace fai::appserver {

PacketRead ClientRepository::ClientsOfBranch(const QString& branch) {
    return Select(QString(), {branch});
}

PacketRead ClientRepository::ByRegistration(const QString& branch,
                                            const QString& registrationNumber) {
    return Select(QStringLiteral(" AND C.NRINSJURCLIE = ?"), {branch, registrationNumber});
}

PacketRead ClientRepository::ByCode(const QString& branch, const QString& client) {
    return Select(QStringLiteral(" AND C.CDCLIENTE = ?"), {branch, client});
}

PacketRead ClientRepository::Select(const QString& condition, const QVariantList& params) {
    return {{QStringLiteral("SELECT C.CDCLIENTE, C.IDTPIJURCLIE, C.NRINSJURCLIE, C.NMRAZSOCCLIE, "
                            "C.NMFANTCLIE FROM CLIENFILIAL F "
                            "JOIN CLIENTE C ON C.CDCLIENTE = F.CDCLIENTE "
                            "WHERE F.CDFILIAL = ?%1 ORDER BY C.NMRAZSOCCLIE, C.CDCLIENTE")
                 .arg(condition),
             params},
            &shapes::Clients()};
}

}  // namespace fai::appserver
