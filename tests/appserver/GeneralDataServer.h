#pragma once

#include "RunningServer.h"
#include "TestSeed.h"

namespace fai::appserver::test {

// The application server over a test's database, handed to the host as its general data
// module as fai-host does it: the host's lookups, reports and designer queries read through
// the server, and the host side opens no database. On loopback with no users the server runs
// open, so every branch is read. A test writes its rows straight into the database (Seed).
class GeneralDataServer {
  public:
    explicit GeneralDataServer(const DatabaseLocation& location);
    // Leaves the host without general data.
    ~GeneralDataServer();
    GeneralDataServer(const GeneralDataServer&) = delete;
    GeneralDataServer& operator=(const GeneralDataServer&) = delete;

    // Hands the host a general data module over this server, again after a test took it away.
    void Attach();
    TestSeed& Seed() { return seed_; }
    int Port() const { return server_.Port(); }

  private:
    RunningServer server_;
    TestSeed seed_;
};

}  // namespace fai::appserver::test
