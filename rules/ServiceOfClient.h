#pragma once

#include <QString>

namespace fai {

// A headcount is kept only for a service the client has at the branch: what a change of
// another service's is refused with.
QString ServiceNotOfClientMessage();

}  // namespace fai
