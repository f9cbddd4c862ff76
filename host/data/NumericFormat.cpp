#include "NumericFormat.h"

#include "BrazilianText.h"
#include "Errors.h"

#include <cmath>

namespace fai {
namespace {

[[noreturn]] void Invalid(const QString& pattern) {
    throw EError(QStringLiteral("Formato numérico '%1' inválido.").arg(pattern));
}

// Zeros dropped from the end of the decimals, down to the decimals that are always shown.
void TrimOptionalDecimals(QString& text, QChar decimalPoint, int minDecimals) {
    const qsizetype point = text.indexOf(decimalPoint);
    if (point < 0) return;
    qsizetype end = text.size();
    while (end > point + 1 + minDecimals && text[end - 1] == u'0') --end;
    if (end == point + 1) end = point;
    text.truncate(end);
}

bool OnlyZeroDigits(const QString& text) {
    for (QChar c : text) {
        if (c.isDigit() && c != u'0') return false;
    }
    return true;
}

}  // namespace

NumericFormat NumericFormat::Parse(const QString& pattern) {
    NumericFormat format;
    const qsizetype point = pattern.indexOf(u'.');
    const QStringView integer = QStringView(pattern).left(point < 0 ? pattern.size() : point);
    const QStringView decimals = point < 0 ? QStringView() : QStringView(pattern).mid(point + 1);

    bool grouped = false;
    int zeros = 0;
    for (QChar c : integer) {
        if (c == u',') {
            grouped = true;
        } else if (c == u'0') {
            ++zeros;
        } else if (c != u'#') {
            Invalid(pattern);
        }
    }
    if (zeros > 1 || (zeros == 1 && !integer.endsWith(u'0'))) Invalid(pattern);
    if (integer.isEmpty() && decimals.isEmpty()) Invalid(pattern);
    format.leadingZero_ = zeros == 1;
    format.locale_ = BrazilianLocale();
    format.locale_.setNumberOptions(grouped ? QLocale::DefaultNumberOptions
                                            : QLocale::OmitGroupSeparator);

    bool optionalStarted = false;
    for (QChar c : decimals) {
        if (c == u'0' && !optionalStarted) {
            ++format.minDecimals_;
        } else if (c == u'#') {
            optionalStarted = true;
        } else {
            Invalid(pattern);
        }
    }
    format.maxDecimals_ = static_cast<int>(decimals.size());
    return format;
}

QString NumericFormat::Format(double value) const {
    const QLocale& locale = locale_;
    if (!std::isfinite(value)) return locale.toString(value);
    QString text = locale.toString(value, 'f', maxDecimals_);
    TrimOptionalDecimals(text, locale.decimalPoint().front(), minDecimals_);
    // A value that rounds to zero is shown without a sign: "-0,000" would read as a debt.
    if (text.startsWith(locale.negativeSign()) && OnlyZeroDigits(text))
        text.remove(0, locale.negativeSign().size());
    if (!leadingZero_) {
        const qsizetype digit =
            text.startsWith(locale.negativeSign()) ? locale.negativeSign().size() : 0;
        if (text.mid(digit, 1) == u"0" && text.size() > digit + 1) text.remove(digit, 1);
    }
    return text;
}

}  // namespace fai
