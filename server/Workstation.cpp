#include "SessionMetadata.h"

#include <QSysInfo>

namespace fai {

const Workstation& Workstation::Here() {
    static const Workstation here{qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME")),
                                  QSysInfo::machineHostName()};
    return here;
}

}  // namespace fai
