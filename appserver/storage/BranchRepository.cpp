#include "BranchRepository.h"

#include "PacketReader.h"
#include "PacketShapes.h"
#include "SqlSession.h"

namespace fai::appserver {

bool BranchRepository::Exists(const QString& branch) {
    return session_.Any(QStringLiteral("SELECT 1 FROM FILIAL WHERE CDFILIAL = ?"), {branch});
}

DataPacket BranchRepository::Params(const QString& branch) {
    SqlRows rows =
        session_.Run(QStringLiteral("SELECT CDFILIAL, DTPROCESSA, IDBLQEFEDIAFECH, NRDIAANTDTPROC, "
                                    "IDUTILDTPROC FROM PARAMFATUR WHERE CDFILIAL = ?"),
                     {branch});
    return ReadPacket(rows, shapes::Params());
}

}  // namespace fai::appserver
