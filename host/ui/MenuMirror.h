#pragma once

#include <QPointer>

#include <utility>
#include <vector>

class QAction;

namespace fai {

class TButtonFlat;

// Pairs tool buttons with the menu entries that do what they do. Choosing an entry clicks its
// button (nothing when the button is disabled), and the button's tool tip names the entry's
// key; Sync gives every entry its button's enabled
// state, which screens run whenever they recompute their commands.
class MenuMirror {
  public:
    void Pair(TButtonFlat* button, QAction* entry);
    void Sync() const;

  private:
    std::vector<std::pair<QPointer<TButtonFlat>, QPointer<QAction>>> pairs_;
};

}  // namespace fai
