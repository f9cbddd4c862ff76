// The fai-appserver program as an administrator runs it.
#include "CheckResultServ.h"
#include "Schema.h"
#include "SqlSession.h"
#include "TNetConnection.h"
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

// Reads the program's standard error until the line that says where it listens.
int ListeningPort(QProcess& process, QString& err) {
    static const QRegularExpression listening(QStringLiteral("escutando na porta (\\d+)"));
    process.setReadChannel(QProcess::StandardError);
    while (process.waitForReadyRead(kWaitMs)) {
        err += QString::fromUtf8(process.readAllStandardError());
        const QRegularExpressionMatch match = listening.match(err);
        if (match.hasMatch()) return match.captured(1).toInt();
    }
    return 0;
}

TEST(Program, ExplainsItsOptions) {
    const Finished help = RunToEnd({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* option :
         {"--listen", "--database", "--demo", "--threads", "--report-retention"})
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
    QProcess process;
    process.start(Program(),
                  {QStringLiteral("--demo"), QStringLiteral("--database"),
                   QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("demo.sqlite")),
                   QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0")});
    QString err;
    const int port = ListeningPort(process, err);
    ASSERT_GT(port, 0) << err.toStdString();

    TNetConnection connection;
    connection.SetHost(QStringLiteral("127.0.0.1"));
    connection.SetPort(port);
    connection.Connect();
    const std::vector<DataPacket> clients =
        CheckResultServ(connection.AppServer().GetCliente(QStringLiteral("0001"), {}, {}), true, 0);
    EXPECT_FALSE(clients.at(0).rows.empty());
    connection.Disconnect();

    process.terminate();  // SIGTERM
    ASSERT_TRUE(process.waitForFinished(kWaitMs));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
    err += QString::fromUtf8(process.readAllStandardError());
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
