// Fuzzes the hosts' reads as a hostile host would send them: any text as the query, run by the
// real server on 127.0.0.1 over a demo database, for a clerk of one branch. Whatever it is
// sent, the server must answer in time, with parts the client can read or a refusal in a short
// message of one line, and keep its log lines single and bounded.
#include "Errors.h"
#include "FuzzServer.h"
#include "ServerList.h"
#include "SessionClient.h"
#include "TNetConnection.h"
#include "UserAdministration.h"

#include <QCoreApplication>

#include <cstdint>

namespace fai::appserver {
namespace {

class Harness {
  public:
    Harness()
        : server_([](SqlSession& session, AppServerConfig& config) {
              UserAdministration(session).Add(QStringLiteral("maria"), QStringLiteral("Maria"),
                                              QStringLiteral("senha-da-maria"),
                                              {QStringLiteral("0002")}, false);
              config.hostReads.timeLimit = std::chrono::seconds(2);
          }) {
        auto access = std::make_shared<ServerAccess>();
        SessionClient(ServerList::Parse(QStringLiteral("127.0.0.1"), server_.Port()), access)
            .SignIn(QStringLiteral("maria"), QStringLiteral("senha-da-maria"));
        connection_.SetAccess(access);
        connection_.SetHost(QStringLiteral("127.0.0.1"));
        connection_.SetPort(server_.Port());
        connection_.SetDeadline(std::chrono::seconds(60));
        connection_.Connect();
    }

    void Call(const std::uint8_t* data, std::size_t size) {
        const QString sql = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
        try {
            connection_.AppServer().ConsultaHost(QStringLiteral("fuzz"), sql, {},
                                                 [](DataPacket&) {});
        } catch (const EConnectionError& e) {
            Require(false, "no answer", e.Message());
        } catch (const EError& e) {
            RequireMessage(e.Message());
        }
    }

  private:
    FuzzServer server_;
    TNetConnection connection_;
};

}  // namespace
}  // namespace fai::appserver

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static int argc = 1;
    static char name[] = "fuzz_host_queries";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static fai::appserver::Harness harness;
    harness.Call(data, size);
    return 0;
}
