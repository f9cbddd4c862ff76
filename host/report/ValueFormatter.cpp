#include "ValueFormatter.h"

#include "BrazilianText.h"
#include "Consiste.h"
#include "ValueConversion.h"

namespace fai {
namespace {

QString NumberPattern(const DisplayFormat& format) {
    QString pattern = format.thousands ? QStringLiteral("#,##0") : QStringLiteral("0");
    if (format.decimals > 0) pattern += QLatin1Char('.') + QString(format.decimals, u'0');
    return pattern;
}

// A number the database handed over as text: "12.5" from a driver, or "12,5" typed.
std::optional<double> NumberInText(const QString& text) {
    bool ok = false;
    const double number = text.trimmed().toDouble(&ok);
    if (ok) return number;
    return ParseNumber(text);
}

// A day the database handed over as text: "2024-03-05" or "2024-03-05 00:00:00".
std::optional<QDate> DateInText(const QString& text) {
    const QDate iso = QDate::fromString(text.trimmed().left(10), Qt::ISODate);
    if (iso.isValid()) return iso;
    return ParseDate(text);
}

}  // namespace

ValueFormatter::ValueFormatter(const DisplayFormat& format) : format_(format) {
    if (format.kind == FormatKind::Number) number_ = NumericFormat::Parse(NumberPattern(format));
}

QString ValueFormatter::Text(const Value& value, const QString& personType) const {
    if (value.IsNull()) return {};
    switch (format_.kind) {
        case FormatKind::None:
            return TextOf(value);
        case FormatKind::Number:
            if (value.IsNumber()) return number_->Format(value.Number());
            if (value.IsText()) {
                if (const std::optional<double> number = NumberInText(value.Text()))
                    return number_->Format(*number);
            }
            return TextOf(value);
        case FormatKind::Date:
            if (value.IsNumber()) return FormatDate(FromDaySerial(qint64(value.Number())));
            if (value.IsText()) {
                if (const std::optional<QDate> date = DateInText(value.Text()))
                    return FormatDate(*date);
            }
            return TextOf(value);
        case FormatKind::Registration:
            return FormatMaskText(PictPess(personType), TextOf(value));
    }
    return TextOf(value);
}

}  // namespace fai
