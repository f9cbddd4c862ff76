#pragma once

#include "PacketReader.h"

namespace fai::appserver {

// The services of a branch (SERVICO) and those it provides to each client (SERVCLIEFILI).
class ServiceRepository {
  public:
    // Every service of the client at the branch, by code.
    static PacketRead ServicesOfClient(const QString& branch, const QString& client);
    // The one service, or no row when the client does not have it at the branch.
    static PacketRead ServiceOfClient(const QString& branch, const QString& client,
                                      const QString& service);
    // The service code alone, or no row: whether the service is related to client and branch.
    static PacketRead Relation(const QString& branch, const QString& client,
                               const QString& service);

  private:
    static PacketRead Select(const QString& condition, const QVariantList& params);
};

}  // namespace fai::appserver
