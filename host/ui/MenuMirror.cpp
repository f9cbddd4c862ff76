#include "MenuMirror.h"

#include "TButtonFlat.h"

#include <QAction>

namespace fai {

void MenuMirror::Pair(TButtonFlat* button, QAction* entry) {
    pairs_.emplace_back(button, entry);
    if (!entry->shortcut().isEmpty()) button->SetKey(entry->shortcut());
    QObject::connect(entry, &QAction::triggered, button, [button] { button->Click(); });
    entry->setEnabled(button->isEnabled());
}

void MenuMirror::Sync() const {
    for (const auto& [button, entry] : pairs_) {
        if (button && entry) entry->setEnabled(button->isEnabled());
    }
}

}  // namespace fai
