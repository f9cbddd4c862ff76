#pragma once

#include "DataPacket.h"

#include <QString>

namespace fai::appserver {

class HistoryRepository;
class SqlSession;

// SetTurno: a clerk's save of the shift quantities of one headcount key, inside the caller's
// write transaction. The key must pass the billing rules (WriteRules), every shift must be a
// shift of the branch, and every quantity must still be as the clerk loaded it: one another
// clerk saved meanwhile fails the save with EConflict. A quantity the null-field list names
// is removed.
class ShiftSave {
  public:
    // Every change is recorded in `history`, in the same transaction.
    ShiftSave(SqlSession& session, HistoryRepository& history)
        : session_(session), history_(history) {}

    void Run(const DataPacket& shiftDelta, const QString& nullFields);

  private:
    SqlSession& session_;
    HistoryRepository& history_;
};

}  // namespace fai::appserver
