// What a host may read through the server: one SELECT over the host tables, in a transaction
// that cannot write, bounded by the caller's branches by the database itself, whatever the
// query says.
#include "BackendTest.h"
#include "PostgresCluster.h"
#include "RunningServer.h"
#include "SampleData.h"
#include "SessionClient.h"
#include "UserAdministration.h"

#include <QStringList>

#include <map>

namespace fai::appserver::test {
namespace {

using namespace sample;

const QString kPassword = QStringLiteral("senha-secreta");
// A client served only at the other branch.
const QString kGama = QStringLiteral("J99888777000166");
const QString kSupper = QStringLiteral("00009");

// What a query gave, one row a line with its cells separated by "|", or "recusada".
const QString kRefused = QStringLiteral("recusada");

QString Cell(const Value& value) {
    if (value.IsNull()) return QStringLiteral("nulo");
    if (value.IsNumber()) return QString::number(value.Number());
    if (value.IsDate()) return value.Date().toString(Qt::ISODate);
    return value.Text();
}

class HostQueries : public BackendTest {
  protected:
    void SetUp() override {
        BackendTest::SetUp();
        if (IsSkipped()) return;
        AppServerConfig config = RunningServer::TestConfig(Location());
        config.hostReads.timeLimit = std::chrono::seconds(2);
        server_ = std::make_unique<RunningServer>(config);
        seed_ = std::make_unique<TestSeed>(Location());
        Seed(*seed_);
        seed_->Params(kBranch, kDay, QStringLiteral("N"), 0, QStringLiteral("N"))
            .Params(kOtherBranch, kDay, QStringLiteral("N"), 0, QStringLiteral("N"))
            .Client(QStringLiteral("J"), QStringLiteral("99888777000166"),
                    QStringLiteral("Gama Alimentos S.A."))
            .ClientAt(kOtherBranch, kGama)
            .Service(kOtherBranch, kSupper, QStringLiteral("CEIA"))
            .ClientService(kOtherBranch, kGama, kSupper)
            .Headcount({kBranch, kAlfa, kLunch, kDay}, 10, 12)
            .Headcount({kOtherBranch, kGama, kSupper, kDay}, 77, 70);
        UserAdministration users(seed_->Session());
        users.Add(QStringLiteral("maria"), QStringLiteral("Maria"), kPassword, {kBranch}, false);
        users.Add(QStringLiteral("chefe"), QStringLiteral("Chefe"), kPassword, {}, true);
    }

    // Signed in as the user, once.
    TNetConnection& As(const QString& login) {
        std::unique_ptr<TNetConnection>& connection = connections_[login];
        if (connection) return *connection;
        auto access = std::make_shared<ServerAccess>();
        const ServerEndpoint endpoint{QStringLiteral("127.0.0.1"), server_->Port()};
        SessionClient(endpoint, access).SignIn(login, kPassword);
        connection = std::make_unique<TNetConnection>();
        connection->SetAccess(access);
        connection->SetHost(endpoint.host);
        connection->SetPort(endpoint.port);
        connection->Connect();
        return *connection;
    }

    // The rows the user reads with the query, or kRefused.
    QString Read(const QString& login, const QString& sql) {
        QStringList rows;
        try {
            As(login).AppServer().ConsultaHost(QStringLiteral("teste"), sql, {},
                                               [&rows](DataPacket& part) {
                                                   for (const PacketRow& row : part.rows) {
                                                       QStringList cells;
                                                       for (const Value& value : row.values)
                                                           cells << Cell(value);
                                                       rows << cells.join(u'|');
                                                   }
                                               });
        } catch (const EError&) {
            return kRefused;
        }
        return rows.join(u'\n');
    }

    std::unique_ptr<RunningServer> server_;
    std::unique_ptr<TestSeed> seed_;
    std::map<QString, std::unique_ptr<TNetConnection>> connections_;
};

struct Hostile {
    const char* sql;
    const char* sqlite;  // what the clerk of 0001 reads on each database
    const char* postgres;
};

// Each query tries to read beyond the clerk's branch, or beyond reading.
const Hostile kHostile[] = {
    {"SELECT CDFILIAL FROM FILIAL ORDER BY 1", "0001", "0001"},
    {"SELECT CDFILIAL, QTCOMEFATU FROM EFETFATUR", "0001|10", "0001|10"},
    {"SELECT COUNT(*) FROM EFETFATUR", "1", "1"},
    {"SELECT NMRAZSOCCLIE FROM CLIENTE ORDER BY 1", "Alfa Refeições Ltda.\nBruno Souza",
     "Alfa Refeições Ltda.\nBruno Souza"},
    {"SELECT NMRAZSOCCLIE FROM CLIENTE WHERE CDCLIENTE = 'J99888777000166'", "", ""},
    {"SELECT C.NMRAZSOCCLIE FROM CLIENTE C JOIN CLIENFILIAL L ON L.CDCLIENTE = C.CDCLIENTE "
     "WHERE L.CDFILIAL = '0002'",
     "", ""},
    {"SELECT * FROM EFETFATUR WHERE CDFILIAL = '0002'", "", ""},
    {"SELECT CDSERVFILI FROM SERVICO UNION SELECT CDSERVFILI FROM SERVCLIEFILI ORDER BY 1",
     "00001\n00002\n00003", "00001\n00002\n00003"},
    {"SELECT CDFILIAL FROM PARAMFATUR", "0001", "0001"},
    {"SELECT QTCOMEFATU FROM main.EFETFATUR", "recusada", "recusada"},
    {"SELECT QTCOMEFATU FROM public.EFETFATUR", "recusada", "10"},
    {"SELECT QTCOMEFATU FROM temp.EFETFATUR", "10", "recusada"},
    {"WITH E AS (SELECT * FROM EFETFATUR) SELECT SUM(QTCOMEFATU) FROM E", "10", "10"},
    {"WITH EFETFATUR AS (SELECT * FROM main.EFETFATUR) SELECT QTCOMEFATU FROM EFETFATUR",
     "recusada", "recusada"},
    {"SELECT (SELECT SUM(QTCOMEFATU) FROM EFETFATUR WHERE CDFILIAL IN ('0001', '0002'))", "10",
     "10"},
    {"SELECT CDFILIAL FROM FILIAL UNION ALL SELECT CDFILIAL FROM EFETFATUR", "0001\n0001",
     "0001\n0001"},
    {"SELECT name FROM sqlite_master", "recusada", "recusada"},
    {"SELECT sql FROM sqlite_temp_master", "recusada", "recusada"},
    {"SELECT COUNT(*) FROM pg_catalog.pg_authid", "recusada", "recusada"},
    {"SELECT NMLOGIN FROM USUARIO", "recusada", "recusada"},
    {"SELECT DSHASHSENHA FROM USUARIO WHERE NMLOGIN = 'chefe'", "recusada", "recusada"},
    {"SELECT COUNT(*) FROM HISTEFETFATUR", "recusada", "recusada"},
    {"SELECT COUNT(*) FROM EFETTURNO", "recusada", "recusada"},
    {"SELECT CDFILIAL FROM LEITURAFILIAL", "recusada", "0001"},
    {"WITH R AS MATERIALIZED (SELECT set_config('role', 'none', true) AS X) "
     "SELECT R.X, (xpath('/table/row/n/text()', query_to_xml('SELECT COUNT(*) AS n FROM "
     "EFETFATUR', false, false, '')))[1]::text FROM R",
     "recusada", "none|1"},
    {"SELECT set_config('session_authorization', 'fai', true)", "recusada", "recusada"},
    {"SELECT pg_read_file('/etc/hostname')", "recusada", "recusada"},
    {"SELECT readfile('/etc/hostname')", "recusada", "recusada"},
    {"SELECT load_extension('x')", "recusada", "recusada"},
    {"SELECT name FROM pragma_database_list", "recusada", "recusada"},
    {"PRAGMA table_info(EFETFATUR)", "recusada", "recusada"},
    {"ATTACH DATABASE '/tmp/fai-outro.sqlite' AS outro", "recusada", "recusada"},
    {"EXPLAIN SELECT * FROM EFETFATUR", "recusada", "recusada"},
    {"SELECT 1; DELETE FROM EFETFATUR", "recusada", "recusada"},
    {"UPDATE EFETFATUR SET QTCOMEFATU = 0", "recusada", "recusada"},
    {"WITH X AS (DELETE FROM EFETFATUR RETURNING 1) SELECT * FROM X", "recusada", "recusada"},
    {"SELECT CDFILIAL FROM FILIAL -- WHERE 1 = 0", "0001", "0001"},
    {"SELECT 1 /*; DELETE FROM EFETFATUR */", "1", "1"},
    {"select count(*) from histefetfatur", "recusada", "recusada"},
    {"WITH USUARIO AS (SELECT 1 AS X) SELECT COUNT(*) FROM USUARIO", "recusada", "1"},
    // A billion rows: stopped at its time limit.
    {"WITH D(N) AS (VALUES (0), (1), (2), (3), (4), (5), (6), (7), (8), (9)) SELECT COUNT(*) "
     "FROM D A, D B, D C, D E, D F, D G, D H, D I, D J",
     "recusada", "recusada"},
};

TEST_P(HostQueries, AClerkReadsOnlyTheRowsOfTheirBranchesWhateverTheQuery) {
    const bool sqlite = GetParam() == Backend::Sqlite;
    for (const Hostile& query : kHostile)
        EXPECT_EQ(Read(QStringLiteral("maria"), QString::fromUtf8(query.sql)),
                  QString::fromUtf8(sqlite ? query.sqlite : query.postgres))
            << query.sql;
    // Nothing any of them did stayed.
    EXPECT_EQ(seed_->Count(QStringLiteral("EFETFATUR")), 2);
    EXPECT_EQ(seed_->Headcount({kBranch, kAlfa, kLunch, kDay})->billed, 10);
}

TEST_P(HostQueries, AnAdministratorReadsEveryBranch) {
    EXPECT_EQ(Read(QStringLiteral("chefe"),
                   QStringLiteral("SELECT CDFILIAL, QTCOMEFATU FROM EFETFATUR ORDER BY 1")),
              QStringLiteral("0001|10\n0002|77"));
    EXPECT_EQ(Read(QStringLiteral("chefe"), QStringLiteral("SELECT COUNT(*) FROM CLIENTE")),
              QStringLiteral("3"));
}

INSTANTIATE_TEST_SUITE_P(Backends, HostQueries, kBackends, BackendNamer());

// A host's read while PostgreSQL is down is told as such, in the server's words; the first
// read once it is back works, on a connection the restart dropped.
TEST(HostQueriesRestart, AReadAfterTheDatabaseRestartedWorks) {
    if (PostgresUrl().isEmpty())
        GTEST_SKIP() << "FAI_TEST_PG não definido: teste só de PostgreSQL não executado";
    PostgresCluster cluster;
    RunningServer server(cluster.Location(), false, 1);
    TestSeed(cluster.Location()).Branch(kBranch, QStringLiteral("Centro"));
    const auto read = [&server] {
        QString answer;
        server.Methods().ConsultaHost(QStringLiteral("qryFilial"),
                                      QStringLiteral("SELECT NMFILIAL FROM FILIAL"), {},
                                      [&answer](DataPacket& part) {
                                          for (const PacketRow& row : part.rows)
                                              answer += row.values[0].Text();
                                      });
        return answer;
    };
    EXPECT_EQ(read(), QStringLiteral("Centro"));
    cluster.Stop();
    try {
        read();
        ADD_FAILURE() << "uma leitura com o banco parado";
    } catch (const EError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Banco de dados indisponível; tente novamente."));
    }
    cluster.Start();
    EXPECT_EQ(read(), QStringLiteral("Centro"));
}

}  // namespace
}  // namespace fai::appserver::test
