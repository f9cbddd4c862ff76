#include "WriteRules.h"

#include "AppErrors.h"
#include "BillingRulesRepository.h"
#include "BranchRepository.h"
#include "HeadcountKey.h"
#include "PacketShapes.h"
#include "ServiceOfClient.h"
#include "ServiceRepository.h"

#include <algorithm>

namespace fai::appserver {
namespace {

// A flag that is not text (a null) is no "S".
QString Flag(const QVariant& flag) { return flag.isNull() ? QString() : flag.toString(); }

}  // namespace

// Read together: one round trip on PostgreSQL.
WriteRules::WriteRules(SqlSession& session, const QString& branch, const QString& client) {
    std::vector<SqlRows> rows = session.RunTogether(StatementsOf(Reads(branch, client)));
    Take(rows[0], rows[1], rows[2]);
}

std::vector<PacketRead> WriteRules::Reads(const QString& branch, const QString& client) {
    return {BranchRepository::Params(branch),
            BillingRulesRepository::AssessedPeriods(branch, client),
            ServiceRepository::ServicesOfClient(branch, client)};
}

WriteRules::WriteRules(SqlRows& params, SqlRows& periods, SqlRows& services) {
    Take(params, periods, services);
}

// Straight from the database's rows: a save reads the rules for itself, not for a screen.
void WriteRules::Take(SqlRows& params, SqlRows& periods, SqlRows& services) {
    // Without parameters the rule is off, as it is on the screens.
    if (params.Next()) {
        const auto param = [&](packets::FieldName field) {
            return params.Value(ColumnOf(shapes::Params(), field));
        };
        closedDays_ = ClosedDayRule(Flag(param(BranchParamFields::IDUTILDTPROC)),
                                    Flag(param(BranchParamFields::IDBLQEFEDIAFECH)),
                                    DateFromSql(param(BranchParamFields::DTPROCESSA)),
                                    param(BranchParamFields::NRDIAANTDTPROC).toDouble());
    }
    const int first = ColumnOf(shapes::AssessedPeriods(), AssessedPeriodFields::DTINIAPURAC);
    const int last = ColumnOf(shapes::AssessedPeriods(), AssessedPeriodFields::DTFIMAPURAC);
    while (periods.Next())
        assessed_.push_back({DateFromSql(periods.Value(first)), DateFromSql(periods.Value(last))});
    const int service = ColumnOf(shapes::Services(), ServiceFields::CDSERVFILI);
    while (services.Next()) services_.insert(services.Value(service).toString());
}

void WriteRules::CheckRow(const QString& service, const QDate& day) const {
    std::optional<QString> why = Blocked(day);
    if (!services_.contains(service)) why = ServiceNotOfClientMessage();
    if (why) throw EBadRequest(RowLabel(service, day) + QStringLiteral(": ") + *why);
}

bool WriteRules::IsAssessed(const QDate& day) const {
    return std::any_of(assessed_.begin(), assessed_.end(),
                       [&day](const AssessedPeriod& period) { return period.Holds(day); });
}

std::optional<QString> WriteRules::Blocked(const QDate& day) const {
    if (IsClosed(day)) return ClosedDayRule::Message();
    if (IsAssessed(day)) return AssessedPeriod::DayMessage();
    return std::nullopt;
}

}  // namespace fai::appserver
