#pragma once

#include "DataPacket.h"
#include "HeadcountKey.h"

namespace fai::appserver {

class SqlSession;

// The apportionment items of each client (ITEMRATEIOEFET) and their links to headcount rows
// with the diners apportioned to each item (ITRATEFECLIFAT).
class ApportionmentRepository {
  public:
    explicit ApportionmentRepository(SqlSession& session) : session_(session) {}

    // The client's items, by code.
    DataPacket ItemsOfClient(const QString& client);
    // One row per item of the key's client, by item code, with the link number and the
    // diners where the headcount row has a link to the item; empty link fields otherwise.
    DataPacket ItemsOfHeadcount(const HeadcountKey& key);

  private:
    SqlSession& session_;
};

}  // namespace fai::appserver
