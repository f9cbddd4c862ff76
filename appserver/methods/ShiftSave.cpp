#include "ShiftSave.h"

#include "AppErrors.h"
#include "HeadcountRepository.h"
#include "HistoryRepository.h"
#include "NullFieldList.h"
#include "PacketShapes.h"
#include "RequestChecks.h"
#include "ShiftDelta.h"
#include "ShiftRepository.h"
#include "WriteRules.h"

#include <algorithm>

namespace fai::appserver {
namespace {

QString ShiftLabel(const QString& shift, const HeadcountKey& key) {
    return QStringLiteral("Turno %1 (%2)").arg(shift, RowLabel(key.service, key.date));
}

}  // namespace

void ShiftSave::Run(const DataPacket& shiftDelta, const QString& nullFields) {
    ShiftDelta delta = ReadShiftDelta(shiftDelta, NullFieldList(nullFields, shapes::Shifts()));
    if (delta.changes.empty()) return;
    HeadcountKey key = delta.key;
    const HeadcountKey known = RequestChecks(session_).ClientKey(key.branch, key.client);
    key.branch = known.branch;
    key.client = known.client;
    WriteRules(session_, key.branch, key.client).CheckRow(key.service, key.date);
    // Shifts break down a stored row's billed count; without the row they would add up to a
    // count nobody saved. Locked, so that the row cannot go before this save commits.
    const bool storesQuantities = std::any_of(delta.changes.begin(), delta.changes.end(),
                                              [](const ShiftChange& c) { return c.desired; });
    if (storesQuantities && !HeadcountRepository(session_).Locked(key))
        throw EBadRequest(RowLabel(key.service, key.date) +
                          QStringLiteral(": o efetivo do dia não está gravado; grave-o antes de "
                                         "informar os turnos."));

    ShiftRepository shifts(session_);
    std::sort(delta.changes.begin(), delta.changes.end(),
              [](const ShiftChange& a, const ShiftChange& b) { return a.shift < b.shift; });
    for (std::size_t i = 0; i < delta.changes.size(); ++i) {
        const QString& shift = delta.changes[i].shift;
        if (i > 0 && shift == delta.changes[i - 1].shift)
            throw EBadRequest(ShiftLabel(shift, key) +
                              QStringLiteral(": o turno aparece mais de uma vez no salvamento."));
        if (!shifts.IsShiftOfBranch(key.branch, shift))
            throw EBadRequest(
                QStringLiteral("Turno %1 não é um turno da filial %2.").arg(shift, key.branch));
    }
    for (const ShiftChange& change : delta.changes) {
        const EConflict changed(ShiftLabel(change.shift, key) +
                                QStringLiteral(": a quantidade foi alterada por outro usuário "
                                               "depois de carregada. Recarregue os turnos e "
                                               "refaça a alteração."));
        const std::optional<double> stored = shifts.Locked(key, change.shift);
        if (stored != change.expected) throw changed;
        if (change.desired) {
            if (stored)
                shifts.Update(key, change.shift, *change.desired);
            else if (!shifts.InsertIfAbsent(key, change.shift, *change.desired))
                throw changed;
        } else if (stored) {
            shifts.Remove(key, change.shift);
        }
        history_.Shift(key, change.shift, stored, change.desired);
    }
}

}  // namespace fai::appserver
