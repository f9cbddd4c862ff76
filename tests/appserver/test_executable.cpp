// The fai-appserver program as an administrator runs it.
#include "BackendTest.h"
#include "CheckResultServ.h"
#include "RotatingLogFile.h"
#include "RunningServer.h"
#include "SampleData.h"
#include "SampleTest.h"
#include "Schema.h"
#include "ServerProcess.h"
#include "SessionClient.h"
#include "SessionMetadata.h"
#include "SqlSession.h"
#include "TestDatabase.h"
#include "TestSeed.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace fai::appserver::test {
namespace {

constexpr int kWaitMs = 20'000;

QString Program() { return QStringLiteral(FAI_APPSERVER_PROGRAM); }

struct Finished {
    int exitCode = -1;
    QString out, err;
};

Finished RunToEnd(const QStringList& arguments, const QByteArray& input = {}) {
    QProcess process;
    process.start(Program(), arguments);
    process.write(input);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(kWaitMs)) << arguments.join(u' ').toStdString();
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

TEST(Program, ExplainsItsOptions) {
    const Finished help = RunToEnd({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* option :
         {"--listen", "--database", "--demo", "--threads", "--max-calls", "--call-timeout",
          "--idle-timeout", "--log", "--log-size", "--tls-cert", "--tls-key", "--tls-client-ca",
          "--trusted-network", "--session-timeout", "--report-retention", "--config", "--health",
          "--backup", "--restore"})
        EXPECT_TRUE(help.out.contains(QLatin1String(option))) << option;
}

TEST(Program, StopsWithAMessageOnAWrongOption) {
    const Finished wrong = RunToEnd({QStringLiteral("--threads"), QStringLiteral("0")});
    EXPECT_EQ(wrong.exitCode, 1);
    EXPECT_TRUE(wrong.err.contains(QStringLiteral("Número de threads inválido: 0")))
        << wrong.err.toStdString();
}

TEST(Program, ServesTheDemoDataAndStopsCleanlyOnSigterm) {
    QTemporaryDir dir;
    ServerProcess server({QStringLiteral("--demo"), QStringLiteral("--database"),
                          QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("demo.sqlite"))});

    const std::unique_ptr<TNetConnection> connection = server.Connect();
    const std::vector<DataPacket> clients = CheckResultServ(
        connection->AppServer().GetCliente(QStringLiteral("0001"), {}, {}), true, 0);
    EXPECT_FALSE(clients.at(0).rows.empty());
    connection->Disconnect();

    EXPECT_EQ(server.Stop(), 0);
    const QString err = server.ErrorOutput();
    EXPECT_TRUE(err.contains(QStringLiteral("dados de demonstração gravados")));
    EXPECT_TRUE(err.contains(QRegularExpression(QStringLiteral(" GetCliente [0-9.]+ ms ok\n"))))
        << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("fai-appserver encerrado")));
}

TEST(Program, WritesItsLogToAFileWhenAsked) {
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("chamadas.log"));
    ServerProcess server({QStringLiteral("--demo"), QStringLiteral("--database"),
                          QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("demo.sqlite")),
                          QStringLiteral("--log"), log},
                         log);
    EXPECT_TRUE(server.Connect()->AppServer().GetParams(QStringLiteral("0001")).success);
    EXPECT_EQ(server.Stop(), 0);

    QFile written(log);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QString lines = QString::fromUtf8(written.readAll());
    EXPECT_TRUE(lines.contains(QRegularExpression(QStringLiteral(" GetParams [0-9.]+ ms ok\n"))))
        << lines.toStdString();
    EXPECT_TRUE(lines.endsWith(QStringLiteral(" fai-appserver encerrado\n")));
    EXPECT_EQ(server.ErrorOutput(), QString());
    EXPECT_EQ(written.permissions() & ~(QFile::ReadUser | QFile::WriteUser),
              QFile::ReadOwner | QFile::WriteOwner);
}

// Lines of 30 bytes in files of at most 100: three lines a file, two files kept besides the
// one being written.
TEST(CallLogFile, IsSetAsideWhenFullAndOnlyTheNewestAreKept) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("chamadas.log"));
    {
        RotatingLogFile file(path, 100, 2);
        for (int line = 0; line < 10; ++line)
            file.Write(
                QStringLiteral("linha %1 ").arg(line, 2, 10, QChar(u'0')).leftJustified(29, u'.'));
    }
    const auto lines = [](const QString& file) {
        QFile read(file);
        if (!read.open(QIODevice::ReadOnly)) return QStringList{QStringLiteral("(ausente)")};
        QStringList numbers;
        for (const QByteArray& line : read.readAll().split('\n'))
            if (!line.isEmpty()) numbers << QString::fromUtf8(line.mid(6, 2));
        return numbers;
    };
    EXPECT_EQ(lines(path + QStringLiteral(".2")), (QStringList{"03", "04", "05"}));
    EXPECT_EQ(lines(path + QStringLiteral(".1")), (QStringList{"06", "07", "08"}));
    EXPECT_EQ(lines(path), (QStringList{"09"}));
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".3")));
}

TEST(CallLogFile, ThatCannotBeOpenedStopsTheStartWithItsName) {
    try {
        RotatingLogFile file(QStringLiteral("/proc/fai-inexistente/chamadas.log"), 100, 2);
        ADD_FAILURE() << "opened";
    } catch (const EError& e) {
        EXPECT_TRUE(e.Message().startsWith(QStringLiteral(
            "Não foi possível abrir o registro de chamadas /proc/fai-inexistente/chamadas.log: ")))
            << e.Message().toStdString();
    }
}

TEST(Program, RefusesADatabaseOfANewerSchema) {
    TestDatabase database(Backend::Sqlite);
    {
        SqlSession session(database.Location());
        Schema::Upgrade(session);
        session.Run(QStringLiteral("UPDATE VERSAOBANCO SET NRVERSAO = ?"),
                    {Schema::CurrentVersion() + 1});
    }
    const Finished refused = RunToEnd({QStringLiteral("--database"), database.Location().Describe(),
                                       QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(
        QStringLiteral("O banco de dados está na versão %1 do esquema, mais nova que a versão %2")
            .arg(Schema::CurrentVersion() + 1)
            .arg(Schema::CurrentVersion())))
        << refused.err.toStdString();
}

class UserAdministrationProgram : public BackendTest {};

// The administrator's commands, run as the administrator runs them, beside a running server
// that sees every change at its next call.
TEST_P(UserAdministrationProgram, AddsChangesDisablesAndListsUsers) {
    RunningServer server(Location());
    TestSeed(Location()).Branch("0001", "Centro").Branch("0002", "Norte");
    const QString database = Location().Describe();
    const auto user = [&](QStringList arguments, const QByteArray& password = {}) {
        arguments.prepend(QStringLiteral("user"));
        arguments << QStringLiteral("--database") << database;
        if (!password.isEmpty()) arguments << QStringLiteral("--password-stdin");
        return RunToEnd(arguments, password + '\n');
    };

    const Finished added =
        user({"add", "Maria", "--name", "Maria Souza", "--branches", "0001"}, "senha-da-maria");
    EXPECT_EQ(added.exitCode, 0) << added.err.toStdString();
    EXPECT_EQ(added.out, QStringLiteral("Usuário maria cadastrado.\n"));
    EXPECT_EQ(user({"add", "chefe", "--name", "Chefe", "--admin"}, "senha-do-chefe").exitCode, 0);

    const struct {
        QStringList arguments;
        QByteArray password;
        const char* refusal;
    } refused[] = {
        {{"add", "maria", "--name", "Outra", "--branches", "0001"},
         "senha-outra",
         "O usuário maria já existe."},
        {{"add", "joao", "--name", "João", "--branches", "9999"},
         "senha-do-joao",
         "Filial 9999 não cadastrada."},
        {{"add", "joao", "--name", "João", "--branches", "0001"},
         "curta",
         "A senha deve ter ao menos 8 caracteres."},
        {{"add", "joao", "--name", "João"},
         "senha-do-joao",
         "Informe ao menos uma filial do usuário (ou torne-o administrador)."},
        {{"add", "joão", "--name", "João", "--branches", "0001"},
         "senha-do-joao",
         "Usuário inválido: \"joão\""},
        {{"password", "ze"}, "senha-do-ze", "Usuário ze não cadastrado."},
        {{"password", "maria"}, {}, "Não há terminal para digitar a senha: use --password-stdin"},
        {{"rename", "maria"}, {}, "Comando de usuário desconhecido: rename"},
    };
    for (const auto& r : refused) {
        const Finished run = user(r.arguments, r.password);
        EXPECT_EQ(run.exitCode, 1) << r.refusal;
        EXPECT_TRUE(
            run.err.startsWith(QStringLiteral("fai-appserver: ") + QString::fromUtf8(r.refusal)))
            << run.err.toStdString();
    }

    EXPECT_EQ(user({"branches", "maria", "--branches", "0001,0002"}).exitCode, 0);
    EXPECT_EQ(user({"disable", "chefe"}).exitCode, 0);
    EXPECT_EQ(user({"password", "maria"}, "senha-nova-da-maria").exitCode, 0);
    EXPECT_EQ(user({"list"}).out, QStringLiteral("chefe\tChefe\tdesativado\ttodas (administrador)\n"
                                                 "maria\tMaria Souza\tativo\t0001, 0002\n"));

    SessionClient client(ServerEndpoint{QStringLiteral("127.0.0.1"), server.Port()},
                         std::make_shared<ServerAccess>());
    EXPECT_THROW(client.SignIn("maria", "senha-da-maria"), EError);
    EXPECT_EQ(client.SignIn("maria", "senha-nova-da-maria").branches,
              (QStringList{"0001", "0002"}));
    EXPECT_THROW(client.SignIn("chefe", "senha-do-chefe"), EError);
}

INSTANTIATE_TEST_SUITE_P(Backends, UserAdministrationProgram, kBackends, BackendNamer());

class HistoryExportProgram : public SampleTest {};

// The auditor's export: a file a Brazilian spreadsheet opens with its accents, oldest change
// first, every cell it could misread quoted or kept as text.
TEST_P(HistoryExportProgram, WritesTheBranchsHistoryOfThePeriodAsCsv) {
    using namespace sample;
    const QDateTime earlier = QDateTime::currentDateTime().addDays(-1);
    seed_->Session().Run(
        QStringLiteral("INSERT INTO HISTEFETFATUR (DTHRALTERACAO, NMUSUARIO, NMMAQUINA, NMMETODO, "
                       "IDOPERACAO, CDFILIAL, CDCLIENTE, CDSERVFILI, DTFATURAM, NMCAMPO, "
                       "VLANTERIOR, VLNOVO) VALUES (?, ?, 'caixa-2', 'UpdEfetFatu', 'A', ?, ?, ?, "
                       "?, 'QTCOMEFATU', '120', '130.5')"),
        {earlier.toMSecsSinceEpoch(), QStringLiteral("=SOMA(\"João\";1)"), kBranch, kAlfa, kLunch,
         SqlDate(kDay)});
    ASSERT_TRUE(
        server_->Methods().UpDateServData(kBranch, kAlfa, kLunch, kDay, kDay, 80.5, 85).success);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("histórico.csv"));
    const QStringList period{"--database", Location().Describe(), "--from", "01/03/2026",
                             "--to",       "31/03/2026"};

    const Finished done =
        RunToEnd(QStringList{"history", "--branch", kBranch, "--output", file} + period);
    ASSERT_EQ(done.exitCode, 0) << done.err.toStdString();
    EXPECT_EQ(done.out, QStringLiteral("3 alterações gravadas em %1\n").arg(file));
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"));
    const QString row = QStringLiteral("0001;J11222333000181;00001;10/03/2026;;;");
    const QString here = Workstation::Here().user + u';' + Workstation::Here().machine;
    EXPECT_EQ(
        lines,
        (QStringList{"Data e hora;Usuário;Máquina;Método;Operação;Filial;Cliente;Serviço;Data de "
                     "faturamento;Turno;Item de rateio;Campo;Valor anterior;Valor novo",
                     earlier.toString("dd/MM/yyyy HH:mm:ss") +
                         ";\"'=SOMA(\"\"João\"\";1)\";caixa-2;UpdEfetFatu;alteração;" + row +
                         "QTCOMEFATU;120;130,5",
                     lines.value(2).section(u';', 0, 0) + u';' + here +
                         ";UpDateServData;inclusão;" + row + "QTCOMEFATU;;85",
                     lines.value(3).section(u';', 0, 0) + u';' + here +
                         ";UpDateServData;inclusão;" + row + "QTCOMEPREV;;80,5",
                     ""}));

    const Finished unknown = RunToEnd(QStringList{"history", "--branch", "9999"} + period);
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_TRUE(unknown.err.startsWith(QStringLiteral("fai-appserver: Filial")))
        << unknown.err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Backends, HistoryExportProgram, kBackends, BackendNamer());

}  // namespace
}  // namespace fai::appserver::test
