#include "TEdit.h"

#include "EventGuard.h"
#include "FocusScope.h"

#include <QKeyEvent>

namespace fai {

TEdit::TEdit(QWidget* parent) : QLineEdit(parent), focus_(new FocusScope(this)) {
    focus_->OnEnter = [this] {
        if (OnEnter) OnEnter();
    };
    focus_->OnExit = [this] {
        if (OnExit) OnExit();
    };
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (OnChange) GuardEvent(OnChange);
    });
}

// The handlers reach members that are gone once this destructor has run, before the
// widget's own teardown moves the focus.
TEdit::~TEdit() { delete focus_; }

int TEdit::SelStart() const { return hasSelectedText() ? selectionStart() : cursorPosition(); }

int TEdit::SelLength() const { return hasSelectedText() ? int(selectedText().size()) : 0; }

void TEdit::keyPressEvent(QKeyEvent* event) {
    int key = event->key();
    if (!PassKeyDown(OnKeyDown, key, event->modifiers())) return;
    const QChar typed = TypedChar(*event);
    if (typed.isNull()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    QChar character = typed;
    if (!PassKeyPress(OnKeyPress, character)) return;
    character = FilterChar(character);
    if (character.isNull()) return;
    if (character == typed) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    QKeyEvent changed = WithChar(*event, character);
    QLineEdit::keyPressEvent(&changed);
}

}  // namespace fai
