#pragma once

#include "DataPacket.h"

namespace fai::appserver {

class SqlSession;

// The services of a branch (SERVICO) and those it provides to each client (SERVCLIEFILI).
class ServiceRepository {
  public:
    explicit ServiceRepository(SqlSession& session) : session_(session) {}

    // Every service of the client at the branch, by code.
    DataPacket ServicesOfClient(const QString& branch, const QString& client);
    // The one service, or no row when the client does not have it at the branch.
    DataPacket ServiceOfClient(const QString& branch, const QString& client,
                               const QString& service);
    // The service code alone, or no row: whether the service is related to client and branch.
    DataPacket Relation(const QString& branch, const QString& client, const QString& service);

  private:
    DataPacket Select(const QString& condition, const QVariantList& params);

    SqlSession& session_;
};

}  // namespace fai::appserver
