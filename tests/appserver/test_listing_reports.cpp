// The listing report's working data on both databases: numbers handed out by the database
// (PrxRelFatur), the data generated under them (GeraRel) and deleted (DeletaRel).
#include "CheckResultServ.h"
#include "RunningServer.h"
#include "SampleData.h"
#include "SampleTest.h"

#include <set>
#include <thread>

namespace fai::appserver::test {
namespace {

using namespace sample;

class ListingReports : public SampleTest {
  protected:
    void SeedMore(TestSeed& seed) override {
        seed.Service(kOtherBranch, kLunch, QStringLiteral("ALMOCO NORTE"))
            .ClientService(kOtherBranch, kBruno, kLunch)
            .Headcount({kBranch, kAlfa, kLunch, kDay.addDays(-1)}, 90, 95, 21.5)
            .Headcount({kBranch, kAlfa, kLunch, kDay}, 120, 118)
            .Headcount({kBranch, kAlfa, kDinner, kDay.addDays(1)}, 40, 40)
            .Headcount({kBranch, kBruno, kLunch, kDay}, 7, 7)
            .Headcount({kOtherBranch, kBruno, kLunch, kDay}, 3, 3);
    }

    TrdmEfetFaturDisp& Methods() { return server_->Methods(); }
    QList<QVariantList> Generated(const QString& number) {
        QList<QVariantList> rows = seed_->Rows(
            QStringLiteral("SELECT CDFILIAL, CDCLIENTE, NMRAZSOCCLIE, NMFANTCLIE, CDSERVFILI, "
                           "NMSERVICO, DTFATURAM, QTCOMEFATU, QTCOMEPREV, VRSERVFATUDT "
                           "FROM RELCOMENSAL WHERE NRAPURACGD = ? "
                           "ORDER BY CDCLIENTE, CDSERVFILI, DTFATURAM"),
            {number.toLongLong()});
        for (QVariantList& row : rows) {
            row[6] = DateFromSql(row[6]);
            for (int i = 7; i < 10; ++i) row[i] = row[i].toDouble();
        }
        return rows;
    }
};

TEST_P(ListingReports, EveryReportNumberIsNewAcrossCallersAndServers) {
    RunningServer second(Location());
    std::vector<QString> numbers;
    std::mutex mutex;
    std::vector<std::thread> callers;
    for (RunningServer* server : {server_.get(), &second})
        for (int caller = 0; caller < 3; ++caller)
            callers.emplace_back([&, server] {
                auto connection = server->Connect();
                for (int call = 0; call < 5; ++call) {
                    const QString number =
                        connection->AppServer().PrxRelFatur(call % 2 == 0 ? kBranch : kOtherBranch);
                    std::lock_guard lock(mutex);
                    numbers.push_back(number);
                }
            });
    for (std::thread& caller : callers) caller.join();
    ASSERT_EQ(numbers.size(), 30u);
    std::set<qint64> distinct;
    for (const QString& number : numbers) {
        bool isNumber = false;
        distinct.insert(number.toLongLong(&isNumber));
        EXPECT_TRUE(isNumber) << number.toStdString();
    }
    EXPECT_EQ(distinct.size(), 30u);
    EXPECT_GT(*distinct.begin(), 0);
}

TEST_P(ListingReports, GeneratesTheHeadcountsOfTheBranchAndPeriodWithTheirNames) {
    const QString number = Methods().PrxRelFatur(kBranch);
    ServerResult result = Methods().GeraRel(kBranch, kDay.addDays(-1), kDay, number);
    ASSERT_TRUE(result.success) << result.error.toStdString();
    EXPECT_TRUE(result.payload.empty());
    const QVariant noTradeName(QMetaType::fromType<QString>());
    EXPECT_EQ(Generated(number),
              (QList<QVariantList>{{kBranch, kBruno, "Bruno Souza", noTradeName, kLunch, "ALMOCO",
                                    kDay, 7.0, 7.0, 0.0},
                                   {kBranch, kAlfa, "Alfa Refeições Ltda.", "Alfa", kLunch,
                                    "ALMOCO", kDay.addDays(-1), 90.0, 95.0, 21.5},
                                   {kBranch, kAlfa, "Alfa Refeições Ltda.", "Alfa", kLunch,
                                    "ALMOCO", kDay, 120.0, 118.0, 0.0}}));

    // Generating again, for another period, replaces the data under the same number.
    result = Methods().GeraRel(kBranch, kDay, kDay.addDays(1), number);
    ASSERT_TRUE(result.success) << result.error.toStdString();
    QStringList services;
    for (const QVariantList& row : Generated(number))
        services << row[4].toString() + u'/' + row[1].toString();
    EXPECT_EQ(services,
              (QStringList{kLunch + u'/' + kBruno, kLunch + u'/' + kAlfa, kDinner + u'/' + kAlfa}));

    // Closing the screen deletes it; a close retried after a failure deletes it again.
    for (int attempt = 0; attempt < 2; ++attempt) {
        result = Methods().DeletaRel(kBranch, number);
        ASSERT_TRUE(result.success) << result.error.toStdString();
    }
    EXPECT_TRUE(Generated(number).isEmpty());
    EXPECT_EQ(Methods().GeraRel(kBranch, kDay, kDay, number).error,
              QStringLiteral("O relatório %1 já foi excluído: peça um novo número.").arg(number));
    EXPECT_NE(Methods().PrxRelFatur(kBranch), number) << "a deleted number is not given again";
}

TEST_P(ListingReports, RefusesNumbersThatAreNotTheBranchs) {
    const QString ours = Methods().PrxRelFatur(kBranch);
    const QString theirs = Methods().PrxRelFatur(kOtherBranch);
    ASSERT_TRUE(Methods().GeraRel(kOtherBranch, kDay, kDay, theirs).success);
    struct Case {
        const char* what;
        QString number;
        QDate first, last;
        QString error;
    };
    const Case cases[] = {
        {"a number never given", QStringLiteral("999999"), kDay, kDay,
         QStringLiteral("Relatório 999999 não encontrado.")},
        {"another branch's number", theirs, kDay, kDay,
         QStringLiteral("O relatório %1 é da filial 0002, não da filial 0001.").arg(theirs)},
        {"not a number", QStringLiteral("12a"), kDay, kDay,
         QStringLiteral("Número de relatório \"12a\" inválido.")},
        {"no number", QString(), kDay, kDay, QStringLiteral("Número de relatório \"\" inválido.")},
        {"a reversed period", ours, kDay, kDay.addDays(-1),
         QStringLiteral("Data Inicial deve ser menor ou igual a Data Final.")},
        {"no first day", ours, ZeroDate(), kDay,
         QStringLiteral("Data inicial deve ser informada.")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Methods().GeraRel(kBranch, c.first, c.last, c.number).error, c.error);
        const bool aboutTheNumber = c.first != ZeroDate() && c.first <= c.last;
        if (aboutTheNumber) {
            EXPECT_EQ(Methods().DeletaRel(kBranch, c.number).error, c.error);
        }
    }
    EXPECT_EQ(Generated(theirs).size(), 1) << "the other branch's data is untouched";
    EXPECT_TRUE(Generated(ours).isEmpty());
    try {
        Methods().PrxRelFatur(QStringLiteral("9999"));
        ADD_FAILURE() << "a number for an unknown branch";
    } catch (const EServerError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Filial 9999 não cadastrada."));
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, ListingReports, kBackends, BackendNamer());

}  // namespace
}  // namespace fai::appserver::test
