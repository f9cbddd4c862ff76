#include "AssessedPeriod.h"

namespace fai {

QString AssessedPeriod::DayMessage() {
    return QStringLiteral("Efetivos do cliente já apurados na data selecionada.");
}

QString AssessedPeriod::RangeMessage() {
    return QStringLiteral(
        "Efetivos do cliente já apurados para pelo menos um dia do intervalo de datas informado.");
}

}  // namespace fai
