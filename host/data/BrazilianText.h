#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace fai {

// Numbers and dates are shown and typed the Brazilian way whatever the machine's locale:
// decimal comma, dot between thousands, dd/MM/yyyy.
const QLocale& BrazilianLocale();

// The shortest text of a number with up to 15 significant digits and no thousands
// separator ("1234,5"), as a float field reads as text.
QString FormatNumber(double value);

// Accepts "1.234,5" and "1234,5" (surrounding blanks ignored); nothing for text that is not a
// finite number.
std::optional<double> ParseNumber(QStringView text);

// dd/MM/yyyy.
QString FormatDate(const QDate& date);

// Accepts d/M/yyyy with or without leading zeros (surrounding blanks ignored); nothing for
// text that is not a real day.
std::optional<QDate> ParseDate(QStringView text);

// The weekday names the screens and the listing show, Sunday first: "Domingo" ... "Sábado".
const QStringList& WeekdayNames();
// The date's weekday name; empty for an invalid date.
QString WeekdayName(const QDate& date);

}  // namespace fai
