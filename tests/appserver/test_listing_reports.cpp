// The listing report's working data on both databases: numbers handed out by the database
// (PrxRelFatur), the data generated under them (GeraRel) and deleted (DeletaRel).
#include "BrazilianText.h"
#include "CheckResultServ.h"
#include "ReportPurge.h"
#include "RunningServer.h"
#include "SampleData.h"
#include "SampleTest.h"
#include "ServerOptions.h"

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
    std::vector<std::string> failures;
    std::mutex mutex;
    std::vector<std::thread> callers;
    for (RunningServer* server : {server_.get(), &second})
        for (int caller = 0; caller < 3; ++caller)
            callers.emplace_back([&, server] {
                try {
                    auto connection = server->Connect();
                    for (int call = 0; call < 5; ++call) {
                        const QString number = connection->AppServer().PrxRelFatur(
                            call % 2 == 0 ? kBranch : kOtherBranch);
                        std::lock_guard lock(mutex);
                        numbers.push_back(number);
                    }
                } catch (const std::exception& failure) {
                    std::lock_guard lock(mutex);
                    failures.push_back(failure.what());
                }
            });
    for (std::thread& caller : callers) caller.join();
    EXPECT_EQ(failures, std::vector<std::string>{});
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

    for (const QVariantList& row : seed_->Rows(QStringLiteral("SELECT DTFATURAM, NMDIASEMANA FROM "
                                                              "RELCOMENSAL WHERE NRAPURACGD = ?"),
                                               {number.toLongLong()}))
        EXPECT_EQ(row[1].toString(), WeekdayName(DateFromSql(row[0])));

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

// A number is used when handed out and at each generation. One unused for longer than the
// retention time loses its data at the next sweep (here the one of a server starting on the
// database); one used within it keeps its data, however old the number is.
TEST_P(ListingReports, DataUnusedPastTheRetentionIsDiscardedAndSaysSoAfterwards) {
    struct Number {
        const char* what;
        int unusedMinutes;  // set back by hand; -1: as the calls left it
        bool discarded;
    };
    const Number numbers[] = {
        {"generated just now", -1, false},
        {"unused for a minute less than a day", 24 * 60 - 1, false},
        {"unused for a day and a minute", 24 * 60 + 1, true},
        {"unused for a week", 7 * 24 * 60, true},
    };
    QStringList given;
    for (const Number& n : numbers) {
        given << Methods().PrxRelFatur(kBranch);
        ASSERT_TRUE(Methods().GeraRel(kBranch, kDay.addDays(-1), kDay, given.last()).success);
        if (n.unusedMinutes >= 0)
            seed_->Session().Run(
                QStringLiteral("UPDATE RELFATURNUM SET DTHRULTUSO = ? WHERE NRAPURACGD = ?"),
                {SqlTimestamp(QDateTime::currentDateTimeUtc().addSecs(-60LL * n.unusedMinutes)),
                 given.last().toLongLong()});
    }
    const RunningServer restarted(Location());
    EXPECT_EQ(restarted.LogLines().filter(DiscardedNote(2)).size(), 1)
        << restarted.LogLines().join(u'\n').toStdString();

    for (std::size_t i = 0; i < std::size(numbers); ++i) {
        SCOPED_TRACE(numbers[i].what);
        const QString& number = given[qsizetype(i)];
        EXPECT_EQ(Generated(number).size(), numbers[i].discarded ? 0 : 3);
        const ServerResult again = Methods().GeraRel(kBranch, kDay, kDay, number);
        if (numbers[i].discarded) {
            EXPECT_TRUE(again.error.startsWith(
                QStringLiteral("Os dados do relatório %1 foram descartados em ").arg(number)))
                << again.error.toStdString();
            EXPECT_TRUE(again.error.endsWith(
                QStringLiteral(" por falta de uso: feche a listagem e abra-a de novo.")));
        } else {
            EXPECT_TRUE(again.success) << again.error.toStdString();
        }
        // Closing a screen left open past the retention time still works.
        const ServerResult deleted = Methods().DeletaRel(kBranch, number);
        EXPECT_TRUE(deleted.success) << deleted.error.toStdString();
    }
    EXPECT_EQ(seed_->Count(QStringLiteral("RELCOMENSAL")), 0);
}

TEST(ReportRetention, IsReadInMinutesHoursOrDaysAndADayUnlessGiven) {
    using std::chrono::hours;
    using std::chrono::minutes;
    const struct {
        const char* text;
        std::optional<std::chrono::seconds> read;
    } cases[] = {
        {"30m", minutes(30)}, {"12h", hours(12)},     {"2d", hours(48)},
        {"36", hours(36)},    {" 1m ", minutes(1)},   {"365d", hours(365 * 24)},
        {"0m", std::nullopt}, {"366d", std::nullopt}, {"1w", std::nullopt},
        {"", std::nullopt},   {"-1h", std::nullopt},  {"1.5h", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ServerOptions::ParseRetention(QString::fromLatin1(c.text)), c.read) << c.text;

    ServerOptions options;
    ASSERT_EQ(options.Parse({QStringLiteral("fai-appserver")}), ServerOptions::Action::Run);
    EXPECT_EQ(options.Config().reportRetention, hours(24));
    try {
        ServerOptions().Parse({QStringLiteral("fai-appserver"),
                               QStringLiteral("--report-retention"), QStringLiteral("1w")});
        ADD_FAILURE() << "a retention in weeks was taken";
    } catch (const EError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Tempo de retenção de relatórios inválido: 1w (use "
                                              "de 1m a 365d, como 30m, 12h ou 2d)."));
    }
    // Sweeps come often enough for a short retention and at most hourly for a long one.
    EXPECT_EQ(ReportPurge::Interval(minutes(2)), minutes(1));
    EXPECT_EQ(ReportPurge::Interval(hours(2)), minutes(30));
    EXPECT_EQ(ReportPurge::Interval(hours(24)), hours(1));
}

INSTANTIATE_TEST_SUITE_P(Backends, ListingReports, kBackends, BackendNamer());

}  // namespace
}  // namespace fai::appserver::test
