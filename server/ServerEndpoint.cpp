#include "ServerEndpoint.h"

#include <algorithm>

namespace fai {

bool ServerEndpoint::IsValid() const {
    const bool hostHasBlanks =
        std::any_of(host.cbegin(), host.cend(), [](QChar c) { return c.isSpace(); });
    return !host.isEmpty() && !hostHasBlanks && port >= 1 && port <= 65535;
}

QString ServerEndpoint::Address() const { return QStringLiteral("%1:%2").arg(host).arg(port); }

std::string ServerEndpoint::Target() const {
    const bool bareIpv6 = host.contains(QLatin1Char(':')) && !host.startsWith(QLatin1Char('['));
    const QString target = bareIpv6 ? QStringLiteral("[%1]:%2").arg(host).arg(port) : Address();
    return target.toStdString();
}

}  // namespace fai
