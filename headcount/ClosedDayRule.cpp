#include "ClosedDayRule.h"

#include "ClientDataSet.h"
#include "Value.h"

#include <cmath>

namespace fai {

ClosedDayRule ClosedDayRule::FromParams(const ClientDataSet& params) {
    ClosedDayRule rule;
    if (params.IsEmpty()) return rule;
    const QString yes = QStringLiteral("S");
    rule.on_ = params.FieldByName("IDUTILDTPROC").AsString() == yes &&
               params.FieldByName("IDBLQEFEDIAFECH").AsString() == yes;
    rule.firstOpen_ = double(ToDaySerial(params.FieldByName("DTPROCESSA").AsDateTime())) -
                      params.FieldByName("NRDIAANTDTPROC").AsFloat();
    return rule;
}

bool ClosedDayRule::IsClosed(const QDate& day) const {
    return on_ && double(ToDaySerial(day)) < firstOpen_;
}

QDate ClosedDayRule::FirstOpenDay() const {
    return FromDaySerial(static_cast<qint64>(std::ceil(firstOpen_)));
}

}  // namespace fai
