#pragma once

#include "PacketReader.h"

namespace fai::appserver {

// Clients (CLIENTE) and the branches that serve them (CLIENFILIAL). Lists are ordered by
// corporate name, as the host's own client lookup orders them.
class ClientRepository {
  public:
    static PacketRead ClientsOfBranch(const QString& branch);
    // Several clients may share a registration number when their person types differ.
    static PacketRead ByRegistration(const QString& branch, const QString& registrationNumber);
    static PacketRead ByCode(const QString& branch, const QString& client);

  private:
    static PacketRead Select(const QString& condition, const QVariantList& params);
};

}  // namespace fai::appserver
