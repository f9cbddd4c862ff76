#pragma once

#include "EditMask.h"
#include "TEdit.h"

namespace fai {

// A masked edit box. The edit mask takes the classic form "pattern;save-literals;blank" (see
// EditMask) and can change at run time; without a mask the box takes any text up to its
// maximum length. Text() is the value as stored: without the mask's literals when they are
// not saved.
class TMaskEdit : public TEdit {
    Q_OBJECT
  public:
    explicit TMaskEdit(QWidget* parent = nullptr);

    const QString& EditMask() const { return mask_.Source(); }
    // Keeps the value: the text typed so far is shown again under the new mask.
    void SetEditMask(const QString& mask);

    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int length);

    QString Text() const;
    void SetText(const QString& value);

  protected:
    // A click past what is typed puts the caret where the next character goes, so that typing
    // into an empty box starts at its first position, not wherever the click fell.
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    fai::EditMask mask_;
    int maxLength_ = 32767;
};

}  // namespace fai
