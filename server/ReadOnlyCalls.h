#pragma once

#include <string_view>

namespace fai {

// Whether a method of the contract only reads: made twice, it changes nothing. Only such a
// call may be made again on another server when its server went away before answering; a
// call that writes may have been done there, and making it again is the clerk's decision,
// which the conflict check then guards.
bool ChangesNothing(std::string_view method);

}  // namespace fai
