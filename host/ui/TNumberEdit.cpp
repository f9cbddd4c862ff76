#include "TNumberEdit.h"

#include "BrazilianText.h"
#include "Errors.h"

namespace fai {

TNumberEdit::TNumberEdit(QWidget* parent) : TEdit(parent) {
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    connect(this, &QLineEdit::editingFinished, this, &TNumberEdit::ShowFormatted);
}

void TNumberEdit::SetDecimals(int decimals) {
    decimals_ = std::max(0, decimals);
    ShowFormatted();
}

void TNumberEdit::SetThousandSeparator(bool shown) {
    thousandSeparator_ = shown;
    ShowFormatted();
}

double TNumberEdit::GetNumber() const {
    const QString typed = text().trimmed();
    // A sign or a separator alone is a number not yet typed.
    if (typed.isEmpty() || typed == QLatin1String("-") || typed == QLatin1String(",")) return 0;
    const std::optional<double> number = ParseNumber(typed);
    if (!number) throw EError(QStringLiteral("\"%1\" não é um número válido.").arg(typed));
    return *number;
}

void TNumberEdit::SetNumber(double value) {
    QLocale locale = BrazilianLocale();
    if (!thousandSeparator_) locale.setNumberOptions(QLocale::OmitGroupSeparator);
    setText(locale.toString(value, 'f', decimals_));
}

QChar TNumberEdit::FilterChar(QChar key) {
    if (key.unicode() < 32 || key.isDigit() || key == QLatin1Char(',') || key == QLatin1Char('-'))
        return key;
    if (key == QLatin1Char('.')) return QLatin1Char(',');
    return QChar();
}

void TNumberEdit::ShowFormatted() {
    if (IsBlank()) return;
    const std::optional<double> number = ParseNumber(text().trimmed());
    if (number) SetNumber(*number);
}

}  // namespace fai
