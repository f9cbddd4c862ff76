#pragma once

#include "HeadcountKey.h"
#include "PacketReader.h"

#include <map>
#include <optional>
#include <utility>

namespace fai::appserver {

class SqlSession;

// The meal shifts of each branch (TURNO) and the billed diners of a headcount per shift
// (EFETTURNO).
class ShiftRepository {
  public:
    explicit ShiftRepository(SqlSession& session) : session_(session) {}

    // One row per shift of the branch, by code, with the key filled in and the stored
    // quantity, or an empty quantity where none is stored yet.
    static PacketRead ShiftsOf(const HeadcountKey& key);
    // One row: the sum of the stored shift quantities of the key, 0 when none is stored, at
    // the quantities' precision.
    static PacketRead ShiftSum(const HeadcountKey& key);
    // The sums of the stored shift quantities of every service of the client with some,
    // by service and day, over the days from `first` to `last`.
    std::map<std::pair<QString, QDate>, double> Sums(const QString& branch, const QString& client,
                                                     const QDate& first, const QDate& last);

    bool IsShiftOfBranch(const QString& branch, const QString& shift);
    // Writing, inside a write transaction. The quantity stored for the shift of the key,
    // locked until the commit; none when none is stored.
    std::optional<double> Locked(const HeadcountKey& key, const QString& shift);
    // False, and nothing written, when a quantity is stored already.
    bool InsertIfAbsent(const HeadcountKey& key, const QString& shift, double quantity);
    void Update(const HeadcountKey& key, const QString& shift, double quantity);
    void Remove(const HeadcountKey& key, const QString& shift);
    // Every shift quantity of the key.
    void RemoveAll(const HeadcountKey& key);

  private:
    SqlSession& session_;
};

}  // namespace fai::appserver
