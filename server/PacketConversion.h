#pragma once

#include "DataPacket.h"
#include "fai00400.pb.h"

#include <stdexcept>

namespace fai {

// A packet that came off the wire and does not hold together: unknown field type, a row
// whose values do not match the field definitions, a value of the wrong kind.
class MalformedPacket : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The one place where data packets and their protobuf form meet.
void ToProto(const DataPacket& packet, Fai00400::DataPacket* out);
Fai00400::DataPacket ToProto(const DataPacket& packet);

// Checks the packet as it converts it and throws MalformedPacket, with a message for the
// user, on the first inconsistency.
DataPacket FromProto(const Fai00400::DataPacket& packet);

}  // namespace fai
