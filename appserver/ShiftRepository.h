#pragma once

#include "DataPacket.h"
#include "HeadcountKey.h"

namespace fai::appserver {

class SqlSession;

// The meal shifts of each branch (TURNO) and the billed diners of a headcount per shift
// (EFETTURNO).
class ShiftRepository {
  public:
    explicit ShiftRepository(SqlSession& session) : session_(session) {}

    // One row per shift of the branch, by code, with the key filled in and the stored
    // quantity, or an empty quantity where none is stored yet.
    DataPacket ShiftsOf(const HeadcountKey& key);
    // One row: the sum of the stored shift quantities of the key, 0 when none is stored.
    DataPacket ShiftSum(const HeadcountKey& key);

  private:
    SqlSession& session_;
};

}  // namespace fai::appserver
