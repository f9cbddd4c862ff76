// The listing's lookups, with their SQL as the screen keeps it, read through the real server on
// each database: what the screen offers is what the server lets the clerk see.
#include "BackendTest.h"
#include "ListingLookups.h"
#include "RunningServer.h"
#include "SampleData.h"
#include "ServerGeneralData.h"
#include "ServerList.h"
#include "SessionClient.h"
#include "TADOIBQuery.h"
#include "UserAdministration.h"

#include <QCoreApplication>

namespace fai::appserver::test {
namespace {

using namespace sample;

// The rows of the query, a line each, the fields it declares separated by "|".
QStringList Rows(TADOIBQuery& query, const QStringList& fields) {
    query.Open();
    QStringList rows;
    query.DataSet().ForEachRow([&](const RowView& row) {
        QStringList cells;
        for (const QString& field : fields) cells << row.AsString(field);
        rows << cells.join(u'|');
    });
    return rows;
}

class ListingLookups : public BackendTest {
  protected:
    void SetUp() override {
        BackendTest::SetUp();
        if (IsSkipped()) return;
        server_ = std::make_unique<RunningServer>(Location());
        TestSeed seed(Location());
        Seed(seed);
        SetGeneralData(
            std::make_shared<ServerGeneralData>(QStringLiteral("127.0.0.1"), server_->Port()));
    }
    void TearDown() override {
        SetGeneralData(nullptr);
        ServerAccess::Host()->SetToken({});
    }

    std::unique_ptr<RunningServer> server_;
};

TEST_P(ListingLookups, ReadTheBranchesServicesAndClientsOfTheBranch) {
    TADOIBQuery branches;
    DefineQryFilial(branches);
    branches.ParamByName("P_CDFILIAL").SetAsString(kBranch);
    branches.ParamByName("P_TCDFILIAL").SetAsString("");
    EXPECT_EQ(Rows(branches, {"CDFILIAL", "NMFILIAL"}), QStringList{"0001|Centro"});
    branches.ParamByName("P_CDFILIAL").SetAsString("");
    branches.ParamByName("P_TCDFILIAL").SetAsString("T");
    EXPECT_EQ(Rows(branches, {"CDFILIAL"}), (QStringList{"0001", "0002"}));

    TADOIBQuery services;
    DefineQryServico(services);
    services.ParamByName("P_CDFILIAL").SetAsString(kBranch);
    EXPECT_EQ(Rows(services, {"CDSERVFILI", "NMSERVICO"}),
              (QStringList{"00001|ALMOCO", "00002|JANTAR", "00003|CAFE DA MANHA"}));

    TADOIBQuery clients;
    DefineQryCliente(clients);
    clients.ParamByName("P_CDFILIAL").SetAsString(kBranch);
    EXPECT_EQ(
        Rows(clients, {"CDCLIENTE", "IDTPIJURCLIE", "NRINSJURCLIE", "NMRAZSOCCLIE", "NMFANTCLIE"}),
        (QStringList{"J11222333000181|J|11222333000181|Alfa Refeições Ltda.|Alfa",
                     "F52998224725|F|52998224725|Bruno Souza|"}));

    // Signed in as a clerk of the other branch, only that branch is there.
    UserAdministration(TestSeed(Location()).Session())
        .Add("joana", "Joana", "senha-da-joana", {kOtherBranch}, false);
    SessionClient(ServerList::Parse(QStringLiteral("127.0.0.1"), server_->Port()),
                  ServerAccess::Host())
        .SignIn("joana", "senha-da-joana");
    EXPECT_EQ(Rows(branches, {"CDFILIAL"}), QStringList{"0002"});
    EXPECT_EQ(Rows(services, {"CDSERVFILI"}), QStringList());
    clients.ParamByName("P_CDFILIAL").SetAsString(kOtherBranch);
    EXPECT_EQ(Rows(clients, {"NMRAZSOCCLIE"}), QStringList{"Bruno Souza"});
}

INSTANTIATE_TEST_SUITE_P(Backends, ListingLookups, kBackends, BackendNamer());

}  // namespace
}  // namespace fai::appserver::test

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
