#pragma once

#include "DataPacket.h"

namespace fai::appserver {

class SqlSession;

// Branches (FILIAL) and their billing parameters.
class BranchRepository {
  public:
    explicit BranchRepository(SqlSession& session) : session_(session) {}

    // The billing parameters of the branch: one row, or none when the branch has none.
    DataPacket Params(const QString& branch);

  private:
    SqlSession& session_;
};

}  // namespace fai::appserver
