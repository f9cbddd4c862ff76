#include "BackendTest.h"
#include "BrazilianText.h"
#include "HostSettings.h"
#include "HostStartup.h"
#include "PdfText.h"
#include "RunningServer.h"
#include "ServerGeneralData.h"
#include "ServerList.h"
#include "SessionClient.h"
#include "TADOIBQuery.h"
#include "TestDatabase.h"
#include "TestSeed.h"
#include "UserAdministration.h"
#include "UserBranches.h"
#include "WorkingContext.h"

#include "Errors.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "QtPrinters.h"

namespace fai {
namespace {

// The application server program on a fresh demo database, on a port it picks itself.
class DemoServer {
  public:
    explicit DemoServer(const QString& database) {
        process_.setProgram(QStringLiteral(FAI_APPSERVER_PROGRAM));
        process_.setArguments(
            {"--demo", "--database", "sqlite:" + database, "--listen", "127.0.0.1:0"});
        process_.setProcessChannelMode(QProcess::SeparateChannels);
        process_.start();
        const QRegularExpression listening(QStringLiteral("escutando na porta (\\d+)"));
        QString log;
        process_.setReadChannel(QProcess::StandardError);
        while (port_ == 0 && process_.waitForReadyRead(10000)) {
            log += QString::fromUtf8(process_.readAllStandardError());
            const auto match = listening.match(log);
            if (match.hasMatch()) port_ = match.captured(1).toInt();
        }
    }
    ~DemoServer() {
        process_.terminate();
        process_.waitForFinished(10000);
    }
    int Port() const { return port_; }

  private:
    QProcess process_;
    int port_ = 0;
};

struct HostRun {
    int exitCode;
    QString errors;
    bool stillRunning;
};

// Runs the host off screen, `input` on its standard input; a host that is still running
// after `patience` started well.
HostRun RunHost(const QStringList& arguments, const QByteArray& input = {}, int patience = 3000) {
    QProcess host;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), QStringLiteral("/nonexistent"));
    host.setProcessEnvironment(environment);
    host.start(QStringLiteral(FAI_HOST_PROGRAM), arguments);
    host.write(input);
    host.closeWriteChannel();
    const bool finished = host.waitForFinished(patience);
    if (!finished) {
        host.terminate();
        host.waitForFinished(5000);
    }
    return {finished ? host.exitCode() : -1, QString::fromUtf8(host.readAllStandardError()),
            !finished};
}

class HostProgram : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = new QTemporaryDir;
        server_ = new DemoServer(dir_->filePath(QStringLiteral("demo.sqlite")));
    }
    static void TearDownTestSuite() {
        delete server_;
        delete dir_;
    }
    QStringList Arguments() const {
        return {"--server", QStringLiteral("127.0.0.1:%1").arg(server_->Port()), "--module",
                QStringLiteral(FAI_MODULE_PATH)};
    }
    static QTemporaryDir* dir_;
    static DemoServer* server_;
};

QTemporaryDir* HostProgram::dir_ = nullptr;
DemoServer* HostProgram::server_ = nullptr;

TEST_F(HostProgram, StartsWithTheModuleAndTheHeadcountScreenAgainstARealServer) {
    ASSERT_GT(server_->Port(), 0);
    const HostRun run = RunHost(Arguments() << "--branch"
                                            << "0001"
                                            << "--start");
    EXPECT_TRUE(run.stillRunning) << run.errors.toStdString();
    EXPECT_FALSE(run.errors.contains("fai-host:")) << run.errors.toStdString();
    // The host reads through the server: a database of its own, as older versions had, is
    // no longer taken, and a scheduler's older command line still runs.
    const HostRun older = RunHost(Arguments() << "--database"
                                              << "sqlite:/nonexistent/db.sqlite");
    EXPECT_TRUE(older.stillRunning) << older.errors.toStdString();
    EXPECT_TRUE(older.errors.contains("fai-host: --database é ignorado"))
        << older.errors.toStdString();
}

TEST_F(HostProgram, RefusesToStartWithAClearMessage) {
    ASSERT_GT(server_->Port(), 0);
    const struct {
        const char* what;
        QStringList extra;
        int exitCode;
        const char* message;
    } cases[] = {
        {"unknown branch", {"--branch", "9999"}, 2, "Filial 9999 não cadastrada."},
        {"unknown billing branch", {"--billing-branch", "ZZ99"}, 2, "Filial ZZ99 não cadastrada"},
        {"no server there",
         {"--server", "127.0.0.1:1"},
         2,
         "Não foi possível conectar ao servidor de aplicação em 127.0.0.1:1."},
        {"bad server address", {"--server", "semporta"}, 2, "Endereço do servidor inválido"},
        {"no server of a list there",
         {"--server", "127.0.0.1:1,127.0.0.1:2"},
         2,
         "Não foi possível conectar a nenhum dos servidores de aplicação em 127.0.0.1:1, "
         "127.0.0.1:2."},
        {"a bad entry of a server list",
         {"--server", "127.0.0.1:7400,b:porta"},
         2,
         "O endereço do servidor de aplicação \"b:porta\" não é válido."},
        {"missing module",
         {"--module", "/nonexistent/Pkg_fai00400"},
         3,
         "Não foi possível carregar o módulo /nonexistent/Pkg_fai00400"},
        {"missing INI file",
         {"--config", "/nonexistent/fai-host.ini"},
         2,
         "Arquivo de configuração /nonexistent/fai-host.ini não encontrado."},
    };
    for (const auto& c : cases) {
        const HostRun run = RunHost(Arguments() << c.extra);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.what << ": " << run.errors.toStdString();
        EXPECT_TRUE(run.errors.contains(QString::fromUtf8(c.message)))
            << c.what << ": " << run.errors.toStdString();
    }
}

// fai-host --report writes the listing without any window and with no display at all, against
// the real server on each database: the working data generated, read and deleted, the PDF as
// the database says, and every problem said with a non-zero exit.
class ReportWithoutScreen : public appserver::test::BackendTest {
  protected:
    void SetUp() override {
        BackendTest::SetUp();
        if (IsSkipped()) return;
        server_ = std::make_unique<appserver::test::RunningServer>(Location(), true);
        seed_ = std::make_unique<appserver::test::TestSeed>(Location());
    }

    struct Finished {
        int exitCode;
        QString out, err;
    };
    Finished Report(const QStringList& extra) const {
        QProcess host;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* display : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            environment.remove(QString::fromLatin1(display));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), QStringLiteral("/nonexistent"));
        host.setProcessEnvironment(environment);
        host.start(QStringLiteral(FAI_HOST_PROGRAM),
                   QStringList{"--server", QStringLiteral("127.0.0.1:%1").arg(server_->Port()),
                               "--module", QStringLiteral(FAI_MODULE_PATH), "--branch", "0001"}
                       << extra);
        EXPECT_TRUE(host.waitForFinished(120000)) << extra.join(u' ').toStdString();
        return {host.exitCode(), QString::fromUtf8(host.readAllStandardOutput()),
                QString::fromUtf8(host.readAllStandardError())};
    }
    int Calls(const char* method) const {
        return int(server_->LogLines().filter(QStringLiteral(" %1 ").arg(method)).size());
    }
    // What the database holds for a client at the branch in the period, as the listing
    // writes its totals.
    QString Totals(const QString& client) const {
        const QVariantList sums =
            seed_
                ->Rows(
                    "SELECT SUM(QTCOMEFATU), SUM(QTCOMEPREV) FROM EFETFATUR "
                    "WHERE CDFILIAL = '0001' AND CDCLIENTE = ? AND DTFATURAM BETWEEN ? AND ?",
                    {client, kFirst.toString(Qt::ISODate), kLast.toString(Qt::ISODate)})
                .first();
        return QStringLiteral("%1\\s+%2")
            .arg(
                QRegularExpression::escape(BrazilianLocale().toString(sums[0].toDouble(), 'f', 3)),
                QRegularExpression::escape(BrazilianLocale().toString(sums[1].toDouble(), 'f', 3)));
    }

    // The demo data holds the last thirty days.
    const QDate kLast = QDate::currentDate();
    const QDate kFirst = kLast.addDays(-29);
    std::unique_ptr<appserver::test::RunningServer> server_;
    std::unique_ptr<appserver::test::TestSeed> seed_;
    QTemporaryDir dir_;
};

TEST_P(ReportWithoutScreen, WritesTheListingOfTheChosenClientsAndSaysWhatIsWrong) {
    const QList<QVariantList> clients = seed_->Rows(
        "SELECT DISTINCT E.CDCLIENTE, C.NRINSJURCLIE, C.NMRAZSOCCLIE FROM EFETFATUR E "
        "JOIN CLIENTE C ON C.CDCLIENTE = E.CDCLIENTE WHERE E.CDFILIAL = '0001' "
        "AND E.DTFATURAM BETWEEN ? AND ? ORDER BY E.CDCLIENTE",
        {kFirst.toString(Qt::ISODate), kLast.toString(Qt::ISODate)});
    ASSERT_GE(clients.size(), 2);
    const QString period[] = {"--from", kFirst.toString("dd/MM/yyyy"), "--to",
                              kLast.toString("dd/MM/yyyy")};
    const QStringList dates(std::begin(period), std::end(period));
    const QString pdf = dir_.filePath("listagem.pdf");
    const Finished written = Report(
        QStringList{"--report", "Fai004", "--clients", clients[0][1].toString(), "--pdf", pdf}
        << dates);
    ASSERT_EQ(written.exitCode, 0) << written.err.toStdString();
    EXPECT_TRUE(written.out.contains("relatório Fai004 gravado em " + pdf));
    const QString text = testing::PdfPages(pdf).join('\n');
    EXPECT_TRUE(text.contains(clients[0][2].toString())) << text.toStdString();
    EXPECT_TRUE(text.contains(
        QRegularExpression("Total do cliente\\s+" + Totals(clients[0][0].toString()))))
        << text.toStdString();
    EXPECT_FALSE(text.contains(clients[1][2].toString()));
    EXPECT_EQ(Calls("PrxRelFatur"), 1);
    EXPECT_EQ(Calls("GeraRel"), 1);
    EXPECT_EQ(Calls("DeletaRel"), 1);

    const struct {
        const char* what;
        QStringList arguments;
        int exitCode;
        QString message;
    } failures[] = {
        {"reversed period",
         {"--report", "Fai004", "--from", kLast.toString("dd/MM/yyyy"), "--to",
          kFirst.toString("dd/MM/yyyy"), "--pdf", pdf},
         4,
         "Data Inicial deve ser menor ou igual a Data Final."},
        {"a client not of the branch",
         QStringList{"--report", "Fai004", "--clients", "123", "--pdf", pdf} << dates, 4,
         "Cliente 123 não está vinculado à filial 0001."},
        {"nothing in the period",
         {"--report", "Fai004", "--from", "01/01/2001", "--to", "31/01/2001", "--pdf", pdf},
         4,
         "Nenhum registro encontrado para os parâmetros informados."},
        {"a PDF that cannot be written",
         QStringList{"--report", "Fai004", "--pdf", "/nonexistent/listagem.pdf"} << dates, 4,
         "Não foi possível gravar o PDF em '/nonexistent/listagem.pdf'"},
        {"no such definition",
         QStringList{"--report", "Fai004", "--title", "Outra", "--pdf", pdf} << dates, 4,
         "Não há relatório \"Outra\" de código Fai004; há \"Listagem de Comensais\", \"Resumo de "
         "Comensais por Serviço\"."},
        {"another report", QStringList{"--report", "Fai009", "--pdf", pdf} << dates, 4,
         "O módulo não tem o relatório Fai009"},
        {"no PDF named", QStringList{"--report", "Fai004"} << dates, 2,
         "--report precisa de --pdf."},
        {"an impossible date",
         {"--report", "Fai004", "--from", "31/02/2026", "--to", "01/03/2026", "--pdf", pdf},
         2,
         "Data inválida em --from: \"31/02/2026\" (use DD/MM/AAAA)."},
    };
    for (const auto& f : failures) {
        const Finished failed = Report(f.arguments);
        EXPECT_EQ(failed.exitCode, f.exitCode) << f.what << ": " << failed.err.toStdString();
        EXPECT_TRUE(failed.err.contains("fai-host: " + f.message))
            << f.what << ": " << failed.err.toStdString();
    }
    // Every run that asked for a number deleted its data, the failed ones too.
    EXPECT_EQ(Calls("DeletaRel"), Calls("PrxRelFatur"));
    EXPECT_EQ(seed_->Count("RELCOMENSAL"), 0);
    EXPECT_EQ(seed_->Rows("SELECT COUNT(*) FROM RELFATURNUM WHERE IDEXCLUIDO = 'N'")[0][0].toInt(),
              0);
}

// A list of servers with one where nothing runs: the host starts and works on the other.
TEST_P(ReportWithoutScreen, WorksOnTheServerThatRunsOfAListOfServers) {
    const QString pdf = dir_.filePath("listagem.pdf");
    const Finished written =
        Report({"--server", QStringLiteral("127.0.0.1:1,127.0.0.1:%1").arg(server_->Port()),
                "--report", "Fai004", "--from", kFirst.toString("dd/MM/yyyy"), "--to",
                kLast.toString("dd/MM/yyyy"), "--pdf", pdf});
    ASSERT_EQ(written.exitCode, 0) << written.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(pdf));
    EXPECT_EQ(Calls("GeraRel"), 1);
}

INSTANTIATE_TEST_SUITE_P(Backends, ReportWithoutScreen, appserver::test::kBackends,
                         appserver::test::BackendNamer());

TEST(HostProgramHelp, TellsHowToWriteAReportWithoutAScreen) {
    QProcess host;
    host.start(QStringLiteral(FAI_HOST_PROGRAM), {"--help"});
    ASSERT_TRUE(host.waitForFinished(30000));
    const QString help = QString::fromUtf8(host.readAllStandardOutput());
    for (const char* option :
         {"--report", "--from", "--to", "--clients", "--services", "--title", "--pdf"})
        EXPECT_TRUE(help.contains(QLatin1String(option))) << option;
}

TEST(HostSettings, TakesSeveralServersFromTheIniFileOrTheCommandLine) {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("host.ini"));
    {
        QFile file(ini);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[servidor]\nhost=a.local:7401, b.local\nporta=7500\n");
    }
    const HostSettings fromIni = HostSettings::FromCommandLine({"fai-host", "--config", ini});
    EXPECT_EQ(ServerList::Parse(fromIni.serverHost, fromIni.serverPort).Address(),
              QStringLiteral("a.local:7401, b.local:7500"));
    const HostSettings overridden =
        HostSettings::FromCommandLine({"fai-host", "--config", ini, "--server", "c:1,[::1]:2"});
    EXPECT_EQ(ServerList::Parse(overridden.serverHost, overridden.serverPort).Address(),
              QStringLiteral("c:1, [::1]:2"));
}

TEST(HostSettings, TheCommandLineOverridesTheIniFile) {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("host.ini"));
    {
        QFile file(ini);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(
            "[contexto]\nfilial=0002\nfilialFaturamento=0003\nfilialFixa=true\n"
            "[servidor]\nhost=servidor.local\nporta=7500\n"
            "[banco]\nlocal=sqlite:/dados/geral.sqlite\n"
            "[relatorios]\npasta=/rede/relatorios\n");
    }
    const HostSettings fromIni = HostSettings::FromCommandLine({"fai-host", "--config", ini});
    EXPECT_EQ(fromIni.branch, QStringLiteral("0002"));
    EXPECT_EQ(fromIni.billingBranch, QStringLiteral("0003"));
    EXPECT_TRUE(fromIni.branchFixed);
    EXPECT_EQ(fromIni.serverHost, QStringLiteral("servidor.local"));
    EXPECT_EQ(fromIni.serverPort, 7500);
    EXPECT_EQ(fromIni.notes, QStringList{QStringLiteral("a seção [banco] de %1 é ignorada: o "
                                                        "host lê os dados pelo servidor de "
                                                        "aplicação.")
                                             .arg(ini)});
    EXPECT_FALSE(fromIni.startModule);
    EXPECT_EQ(fromIni.reportFolder, QStringLiteral("/rede/relatorios"));

    const HostSettings overridden = HostSettings::FromCommandLine(
        {"fai-host", "--config", ini, "--branch", " 0004 ", "--server", "10.0.0.5:7600", "--start",
         "--reports", "/filial/relatorios"});
    EXPECT_EQ(overridden.branch, QStringLiteral("0004"));
    EXPECT_EQ(overridden.serverHost, QStringLiteral("10.0.0.5"));
    EXPECT_EQ(overridden.serverPort, 7600);
    EXPECT_TRUE(overridden.startModule);
    EXPECT_EQ(overridden.reportFolder, QStringLiteral("/filial/relatorios"));

    EXPECT_THROW(
        HostSettings::FromCommandLine({"fai-host", "--config", ini, "--server", "h:99999"}),
        EError);

    const HostSettings secure =
        HostSettings::FromCommandLine({"fai-host", "--config", ini, "--tls-ca", "/etc/fai/ac.pem",
                                       "--user", "maria", "--password-stdin"});
    EXPECT_TRUE(secure.tls.enabled);
    EXPECT_EQ(secure.tls.caFile, QStringLiteral("/etc/fai/ac.pem"));
    EXPECT_EQ(secure.user, QStringLiteral("maria"));
    EXPECT_TRUE(secure.passwordFromStdin);
    EXPECT_FALSE(fromIni.tls.enabled);
    EXPECT_THROW(HostSettings::FromCommandLine({"fai-host", "--config", ini, "--password-stdin"}),
                 EError);
}

}  // namespace
}  // namespace fai

namespace fai {
namespace {

// The host's reads of the shared data, through the server as fai-host sets them up.
void ReadThrough(const appserver::test::RunningServer& server) {
    SetGeneralData(std::make_shared<ServerGeneralData>(QStringLiteral("127.0.0.1"), server.Port()));
}

TEST(HostStartup, ReadsBranchesAndProcessingDatesThroughTheServer) {
    using appserver::test::Backend;
    appserver::test::TestDatabase database(Backend::Sqlite);
    appserver::test::RunningServer server(database.Location());  // makes the schema
    appserver::test::TestSeed(database.Location())
        .Branch("0002", "Campinas")
        .Branch("0001", "São Paulo - Centro")
        .Params("0002", QDate(2026, 3, 10), "S", 3, "S");
    ReadThrough(server);

    EXPECT_EQ(HostStartup::FirstBranch(), QStringLiteral("0001"));
    EXPECT_EQ(HostStartup::BranchName("0001"), QStringLiteral("São Paulo - Centro"));
    EXPECT_THROW(HostStartup::BranchName("0003"), EError);
    EXPECT_EQ(HostStartup::ProcessingDate("0002"), QDate(2026, 3, 10));
    EXPECT_FALSE(HostStartup::ProcessingDate("0001").isValid());  // DataProc then says today
    EXPECT_NO_THROW(HostStartup::CheckServer("127.0.0.1", server.Port()));
    SetGeneralData(nullptr);
}

using appserver::test::Backend;
using appserver::test::RunningServer;
using appserver::test::TestDatabase;
using appserver::test::TestSeed;

class ClerkStartup : public appserver::test::BackendTest {};

// The codes a query of branches shows.
QStringList Codes(TADOIBQuery& query) {
    QStringList codes;
    for (query.DataSet().First(); !query.DataSet().Eof(); query.DataSet().Next())
        codes << query.FieldByName(QStringLiteral("CDFILIAL")).AsString();
    return codes;
}

TEST(HostStartup, WorksInTheUsersBranchesOnlyAndFixesTheOnlyOne) {
    TestDatabase database(Backend::Sqlite);
    RunningServer server(database.Location());
    TestSeed(database.Location())
        .Branch("0001", "Centro")
        .Branch("0002", "Norte")
        .Branch("0003", "Sul");
    ReadThrough(server);
    const SignedInUser maria{"maria", "Maria", false, {"0002"}};
    const SignedInUser ana{"ana", "Ana", false, {"0001", "0003"}};
    const SignedInUser chefe{"chefe", "Chefe", true, {}};
    const struct {
        const char* what;
        std::optional<SignedInUser> user;
        QString branch, billingBranch;
        QString chosen;  // or the refusal
        bool fixed;
    } cases[] = {
        {"nobody signed in", std::nullopt, {}, {}, "0001", false},
        {"a user of one branch", maria, {}, {}, "0002", true},
        {"the first of a user's branches", ana, {}, {}, "0001", false},
        {"one of a user's branches", ana, "0003", "0001", "0003", false},
        {"an administrator", chefe, "0002", {}, "0002", false},
        {"a branch not the user's",
         maria,
         "0001",
         {},
         "A filial 0001 não é das filiais do usuário maria (0002).",
         false},
        {"a billing branch not the user's", ana, "0001", "0002",
         "A filial 0002 não é das filiais do usuário ana (0001, 0003).", false},
    };
    for (const auto& c : cases) {
        HostSettings settings;
        settings.branch = c.branch;
        settings.billingBranch = c.billingBranch;
        WorkingContextData context;
        try {
            HostStartup::ChooseBranches(context, settings, c.user);
            EXPECT_EQ(context.branch, c.chosen) << c.what;
            EXPECT_EQ(context.branchFixed, c.fixed) << c.what;
        } catch (const EError& e) {
            EXPECT_EQ(e.Message(), c.chosen) << c.what;
        }
    }

    WorkingContextData context;
    context.userBranches = ana.branches;
    SetWorkingContext(context);
    TADOIBQuery branches(QStringLiteral("qryFilial"));
    branches.SetSQL(QStringLiteral("SELECT CDFILIAL, NMFILIAL FROM FILIAL ORDER BY CDFILIAL"));
    RestrictToUserBranches(branches);
    branches.Open();
    EXPECT_EQ(Codes(branches), (QStringList{"0001", "0003"}));
    EXPECT_FALSE(FilialPermitida("0002"));
    SetWorkingContext({});
    branches.Open();
    EXPECT_EQ(Codes(branches), (QStringList{"0001", "0002", "0003"}));
    SetGeneralData(nullptr);
}

TEST(HostSignIn, TakesTheUserGivenAndThePasswordFromStandardInput) {
    TestDatabase database(Backend::Sqlite);
    RunningServer server(database.Location());
    TestSeed seed(database.Location());
    seed.Branch("0001", "Centro");
    appserver::UserAdministration(seed.Session())
        .Add("maria", "Maria Souza", "senha-da-maria", {"0001"}, false);
    const QStringList arguments{"--server", QStringLiteral("127.0.0.1:%1").arg(server.Port()),
                                "--module", QStringLiteral(FAI_MODULE_PATH)};

    const HostRun signedIn =
        RunHost(arguments + QStringList{"--user", "maria", "--password-stdin"}, "senha-da-maria\n");
    EXPECT_TRUE(signedIn.stillRunning) << signedIn.errors.toStdString();
    const HostRun wrong =
        RunHost(arguments + QStringList{"--user", "maria", "--password-stdin"}, "senha-errada\n");
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_TRUE(wrong.errors.contains("fai-host: Usuário ou senha incorretos."))
        << wrong.errors.toStdString();
    // Off screen nobody can answer the sign-in: given up, the host stops.
    const HostRun unanswered = RunHost(arguments);
    EXPECT_EQ(unanswered.exitCode, 2) << unanswered.errors.toStdString();

    // A report run signs in alike, works in the user's branches only, and has nobody to ask.
    const QStringList report{"--report", "Fai004",     "--from", "01/01/2001",
                             "--to",     "31/01/2001", "--pdf",  "/nonexistent/listagem.pdf"};
    const struct {
        QStringList extra;
        QByteArray input;
        int exitCode;
        const char* message;
    } reports[] = {
        {{"--branch", "0001", "--user", "maria", "--password-stdin"},
         "senha-da-maria\n",
         4,
         "Nenhum registro encontrado para os parâmetros informados."},
        {{"--branch", "0002", "--user", "maria", "--password-stdin"},
         "senha-da-maria\n",
         2,
         "A filial 0002 não é das filiais do usuário maria (0001)."},
        {{"--branch", "0001"},
         {},
         2,
         "O servidor de aplicação exige entrar: para gerar o relatório sem janela, informe "
         "--user e --password-stdin."},
    };
    for (const auto& r : reports) {
        const HostRun run = RunHost(arguments + report + r.extra, r.input, 120000);
        EXPECT_EQ(run.exitCode, r.exitCode) << run.errors.toStdString();
        EXPECT_TRUE(run.errors.contains(QString::fromUtf8("fai-host: ") + r.message))
            << run.errors.toStdString();
    }
}

// Signed in as a clerk of one branch, the host's own reads see that branch only: the others
// are not there for it, on either database.
TEST_P(ClerkStartup, SeesOnlyTheClerksBranch) {
    RunningServer server(Location());
    TestSeed seed(Location());
    seed.Branch("0001", "Centro")
        .Branch("0002", "Norte")
        .Params("0001", QDate(2026, 3, 10), "S", 3, "S")
        .Params("0002", QDate(2026, 3, 11), "S", 3, "S");
    appserver::UserAdministration(seed.Session())
        .Add("maria", "Maria Souza", "senha-da-maria", {"0002"}, false);
    SessionClient(ServerList::Parse(QStringLiteral("127.0.0.1"), server.Port()),
                  ServerAccess::Host())
        .SignIn("maria", "senha-da-maria");
    ReadThrough(server);
    EXPECT_EQ(HostStartup::FirstBranch(), QStringLiteral("0002"));
    EXPECT_EQ(HostStartup::ProcessingDate("0002"), QDate(2026, 3, 11));
    EXPECT_FALSE(HostStartup::ProcessingDate("0001").isValid());
    EXPECT_THROW(HostStartup::BranchName("0001"), EError);
    SetGeneralData(nullptr);
    ServerAccess::Host()->SetToken({});
}

INSTANTIATE_TEST_SUITE_P(Backends, ClerkStartup, appserver::test::kBackends,
                         appserver::test::BackendNamer());

}  // namespace
}  // namespace fai

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
