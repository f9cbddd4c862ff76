#include "LocalAppServer.h"
#include "QtPrinters.h"
#include "ServerList.h"
#include "TNetConnection.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

namespace fai {
namespace {

using namespace std::chrono_literals;
using test::HeldPort;
using test::LocalAppServer;
using test::ScriptedService;
using Clock = std::chrono::steady_clock;

// Room for a loaded machine on top of the deadline; a hang would take far longer.
constexpr auto kMargin = 1500ms;

QString Unreachable(int port) {
    return QStringLiteral(
               "Não foi possível conectar ao servidor de aplicação em 127.0.0.1:%1. Verifique "
               "se o servidor está em execução.")
        .arg(port);
}

QString NoAnswer(int port, const char* deadline) {
    return QStringLiteral("O servidor de aplicação em 127.0.0.1:%1 não respondeu em %2.")
        .arg(port)
        .arg(QLatin1String(deadline));
}

const QString kNotConnected = QStringLiteral("Não há conexão com o servidor de aplicação.");

void Aim(TNetConnection& connection, int port, std::chrono::milliseconds deadline) {
    connection.SetHost(QStringLiteral("127.0.0.1"));
    connection.SetPort(port);
    connection.SetDeadline(deadline);
}

// Runs `action`, which must raise EConnectionError, and gives its message and duration.
struct Outcome {
    QString message;
    Clock::duration elapsed;
};
Outcome ConnectionFailureOf(const std::function<void()>& action) {
    const auto start = Clock::now();
    try {
        action();
    } catch (const EConnectionError& e) {
        return {e.Message(), Clock::now() - start};
    }
    ADD_FAILURE() << "no EConnectionError";
    return {};
}

TEST(TNetConnection, StartsWithTheModuleNameThirtySecondsAndRaisingFailures) {
    TNetConnection connection;
    EXPECT_EQ(connection.ServerName(), "Fai00400.rdmEfetFatur");
    EXPECT_EQ(connection.Deadline(), 30s);
    EXPECT_TRUE(connection.ThrowException());
    EXPECT_FALSE(connection.Connected());
}

TEST(TNetConnection, AServerThatIsNotThereIsReportedAtOnceEitherWay) {
    HeldPort refusing(HeldPort::Mode::Refusing);
    const auto deadline = 500ms;
    for (bool throwException : {true, false}) {
        SCOPED_TRACE(throwException ? "raising" : "not raising");
        TNetConnection connection;
        Aim(connection, refusing.Port(), deadline);
        connection.SetThrowException(throwException);
        const Outcome outcome = ConnectionFailureOf([&] {
            connection.Connect();
            connection.AppServer();
        });
        EXPECT_EQ(outcome.message, Unreachable(refusing.Port()));
        EXPECT_LT(outcome.elapsed, deadline + kMargin);
        EXPECT_FALSE(connection.Connected());
    }
}

TEST(TNetConnection, NotRaisingConnectKeepsTheFailureForTheFirstCall) {
    HeldPort refusing(HeldPort::Mode::Refusing);
    TNetConnection connection;
    Aim(connection, refusing.Port(), 500ms);
    connection.SetThrowException(false);
    EXPECT_NO_THROW(connection.Connect());
    EXPECT_FALSE(connection.Connected());
    EXPECT_EQ(ConnectionFailureOf([&] { connection.AppServer().GetParams("0001"); }).message,
              Unreachable(refusing.Port()));
    connection.Disconnect();
    EXPECT_EQ(ConnectionFailureOf([&] { connection.AppServer(); }).message, kNotConnected);
}

TEST(TNetConnection, AServerThatAcceptsButNeverSpeaksIsGivenUpAtTheDeadline) {
    HeldPort silent(HeldPort::Mode::Silent);
    const auto deadline = 500ms;
    TNetConnection connection;
    Aim(connection, silent.Port(), deadline);
    const Outcome outcome = ConnectionFailureOf([&] { connection.Connect(); });
    EXPECT_EQ(outcome.message, NoAnswer(silent.Port(), "500 milissegundos"));
    EXPECT_GE(outcome.elapsed, deadline - 50ms);
    EXPECT_LT(outcome.elapsed, deadline + kMargin);
    EXPECT_FALSE(connection.Connected());
}

TEST(TNetConnection, ACallThatOutlivesTheDeadlineEndsWithIt) {
    ScriptedService service;
    service.DelayAnswers(5s);
    LocalAppServer server(service);
    const auto deadline = 500ms;
    const struct {
        const char* method;
        std::function<void(TrdmEfetFaturDisp&)> call;
    } cases[] = {
        {"packet answer", [](TrdmEfetFaturDisp& s) { s.GetParams("0001"); }},
        {"text answer", [](TrdmEfetFaturDisp& s) { s.PrxRelFatur("0001"); }},
    };
    TNetConnection connection;
    Aim(connection, server.Port(), deadline);
    connection.Connect();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.method);
        const Outcome outcome = ConnectionFailureOf([&] { c.call(connection.AppServer()); });
        EXPECT_EQ(outcome.message, NoAnswer(server.Port(), "500 milissegundos"));
        EXPECT_GE(outcome.elapsed, deadline - 50ms);
        EXPECT_LT(outcome.elapsed, deadline + kMargin);
    }
    EXPECT_EQ(service.Calls(), 2);
}

TEST(TNetConnection, ANewDeadlineAppliesToTheNextCall) {
    ScriptedService service;
    service.DelayAnswers(300ms);
    LocalAppServer server(service);
    TNetConnection connection;
    Aim(connection, server.Port(), 5s);
    connection.Connect();
    EXPECT_NO_THROW(connection.AppServer().PrxRelFatur("0001"));
    connection.SetDeadline(100ms);
    EXPECT_EQ(ConnectionFailureOf([&] { connection.AppServer().PrxRelFatur("0001"); }).message,
              NoAnswer(server.Port(), "100 milissegundos"));
}

TEST(EConnectionError, NamesTheDeadlineAsTheUserWouldSayIt) {
    const ServerEndpoint endpoint{QStringLiteral("fai.local"), 7400};
    const struct {
        std::chrono::milliseconds deadline;
        const char* said;
    } cases[] = {{1s, "1 segundo"},
                 {30s, "30 segundos"},
                 {1500ms, "1500 milissegundos"},
                 {500ms, "500 milissegundos"}};
    for (const auto& c : cases)
        EXPECT_EQ(EConnectionError::NoAnswer(endpoint, c.deadline).Message(),
                  QStringLiteral("O servidor de aplicação em fai.local:7400 não respondeu em %1.")
                      .arg(QLatin1String(c.said)));
}

TEST(TNetConnection, RefusesADeadlineThatIsNotPositiveOrEndless) {
    TNetConnection connection;
    using std::chrono::milliseconds;
    for (milliseconds deadline : {0ms, -1ms, milliseconds(3601s), milliseconds::max()})
        EXPECT_THROW(connection.SetDeadline(deadline), std::invalid_argument);
    EXPECT_EQ(connection.Deadline(), 30s);
    for (milliseconds deadline : {1ms, milliseconds(1h)}) {
        connection.SetDeadline(deadline);
        EXPECT_EQ(connection.Deadline(), deadline);
    }
}

TEST(TNetConnection, ACallAfterTheServerStoppedSaysItCannotBeReached) {
    ScriptedService service;
    LocalAppServer server(service);
    TNetConnection connection;
    Aim(connection, server.Port(), 2s);
    connection.Connect();
    server.Stop();
    const Outcome outcome = ConnectionFailureOf([&] { connection.AppServer().GetParams("0001"); });
    EXPECT_EQ(outcome.message, Unreachable(server.Port()));
    EXPECT_LT(outcome.elapsed, 2s + kMargin);
}

TEST(TNetConnection, CallsWorkAgainOnceTheServerIsBack) {
    ScriptedService service;
    auto server = std::make_unique<LocalAppServer>(service);
    const int port = server->Port();
    TNetConnection connection;
    Aim(connection, port, 2s);
    connection.Connect();
    server->Stop();
    EXPECT_THROW(connection.AppServer().GetParams("0001"), EConnectionError);
    server = std::make_unique<LocalAppServer>(service, port);
    // The channel retries on its own within its longest backoff, five seconds.
    const auto giveUp = Clock::now() + 5s + kMargin;
    bool answered = false;
    while (!answered && Clock::now() < giveUp) {
        try {
            connection.AppServer().GetParams("0001");
            answered = true;
        } catch (const EConnectionError&) {
            std::this_thread::sleep_for(100ms);
        }
    }
    EXPECT_TRUE(answered);
    EXPECT_TRUE(connection.Connected());
}

// However long the server was down, the first call after it is back works: the calls that
// failed meanwhile leave no wait behind them, and each of them said at once that the server
// could not be reached.
TEST(TNetConnection, TheFirstCallAfterTheServerIsBackWorks) {
    ScriptedService service;
    auto server = std::make_unique<LocalAppServer>(service);
    const int port = server->Port();
    const auto deadline = 10s;
    TNetConnection connection;
    Aim(connection, port, deadline);
    connection.Connect();
    server->Stop();
    // Down long enough for repeated failures to put off the next attempt by seconds.
    const auto backAt = Clock::now() + 3s;
    while (Clock::now() < backAt) {
        const Outcome outcome =
            ConnectionFailureOf([&] { connection.AppServer().GetParams("0001"); });
        EXPECT_EQ(outcome.message, Unreachable(port));
        EXPECT_LT(outcome.elapsed, deadline / 2);
        std::this_thread::sleep_for(200ms);
    }
    server = std::make_unique<LocalAppServer>(service, port);
    EXPECT_NO_THROW(connection.AppServer().GetParams("0001"));
    EXPECT_EQ(service.Calls(), 1);
}

// A screen opened while the server was down reaches it at its first action once it is up.
TEST(TNetConnection, NotRaisingConnectTriesTheServerAgainAtEachCall) {
    HeldPort port(HeldPort::Mode::Refusing);
    TNetConnection connection;
    Aim(connection, port.Port(), 2s);
    connection.SetThrowException(false);
    connection.Connect();
    EXPECT_EQ(ConnectionFailureOf([&] { connection.AppServer().GetParams("0001"); }).message,
              Unreachable(port.Port()));
    port.Release();
    ScriptedService service;
    LocalAppServer server(service, port.Port());
    EXPECT_NO_THROW(connection.AppServer().GetParams("0001"));
    EXPECT_TRUE(connection.Connected());
    EXPECT_EQ(service.Calls(), 1);
}

TEST(TNetConnection, BeforeConnectRunsOnEveryConnectAndChoosesTheServer) {
    ScriptedService first, second;
    LocalAppServer firstServer(first), secondServer(second);
    int workingPort = firstServer.Port();
    int runs = 0;
    TNetConnection connection;
    connection.BeforeConnect = [&](TNetConnection& c) {
        ++runs;
        c.SetHost(QStringLiteral("127.0.0.1"));
        c.SetPort(workingPort);
    };
    connection.Connect();
    connection.AppServer().GetParams("0001");
    workingPort = secondServer.Port();
    connection.Connect();
    connection.AppServer().GetParams("0002");
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(connection.Port(), secondServer.Port());
    EXPECT_EQ(first.Calls(), 1);
    EXPECT_EQ(second.Calls(), 1);
}

TEST(TNetConnection, AnExceptionFromBeforeConnectIsNotSwallowed) {
    TNetConnection connection;
    connection.SetThrowException(false);
    connection.BeforeConnect = [](TNetConnection&) { throw EError("sem contexto de trabalho"); };
    EXPECT_THROW(connection.Connect(), EError);
    EXPECT_FALSE(connection.Connected());
}

TEST(TNetConnection, ConnectsOnceTheServerIsUpEvenAfterAFailedAttempt) {
    HeldPort port(HeldPort::Mode::Refusing);
    TNetConnection connection;
    Aim(connection, port.Port(), 2s);
    EXPECT_THROW(connection.Connect(), EConnectionError);
    port.Release();
    ScriptedService service;
    LocalAppServer server(service, port.Port());
    connection.Connect();
    EXPECT_TRUE(connection.Connected());
    EXPECT_NO_THROW(connection.AppServer().GetParams("0001"));
}

QString Servers(std::initializer_list<int> ports) {
    QStringList entries;
    for (int port : ports) entries << QStringLiteral("127.0.0.1:%1").arg(port);
    return entries.join(u',');
}

// Several servers: the connection is made while any one of them runs, and only when none does
// is the failure told, at once, naming them all.
TEST(TNetConnection, AListOfServersConnectsWhileAnyOneRunsAndNamesThemAllWhenNoneDoes) {
    HeldPort refusing(HeldPort::Mode::Refusing), alsoRefusing(HeldPort::Mode::Refusing);
    ScriptedService service;
    LocalAppServer server(service);
    TNetConnection connection;
    Aim(connection, 7400, 5s);
    connection.SetHost(Servers({refusing.Port(), server.Port()}));
    connection.Connect();
    for (int call = 0; call < 5; ++call) EXPECT_NO_THROW(connection.AppServer().GetParams("0001"));
    EXPECT_EQ(service.Calls(), 5);

    const QString none = Servers({refusing.Port(), alsoRefusing.Port()});
    connection.SetHost(none);
    const Outcome outcome = ConnectionFailureOf([&] { connection.Connect(); });
    EXPECT_EQ(outcome.message,
              EConnectionError::Unreachable(ServerList::Parse(none, 7400)).Message());
    EXPECT_EQ(outcome.message,
              QStringLiteral("Não foi possível conectar a nenhum dos servidores de aplicação em "
                             "127.0.0.1:%1, 127.0.0.1:%2. Verifique se os servidores estão em "
                             "execução.")
                  .arg(refusing.Port())
                  .arg(alsoRefusing.Port()));
    EXPECT_LT(outcome.elapsed, 5s);
}

// A server whose health service says it does not serve gets no call while another serves, and
// gets them again once it serves.
TEST(TNetConnection, OverSeveralServersOneThatSaysItDoesNotServeGetsNoCallUntilItDoes) {
    ScriptedService ill, well;
    LocalAppServer illServer(ill), wellServer(well);
    illServer.SetServing(false);
    TNetConnection connection;
    Aim(connection, 7400, 5s);
    connection.SetHost(Servers({illServer.Port(), wellServer.Port()}));
    connection.Connect();
    for (int call = 0; call < 6; ++call) EXPECT_NO_THROW(connection.AppServer().GetParams("0001"));
    EXPECT_EQ(ill.Calls(), 0);
    EXPECT_EQ(well.Calls(), 6);

    illServer.SetServing(true);
    const auto giveUp = Clock::now() + 10s;
    while (ill.Calls() == 0 && Clock::now() < giveUp) connection.AppServer().GetParams("0001");
    EXPECT_GT(ill.Calls(), 0);
}

// A server gone away before answering (UNAVAILABLE): a read is made once more, on another
// server; a save is not, since it may have been done: the clerk is told.
TEST(TNetConnection, OverSeveralServersOnlyAReadIsMadeAgainWhenItsServerWentAway) {
    ScriptedService first, second;
    for (ScriptedService* service : {&first, &second})
        service->RefuseWith(grpc::Status(grpc::StatusCode::UNAVAILABLE, "gone"));
    LocalAppServer firstServer(first), secondServer(second);
    const QString servers = Servers({firstServer.Port(), secondServer.Port()});
    const struct {
        const char* method;
        std::function<void(TrdmEfetFaturDisp&)> call;
        int calls;
    } cases[] = {
        {"GetParams", [](TrdmEfetFaturDisp& m) { m.GetParams("0001"); }, 2},
        {"GetCliente", [](TrdmEfetFaturDisp& m) { m.GetCliente("0001", "", "C1"); }, 2},
        {"UpdEfetFatu",
         [](TrdmEfetFaturDisp& m) {
             OptionalPacket headcounts, apportionment;
             QString nullFields;
             m.UpdEfetFatu(headcounts, nullFields, apportionment);
         },
         1},
        {"PrxRelFatur", [](TrdmEfetFaturDisp& m) { m.PrxRelFatur("0001"); }, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.method);
        TNetConnection connection;
        Aim(connection, 7400, 5s);
        connection.SetHost(servers);
        connection.Connect();
        const int before = first.Calls() + second.Calls();
        EXPECT_EQ(ConnectionFailureOf([&] { c.call(connection.AppServer()); }).message,
                  EConnectionError::Interrupted(ServerList::Parse(servers, 7400)).Message());
        EXPECT_EQ(first.Calls() + second.Calls() - before, c.calls);
    }
}

TEST(TNetConnection, RefusesWhatCannotBeAServerWithoutTryingTheNetwork) {
    const struct {
        QString host;
        int port;
        QString address;
    } cases[] = {{"", 7400, ":7400"},
                 {"127.0.0.1", 0, "127.0.0.1:0"},
                 {"127.0.0.1", 65536, "127.0.0.1:65536"},
                 {"servidor fai", 7400, "servidor fai:7400"}};
    for (const auto& c : cases) {
        TNetConnection connection;
        connection.SetHost(c.host);
        connection.SetPort(c.port);
        EXPECT_EQ(ConnectionFailureOf([&] { connection.Connect(); }).message,
                  QStringLiteral("O endereço do servidor de aplicação \"%1\" não é válido. "
                                 "Verifique o servidor e a porta configurados.")
                      .arg(c.address));
    }
}

TEST(TNetConnection, RefusesAServerNameItDoesNotSpeak) {
    ScriptedService service;
    LocalAppServer server(service);
    TNetConnection connection;
    Aim(connection, server.Port(), 2s);
    connection.SetServerName(QStringLiteral("Fai00500.rdmOutro"));
    EXPECT_EQ(ConnectionFailureOf([&] { connection.Connect(); }).message,
              QStringLiteral("O servidor de aplicação \"Fai00500.rdmOutro\" não é atendido por "
                             "este módulo, que conversa com \"Fai00400.rdmEfetFatur\"."));
}

TEST(TNetConnection, CallsNeedAConnection) {
    ScriptedService service;
    LocalAppServer server(service);
    TNetConnection connection;
    EXPECT_EQ(ConnectionFailureOf([&] { connection.AppServer(); }).message, kNotConnected);
    Aim(connection, server.Port(), 2s);
    connection.Connect();
    EXPECT_TRUE(connection.Connected());
    connection.Disconnect();
    EXPECT_FALSE(connection.Connected());
    EXPECT_EQ(ConnectionFailureOf([&] { connection.AppServer(); }).message, kNotConnected);
    EXPECT_EQ(service.Calls(), 0);
}

}  // namespace
}  // namespace fai
