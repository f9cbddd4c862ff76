#include "SessionMetadata.h"

#include <QSysInfo>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

namespace fai {
namespace {

// The environment names the user of a desktop session; a service or a shell without it
// still has the account it runs under.
QString UserName() {
    for (const char* variable : {"USER", "USERNAME", "LOGNAME"})
        if (const QString name = qEnvironmentVariable(variable); !name.isEmpty()) return name;
#ifdef Q_OS_UNIX
    if (const passwd* account = getpwuid(geteuid()))
        return QString::fromLocal8Bit(account->pw_name);
#endif
    return {};
}

}  // namespace

const Workstation& Workstation::Here() {
    static const Workstation here{UserName(), QSysInfo::machineHostName()};
    return here;
}

}  // namespace fai
