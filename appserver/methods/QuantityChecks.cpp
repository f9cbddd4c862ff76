#include "QuantityChecks.h"

#include <cmath>

namespace fai::appserver {

std::optional<QString> QuantityRefusal(double quantity, const QString& label, int digits) {
    // Written so that a NaN fails both comparisons.
    if (!(quantity >= 0)) return QStringLiteral("%1 deve ser maior ou igual a zero.").arg(label);
    if (!(quantity < std::pow(10.0, digits)))
        return QStringLiteral("%1 deve ter no máximo %2 dígitos antes da vírgula.")
            .arg(label)
            .arg(digits);
    return std::nullopt;
}

}  // namespace fai::appserver
