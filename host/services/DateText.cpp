#include "DateText.h"

#include "Consiste.h"
#include "Errors.h"
#include "Field.h"

#include <QStringList>

namespace fai {
namespace {

// Years written with two digits fall in the century that keeps them closest to now for
// billing work: 00-49 this century, 50-99 the last.
int FullYear(int year, qsizetype digits) {
    if (digits > 2) return year;
    return year < 50 ? 2000 + year : 1900 + year;
}

std::optional<int> Number(const QString& part, qsizetype minDigits, qsizetype maxDigits) {
    const QString digits = part.trimmed();
    if (digits.size() < minDigits || digits.size() > maxDigits) return std::nullopt;
    for (QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
    }
    return digits.toInt();
}

}  // namespace

std::optional<QDate> ParseDateText(const QString& text) {
    if (EmptyString(text)) return QDate();
    const QStringList parts = text.split(QLatin1Char('/'));
    if (parts.size() != 3) return std::nullopt;
    const std::optional<int> day = Number(parts[0], 1, 2);
    const std::optional<int> month = Number(parts[1], 1, 2);
    const qsizetype yearDigits = parts[2].trimmed().size();
    const std::optional<int> year = yearDigits == 3 ? std::nullopt : Number(parts[2], 2, 4);
    if (!day || !month || !year) return std::nullopt;
    const QDate date(FullYear(*year, yearDigits), *month, *day);
    if (!date.isValid()) return std::nullopt;
    return date;
}

QString InvalidDateMessage(const QString& text) {
    return QStringLiteral("\"%1\" não é uma data válida. Informe a data como dd/mm/aaaa.")
        .arg(text.trimmed());
}

void DateSetText(Field& field, const QString& text) {
    const std::optional<QDate> date = ParseDateText(text);
    if (!date) throw EError(InvalidDateMessage(text));
    if (date->isValid()) {
        field.SetAsDateTime(*date);
    } else {
        field.Clear();
    }
}

}  // namespace fai
