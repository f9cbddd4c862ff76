#include "ServerAccess.h"

namespace fai {

const std::shared_ptr<ServerAccess>& ServerAccess::Host() {
    static const std::shared_ptr<ServerAccess> host = std::make_shared<ServerAccess>();
    return host;
}

}  // namespace fai
