// Who may call the server and in which branches: users who sign in, sessions that expire,
// every branch of a request checked against the user's, TLS, and the open server of a
// single machine.
#include "CheckResultServ.h"
#include "Deltas.h"
#include "PacketShapes.h"
#include "SampleTest.h"
#include "ServerList.h"
#include "ServerSecurity.h"
#include "SessionClient.h"
#include "SignIn.h"
#include "UserAdministration.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <functional>
#include <stdexcept>
#include <type_traits>

namespace fai::appserver::test {
namespace {

using namespace sample;

const QString kPassword = QStringLiteral("senha-da-maria");
const QString kWrong = QStringLiteral("Usuário ou senha incorretos.");
const QString kExpired =
    QStringLiteral("Sua sessão expirou ou foi encerrada: entre novamente para continuar.");

// What a call was refused with: the error of a failed result, or the message of a failed
// call; empty when it succeeded.
template <class Call>
QString RefusalOf(const Call& call) {
    try {
        if constexpr (std::is_same_v<std::invoke_result_t<Call>, ServerResult>) {
            const ServerResult result = call();
            return result.success ? QString() : result.error;
        } else {
            call();
        }
    } catch (const EError& e) {
        return e.Message();
    }
    return {};
}

template <class Call>
std::function<QString()> Refused(Call call) {
    return [call] { return RefusalOf(call); };
}

class Access : public SampleTest {
  protected:
    void AddUser(const QString& login, const QStringList& branches, bool administrator = false) {
        UserAdministration(seed_->Session())
            .Add(login, QStringLiteral("Usuária ") + login, kPassword, branches, administrator);
    }

    ServerEndpoint Endpoint() const { return {QStringLiteral("127.0.0.1"), server_->Port()}; }

    // A connection of its own, signed in as the user.
    std::unique_ptr<TNetConnection> SignedIn(
        const QString& login,
        std::shared_ptr<ServerAccess> access = std::make_shared<ServerAccess>()) {
        SessionClient(Endpoint(), access).SignIn(login, kPassword);
        auto connection = std::make_unique<TNetConnection>();
        connection->SetAccess(std::move(access));
        connection->SetHost(QStringLiteral("127.0.0.1"));
        connection->SetPort(server_->Port());
        connection->Connect();
        return connection;
    }

    // Time passes for the sessions: as if nobody had called for that long.
    void Idle(std::chrono::seconds span) {
        seed_->Session().Run(
            QStringLiteral("UPDATE SESSAOUSUARIO SET DTULTIMOUSO = DTULTIMOUSO - ?"),
            {qint64(span.count())});
    }
};

TEST_P(Access, SignsInWithTheRightPasswordOnlyAndSlowsDownALoginAfterFiveFailures) {
    AddUser(QStringLiteral("maria"), {kBranch});
    AddUser(QStringLiteral("ana"), {kBranch, kOtherBranch});
    UserAdministration(seed_->Session()).SetActive(QStringLiteral("ana"), false);
    SessionClient client(Endpoint(), std::make_shared<ServerAccess>());

    const SignedInUser maria = client.SignIn(QStringLiteral(" Maria "), kPassword);
    EXPECT_EQ(maria.login, QStringLiteral("maria"));
    EXPECT_EQ(maria.name, QStringLiteral("Usuária maria"));
    EXPECT_FALSE(maria.administrator);
    EXPECT_EQ(maria.branches, QStringList{kBranch});

    const struct {
        const char* what;
        QString login, password, refusal;
    } cases[] = {
        {"wrong password", QStringLiteral("maria"), QStringLiteral("senha-errada"), kWrong},
        {"unknown login", QStringLiteral("mario"), kPassword, kWrong},
        {"no login", QString(), kPassword, QStringLiteral("Informe o usuário.")},
        {"disabled user", QStringLiteral("ana"), kPassword,
         QStringLiteral("O usuário ana está desativado. Procure o administrador.")},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RefusalOf([&] { client.SignIn(c.login, c.password); }), c.refusal) << c.what;

    // One failure so far; four more make five in a row, and then even the right password
    // waits.
    for (int failure = 2; failure <= 5; ++failure)
        EXPECT_EQ(RefusalOf([&] { client.SignIn(QStringLiteral("maria"), QStringLiteral("x")); }),
                  kWrong);
    const QString slowed = RefusalOf([&] { client.SignIn(QStringLiteral("maria"), kPassword); });
    EXPECT_TRUE(slowed.startsWith(QStringLiteral(
        "Muitas tentativas sem sucesso para o usuário maria: tente de novo daqui a ")))
        << slowed.toStdString();
    EXPECT_EQ(SignIn::Wait(5), std::chrono::seconds(30));
    EXPECT_EQ(SignIn::Wait(6), std::chrono::seconds(60));
    EXPECT_EQ(SignIn::Wait(40), std::chrono::seconds(960));

    seed_->Session().Run(
        QStringLiteral("UPDATE FALHAENTRADA SET DTULTIMAFALHA = "
                       "DTULTIMAFALHA - 31"));
    EXPECT_NO_THROW(client.SignIn(QStringLiteral("maria"), kPassword));
    EXPECT_EQ(seed_->Count(QStringLiteral("FALHAENTRADA")), 1) << "only mario's failure is left";
    for (const QString& line : server_->LogLines())
        EXPECT_FALSE(line.contains(kPassword)) << line.toStdString();
}

TEST_P(Access, RunsOpenOnLoopbackUntilTheFirstUserAndThenOnlyWithALiveSession) {
    EXPECT_TRUE(server_->LogLines().join(u'\n').contains(QStringLiteral("modo aberto")));
    SessionClient anonymous(Endpoint(), std::make_shared<ServerAccess>());
    EXPECT_FALSE(anonymous.SignInRequired());
    EXPECT_TRUE(server_->Methods().GetParams(kBranch).success);

    AddUser(QStringLiteral("maria"), {kBranch});
    EXPECT_TRUE(anonymous.SignInRequired());
    EXPECT_EQ(RefusalOf([&] { return server_->Methods().GetParams(kBranch); }),
              QStringLiteral("Este servidor de aplicação exige usuário e senha: entre no "
                             "sistema para continuar."));

    auto access = std::make_shared<ServerAccess>();
    const std::unique_ptr<TNetConnection> maria = SignedIn(QStringLiteral("maria"), access);
    EXPECT_TRUE(maria->AppServer().GetParams(kBranch).success);

    // A session in use is written down as used, not at every call: a call that finds the
    // use due to be written has it written by the next call at the latest.
    Idle(std::chrono::seconds(120));
    EXPECT_TRUE(maria->AppServer().GetParams(kBranch).success);
    EXPECT_TRUE(maria->AppServer().GetParams(kBranch).success);
    Idle(std::chrono::seconds(3590));
    EXPECT_TRUE(maria->AppServer().GetParams(kBranch).success);

    // Idle past the session's time, the call is refused unless a new session is had, and
    // then made again as it was.
    Idle(std::chrono::seconds(3601));
    EXPECT_EQ(RefusalOf([&] { return maria->AppServer().GetParams(kBranch); }), kExpired);
    QStringList reasons;
    access->SetRenewal([&](const QString& reason) {
        reasons << reason;
        SessionClient(Endpoint(), access).SignIn(QStringLiteral("maria"), kPassword);
        return true;
    });
    Idle(std::chrono::seconds(3601));
    EXPECT_TRUE(maria->AppServer().GetParams(kBranch).success);
    EXPECT_EQ(reasons, QStringList{kExpired});

    // Signing out, and disabling the user, end the session at once.
    access->SetRenewal(nullptr);
    SessionClient(Endpoint(), access).SignOut();
    EXPECT_TRUE(access->Token().isEmpty());
    const std::unique_ptr<TNetConnection> again = SignedIn(QStringLiteral("maria"));
    EXPECT_TRUE(again->AppServer().GetParams(kBranch).success);
    UserAdministration(seed_->Session()).SetActive(QStringLiteral("maria"), false);
    EXPECT_EQ(RefusalOf([&] { return again->AppServer().GetParams(kBranch); }), kExpired);
    EXPECT_EQ(seed_->Count(QStringLiteral("SESSAOUSUARIO")), 0);
}

TEST_P(Access, AUserOfOneBranchIsRefusedAnotherByEveryMethodAndEveryRowOfAPacket) {
    seed_->Headcount(Key(kLunch, kDay), 120, 118);
    AddUser(QStringLiteral("maria"), {kBranch});
    AddUser(QStringLiteral("chefe"), {}, true);
    const std::unique_ptr<TNetConnection> maria = SignedIn(QStringLiteral("maria"));
    TrdmEfetFaturDisp& m = maria->AppServer();

    QString service = kLunch, nullFields;
    QDate day = kDay;
    const TestSeed::Key other{kOtherBranch, kBruno, kLunch, kDay};
    // Rows of her branch and of the other in one packet.
    const TestSeed::Key own = Key(kLunch, kDay.addDays(1));
    const DataPacket mixed = Joined({InsertedHeadcount(own, 5, 5), InsertedHeadcount(other, 5, 5)});
    OptionalPacket mixedDelta = mixed, billedElsewhere = InsertedHeadcount(own, 5, 5), none;
    SetEverywhere(*billedElsewhere, "CDFILIFATU", kOtherBranch);
    SetEverywhere(*billedElsewhere, "NRAPURACFAT", QStringLiteral("1"));
    DataPacket wholeRows = mixed;
    for (PacketRow& row : wholeRows.rows) row.change = RowChange::Unchanged;
    DataPacket shifts;
    shifts.fields = shapes::Shifts();
    for (const QString& branch : {kBranch, kOtherBranch})
        shifts.rows.push_back(
            {RowChange::Inserted, {"1", "MANHA", branch, kLunch, kBruno, kDay, 1.0}, {}});
    OptionalPacket links = DataPacket{shapes::HeadcountApportion(), {}};
    links->rows.push_back(
        {RowChange::Inserted,
         {-1.0, kOtherBranch, kLunch, kBruno, kDay, kLunch, 1.0, "00001", "NORTE", 5.0},
         {}});
    const QString forbidden = QStringLiteral("O usuário maria não tem acesso à filial 0002.");

    const struct {
        const char* method;
        std::function<QString()> refusal;
    } cases[] = {
        {"GetParams", Refused([&] { return m.GetParams(kOtherBranch); })},
        {"GetCliente", Refused([&] { return m.GetCliente(kOtherBranch, {}, {}); })},
        {"GetServico", Refused([&] { return m.GetServico(kOtherBranch, kBruno, {}); })},
        {"GetEfetFatu",
         Refused([&] { return m.GetEfetFatu(kBruno, kOtherBranch, service, day, 0); })},
        {"ImportaEfetTrans",
         Refused([&] { return m.ImportaEfetTrans(kBruno, kOtherBranch, service, day, 0); })},
        {"GetValidaData",
         Refused([&] { return m.GetValidaData(kOtherBranch, kBruno, kLunch, kDay); })},
        {"GetVerifData", Refused([&] { return m.GetVerifData(kOtherBranch, kLunch, kBruno); })},
        {"GetVlrFatPla",
         Refused([&] { return m.GetVlrFatPla(kOtherBranch, kLunch, kBruno, kDay); })},
        {"GetVerifSoma, rows of two branches", Refused([&] { m.GetVerifSoma(wholeRows); })},
        {"UpdEfetFatu, rows of two branches",
         Refused([&] { return m.UpdEfetFatu(mixedDelta, nullFields, none); })},
        {"UpdEfetFatu, billed at another branch",
         Refused([&] { return m.UpdEfetFatu(billedElsewhere, nullFields, none); })},
        {"UpdEfetFatu, apportionment of another branch",
         Refused([&] { return m.UpdEfetFatu(none, nullFields, links); })},
        {"GetTurno", Refused([&] { return m.GetTurno(kOtherBranch, kBruno, service, day); })},
        {"SetTurno, rows of two branches", Refused([&] { return m.SetTurno(shifts, nullFields); })},
        {"GetSomaTurno",
         Refused([&] { return m.GetSomaTurno(kOtherBranch, kBruno, service, day); })},
        {"GetVdServClie", Refused([&] { return m.GetVdServClie(kOtherBranch, kBruno, kLunch); })},
        {"GetItRatEfet",
         Refused([&] { return m.GetItRatEfet(kOtherBranch, kBruno, kDay, kLunch); })},
        {"UpDateServData",
         Refused([&] { return m.UpDateServData(kOtherBranch, kBruno, kLunch, kDay, kDay, 1, 1); })},
        {"PrxRelFatur", Refused([&] { m.PrxRelFatur(kOtherBranch); })},
        {"GeraRel", Refused([&] { return m.GeraRel(kOtherBranch, kDay, kDay, "1"); })},
        {"DeletaRel", Refused([&] { return m.DeletaRel(kOtherBranch, "1"); })},
    };
    const int headcounts = seed_->Count(QStringLiteral("EFETFATUR"));
    for (const auto& c : cases) EXPECT_EQ(c.refusal(), forbidden) << c.method;
    EXPECT_EQ(seed_->Count(QStringLiteral("EFETFATUR")), headcounts) << "the row of 0001 too";
    EXPECT_EQ(seed_->Count(QStringLiteral("EFETTURNO")), 0);
    EXPECT_EQ(seed_->Count(QStringLiteral("RELFATURNUM")), 0);

    // Her own branch is hers; every branch is an administrator's.
    EXPECT_EQ(RefusalOf([&] { return m.GetEfetFatu(kAlfa, kBranch, service, day, 0); }),
              QStringLiteral("A consulta por data não recebe serviço: informe a data."));
    OptionalPacket ownDelta = InsertedHeadcount(own, 5, 5);
    EXPECT_EQ(RefusalOf([&] { return m.UpdEfetFatu(ownDelta, nullFields, none); }), QString());
    EXPECT_TRUE(seed_->Headcount(own).has_value());
    const std::unique_ptr<TNetConnection> chefe = SignedIn(QStringLiteral("chefe"));
    EXPECT_TRUE(chefe->AppServer().GetParams(kOtherBranch).success);
    EXPECT_TRUE(server_->LogLines().last().contains(QStringLiteral(" GetParams ")));
    EXPECT_TRUE(server_->LogLines().last().endsWith(QStringLiteral(" ok: usuário chefe")));
}

INSTANTIATE_TEST_SUITE_P(Backends, Access, kBackends, BackendNamer());

// The files of a test PKI made with openssl: a CA, a certificate of this machine issued by
// it, a client certificate issued by it, and a CA that issued neither.
class TestCertificates {
  public:
    TestCertificates() {
        Openssl({"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256", "-nodes",
                 "-keyout", Path("ca.key"), "-out", Path("ca.pem"), "-days", "2", "-subj",
                 "/CN=AC de teste"});
        Openssl({"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256", "-nodes",
                 "-keyout", Path("other-ca.key"), "-out", Path("other-ca.pem"), "-days", "2",
                 "-subj", "/CN=Outra AC"});
        Issue("server", "localhost", "subjectAltName=IP:127.0.0.1,DNS:localhost");
        Issue("client", "estacao-01", "extendedKeyUsage=clientAuth");
        Issue("elsewhere", "outro", "subjectAltName=DNS:outro.exemplo");
    }

    QString Path(const QString& name) const { return dir_.filePath(name); }

  private:
    void Issue(const QString& name, const QString& commonName, const QString& extension) {
        QFile ext(Path(name + ".ext"));
        ext.open(QIODevice::WriteOnly);
        ext.write(extension.toUtf8());
        ext.close();
        Openssl({"req", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256", "-nodes", "-keyout",
                 Path(name + ".key"), "-out", Path(name + ".csr"), "-subj", "/CN=" + commonName});
        Openssl({"x509", "-req", "-in", Path(name + ".csr"), "-CA", Path("ca.pem"), "-CAkey",
                 Path("ca.key"), "-CAcreateserial", "-out", Path(name + ".pem"), "-days", "2",
                 "-extfile", Path(name + ".ext")});
    }

    static void Openssl(const QStringList& arguments) {
        QProcess openssl;
        openssl.start(QStringLiteral("openssl"), arguments);
        if (!openssl.waitForFinished(60'000) || openssl.exitCode() != 0)
            throw std::runtime_error("openssl " + arguments.join(u' ').toStdString() + ": " +
                                     openssl.readAllStandardError().toStdString());
    }

    QTemporaryDir dir_;
};

TEST(Tls, TheHostReachesAServerWhoseCertificateItsCaIssuedAndSaysClearlyWhenNot) {
    const TestCertificates pki;
    TestDatabase database(Backend::Sqlite);
    AppServerConfig config = RunningServer::TestConfig(database.Location());
    config.tls = {pki.Path("server.pem"), pki.Path("server.key"), {}};
    RunningServer server(config);
    AppServerConfig withClients = config;
    withClients.tls.clientCa = pki.Path("ca.pem");
    RunningServer askingForClients(withClients);
    const ServerEndpoint endpoint{QStringLiteral("127.0.0.1"), server.Port()};
    const QString secureFailed = EConnectionError::SecureConnectionFailed(endpoint).Message();

    const struct {
        const char* what;
        const RunningServer& server;
        TlsSettings tls;
        QString refusal;
    } cases[] = {
        {"the CA that issued it", server, {true, pki.Path("ca.pem"), {}, {}}, {}},
        {"another CA", server, {true, pki.Path("other-ca.pem"), {}, {}}, secureFailed},
        {"no TLS", server, {}, EConnectionError::PlainConnectionRefused(endpoint).Message()},
        {"a client certificate asked for and not shown",
         askingForClients,
         {true, pki.Path("ca.pem"), {}, {}},
         EConnectionError::SecureConnectionFailed({endpoint.host, askingForClients.Port()})
             .Message()},
        {"a client certificate shown",
         askingForClients,
         {true, pki.Path("ca.pem"), pki.Path("client.pem"), pki.Path("client.key")},
         {}},
    };
    for (const auto& c : cases) {
        auto access = std::make_shared<ServerAccess>();
        access->SetTls(c.tls);
        TNetConnection connection;
        connection.SetAccess(access);
        connection.SetHost(QStringLiteral("127.0.0.1"));
        connection.SetPort(c.server.Port());
        connection.SetDeadline(std::chrono::seconds(20));
        const QString refusal = RefusalOf([&] {
            connection.Connect();
            CheckResultServ(connection.AppServer().GetParams(kBranch), true, 0);
        });
        // The branch is not there: the call went through.
        EXPECT_EQ(refusal,
                  c.refusal.isEmpty() ? QStringLiteral("Filial 0001 não cadastrada.") : c.refusal)
            << c.what;
    }
    EXPECT_TRUE(server.LogLines().join(u'\n').contains(QStringLiteral("TLS ativo")));
}

// Over several servers, each one's certificate must be issued by the CA for the name it is
// listed under: one issued for another name is left out, and when none can be reached
// securely the failure names them all.
TEST(Tls, SeveralServersAreEachTakenOnlyWithACertificateOfTheirName) {
    const TestCertificates pki;
    TestDatabase database(Backend::Sqlite);
    AppServerConfig config = RunningServer::TestConfig(database.Location());
    config.tls = {pki.Path("server.pem"), pki.Path("server.key"), {}};
    RunningServer server(config), sameName(config);
    config.tls = {pki.Path("elsewhere.pem"), pki.Path("elsewhere.key"), {}};
    RunningServer otherName(config);
    const auto list = [](const RunningServer& a, const char* bHost, const RunningServer& b) {
        return QStringLiteral("127.0.0.1:%1,%2:%3").arg(a.Port()).arg(bHost).arg(b.Port());
    };
    const auto refusal = [](const QString& servers) {
        return EConnectionError::SecureConnectionFailed(ServerList::Parse(servers, 7400)).Message();
    };

    const struct {
        const char* what;
        QString servers;
        QString ca;
        QString refusal;
    } cases[] = {
        {"both named", list(server, "localhost", sameName), pki.Path("ca.pem"), {}},
        {"one of another name", list(server, "127.0.0.1", otherName), pki.Path("ca.pem"), {}},
        {"none of its name", list(otherName, "localhost", otherName), pki.Path("ca.pem"),
         refusal(list(otherName, "localhost", otherName))},
        {"another CA", list(server, "localhost", sameName), pki.Path("other-ca.pem"),
         refusal(list(server, "localhost", sameName))},
    };
    for (const auto& c : cases) {
        auto access = std::make_shared<ServerAccess>();
        access->SetTls({true, c.ca, {}, {}});
        TNetConnection connection;
        connection.SetAccess(access);
        connection.SetHost(c.servers);
        connection.SetDeadline(std::chrono::seconds(20));
        // Several calls, that round-robin would spread over every server it takes.
        QStringList refusals;
        for (int call = 0; call < 4; ++call)
            refusals << RefusalOf([&] {
                if (!connection.Connected()) connection.Connect();
                CheckResultServ(connection.AppServer().GetParams(kBranch), true, 0);
            });
        // The branch is not there: the calls went through.
        EXPECT_EQ(refusals,
                  QStringList(4, c.refusal.isEmpty() ? QStringLiteral("Filial 0001 não cadastrada.")
                                                     : c.refusal))
            << c.what;
    }
    EXPECT_TRUE(otherName.LogLines().filter(QStringLiteral(" GetParams ")).isEmpty());
}

TEST(Listening, BeyondThisMachineTakesTlsOrANetworkSaidToBeTrusted) {
    using Reach = ServerSecurity::Reach;
    const std::pair<const char*, Reach> addresses[] = {{"127.0.0.1:7400", Reach::ThisMachine},
                                                       {"127.8.0.1:1", Reach::ThisMachine},
                                                       {"[::1]:7400", Reach::ThisMachine},
                                                       {"localhost:0", Reach::ThisMachine},
                                                       {"0.0.0.0:7400", Reach::Network},
                                                       {"[::]:7400", Reach::Network},
                                                       {"servidor.local:7400", Reach::Network},
                                                       {"endereço inválido", Reach::Invalid},
                                                       {"127.0.0.1", Reach::Invalid}};
    for (const auto& [address, reach] : addresses)
        EXPECT_EQ(ServerSecurity::ReachOf(QString::fromUtf8(address)), reach) << address;

    TestDatabase database(Backend::Sqlite);
    AppServerConfig config = RunningServer::TestConfig(database.Location());
    config.listenAddress = QStringLiteral("0.0.0.0:0");
    CallLog quiet([](const QString&) {});
    try {
        AppServer(config, quiet).Start();
        ADD_FAILURE() << "listened on the network without TLS";
    } catch (const EError& e) {
        EXPECT_TRUE(e.Message().startsWith(
            QStringLiteral("Recusado escutar em 0.0.0.0:0 sem TLS: fora desta máquina, senhas e "
                           "dados trafegariam sem criptografia.")))
            << e.Message().toStdString();
    }

    config.trustedNetwork = true;
    RunningServer trusting(config);
    const QString log = trusting.LogLines().join(u'\n');
    EXPECT_TRUE(log.contains(QStringLiteral("ATENÇÃO: escutando em 0.0.0.0:0 sem TLS")));
    EXPECT_TRUE(
        log.contains(QStringLiteral("nenhum usuário cadastrado: toda chamada será "
                                    "recusada")));
    // Off this machine, no user means no call.
    EXPECT_EQ(RefusalOf([&] { return trusting.Methods().GetParams(kBranch); }),
              QStringLiteral("Este servidor de aplicação exige usuário e senha: entre no sistema "
                             "para continuar."));
}

}  // namespace
}  // namespace fai::appserver::test
