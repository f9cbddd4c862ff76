#pragma once

#include "DataPacket.h"

#include <QString>

namespace fai::appserver {

class SqlSession;

// SetTurno: a clerk's save of the shift quantities of one headcount key, inside the caller's
// write transaction. The key must pass the billing rules (WriteRules), every shift must be a
// shift of the branch, and every quantity must still be as the clerk loaded it: one another
// clerk saved meanwhile fails the save with EConflict. A quantity the null-field list names
// is removed.
class ShiftSave {
  public:
    explicit ShiftSave(SqlSession& session) : session_(session) {}

    void Run(const DataPacket& shiftDelta, const QString& nullFields);

  private:
    SqlSession& session_;
};

}  // namespace fai::appserver
