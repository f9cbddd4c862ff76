#include "NamedResults.h"

#include "CheckResultServ.h"

namespace fai {

HeadcountPackets HeadcountPacketsOf(const ServerResult& result) {
    const std::vector<DataPacket> packets = CheckResultServ(result, true, 0);
    return {packets.at(0), packets.at(1), packets.at(2)};
}

ImportedPackets ImportedPacketsOf(const ServerResult& result) {
    const std::vector<DataPacket> packets = CheckResultServ(result, true, 0);
    return {packets.at(0), packets.at(1), packets.at(2)};
}

DataPacket SinglePacket(const ServerResult& result) {
    return CheckResultServ(result, true, 0).at(0);
}

}  // namespace fai
