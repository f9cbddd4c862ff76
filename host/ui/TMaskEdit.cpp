#include "TMaskEdit.h"

namespace fai {

TMaskEdit::TMaskEdit(QWidget* parent) : TEdit(parent) {}

void TMaskEdit::SetEditMask(const QString& mask) {
    const QString value = Text();
    mask_ = fai::EditMask(mask);
    setInputMask(mask_.InputMask());
    if (mask_.IsEmpty()) QLineEdit::setMaxLength(maxLength_);
    SetText(value);
}

void TMaskEdit::SetMaxLength(int length) {
    maxLength_ = length;
    if (mask_.IsEmpty()) QLineEdit::setMaxLength(length);
}

QString TMaskEdit::Text() const { return mask_.IsEmpty() ? text() : mask_.ValueOf(displayText()); }

void TMaskEdit::mouseReleaseEvent(QMouseEvent* event) {
    TEdit::mouseReleaseEvent(event);
    if (mask_.IsEmpty() || hasSelectedText()) return;
    const qsizetype firstBlank = displayText().indexOf(mask_.Blank());
    if (firstBlank >= 0 && cursorPosition() > firstBlank) setCursorPosition(int(firstBlank));
}

void TMaskEdit::SetText(const QString& value) { setText(mask_.ShownFor(value)); }

}  // namespace fai
