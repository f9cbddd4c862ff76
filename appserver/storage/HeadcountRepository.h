#pragma once

#include "HeadcountKey.h"
#include "PacketReader.h"

#include <map>
#include <optional>
#include <span>

namespace fai::appserver {

class SqlSession;

// The headcount rows (EFETFATUR): billed and forecast diners per branch, client, service
// and billing date.
class HeadcountRepository {
  public:
    explicit HeadcountRepository(SqlSession& session) : session_(session) {}

    // One row per service of the client at the branch, with what is stored for the date or
    // empty counts where nothing is stored yet, so the clerk can fill any service in.
    static PacketRead ByDate(const QString& branch, const QString& client, const QDate& date);
    // Every stored date of the service for the client, oldest first.
    static PacketRead ByService(const QString& branch, const QString& client,
                                const QString& service);
    // The date of the key's row when it is stored; no row when the date is still free.
    static PacketRead StoredDate(const HeadcountKey& key);
    // The latest stored date of the service for the client; no row when there is none.
    static PacketRead LatestDate(const QString& branch, const QString& client,
                                 const QString& service);

    // Writing, inside a write transaction. The row stored for the key, locked until the
    // commit; none when the row is not stored.
    std::optional<HeadcountRow> Locked(const HeadcountKey& key);
    using StoredRows = std::map<HeadcountKey, HeadcountRow>;
    // The rows stored for the keys, locked until the commit, in the order of the keys (so
    // that two writers never wait for each other's rows); a key not stored has no row.
    StoredRows Locked(std::span<const HeadcountKey> keys);
    // How many keys one statement of Locked takes.
    static constexpr std::size_t kLockedAtOnce = 64;
    // The statement of Locked for at most kLockedAtOnce keys, ordered, to be sent along with
    // other reads; its rows are added to `stored` by TakeLocked.
    SqlSession::Statement LockedRead(std::span<const HeadcountKey> keys) const;
    static void TakeLocked(SqlRows& rows, StoredRows& stored);
    // False, and nothing written, when the row is stored already (perhaps by a save that
    // committed after Locked looked).
    bool InsertIfAbsent(const HeadcountKey& key, const HeadcountRow& row);
    // The update of a stored row, for the caller to run when it fits: a save sends it with
    // its commit (SqlSession::WithCommit).
    static SqlSession::Statement Update(const HeadcountKey& key, const HeadcountRow& row);
    // The row alone; its apportionment links go with it, its shift quantities are the
    // shifts' to remove.
    void Remove(const HeadcountKey& key);
    // Inserts the row with both counts, or sets both counts of the stored row.
    void StoreCounts(const HeadcountKey& key, double billed, double forecast);
    // Inserts the row with the billed count, or sets the billed count of the stored row.
    // Whether anything changed.
    bool StoreBilled(const HeadcountKey& key, double billed);

  private:
    SqlSession& session_;
};

}  // namespace fai::appserver
