#pragma once

#include "GeneralData.h"
#include "TNetConnection.h"

namespace fai {

// The host's general data module over the application server: each read goes, under the
// host's session, to the servers of the host (a list of several spreads the reads over those
// that serve), on a connection of its own, opened at the first read. The database is the
// server's: a host holds no database connection, setting or password, and sees of the shared
// data only what the server lets its user see.
class ServerGeneralData final : public GeneralData {
  public:
    // `servers`: one host or several, separated by commas, each with `port` unless it has its
    // own (ServerList::Parse).
    ServerGeneralData(const QString& servers, int port);

    void Read(const QString& name, const QString& sql, const std::vector<Value>& params,
              const Part& part) override;

  private:
    TNetConnection connection_;
};

}  // namespace fai
