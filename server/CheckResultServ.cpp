#include "CheckResultServ.h"

#include <stdexcept>

namespace fai {

std::vector<DataPacket> CheckResultServ(const ServerResult& result, bool showMessage, int index) {
    if (!result.success) {
        if (!showMessage) throw EAbort();
        // An empty dialog would tell the user nothing about what went wrong.
        throw EServerError(result.error.isEmpty()
                               ? QStringLiteral("O servidor de aplicação informou uma falha "
                                                "sem descrição.")
                               : result.error);
    }
    if (index < 0) throw std::invalid_argument("CheckResultServ: negative payload index");
    if (static_cast<std::size_t>(index) >= result.payload.size()) return {};
    return {result.payload.begin() + index, result.payload.end()};
}

}  // namespace fai
