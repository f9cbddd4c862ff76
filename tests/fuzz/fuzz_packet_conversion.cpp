// Fuzzes the conversion of data packets from their wire form, which every request and every
// answer goes through: any bytes that protobuf takes for a packet must be refused with a
// MalformedPacket or give a packet that travels back and forth unchanged.
#include "PacketConversion.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Fai00400::DataPacket wire;
    if (!wire.ParseFromArray(data, static_cast<int>(size))) return 0;
    fai::DataPacket packet;
    try {
        packet = fai::FromProto(wire);
    } catch (const fai::MalformedPacket&) {
        return 0;
    }
    if (!(fai::FromProto(fai::ToProto(packet)) == packet)) {
        std::fprintf(stderr, "fuzz: the packet changed on its way back and forth\n");
        std::abort();
    }
    return 0;
}
