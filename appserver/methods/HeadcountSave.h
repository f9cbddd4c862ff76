#pragma once

#include "DataPacket.h"

#include <QString>

namespace fai::appserver {

class HistoryRepository;
class SqlSession;

// UpdEfetFatu: a clerk's save of headcount rows and of the apportionment of their billed
// diners, applied together inside the caller's write transaction, so that a refusal
// anywhere leaves everything as it was.
//
// Every row of a save belongs to one branch and one client. Each row written must pass the
// billing rules (WriteRules) and must still be as the clerk loaded it: a row another clerk
// saved meanwhile fails the whole save with EConflict instead of being overwritten. A
// deleted row takes its shift quantities and apportionment links with it. An apportionment
// change already stored (the screen sends its apportionment changes again with the next
// save of the row, until it reloads them) is taken as done.
class HeadcountSave {
  public:
    // Every change is recorded in `history`, in the same transaction.
    HeadcountSave(SqlSession& session, HistoryRepository& history)
        : session_(session), history_(history) {}

    // A delta that is absent is Null: nothing pending in that dataset. Throws EBadRequest
    // for a save that may not be stored, saying why, EConflict for one built on stale rows.
    void Run(const OptionalPacket& headcountDelta, const QString& nullFields,
             const OptionalPacket& apportionmentDelta);

  private:
    SqlSession& session_;
    HistoryRepository& history_;
};

}  // namespace fai::appserver
