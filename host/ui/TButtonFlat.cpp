#include "TButtonFlat.h"

#include "EventGuard.h"

namespace fai {

TButtonFlat::TButtonFlat(QWidget* parent) : QToolButton(parent) {
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    connect(this, &QToolButton::clicked, this, [this] {
        if (OnClick) GuardEvent(OnClick);
    });
}

void TButtonFlat::SetHint(const QString& hint) {
    hint_ = hint;
    ShowHint();
}

void TButtonFlat::SetKey(const QKeySequence& key) {
    key_ = key;
    ShowHint();
}

void TButtonFlat::ShowHint() {
    const QString shown = key_.isEmpty() ? hint_
                                         : QStringLiteral("%1 (%2)").arg(
                                               hint_, key_.toString(QKeySequence::NativeText));
    setToolTip(shown);
    setStatusTip(shown);
}

bool TButtonFlat::Click() {
    if (!isEnabled() || !OnClick) return false;
    return GuardEvent(OnClick);
}

}  // namespace fai
