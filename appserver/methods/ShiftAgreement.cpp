#include "ShiftAgreement.h"

#include "IncomingPacket.h"
#include "ShiftRepository.h"
#include "ShiftSum.h"

#include <map>

namespace fai::appserver {
namespace {

using Group = std::pair<QString, QString>;  // branch, client
using Sums = std::map<std::pair<QString, QDate>, double>;

}  // namespace

QString ShiftAgreement::FirstDisagreeing(const DataPacket& headcounts) {
    const IncomingPacket packet(headcounts, QStringLiteral("efetivos"), shapes::Headcounts(),
                                IncomingPacket::Kind::Content);
    const IncomingPacket::KeyColumns keyColumns = packet.Key(HeadcountFields::kKey);
    const int billedColumn = packet.Column(HeadcountFields::QTCOMEFATU);

    // One query per branch and client over the days of the packet, however many rows.
    std::map<Group, std::pair<QDate, QDate>> days;
    for (const PacketRow& row : headcounts.rows) {
        const std::optional<HeadcountKey> key = IncomingPacket::KeyOf(row.values, keyColumns);
        if (!key) continue;
        auto [span, added] = days.try_emplace({key->branch, key->client}, key->date, key->date);
        if (added) continue;
        span->second.first = std::min(span->second.first, key->date);
        span->second.second = std::max(span->second.second, key->date);
    }
    std::map<Group, Sums> sums;
    ShiftRepository shifts(session_);
    for (const auto& [group, span] : days)
        sums[group] = shifts.Sums(group.first, group.second, span.first, span.second);

    for (const PacketRow& row : headcounts.rows) {
        const std::optional<HeadcountKey> key = IncomingPacket::KeyOf(row.values, keyColumns);
        if (!key) continue;
        const Sums& stored = sums[{key->branch, key->client}];
        const auto sum = stored.find({key->service, key->date});
        if (sum == stored.end()) continue;
        const double billed = IncomingPacket::NumberOf(row.values[billedColumn]).value_or(0);
        if (ShiftSumDisagrees(sum->second, billed)) return key->service;
    }
    return QString();
}

}  // namespace fai::appserver
