// Fuzzes the hosts' reads as a hostile host would send them: any text as the query, run by the
// real server on 127.0.0.1 over a demo database, for a clerk of one branch. Whatever it is
// sent, the server must answer in time, with parts the client can read or a refusal in a short
// message of one line, and keep its log lines single and bounded.
#include "AppServer.h"
#include "CallLog.h"
#include "DemoSeeder.h"
#include "Errors.h"
#include "Schema.h"
#include "ServerList.h"
#include "SessionClient.h"
#include "SqlSession.h"
#include "TNetConnection.h"
#include "UserAdministration.h"
#include "WireText.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace fai::appserver {
namespace {

const QDate kToday(2026, 3, 10);
constexpr qsizetype kMaxMessage = 1000;
constexpr qsizetype kMaxLogLine = 2100;

void Require(bool holds, const char* what, const QString& seen) {
    if (holds) return;
    std::fprintf(stderr, "fuzz: %s: %s\n", what, qPrintable(Excerpt(seen)));
    std::abort();
}

class Harness {
  public:
    Harness()
        : log_([](const QString& line) {
              Require(!HasControlCharacter(line), "a log line with control characters", line);
              Require(line.size() <= kMaxLogLine, "a log line that grows with the input", line);
          }) {
        DatabaseLocation location;
        location.path = dir_.filePath(QStringLiteral("fuzz.sqlite"));
        {
            SqlSession session(location);
            Schema::Upgrade(session);
            DemoSeeder(session, kToday).SeedIfEmpty();
            UserAdministration(session).Add(QStringLiteral("maria"), QStringLiteral("Maria"),
                                            QStringLiteral("senha-da-maria"),
                                            {QStringLiteral("0002")}, false);
        }
        AppServerConfig config;
        config.listenAddress = QStringLiteral("127.0.0.1:0");
        config.database = location;
        config.workers = 1;
        config.hostReads.timeLimit = std::chrono::seconds(2);
        server_ = std::make_unique<AppServer>(config, log_);
        server_->Start();
        auto access = std::make_shared<ServerAccess>();
        SessionClient(ServerList::Parse(QStringLiteral("127.0.0.1"), server_->Port()), access)
            .SignIn(QStringLiteral("maria"), QStringLiteral("senha-da-maria"));
        connection_.SetAccess(access);
        connection_.SetHost(QStringLiteral("127.0.0.1"));
        connection_.SetPort(server_->Port());
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
            Require(!HasControlCharacter(e.Message()), "a message with control characters",
                    e.Message());
            Require(e.Message().size() <= kMaxMessage, "a message that grows with the input",
                    e.Message());
        }
    }

  private:
    // In memory where the system offers it; the database must be a file for its WAL.
    QTemporaryDir dir_{QDir(QStringLiteral("/dev/shm")).exists()
                           ? QStringLiteral("/dev/shm/fai-fuzz-XXXXXX")
                           : QDir::temp().filePath(QStringLiteral("fai-fuzz-XXXXXX"))};
    CallLog log_;
    std::unique_ptr<AppServer> server_;
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
