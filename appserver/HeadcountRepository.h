#pragma once

#include "DataPacket.h"
#include "HeadcountKey.h"

namespace fai::appserver {

class SqlSession;

// The headcount rows (EFETFATUR): billed and forecast diners per branch, client, service
// and billing date.
class HeadcountRepository {
  public:
    explicit HeadcountRepository(SqlSession& session) : session_(session) {}

    // One row per service of the client at the branch, with what is stored for the date or
    // empty counts where nothing is stored yet, so the clerk can fill any service in.
    DataPacket ByDate(const QString& branch, const QString& client, const QDate& date);
    // Every stored date of the service for the client, oldest first.
    DataPacket ByService(const QString& branch, const QString& client, const QString& service);
    // The date of the key's row when it is stored; no row when the date is still free.
    DataPacket StoredDate(const HeadcountKey& key);
    // The latest stored date of the service for the client; no row when there is none.
    DataPacket LatestDate(const QString& branch, const QString& client, const QString& service);

  private:
    SqlSession& session_;
};

}  // namespace fai::appserver
