#include "GeneralDataServer.h"

#include "ServerGeneralData.h"

namespace fai::appserver::test {

GeneralDataServer::GeneralDataServer(const DatabaseLocation& location)
    : server_(location), seed_(location) {
    Attach();
}

GeneralDataServer::~GeneralDataServer() { SetGeneralData(nullptr); }

void GeneralDataServer::Attach() {
    SetGeneralData(std::make_shared<ServerGeneralData>(QStringLiteral("127.0.0.1"), Port()));
}

}  // namespace fai::appserver::test
