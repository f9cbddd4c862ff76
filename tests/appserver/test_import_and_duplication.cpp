// The writes of whole filters and ranges on both databases: the import of transported
// headcounts (ImportaEfetTrans) and the duplication of one pair of counts over a range of
// days (UpDateServData).
#include "CheckResultServ.h"
#include "ImportSummaryFields.h"
#include "RunningServer.h"
#include "SampleData.h"
#include "SampleTest.h"

#include <limits>

namespace fai::appserver::test {
namespace {

using namespace sample;

const QString kClosed = QStringLiteral(
    "Data bloqueada para alteração de efetivos para faturamento para dias fechados.");
const QString kAssessed = QStringLiteral("Efetivos do cliente já apurados na data selecionada.");

// Processing date 10 March with no open day before it; 20 to 25 March assessed.
class RangeWrites : public SampleTest {
  protected:
    void SeedMore(TestSeed& seed) override {
        seed.Params(kBranch, kDay, QStringLiteral("S"), 0, QStringLiteral("S"))
            .Period(kBranch, kAlfa, QStringLiteral("0000000005"), QDate(2026, 3, 20),
                    QDate(2026, 3, 25));
    }

    std::optional<std::vector<double>> Stored(const QString& service, const QDate& day) {
        const auto row = seed_->Headcount(Key(service, day));
        if (!row) return std::nullopt;
        return std::vector<double>{row->billed, row->forecast, row->value};
    }
    QString LastLogLine(const char* method) {
        QString last;
        for (const QString& line : server_->LogLines())
            if (line.contains(QStringLiteral(" %1 ").arg(QLatin1String(method)))) last = line;
        return last;
    }
};

TEST_P(RangeWrites, ImportTakesTheTransportedCountsOfTheFilterIntoOpenDays) {
    seed_->Headcount(Key(kLunch, kDay), 100, 100, 21.5)
        .Headcount(Key(kLunch, QDate(2026, 3, 12)), 40, 41)
        .Transported(Key(kLunch, QDate(2026, 3, 8)), 12)
        .Transported(Key(kLunch, kDay), 105)
        .Transported(Key(kLunch, QDate(2026, 3, 11)), 30)
        .Transported(Key(kLunch, QDate(2026, 3, 12)), 40)
        .Transported(Key(kLunch, QDate(2026, 3, 21)), 9)
        .Transported(Key(kDinner, kDay), 7)
        .Transported({kBranch, kBruno, kLunch, kDay}, 3);
    struct Case {
        const char* what;
        QString service;
        QDate day;
        int mode;
        QString note;
        // Written, left out on a closed day, on an assessed day, already as transported.
        std::vector<Value> summary;
    };
    const Case cases[] = {
        {"by day",
         {},
         kDay,
         0,
         QStringLiteral("2 efetivos transportados importados, 0 de dias fechados ou apurados "
                        "deixados de fora"),
         {Value(2.0), Value(0.0), Value(0.0), Value(0.0)}},
        {"by service",
         kLunch,
         ZeroDate(),
         1,
         QStringLiteral("1 efetivos transportados importados, 2 de dias fechados ou apurados "
                        "deixados de fora"),
         {Value(1.0), Value(1.0), Value(1.0), Value(2.0)}},
        {"by service again",
         kLunch,
         ZeroDate(),
         1,
         QStringLiteral("0 efetivos transportados importados, 2 de dias fechados ou apurados "
                        "deixados de fora"),
         {Value(0.0), Value(1.0), Value(1.0), Value(3.0)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QString service = c.service;
        QDate day = c.day;
        const std::vector<DataPacket> imported = CheckResultServ(
            server_->Methods().ImportaEfetTrans(kAlfa, kBranch, service, day, c.mode), true, 0);
        const std::vector<DataPacket> loaded = CheckResultServ(
            server_->Methods().GetEfetFatu(kAlfa, kBranch, service, day, c.mode), true, 0);
        ASSERT_EQ(imported.size(), 3u);
        EXPECT_EQ(imported[0], loaded.at(0));
        EXPECT_EQ(imported[1], loaded.at(1));
        EXPECT_EQ(imported[2].fields, ImportSummaryFields::Fields());
        ASSERT_EQ(imported[2].rows.size(), 1u);
        EXPECT_EQ(imported[2].rows[0].values, c.summary);
        EXPECT_TRUE(LastLogLine("ImportaEfetTrans").endsWith(QStringLiteral(" ms ok: ") + c.note))
            << LastLogLine("ImportaEfetTrans").toStdString();
    }
    EXPECT_EQ(Stored(kLunch, kDay), (std::vector<double>{105, 100, 21.5}));
    EXPECT_EQ(Stored(kDinner, kDay), (std::vector<double>{7, 0, 0}));
    EXPECT_EQ(Stored(kLunch, QDate(2026, 3, 11)), (std::vector<double>{30, 0, 0}));
    EXPECT_EQ(Stored(kLunch, QDate(2026, 3, 12)), (std::vector<double>{40, 41, 0}));
    EXPECT_EQ(Stored(kLunch, QDate(2026, 3, 8)), std::nullopt) << "a closed day";
    EXPECT_EQ(Stored(kLunch, QDate(2026, 3, 21)), std::nullopt) << "an assessed day";
    EXPECT_EQ(seed_->Headcount({kBranch, kBruno, kLunch, kDay}), std::nullopt) << "another client";
}

TEST_P(RangeWrites, DuplicationWritesThePairOfCountsOnEveryDayOfTheRange) {
    seed_->Shift(kBranch, QStringLiteral("1"), QStringLiteral("MANHA"))
        .Headcount(Key(kLunch, QDate(2026, 3, 12)), 100, 90, 21.5)
        .ShiftQuantity(Key(kLunch, QDate(2026, 3, 12)), QStringLiteral("1"), 100);
    const ServerResult result = server_->Methods().UpDateServData(
        kBranch, kAlfa, kLunch, QDate(2026, 3, 11), QDate(2026, 3, 13), 80, 85);
    ASSERT_TRUE(result.success) << result.error.toStdString();
    EXPECT_TRUE(result.payload.empty());
    EXPECT_EQ(Stored(kLunch, QDate(2026, 3, 11)), (std::vector<double>{85, 80, 0}));
    EXPECT_EQ(Stored(kLunch, QDate(2026, 3, 12)), (std::vector<double>{85, 80, 21.5}));
    EXPECT_EQ(Stored(kLunch, QDate(2026, 3, 13)), (std::vector<double>{85, 80, 0}));
    EXPECT_EQ(seed_->ShiftQuantity(Key(kLunch, QDate(2026, 3, 12)), QStringLiteral("1")), 100.0);
    EXPECT_EQ(seed_->Count(QStringLiteral("EFETFATUR")), 3);
    EXPECT_TRUE(LastLogLine("UpDateServData").endsWith(QStringLiteral(" ms ok: 3 dias gravados")));

    // A whole year is one range; a day more is not.
    const QDate april(2026, 4, 1);
    const ServerResult year = server_->Methods().UpDateServData(
        kBranch, kAlfa, kDinner, april, april.addYears(1).addDays(-1), 0, 0);
    ASSERT_TRUE(year.success) << year.error.toStdString();
    EXPECT_EQ(seed_->Count(QStringLiteral("EFETFATUR")), 3 + 365);
}

TEST_P(RangeWrites, DuplicationRefusesTheWholeRangeWhenAnyDayMayNotBeWritten) {
    struct Case {
        const char* what;
        QString service;
        QDate first, last;
        double forecast, billed;
        QString error;
    };
    const Case cases[] = {
        {"an assessed period inside the range, not at its ends", kLunch, QDate(2026, 3, 15),
         QDate(2026, 3, 28), 1, 1, QStringLiteral("Serviço 00001, data 20/03/2026: ") + kAssessed},
        {"a range that starts on a closed day", kLunch, QDate(2026, 3, 9), QDate(2026, 3, 11), 1, 1,
         QStringLiteral("Serviço 00001, data 09/03/2026: ") + kClosed},
        {"a reversed range", kLunch, QDate(2026, 3, 13), QDate(2026, 3, 11), 1, 1,
         QStringLiteral("Data inicial deve ser menor ou igual a data final.")},
        {"more than a year", kLunch, QDate(2026, 4, 1), QDate(2027, 4, 1), 1, 1,
         QStringLiteral("O período de 01/04/2026 a 01/04/2027 passa de um ano: duplique no máximo "
                        "um ano de cada vez.")},
        {"no first day", kLunch, ZeroDate(), QDate(2026, 3, 11), 1, 1,
         QStringLiteral("Data inicial deve ser informada.")},
        {"no last day", kLunch, QDate(2026, 3, 11), ZeroDate(), 1, 1,
         QStringLiteral("Data final deve ser informada.")},
        {"a negative billed count", kLunch, QDate(2026, 3, 11), QDate(2026, 3, 11), 1, -1,
         QStringLiteral("N° comensais faturados deve ser maior ou igual a zero.")},
        {"a negative forecast", kLunch, QDate(2026, 3, 11), QDate(2026, 3, 11), -0.5, 1,
         QStringLiteral("N° comensais previstos deve ser maior ou igual a zero.")},
        {"a billed count of eleven digits", kLunch, QDate(2026, 3, 11), QDate(2026, 3, 11), 1, 1e10,
         QStringLiteral("N° comensais faturados deve ter no máximo 10 dígitos antes da vírgula.")},
        {"an infinite forecast", kLunch, QDate(2026, 3, 11), QDate(2026, 3, 11),
         std::numeric_limits<double>::infinity(), 1,
         QStringLiteral("N° comensais previstos deve ter no máximo 10 dígitos antes da vírgula.")},
        {"a service the client does not have", kBreakfast, QDate(2026, 3, 11), QDate(2026, 3, 11),
         1, 1,
         QStringLiteral("Serviço 00003 não relacionado ao cliente J11222333000181 na filial "
                        "0001.")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(
            server_->Methods()
                .UpDateServData(kBranch, kAlfa, c.service, c.first, c.last, c.forecast, c.billed)
                .error,
            c.error);
    }
    EXPECT_EQ(seed_->Count(QStringLiteral("EFETFATUR")), 0);
}

INSTANTIATE_TEST_SUITE_P(Backends, RangeWrites, kBackends, BackendNamer());

}  // namespace
}  // namespace fai::appserver::test
