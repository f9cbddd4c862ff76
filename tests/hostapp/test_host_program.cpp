#include "HostSettings.h"
#include "HostStartup.h"
#include "RunningServer.h"
#include "SharedDatabase.h"
#include "TestDatabase.h"
#include "TestSeed.h"

#include "Errors.h"

#include <QCoreApplication>
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

// Runs the host off screen; a host that is still running after a while started well.
HostRun RunHost(const QStringList& arguments) {
    QProcess host;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), QStringLiteral("/nonexistent"));
    host.setProcessEnvironment(environment);
    host.start(QStringLiteral(FAI_HOST_PROGRAM), arguments);
    const bool finished = host.waitForFinished(3000);
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
        return {"--database", "sqlite:" + dir_->filePath(QStringLiteral("demo.sqlite")),
                "--server",   QStringLiteral("127.0.0.1:%1").arg(server_->Port()),
                "--module",   QStringLiteral(FAI_MODULE_PATH)};
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
}

TEST_F(HostProgram, RefusesToStartWithAClearMessage) {
    ASSERT_GT(server_->Port(), 0);
    const struct {
        const char* what;
        QStringList extra;
        int exitCode;
        const char* message;
    } cases[] = {
        {"unknown branch",
         {"--branch", "9999"},
         2,
         "Filial 9999 não cadastrada no banco de dados geral."},
        {"unknown billing branch", {"--billing-branch", "ZZ99"}, 2, "Filial ZZ99 não cadastrada"},
        {"no server there",
         {"--server", "127.0.0.1:1"},
         2,
         "Não foi possível conectar ao servidor de aplicação em 127.0.0.1:1."},
        {"bad server address", {"--server", "semporta"}, 2, "Endereço do servidor inválido"},
        {"missing database",
         {"--database", "sqlite:/nonexistent/db.sqlite"},
         2,
         "Banco de dados geral não encontrado: /nonexistent/db.sqlite"},
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
    EXPECT_EQ(fromIni.database, QStringLiteral("sqlite:/dados/geral.sqlite"));
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
}

}  // namespace
}  // namespace fai

namespace fai {
namespace {

TEST(HostStartup, ReadsBranchesAndProcessingDatesFromTheSharedDatabase) {
    using appserver::test::Backend;
    appserver::test::TestDatabase database(Backend::Sqlite);
    appserver::test::RunningServer server(database.Location());  // makes the schema
    appserver::test::TestSeed(database.Location())
        .Branch("0002", "Campinas")
        .Branch("0001", "São Paulo - Centro")
        .Params("0002", QDate(2026, 3, 10), "S", 3, "S");
    HostStartup::OpenSharedDatabase("sqlite:" + database.Location().path);

    EXPECT_EQ(HostStartup::FirstBranch(), QStringLiteral("0001"));
    EXPECT_EQ(HostStartup::BranchName("0001"), QStringLiteral("São Paulo - Centro"));
    EXPECT_THROW(HostStartup::BranchName("0003"), EError);
    EXPECT_EQ(HostStartup::ProcessingDate("0002"), QDate(2026, 3, 10));
    EXPECT_FALSE(HostStartup::ProcessingDate("0001").isValid());  // DataProc then says today
    EXPECT_NO_THROW(HostStartup::CheckServer("127.0.0.1", server.Port()));
    UnregisterSharedDatabase();
}

}  // namespace
}  // namespace fai

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
