#include "Planning.h"

#include "Quantities.h"

namespace fai {

bool DiffersFromPlanning(double billed, double planned) {
    return planned != 0 && !SameQuantity(billed, planned);
}

QString PlanningDiffersMessage() {
    return QStringLiteral(
        "Lançamento de comensais faturados difere do lançamento do Planejamento.");
}

}  // namespace fai
