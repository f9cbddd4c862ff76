#pragma once

#include "DataPacket.h"
#include "NumericFormat.h"
#include "Value.h"

#include <QDate>
#include <QString>

#include <functional>
#include <optional>

namespace fai {

class ClientDataSet;

// A data field is stored with each row and travels in packets; a calculated field is
// worked out by the dataset's OnCalcFields for the row being read and is never stored.
enum class FieldKind { Data, Calculated };

// One column of a client dataset, read and written through the dataset's current record
// (the row being edited or inserted while there is one). A null reads as the empty text, 0
// and the zero date.
class Field {
  public:
    using ChangeEvent = std::function<void(Field&)>;
    // `displayText` is true for the text shown in a grid, false for the text to edit.
    using GetTextEvent = std::function<void(const Field&, QString& text, bool displayText)>;
    using SetTextEvent = std::function<void(Field&, const QString& text)>;

    Field(const Field&) = delete;
    Field& operator=(const Field&) = delete;

    ClientDataSet& DataSet() const { return *dataSet_; }
    const QString& FieldName() const { return def_.name; }
    FieldType DataType() const { return def_.type; }
    FieldKind Kind() const { return kind_; }
    bool IsCalculated() const { return kind_ == FieldKind::Calculated; }
    int Size() const { return def_.size; }
    bool FixedLength() const { return def_.fixedLength; }
    const FieldDef& Definition() const { return def_; }
    // Position among the dataset's fields.
    int Index() const { return index_; }

    // The field name unless a label was given.
    const QString& DisplayLabel() const {
        return displayLabel_.isEmpty() ? def_.name : displayLabel_;
    }
    void SetDisplayLabel(const QString& label) { displayLabel_ = label; }
    bool Visible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    bool Required() const { return required_; }
    void SetRequired(bool required) { required_ = required; }
    const QString& EditMask() const { return editMask_; }
    void SetEditMask(const QString& mask) { editMask_ = mask; }
    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }

    // Float fields take a NumericFormat pattern ("#,##0.000"), date fields a Qt date pattern
    // ("dd/MM/yyyy" when none is given). Throws EError for a bad numeric pattern or for a
    // string field, which has no format.
    const QString& DisplayFormat() const { return displayFormat_; }
    void SetDisplayFormat(const QString& format);
    // The format of the text to edit; the display format when none is given.
    const QString& EditFormat() const { return editFormat_; }
    void SetEditFormat(const QString& format);

    const Value& AsValue() const;
    bool IsNull() const { return AsValue().IsNull(); }
    QString AsString() const;
    double AsFloat() const;
    QDate AsDateTime() const;
    // The value as loaded or last merged; null for a row inserted since and for a
    // calculated field.
    Value OldValue() const;

    // Assignments need the dataset in edit or insert state (a calculated field takes them
    // only inside OnCalcFields) and are converted to the field's type: see Coerce.
    void SetAsValue(const Value& value);
    void SetAsString(const QString& text) { SetAsValue(Value(text)); }
    void SetAsFloat(double number) { SetAsValue(Value(number)); }
    void SetAsDateTime(const QDate& date) { SetAsValue(Value(date)); }
    void Clear() { SetAsValue(Value()); }

    // What a grid shows, through OnGetText when it is set, else the display format.
    QString DisplayText() const { return TextFor(true); }
    // What an editor starts with, through OnGetText when it is set, else the edit format.
    QString Text() const { return TextFor(false); }
    // What an editor hands back, through OnSetText when it is set, else as AsString.
    void SetText(const QString& text);
    // A cell of this field written the way AsString reads it.
    QString TextOf(const Value& value) const;

    // Asks the controls showing this field's dataset to move the focus to this field.
    void FocusControl();

    ChangeEvent OnChange;
    GetTextEvent OnGetText;
    SetTextEvent OnSetText;

  private:
    friend class ClientDataSet;
    Field(ClientDataSet& dataSet, FieldDef def, FieldKind kind, int index, int slot);

    QString TextFor(bool display) const;
    QString FormatWith(const Value& value, const std::optional<NumericFormat>& numeric,
                       const QString& datePattern) const;
    void ParseFormat(const QString& format, std::optional<NumericFormat>& numeric) const;

    ClientDataSet* dataSet_;
    FieldDef def_;
    FieldKind kind_;
    int index_;
    int slot_;  // the storage column of a data field, the calculated slot of a calculated one
    QString displayLabel_;
    bool visible_ = true;
    bool readOnly_ = false;
    bool required_ = false;
    QString editMask_;
    int tag_ = 0;
    QString displayFormat_;
    QString editFormat_;
    std::optional<NumericFormat> displayNumeric_;
    std::optional<NumericFormat> editNumeric_;
};

}  // namespace fai
