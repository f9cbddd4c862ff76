#include "ValueConversion.h"

#include "BrazilianText.h"
#include "Errors.h"

#include <cmath>

namespace fai {
namespace {

[[noreturn]] void NotANumber(const QString& text, QStringView label) {
    throw EError(QStringLiteral("'%1' não é um número válido para o campo '%2'.")
                     .arg(text, label.toString()));
}

[[noreturn]] void NotADate(const QString& text, QStringView label) {
    throw EError(QStringLiteral("'%1' não é uma data válida para o campo '%2'.")
                     .arg(text, label.toString()));
}

bool IsBlank(const QString& text) { return text.trimmed().isEmpty(); }

QDate DateFromSerial(double serial, QStringView label) {
    const QDate date = std::isfinite(serial) && std::abs(serial) < 4e6
                           ? FromDaySerial(static_cast<qint64>(std::floor(serial)))
                           : QDate();
    if (!date.isValid() || date.year() < 1 || date.year() > 9999)
        NotADate(FormatNumber(serial), label);
    return date;
}

QDate ParseDateOrThrow(const QString& text, QStringView label) {
    const auto date = ParseDate(text);
    if (!date) NotADate(text, label);
    return *date;
}

double ParseNumberOrThrow(const QString& text, QStringView label) {
    const auto number = ParseNumber(text);
    if (!number) NotANumber(text, label);
    return *number;
}

Value CoerceToString(const Value& value, int size, QStringView label) {
    QString text = TextOf(value);
    if (size > 0 && text.size() > size)
        throw EError(QStringLiteral("Texto maior que %1 caracteres para o campo '%2'.")
                         .arg(size)
                         .arg(label));
    return Value(text);
}

Value CoerceToFloat(const Value& value, QStringView label) {
    if (value.IsText()) {
        if (IsBlank(value.Text())) return Value();
        return Value(ParseNumberOrThrow(value.Text(), label));
    }
    if (value.IsDate()) return Value(static_cast<double>(ToDaySerial(value.Date())));
    return value;
}

Value CoerceToDate(const Value& value, QStringView label) {
    if (value.IsText()) {
        if (IsBlank(value.Text())) return Value();
        return Value(ParseDateOrThrow(value.Text(), label));
    }
    if (value.IsNumber()) return Value(DateFromSerial(value.Number(), label));
    if (value.IsDate() && !value.Date().isValid()) return Value();
    return value;
}

}  // namespace

QString TextOf(const Value& value) {
    if (value.IsText()) return value.Text();
    if (value.IsNumber()) return FormatNumber(value.Number());
    if (value.IsDate()) return FormatDate(value.Date());
    return QString();
}

double FloatOf(const Value& value, QStringView label) {
    if (value.IsNumber()) return value.Number();
    if (value.IsDate()) return static_cast<double>(ToDaySerial(value.Date()));
    if (value.IsText() && !IsBlank(value.Text())) return ParseNumberOrThrow(value.Text(), label);
    return 0.0;
}

QDate DateOf(const Value& value, QStringView label) {
    if (value.IsDate()) return value.Date();
    if (value.IsNumber()) return DateFromSerial(value.Number(), label);
    if (value.IsText() && !IsBlank(value.Text())) return ParseDateOrThrow(value.Text(), label);
    return ZeroDate();
}

Value Coerce(const Value& value, FieldType type, int size, QStringView label) {
    if (value.IsNull()) return value;
    switch (type) {
        case FieldType::String:
            return CoerceToString(value, size, label);
        case FieldType::Float:
            return CoerceToFloat(value, label);
        case FieldType::DateTime:
            return CoerceToDate(value, label);
    }
    return Value();
}

}  // namespace fai
