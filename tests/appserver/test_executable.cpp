// The fai-appserver program as an administrator runs it.
#include "CheckResultServ.h"
#include "Schema.h"
#include "ServerProcess.h"
#include "SqlSession.h"
#include "TestDatabase.h"

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

Finished RunToEnd(const QStringList& arguments) {
    QProcess process;
    process.start(Program(), arguments);
    EXPECT_TRUE(process.waitForFinished(kWaitMs)) << arguments.join(u' ').toStdString();
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

TEST(Program, ExplainsItsOptions) {
    const Finished help = RunToEnd({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* option : {"--listen", "--database", "--demo", "--threads"})
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

}  // namespace
}  // namespace fai::appserver::test
