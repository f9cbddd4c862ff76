#pragma once

#include <QDate>
#include <QString>

#include <optional>

namespace fai {

class Field;

// A date typed by the user: dd/MM/yyyy, also d/M/yyyy and d/M/yy (years 00 to 49 are
// 2000 to 2049, 50 to 99 are 1950 to 1999), blanks around the parts ignored. A text without
// letters or digits (an empty date mask) is blank: an invalid QDate. Nothing for a text that
// is no real day.
std::optional<QDate> ParseDateText(const QString& text);

// What the user reads when a typed date is no date.
QString InvalidDateMessage(const QString& text);

// Stores the date typed into a date field: blank stores null. Throws EError with
// InvalidDateMessage when the text is no date, leaving the field as it was.
void DateSetText(Field& field, const QString& text);

}  // namespace fai
