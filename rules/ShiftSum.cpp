#include "ShiftSum.h"

#include "Quantities.h"

namespace fai {

bool ShiftSumDisagrees(double shiftSum, double billed) {
    return AtQuantityPrecision(shiftSum) > 0 && !SameQuantity(shiftSum, billed);
}

QString ShiftSumDiffersMessage() {
    return QStringLiteral(
        "A soma das quantidades informada nos Turnos difere de %s da quantidade do serviço que "
        "é %s.");
}

QString RowsDisagreeWithShiftsMessage() {
    return QStringLiteral("Comensais por efetivo difere de comensais por turno.");
}

}  // namespace fai
