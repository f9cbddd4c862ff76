#include "BranchRepository.h"

#include "PacketReader.h"
#include "PacketShapes.h"
#include "SqlSession.h"

namespace fai::appserver {

DataPacket BranchRepository::Params(const QString& branch) {
    SqlRows rows =
        session_.Run(QStringLiteral("SELECT CDFILIAL, DTPROCESSA, IDBLQEFEDIAFECH, NRDIAANTDTPROC, "
                                    "IDUTILDTPROC FROM PARAMFATUR WHERE CDFILIAL = ?"),
                     {branch});
    return ReadPacket(rows, shapes::Params());
}

}  // namespace fai::appserver
