#pragma once

#include "BusyIndicator.h"

#include <QString>

class QWidget;

namespace fai {

// The busy indicator over a form for the life of the scope: it comes down on every path out
// of a server call, the failing ones included.
class [[nodiscard]] BusyScope {
  public:
    BusyScope(QWidget* form, int kind, const QString& text = {}) {
        ActiveShowAvi(form, kind, text);
    }
    ~BusyScope() { DeactiveShowAvi(); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
};

}  // namespace fai
