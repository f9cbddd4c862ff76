#pragma once

#include "DataPacket.h"

#include <QString>

#include <vector>

namespace fai {

// The server result array: what every application-server method answers, except the two
// that answer plain text. On failure `error` says why and the payload is empty; on success
// the payload holds no packet, one, or an ordered list, as the method defines.
struct ServerResult {
    bool success = false;
    QString error;
    std::vector<DataPacket> payload;
};

}  // namespace fai
