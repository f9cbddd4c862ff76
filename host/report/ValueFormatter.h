#pragma once

#include "NumericFormat.h"
#include "ReportDefinition.h"
#include "Value.h"

#include <QString>

#include <optional>

namespace fai {

// The text of a field or aggregate value in an element's display format, the Brazilian way
// whatever the machine's locale: numbers with the decimal comma and the given decimals,
// dates dd/MM/yyyy (also when the database hands a date over as ISO text), registration
// numbers with the mask of the person type. A null is empty; a value the format cannot read
// is shown as it is rather than hidden.
class ValueFormatter {
  public:
    explicit ValueFormatter(const DisplayFormat& format);

    QString Text(const Value& value, const QString& personType = {}) const;

  private:
    DisplayFormat format_;
    std::optional<NumericFormat> number_;
};

}  // namespace fai
