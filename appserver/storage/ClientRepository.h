#pragma once

#include "DataPacket.h"

namespace fai::appserver {

class SqlSession;

// Clients (CLIENTE) and the branches that serve them (CLIENFILIAL). Lists are ordered by
// corporate name, as the host's own client lookup orders them.
class ClientRepository {
  public:
    explicit ClientRepository(SqlSession& session) : session_(session) {}

    DataPacket ClientsOfBranch(const QString& branch);
    // Several clients may share a registration number when their person types differ.
    DataPacket ByRegistration(const QString& branch, const QString& registrationNumber);
    DataPacket ByCode(const QString& branch, const QString& client);

  private:
    DataPacket Select(const QString& condition, const QVariantList& params);

    SqlSession& session_;
};

}  // namespace fai::appserver
