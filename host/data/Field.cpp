#include "Field.h"

#include "BrazilianText.h"
#include "ClientDataSet.h"
#include "Errors.h"
#include "ValueConversion.h"

namespace fai {

Field::Field(ClientDataSet& dataSet, FieldDef def, FieldKind kind, int index, int slot)
    : dataSet_(&dataSet), def_(std::move(def)), kind_(kind), index_(index), slot_(slot) {}

void Field::SetDisplayFormat(const QString& format) {
    ParseFormat(format, displayNumeric_);
    displayFormat_ = format;
}

void Field::SetEditFormat(const QString& format) {
    ParseFormat(format, editNumeric_);
    editFormat_ = format;
}

void Field::ParseFormat(const QString& format, std::optional<NumericFormat>& numeric) const {
    if (!format.isEmpty() && def_.type == FieldType::String)
        throw EError(
            QStringLiteral("O campo de texto '%1' não aceita formato.").arg(DisplayLabel()));
    if (format.isEmpty() || def_.type != FieldType::Float) {
        numeric.reset();
        return;
    }
    numeric = NumericFormat::Parse(format);
}

const Value& Field::AsValue() const { return dataSet_->ReadField(*this); }

QString Field::AsString() const { return fai::TextOf(AsValue()); }

double Field::AsFloat() const { return FloatOf(AsValue(), DisplayLabel()); }

QDate Field::AsDateTime() const { return DateOf(AsValue(), DisplayLabel()); }

Value Field::OldValue() const { return dataSet_->OldValueOf(*this); }

void Field::SetAsValue(const Value& value) { dataSet_->WriteField(*this, value); }

void Field::SetText(const QString& text) {
    if (OnSetText) {
        OnSetText(*this, text);
    } else {
        SetAsString(text);
    }
}

QString Field::TextOf(const Value& value) const { return fai::TextOf(value); }

void Field::FocusControl() { dataSet_->RequestFocus(*this); }

QString Field::TextFor(bool display) const {
    if (OnGetText) {
        QString text;
        OnGetText(*this, text, display);
        return text;
    }
    const Value& value = AsValue();
    if (display || editFormat_.isEmpty()) return FormatWith(value, displayNumeric_, displayFormat_);
    return FormatWith(value, editNumeric_, editFormat_);
}

QString Field::FormatWith(const Value& value, const std::optional<NumericFormat>& numeric,
                          const QString& datePattern) const {
    if (value.IsNumber() && numeric) return numeric->Format(value.Number());
    if (value.IsDate() && !datePattern.isEmpty())
        return BrazilianLocale().toString(value.Date(), datePattern);
    return fai::TextOf(value);
}

}  // namespace fai
