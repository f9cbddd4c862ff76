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
    setToolTip(hint);
    setStatusTip(hint);
}

bool TButtonFlat::Click() {
    if (!isEnabled() || !OnClick) return false;
    return GuardEvent(OnClick);
}

}  // namespace fai
