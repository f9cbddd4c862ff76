#pragma once

#include <functional>

namespace fai {

// The one place where exceptions stop: every slot, event filter and menu action runs its
// handler through here, so that no exception crosses Qt's event loop. A silent abort ends
// quietly; an error is shown through the dialog service. Focus stays where the handler
// put it before failing. Returns true when the handler completed.
bool GuardEvent(const std::function<void()>& handler);

}  // namespace fai
