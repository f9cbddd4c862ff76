#pragma once

#include "Errors.h"
#include "ServerResult.h"

#include <vector>

namespace fai {

// A failure reported by the application server: a result whose flag says so, a call the
// server refused, or an answer that cannot be read. Message() is the text for the user.
class EServerError : public EError {
  public:
    using EError::EError;
};

// The host's result check, which every screen runs on a server result before using it.
//
// A failure raises: with `showMessage` true (what the screens pass) as EServerError with
// the server's message, so that the event guard shows it; with `showMessage` false as a
// silent EAbort, for a caller that deals with the failure without bothering the user.
// Either way nothing after the check runs.
//
// On success returns the payload from element `index` on: 0 (what the screens pass) gives
// the whole ordered list, so single-packet methods take element 0 and GetEfetFatu finds
// its three packets at 0, 1 and 2. An index past the end gives an empty list; a negative
// index is a programming error (std::invalid_argument).
std::vector<DataPacket> CheckResultServ(const ServerResult& result, bool showMessage, int index);

}  // namespace fai
