#pragma once

#include "PacketReader.h"

namespace fai::appserver {

// Branches (FILIAL) and their billing parameters.
class BranchRepository {
  public:
    // The billing parameters of the branch: one row, or none when the branch has none.
    static PacketRead Params(const QString& branch);
};

}  // namespace fai::appserver
