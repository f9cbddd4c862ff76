// What an administrator does with the server besides serving: its configuration file, health
// probes, and backups of the embedded database taken and restored.
#include "HealthProbe.h"
#include "HealthWatch.h"
#include "RunningServer.h"
#include "SampleData.h"
#include "SavingClerks.h"
#include "ServerOptions.h"
#include "SqliteCopies.h"
#include "TestDatabase.h"
#include "TestSeed.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <grpcpp/health_check_service_interface.h>

#include <gtest/gtest.h>

namespace fai::appserver::test {
namespace {

QString Written(const QTemporaryDir& dir, const QString& name, const QByteArray& text) {
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    return file.fileName();
}

TEST(ConfigurationFile, SaysWhatTheCommandLineSaysAndGivesWayToIt) {
    QTemporaryDir dir;
    struct Case {
        const char* name;
        QByteArray text;
        QStringList more;   // on the command line after --config
        QString listen;     // expected, when no refusal
        bool demo = false;  // expected
        QString refusal;    // expected, part of the message
    };
    const Case cases[] = {
        {"the file's settings",
         "# comentário\n\nlisten = 0.0.0.0:7500\ndemo = sim\n",
         {},
         "0.0.0.0:7500",
         true,
         {}},
        {"the command line wins",
         "listen = 0.0.0.0:7500\ndemo = não\n",
         {"--listen", "127.0.0.1:7600"},
         "127.0.0.1:7600",
         false,
         {}},
        {"an unknown option",
         "listen = 0.0.0.0:7500\nporta = 7\n",
         {},
         {},
         false,
         "linha 2: opção desconhecida \"porta\""},
        {"a line without a value", "demo\n", {}, {}, false, "linha 1: use NOME = VALOR"},
        {"a flag that is neither yes nor no",
         "demo = talvez\n",
         {},
         {},
         false,
         "linha 1: demo aceita sim ou não"},
        {"a wrong value", "threads = 0\n", {}, {}, false, "Número de threads inválido: 0"},
        {"the file itself",
         "config = outro.conf\n",
         {},
         {},
         false,
         "opção desconhecida \"config\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = Written(dir, QStringLiteral("servidor.conf"), c.text);
        ServerOptions options;
        try {
            ASSERT_EQ(options.Parse(QStringList{"fai-appserver", "--config", path} + c.more),
                      ServerOptions::Action::Run);
            EXPECT_TRUE(c.refusal.isEmpty());
            EXPECT_EQ(options.Config().listenAddress, c.listen);
            EXPECT_EQ(options.Config().seedDemo, c.demo);
        } catch (const EError& e) {
            EXPECT_TRUE(!c.refusal.isEmpty() && e.Message().contains(c.refusal))
                << e.Message().toStdString();
        }
    }
    EXPECT_THROW(ServerOptions().Parse({"fai-appserver", "--config", dir.filePath("nenhum.conf")}),
                 EError);
}

// Records what the health service is told, as gRPC's own service would take it.
class ToldHealth final : public grpc::HealthCheckServiceInterface {
  public:
    void SetServingStatus(const std::string&, bool serving) override { SetServingStatus(serving); }
    void SetServingStatus(bool serving) override { serving_ = serving; }
    bool Serving() const { return serving_; }

  private:
    std::atomic<bool> serving_ = false;
};

bool Becomes(const ToldHealth& health, bool serving) {
    for (int wait = 0; wait < 10'000 && health.Serving() != serving; ++wait) QThread::msleep(1);
    return health.Serving() == serving;
}

TEST(Health, ServingWhileTheDatabaseAnswers) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("banco"));
    ASSERT_TRUE(QDir().mkpath(folder));
    DatabaseLocation database;
    database.path = folder + QStringLiteral("/fai.sqlite");
    CallLog log([](const QString&) {});
    ToldHealth health;
    HealthWatch watch(database, health, log, std::chrono::milliseconds(20));
    EXPECT_TRUE(Becomes(health, true));
    ASSERT_TRUE(QDir(folder).removeRecursively());
    EXPECT_TRUE(Becomes(health, false));
    ASSERT_TRUE(QDir().mkpath(folder));
    EXPECT_TRUE(Becomes(health, true));
}

TEST(Health, ProbedByTheStandardServiceOverTheNetwork) {
    TestDatabase database(Backend::Sqlite);
    const QString address = [&] {
        RunningServer server(database.Location());
        const QString at = QStringLiteral("127.0.0.1:%1").arg(server.Port());
        const HealthAnswer answer = ProbeHealth(at, std::chrono::seconds(10));
        EXPECT_TRUE(answer.serving) << answer.said.toStdString();
        EXPECT_EQ(answer.said, at + QStringLiteral(" em serviço"));
        return at;
    }();
    const HealthAnswer gone = ProbeHealth(address, std::chrono::milliseconds(300));
    EXPECT_FALSE(gone.serving);
    EXPECT_TRUE(gone.said.startsWith(address + QStringLiteral(" não respondeu")))
        << gone.said.toStdString();
}

// A copy taken while four clerks save holds every save acknowledged before it began and
// passes SQLite's own check; restored once the server is stopped, the database is that copy.
TEST(SqliteBackup, TakenWhileClerksSaveAndRestoredOnceTheServerStops) {
    TestDatabase database(Backend::Sqlite);
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("copia.sqlite"));
    std::vector<int> savedBefore;
    {
        RunningServer server(database.Location());
        {
            TestSeed seed(database.Location());
            sample::Seed(seed);
        }
        SavingClerks clerks([&] { return server.Connect(); }, 4, 0, 150);
        ASSERT_TRUE(clerks.WaitFor(40));
        savedBefore = clerks.SavedByNow();
        BackUpSqlite(database.Location(), copy);
        clerks.Join();

        EXPECT_EQ(QFile::permissions(copy) & (QFile::ReadOther | QFile::ReadGroup), 0);
        DatabaseLocation copied;
        copied.path = copy;
        TestSeed fromCopy(copied);
        EXPECT_EQ(fromCopy.Rows(QStringLiteral("PRAGMA integrity_check")),
                  (QList<QVariantList>{{QStringLiteral("ok")}}));
        EXPECT_EQ(clerks.Missing(fromCopy, savedBefore), QString());

        try {
            RestoreSqlite(copy, database.Location());
            ADD_FAILURE() << "restored under a running server";
        } catch (const EError& e) {
            EXPECT_TRUE(e.Message().contains(QStringLiteral("em uso por um servidor")))
                << e.Message().toStdString();
        }
        EXPECT_THROW(BackUpSqlite(database.Location(), copy), EError);  // never overwritten
    }
    const int inCopy = TestSeed([&] {
                           DatabaseLocation copied;
                           copied.path = copy;
                           return copied;
                       }())
                           .Rows(QStringLiteral("SELECT COUNT(*) FROM EFETFATUR"))
                           .first()
                           .first()
                           .toInt();

    RestoreSqlite(copy, database.Location());
    RunningServer again(database.Location());
    TestSeed restored(database.Location());
    EXPECT_EQ(
        restored.Rows(QStringLiteral("SELECT COUNT(*) FROM EFETFATUR")).first().first().toInt(),
        inCopy);
    EXPECT_EQ(restored.Rows(QStringLiteral("PRAGMA integrity_check")),
              (QList<QVariantList>{{QStringLiteral("ok")}}));

    const QString notADatabase =
        Written(dir, QStringLiteral("texto.sqlite"), "isto não é um banco de dados\n");
    EXPECT_THROW(RestoreSqlite(notADatabase, database.Location()), EError);
}

}  // namespace
}  // namespace fai::appserver::test
