#pragma once

#include "DataPacket.h"
#include "PacketConversion.h"

#include <ostream>

namespace fai {

// Lets GoogleTest show a packet's content, not its bytes, when a comparison fails.
inline void PrintTo(const DataPacket& packet, std::ostream* os) {
    *os << ToProto(packet).ShortDebugString();
}

}  // namespace fai
