#pragma once

#include "KeyEvents.h"

#include <QLineEdit>

#include <functional>

namespace fai {

class FocusScope;

// A one-line edit with the classic events: change (also on assignments from code, so that
// screens detach the handler around them), enter, exit, key down and key press. Handlers
// run through the event guard; key handlers can swallow the key.
class TEdit : public QLineEdit {
    Q_OBJECT
  public:
    explicit TEdit(QWidget* parent = nullptr);
    ~TEdit() override;

    // The selection as the classic edits count it: start and length, or the cursor
    // position and 0 without a selection.
    int SelStart() const;
    int SelLength() const;

    std::function<void()> OnChange;
    std::function<void()> OnEnter;
    std::function<void()> OnExit;
    KeyDownEvent OnKeyDown;
    KeyPressEvent OnKeyPress;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    // The character after the screen's key-press handler had its say; a control that filters
    // characters of its own does it here and returns QChar() to discard.
    virtual QChar FilterChar(QChar key) { return key; }

  private:
    FocusScope* focus_;
};

}  // namespace fai
