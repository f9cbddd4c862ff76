#include "ClosedDayRule.h"

#include <cmath>

namespace fai {

ClosedDayRule::ClosedDayRule(const QString& useProcessingDate, const QString& blockClosedDays,
                             const QDate& processingDate, double daysOpen)
    : on_(useProcessingDate == QLatin1String("S") && blockClosedDays == QLatin1String("S")),
      firstOpen_(double(processingDate.toJulianDay()) - daysOpen) {}

bool ClosedDayRule::IsClosed(const QDate& day) const {
    return on_ && double(day.toJulianDay()) < firstOpen_;
}

QDate ClosedDayRule::FirstOpenDay() const {
    return QDate::fromJulianDay(static_cast<qint64>(std::ceil(firstOpen_)));
}

QString ClosedDayRule::Message() {
    return QStringLiteral(
        "Data bloqueada para alteração de efetivos para faturamento para dias fechados.");
}

QString ClosedDayRule::RangeMessage() {
    return QStringLiteral(
        "Data inicial fora do período de lançamento de efetivos para faturamento.");
}

}  // namespace fai
