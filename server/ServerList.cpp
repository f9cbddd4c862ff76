#include "ServerList.h"

#include "ConnectionError.h"

#include <QStringList>

namespace fai {
namespace {

// "host", "host:port", "[IPv6]" or "[IPv6]:port"; a bare IPv6 literal has more than one colon
// and takes the default port.
ServerEndpoint Entry(const QString& entry, int port) {
    const auto portOf = [&](const QString& text) {
        bool ok = false;
        const int value = text.toInt(&ok);
        if (!ok) throw EConnectionError::InvalidAddress(entry);
        return value;
    };
    if (entry.startsWith(QLatin1Char('['))) {
        const qsizetype close = entry.indexOf(QLatin1Char(']'));
        if (close < 0) throw EConnectionError::InvalidAddress(entry);
        const QString rest = entry.mid(close + 1);
        if (rest.isEmpty()) return {entry, port};
        if (!rest.startsWith(QLatin1Char(':'))) throw EConnectionError::InvalidAddress(entry);
        return {entry.left(close + 1), portOf(rest.mid(1))};
    }
    if (entry.count(QLatin1Char(':')) == 1) {
        const qsizetype colon = entry.indexOf(QLatin1Char(':'));
        return {entry.left(colon), portOf(entry.mid(colon + 1))};
    }
    return {entry, port};
}

}  // namespace

ServerList ServerList::Parse(const QString& hosts, int port) {
    // One host keeps meaning what it always meant, and may carry its port too.
    if (!hosts.contains(QLatin1Char(','))) {
        ServerList one(Entry(hosts, port));
        one.Validate();
        return one;
    }
    ServerList list;
    for (const QString& entry : hosts.split(QLatin1Char(','))) {
        const QString trimmed = entry.trimmed();
        if (!trimmed.isEmpty()) list.endpoints_.push_back(Entry(trimmed, port));
    }
    if (list.endpoints_.empty()) throw EConnectionError::InvalidAddress(hosts);
    list.Validate();
    return list;
}

void ServerList::Validate() const {
    for (const ServerEndpoint& endpoint : endpoints_) {
        if (!endpoint.IsValid()) throw EConnectionError::InvalidAddress(endpoint);
    }
}

QString ServerList::Address() const {
    QStringList addresses;
    for (const ServerEndpoint& endpoint : endpoints_) addresses << endpoint.Address();
    return addresses.join(QStringLiteral(", "));
}

}  // namespace fai
