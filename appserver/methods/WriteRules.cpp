#include "WriteRules.h"

#include "AppErrors.h"
#include "BillingRulesRepository.h"
#include "BranchRepository.h"
#include "HeadcountKey.h"
#include "PacketShapes.h"
#include "ServiceOfClient.h"
#include "ServiceRepository.h"

namespace fai::appserver {
namespace {

const Value& Cell(const DataPacket& packet, const PacketRow& row, packets::FieldName field) {
    return row.values.at(packet.FieldIndex(field));
}

// A flag that is not text (a null) is no "S".
QString Flag(const Value& flag) { return flag.IsText() ? flag.Text() : QString(); }

}  // namespace

WriteRules::WriteRules(SqlSession& session, const QString& branch, const QString& client) {
    // Read together: one round trip on PostgreSQL.
    const std::vector<Fai00400::DataPacket> read =
        ReadPackets(session, {BranchRepository::Params(branch),
                              BillingRulesRepository::AssessedPeriods(branch, client),
                              ServiceRepository::ServicesOfClient(branch, client)});
    const DataPacket params = Unpacked(read[0]);
    // Without parameters the rule is off, as it is on the screens.
    if (!params.rows.empty()) {
        const PacketRow& row = params.rows.front();
        closedDays_ = ClosedDayRule(Flag(Cell(params, row, BranchParamFields::IDUTILDTPROC)),
                                    Flag(Cell(params, row, BranchParamFields::IDBLQEFEDIAFECH)),
                                    Cell(params, row, BranchParamFields::DTPROCESSA).Date(),
                                    Cell(params, row, BranchParamFields::NRDIAANTDTPROC).Number());
    }
    const DataPacket periods = Unpacked(read[1]);
    for (const PacketRow& row : periods.rows)
        assessed_.push_back({Cell(periods, row, AssessedPeriodFields::DTINIAPURAC).Date(),
                             Cell(periods, row, AssessedPeriodFields::DTFIMAPURAC).Date()});
    const DataPacket services = Unpacked(read[2]);
    for (const PacketRow& row : services.rows)
        services_.insert(Cell(services, row, ServiceFields::CDSERVFILI).Text());
}

void WriteRules::CheckRow(const QString& service, const QDate& day) const {
    std::optional<QString> why = Blocked(day);
    if (!services_.contains(service)) why = ServiceNotOfClientMessage();
    if (why) throw EBadRequest(RowLabel(service, day) + QStringLiteral(": ") + *why);
}

bool WriteRules::IsOpen(const QDate& day) const { return !Blocked(day); }

std::optional<QString> WriteRules::Blocked(const QDate& day) const {
    if (closedDays_.IsClosed(day)) return ClosedDayRule::Message();
    for (const AssessedPeriod& period : assessed_)
        if (period.Holds(day)) return AssessedPeriod::DayMessage();
    return std::nullopt;
}

}  // namespace fai::appserver
