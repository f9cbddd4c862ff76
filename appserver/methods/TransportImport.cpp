#include "TransportImport.h"

#include "EfetFaturReads.h"
#include "HeadcountRepository.h"
#include "HistoryRepository.h"
#include "PacketReader.h"
#include "PacketShapes.h"
#include "TransportRepository.h"
#include "WriteRules.h"

namespace fai::appserver {

TransportImport::Outcome TransportImport::Run(const QString& client, const QString& branch,
                                              const QString& service, const QDate& date, int mode) {
    const HeadcountFilter filter =
        RequestChecks(session_).Filter(client, branch, service, date, mode);
    TransportRepository transport(session_);
    const std::vector<TransportRepository::Transported> counts =
        filter.byDate ? transport.OfDay(filter.branch, filter.client, filter.date)
                      : transport.OfService(filter.branch, filter.client, filter.service);
    const WriteRules rules(session_, filter.branch, filter.client);
    HeadcountRepository headcounts(session_);
    Outcome outcome;
    for (const TransportRepository::Transported& count : counts) {
        if (rules.IsClosed(count.day)) {
            ++outcome.closed;
            continue;
        }
        if (rules.IsAssessed(count.day)) {
            ++outcome.assessed;
            continue;
        }
        const HeadcountKey key{filter.branch, filter.client, count.service, count.day};
        const std::optional<HeadcountRow> before = headcounts.Locked(key);
        if (!headcounts.StoreBilled(key, count.diners)) {
            ++outcome.unchanged;
            continue;
        }
        HeadcountRow after = before.value_or(HeadcountRow{});
        after.counts.billed = count.diners;
        history_.Row(key, before, after);
        ++outcome.taken;
    }
    std::vector<Fai00400::DataPacket> packets = EfetFaturReads(session_).Headcounts(filter);
    packets.resize(2);  // the screen keeps its apportionment items
    packets.push_back(
        Answered(shapes::ImportSummary(),
                 {{RowChange::Unchanged,
                   {Value(double(outcome.taken)), Value(double(outcome.closed)),
                    Value(double(outcome.assessed)), Value(double(outcome.unchanged))},
                   {}}}));
    outcome.packets = std::move(packets);
    return outcome;
}

}  // namespace fai::appserver
