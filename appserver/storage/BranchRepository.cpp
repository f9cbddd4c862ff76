#include "BranchRepository.h"

#include "PacketReader.h"
#include "PacketShapes.h"
#include "SqlSession.h"

namespace fai::appserver {

PacketRead BranchRepository::Params(const QString& branch) {
    return {{QStringLiteral("SELECT CDFILIAL, DTPROCESSA, IDBLQEFEDIAFECH, NRDIAANTDTPROC, "
                            "IDUTILDTPROC FROM PARAMFATUR WHERE CDFILIAL = ?"),
             {branch}},
            &shapes::Params()};
}

}  // namespace fai::appserver
