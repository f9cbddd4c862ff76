#include "ServerGeneralData.h"

namespace fai {

ServerGeneralData::ServerGeneralData(const QString& servers, int port) {
    connection_.SetHost(servers);
    connection_.SetPort(port);
}

void ServerGeneralData::Read(const QString& name, const QString& sql,
                             const std::vector<Value>& params, const Part& part) {
    if (!connection_.Connected()) connection_.Connect();
    connection_.AppServer().ConsultaHost(name, sql, params, part);
}

}  // namespace fai
