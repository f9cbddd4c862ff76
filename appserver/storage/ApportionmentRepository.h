#pragma once

#include "ApportionmentDelta.h"
#include "HeadcountKey.h"
#include "PacketReader.h"

#include <optional>

namespace fai::appserver {

class SqlSession;

// The apportionment items of each client (ITEMRATEIOEFET) and their links to headcount rows
// with the diners apportioned to each item (ITRATEFECLIFAT).
class ApportionmentRepository {
  public:
    explicit ApportionmentRepository(SqlSession& session) : session_(session) {}

    // The client's items, by code.
    static PacketRead ItemsOfClient(const QString& client);
    // One row per item of the key's client, by item code, with the link number and the
    // diners where the headcount row has a link to the item; empty link fields otherwise.
    static PacketRead ItemsOfHeadcount(const HeadcountKey& key);

    bool IsItemOfClient(const QString& client, qint64 item);
    // Writing, inside a write transaction. The item's link to the headcount row, locked
    // until the commit; none when there is none.
    std::optional<StoredLink> Locked(const HeadcountKey& key, qint64 item);
    // The database numbers the new link. False, and nothing written, when the item is
    // linked to the row already.
    bool InsertIfAbsent(const HeadcountKey& key, qint64 item, const QString& planService,
                        double diners);
    void SetDiners(qint64 link, double diners);
    void Remove(qint64 link);

  private:
    SqlSession& session_;
};

}  // namespace fai::appserver
