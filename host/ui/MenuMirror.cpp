#include "MenuMirror.h"

#include "TButtonFlat.h"

#include <QAction>

namespace fai {

void MenuMirror::Pair(TButtonFlat* button, QAction* entry) {
    pairs_.emplace_back(button, entry);
    QObject::connect(entry, &QAction::triggered, button, [button] { button->Click(); });
    entry->setEnabled(button->isEnabled());
    const QString written = entry->text().section(QLatin1Char('\t'), 1);
    button->SetKey(entry->shortcut().isEmpty() ? QKeySequence(written) : entry->shortcut());
}

void MenuMirror::Sync() const {
    for (const auto& [button, entry] : pairs_) {
        if (button && entry) entry->setEnabled(button->isEnabled());
    }
}

}  // namespace fai
