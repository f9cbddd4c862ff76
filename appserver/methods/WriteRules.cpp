#include "WriteRules.h"

#include "AppErrors.h"
#include "BillingRulesRepository.h"
#include "BranchRepository.h"
#include "HeadcountKey.h"
#include "ServiceRepository.h"

namespace fai::appserver {
namespace {

const Value& Cell(const DataPacket& packet, const PacketRow& row, const char* field) {
    return row.values.at(packet.FieldIndex(QString::fromLatin1(field)));
}

bool IsYes(const Value& flag) { return flag.IsText() && flag.Text() == QStringLiteral("S"); }

}  // namespace

WriteRules::WriteRules(SqlSession& session, const QString& branch, const QString& client) {
    // Read together: one round trip on PostgreSQL.
    const std::vector<DataPacket> read =
        ReadPackets(session, {BranchRepository::Params(branch),
                              BillingRulesRepository::AssessedPeriods(branch, client),
                              ServiceRepository::ServicesOfClient(branch, client)});
    const DataPacket& params = read[0];
    // Without parameters the rule is off, as it is on the screens.
    for (const PacketRow& row : params.rows) {
        if (IsYes(Cell(params, row, "IDUTILDTPROC")) && IsYes(Cell(params, row, "IDBLQEFEDIAFECH")))
            firstOpenDay_ = ToDaySerial(Cell(params, row, "DTPROCESSA").Date()) -
                            Cell(params, row, "NRDIAANTDTPROC").Number();
    }
    const DataPacket& periods = read[1];
    for (const PacketRow& row : periods.rows)
        assessed_.emplace_back(Cell(periods, row, "DTINIAPURAC").Date(),
                               Cell(periods, row, "DTFIMAPURAC").Date());
    const DataPacket& services = read[2];
    for (const PacketRow& row : services.rows)
        services_.insert(Cell(services, row, "CDSERVFILI").Text());
}

void WriteRules::CheckRow(const QString& service, const QDate& day) const {
    std::optional<QString> why = Blocked(day);
    if (!services_.contains(service))
        why = QStringLiteral("Serviço não relacionado ao cliente e filial informados.");
    if (why) throw EBadRequest(RowLabel(service, day) + QStringLiteral(": ") + *why);
}

bool WriteRules::IsOpen(const QDate& day) const { return !Blocked(day); }

std::optional<QString> WriteRules::Blocked(const QDate& day) const {
    if (firstOpenDay_ && ToDaySerial(day) < *firstOpenDay_)
        return QStringLiteral(
            "Data bloqueada para alteração de efetivos para faturamento para dias fechados.");
    for (const auto& [first, last] : assessed_)
        if (first <= day && day <= last)
            return QStringLiteral("Efetivos do cliente já apurados na data selecionada.");
    return std::nullopt;
}

}  // namespace fai::appserver
