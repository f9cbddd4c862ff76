// Headcount saves (UpdEfetFatu) as the screen makes them, on both databases: what is stored,
// what the server refuses whatever it is sent, and that a save is all or nothing.
#include "CheckResultServ.h"
#include "Clerk.h"
#include "Deltas.h"
#include "RunningServer.h"
#include "SampleData.h"
#include "SampleTest.h"

#include <functional>
#include <limits>

namespace fai::appserver::test {
namespace {

using namespace sample;

const QString kReload = QStringLiteral("Recarregue os efetivos e refaça a alteração.");

QString RowChanged(const QString& service, const QDate& day) {
    return QStringLiteral(
               "Serviço %1, data %2: o efetivo foi alterado por outro usuário depois "
               "de carregado. ")
               .arg(service, day.toString(QStringLiteral("dd/MM/yyyy"))) +
           kReload;
}

struct Counts {
    double billed, forecast, value;
    friend bool operator==(const Counts&, const Counts&) = default;
    friend void PrintTo(const Counts& c, std::ostream* out) {
        *out << "{" << c.billed << ", " << c.forecast << ", " << c.value << "}";
    }
};

class HeadcountSaves : public SampleTest {
  protected:
    Clerk NewClerk() { return Clerk(server_->Methods(), kBranch, kAlfa); }
    std::optional<Counts> Stored(const TestSeed::Key& key) {
        const auto row = seed_->Headcount(key);
        if (!row) return std::nullopt;
        return Counts{row->billed, row->forecast, row->value};
    }
    ServerResult Send(OptionalPacket headcounts, QString nullFields = {},
                      OptionalPacket apportionment = std::nullopt) {
        return server_->Methods().UpdEfetFatu(headcounts, nullFields, apportionment);
    }
};

TEST_P(HeadcountSaves, StoresWhatTheClerkSavesInEitherMode) {
    seed_->Headcount(Key(kLunch, kDay), 120, 118, 21.5)
        .Headcount(Key(kLunch, kDay.addDays(-1)), 90, 95)
        .Headcount(Key(kLunch, kDay.addDays(-2)), 80, 80);
    struct Case {
        const char* what;
        std::function<ServerResult(Clerk&)> save;
        TestSeed::Key key;
        std::optional<Counts> stored;
    };
    const Case cases[] = {
        {"by day, a service not stored yet",
         [](Clerk& c) {
             c.OpenDay(kDay);
             c.GoTo(kDinner);
             return c.Edit({40, 42, 0});
         },
         Key(kDinner, kDay), Counts{40, 42, 0}},
        {"by day, a stored row",
         [](Clerk& c) {
             c.OpenDay(kDay);
             c.GoTo(kLunch);
             return c.Edit({125, std::nullopt, 22});
         },
         Key(kLunch, kDay), Counts{125, 118, 22}},
        {"by day, empty counts are stored as zero",
         [](Clerk& c) {
             c.OpenDay(kDay.addDays(3));
             c.GoTo(kDinner);
             return c.Edit({std::nullopt, 7, std::nullopt});
         },
         Key(kDinner, kDay.addDays(3)), Counts{0, 7, 0}},
        {"by service, a new day",
         [](Clerk& c) {
             c.OpenService(kLunch);
             return c.Insert(kDay.addDays(1), {130, 128, 0});
         },
         Key(kLunch, kDay.addDays(1)), Counts{130, 128, 0}},
        {"by service, a stored day",
         [](Clerk& c) {
             c.OpenService(kLunch);
             c.GoTo(kDay.addDays(-1));
             return c.Edit({91, std::nullopt, std::nullopt});
         },
         Key(kLunch, kDay.addDays(-1)), Counts{91, 95, 0}},
        {"by service, a day deleted",
         [](Clerk& c) {
             c.OpenService(kLunch);
             c.GoTo(kDay.addDays(-2));
             return c.Delete();
         },
         Key(kLunch, kDay.addDays(-2)), std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Clerk clerk = NewClerk();
        const ServerResult result = c.save(clerk);
        ASSERT_TRUE(result.success) << result.error.toStdString();
        EXPECT_EQ(Stored(c.key), c.stored);
        EXPECT_EQ(clerk.Rows().ChangeCount(), 0);
    }
    EXPECT_EQ(seed_->Count(QStringLiteral("EFETFATUR")), 5);  // three seeded, three new, one gone
}

TEST_P(HeadcountSaves, ADeletedRowTakesItsShiftsAndApportionmentAlong) {
    const QDate other = kDay.addDays(-1);
    seed_->Headcount(Key(kLunch, kDay), 100, 100)
        .Headcount(Key(kLunch, other), 50, 50)
        .Shift(kBranch, QStringLiteral("1"), QStringLiteral("MANHA"))
        .Shift(kBranch, QStringLiteral("2"), QStringLiteral("TARDE"))
        .ShiftQuantity(Key(kLunch, kDay), QStringLiteral("1"), 60)
        .ShiftQuantity(Key(kLunch, kDay), QStringLiteral("2"), 40)
        .ShiftQuantity(Key(kLunch, other), QStringLiteral("1"), 50);
    const int north = seed_->Item(kAlfa, QStringLiteral("00001"), QStringLiteral("ALA NORTE"));
    seed_->Link(Key(kLunch, kDay), north, 100.0);
    seed_->Link(Key(kLunch, other), north, 50.0);

    Clerk clerk = NewClerk();
    clerk.OpenService(kLunch);
    ASSERT_TRUE(clerk.GoTo(kDay));
    const ServerResult result = clerk.Delete();
    ASSERT_TRUE(result.success) << result.error.toStdString();

    EXPECT_EQ(Stored(Key(kLunch, kDay)), std::nullopt);
    EXPECT_EQ(seed_->ShiftQuantity(Key(kLunch, kDay), QStringLiteral("1")), std::nullopt);
    EXPECT_EQ(seed_->ShiftQuantity(Key(kLunch, kDay), QStringLiteral("2")), std::nullopt);
    EXPECT_TRUE(seed_->Links(Key(kLunch, kDay)).empty());
    EXPECT_EQ(Stored(Key(kLunch, other)), (Counts{50, 50, 0}));
    EXPECT_EQ(seed_->ShiftQuantity(Key(kLunch, other), QStringLiteral("1")), 50.0);
    EXPECT_EQ(seed_->Links(Key(kLunch, other)), (std::map<int, QVariant>{{north, 50.0}}));
}

TEST_P(HeadcountSaves, TheNullFieldListDecidesWhatIsStoredAsNull) {
    seed_
        ->Period(kBranch, kAlfa, QStringLiteral("0000000001"), QDate(2026, 1, 1),
                 QDate(2026, 1, 31))
        .Headcount(Key(kLunch, kDay), 120, 118, 0, kBranch, QStringLiteral("0000000001"));
    struct Case {
        const char* nullFields;
        QString error;  // empty: saved
        QVariant assessment;
    };
    const QString prefix = QStringLiteral("Serviço 00001, data 10/03/2026: ");
    const Case cases[] = {
        {"", {}, QStringLiteral("0000000001")},
        {"DIASEMANA|NMSERVICO|", {}, QStringLiteral("0000000001")},
        {"CDFILIFATU|",
         prefix + QStringLiteral("apuração (NRAPURACFAT) e filial de faturamento (CDFILIFATU) "
                                 "são informadas juntas."),
         QStringLiteral("0000000001")},
        {"QTCOMEFATU|", prefix + QStringLiteral("Nº comensais faturados deve ser informado."),
         QStringLiteral("0000000001")},
        {"QTCOMEPREV|", prefix + QStringLiteral("N° comensais previstos deve ser informado."),
         QStringLiteral("0000000001")},
        {"CDFILIAL|",
         QStringLiteral("O pacote de efetivos tem uma linha sem filial, cliente, serviço ou data."),
         QStringLiteral("0000000001")},
        {"NOVOCAMPO|",
         QStringLiteral("Lista de campos nulos \"NOVOCAMPO|\" inválida: \"NOVOCAMPO\" não é um "
                        "campo."),
         QStringLiteral("0000000001")},
        {"CDFILIFATU",
         QStringLiteral("Lista de campos nulos \"CDFILIFATU\" inválida: cada nome termina com "
                        "\"|\"."),
         QStringLiteral("0000000001")},
        {"cdfilifatu|NRAPURACFAT|", {}, QVariant()},
    };
    double billed = 120;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nullFields);
        ClientDataSet rows;
        QString none;
        QDate day = kDay;
        rows.SetData(
            CheckResultServ(server_->Methods().GetEfetFatu(kAlfa, kBranch, none, day, 0), true, 0)
                .at(0));
        ASSERT_TRUE(rows.Locate(u"CDSERVFILI", Value(kLunch)));
        rows.Edit();
        rows.FieldByName(u"QTCOMEFATU").SetAsFloat(billed + 1);
        rows.Post();
        const ServerResult result = Send(rows.Delta(), QString::fromLatin1(c.nullFields));
        EXPECT_EQ(result.error, c.error);
        if (result.success) ++billed;
        const auto stored = seed_->Headcount(Key(kLunch, kDay));
        ASSERT_TRUE(stored.has_value());
        EXPECT_EQ(stored->billed, billed);
        EXPECT_EQ(stored->assessment.isNull() ? QVariant() : stored->assessment.toString(),
                  c.assessment);
        EXPECT_EQ(stored->billingBranch.isNull(), c.assessment.isNull());
    }
}

TEST_P(HeadcountSaves, RefusesWhatTheBillingRulesForbidAndWritesNothing) {
    // First open date 7.5 March: the 7th is closed, the 8th open.
    seed_->Params(kBranch, kDay, QStringLiteral("S"), 2.5, QStringLiteral("S"))
        .Period(kBranch, kAlfa, QStringLiteral("0000000005"), QDate(2026, 3, 20),
                QDate(2026, 3, 25));
    const QString closed = QStringLiteral(
        "Data bloqueada para alteração de efetivos para faturamento para dias fechados.");
    const QString assessed = QStringLiteral("Efetivos do cliente já apurados na data selecionada.");
    struct Case {
        const char* what;
        QString service;
        QDate day;
        Counts counts;
        QString why;  // empty: stored
    };
    const Case cases[] = {
        {"a closed day", kLunch, QDate(2026, 3, 7), {10, 10, 0}, closed},
        {"the first whole open day", kLunch, QDate(2026, 3, 8), {10, 10, 0}, {}},
        {"an assessed period's first day", kLunch, QDate(2026, 3, 20), {10, 10, 0}, assessed},
        {"an assessed period's last day", kLunch, QDate(2026, 3, 25), {10, 10, 0}, assessed},
        {"the day after the period", kLunch, QDate(2026, 3, 26), {10, 10, 0}, {}},
        {"a negative billed count",
         kLunch,
         QDate(2026, 3, 12),
         {-0.001, 10, 0},
         QStringLiteral("N° comensais faturados deve ser maior ou igual a zero.")},
        {"a negative forecast",
         kLunch,
         QDate(2026, 3, 12),
         {10, -1, 0},
         QStringLiteral("N° comensais previstos deve ser maior ou igual a zero.")},
        {"a negative sale value",
         kLunch,
         QDate(2026, 3, 12),
         {10, 10, -5},
         QStringLiteral("Valor Venda deve ser maior ou igual a zero.")},
        {"a count that is not a number",
         kLunch,
         QDate(2026, 3, 12),
         {std::nan(""), 10, 0},
         QStringLiteral("N° comensais faturados deve ser maior ou igual a zero.")},
        {"a billed count of ten digits",
         kLunch,
         QDate(2026, 3, 12),
         {1e9, 10, 0},
         QStringLiteral("N° comensais faturados deve ter no máximo 9 dígitos antes da vírgula.")},
        {"the largest double as the forecast",
         kLunch,
         QDate(2026, 3, 12),
         {10, std::numeric_limits<double>::max(), 0},
         QStringLiteral("N° comensais previstos deve ter no máximo 9 dígitos antes da vírgula.")},
        {"a sale value of eight digits",
         kLunch,
         QDate(2026, 3, 12),
         {10, 10, 1e7},
         QStringLiteral("Valor Venda deve ter no máximo 7 dígitos antes da vírgula.")},
        {"the largest figures the screen can type",
         kLunch,
         QDate(2026, 3, 13),
         {999'999'999.999, 999'999'999.999, 9'999'999.999},
         {}},
        {"a service of the branch the client does not have",
         kBreakfast,
         QDate(2026, 3, 12),
         {10, 10, 0},
         QStringLiteral("Serviço não relacionado ao cliente e filial informados.")},
        {"a service the branch does not have",
         QStringLiteral("99999"),
         QDate(2026, 3, 12),
         {10, 10, 0},
         QStringLiteral("Serviço não relacionado ao cliente e filial informados.")},
        {"zero counts", kDinner, QDate(2026, 3, 12), {0, 0, 0}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TestSeed::Key key = Key(c.service, c.day);
        const ServerResult result =
            Send(InsertedHeadcount(key, c.counts.billed, c.counts.forecast, c.counts.value));
        if (c.why.isEmpty()) {
            EXPECT_TRUE(result.success) << result.error.toStdString();
            EXPECT_EQ(Stored(key), c.counts);
        } else {
            EXPECT_EQ(result.error, QStringLiteral("Serviço %1, data %2: ")
                                            .arg(c.service, c.day.toString(u"dd/MM/yyyy")) +
                                        c.why);
            EXPECT_EQ(Stored(key), std::nullopt);
        }
    }
    EXPECT_EQ(seed_->Count(QStringLiteral("EFETFATUR")), 4);
}

TEST_P(HeadcountSaves, TheClosedDayRuleHoldsOnlyWhenBothFlagsAreS) {
    seed_->Params(kBranch, kDay, QStringLiteral("S"), 0, QStringLiteral("S"));
    const ServerResult firstOpen = Send(InsertedHeadcount(Key(kDinner, kDay), 1, 1));
    EXPECT_TRUE(firstOpen.success) << firstOpen.error.toStdString();
    struct Case {
        const char* block;
        const char* use;
        bool closed;
    };
    const Case cases[] = {{"S", "S", true}, {"N", "S", false}, {"S", "N", false}};
    int back = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.block) + c.use);
        seed_->Session().Run(
            QStringLiteral("UPDATE PARAMFATUR SET IDBLQEFEDIAFECH = ?, IDUTILDTPROC = ?"),
            {QString::fromLatin1(c.block), QString::fromLatin1(c.use)});
        const QDate day = kDay.addDays(-(++back));
        const ServerResult result = Send(InsertedHeadcount(Key(kLunch, day), 1, 1));
        EXPECT_EQ(result.success, !c.closed) << result.error.toStdString();
        EXPECT_EQ(Stored(Key(kLunch, day)).has_value(), !c.closed);
    }
}

TEST_P(HeadcountSaves, OneSaveIsOfOneBranchAndOneClient) {
    const DataPacket alfa = InsertedHeadcount(Key(kLunch, kDay), 1, 1);
    const DataPacket bruno = InsertedHeadcount({kBranch, kBruno, kLunch, kDay}, 2, 2);
    const DataPacket brunoElsewhere = InsertedHeadcount({kOtherBranch, kBruno, kLunch, kDay}, 3, 3);
    seed_->Item(kBruno, QStringLiteral("00001"), QStringLiteral("CASA"));
    struct Case {
        const char* what;
        OptionalPacket headcounts;
        OptionalPacket apportionment;
        QString error;
    };
    DataPacket brunosApportionment = [&] {
        Clerk other(server_->Methods(), kBranch, kBruno);
        other.OpenDay(kDay);
        other.GoTo(kLunch);
        other.LoadApportionment();
        other.Apportion(QStringLiteral("00001"), 5);
        return other.Apportionment().Delta();
    }();
    const Case cases[] = {
        {"two clients", Joined({alfa, bruno}), std::nullopt,
         QStringLiteral("Um salvamento traz efetivos de uma só filial e de um só cliente: este "
                        "traz da filial 0001, cliente F52998224725 e da filial 0001, cliente "
                        "J11222333000181.")},
        {"two branches", Joined({bruno, brunoElsewhere}), std::nullopt,
         QStringLiteral("Um salvamento traz efetivos de uma só filial e de um só cliente: este "
                        "traz da filial 0001, cliente F52998224725 e da filial 0002, cliente "
                        "F52998224725.")},
        {"headcounts of one client, apportionment of another", alfa, brunosApportionment,
         QStringLiteral("Um salvamento traz efetivos de uma só filial e de um só cliente: este "
                        "traz da filial 0001, cliente F52998224725 e da filial 0001, cliente "
                        "J11222333000181.")},
        {"a client of another branch", InsertedHeadcount({kOtherBranch, kAlfa, kLunch, kDay}, 1, 1),
         std::nullopt, QStringLiteral("Cliente J11222333000181 não cadastrado na filial 0002.")},
        {"an unknown branch",
         InsertedHeadcount({QStringLiteral("9999"), kAlfa, kLunch, kDay}, 1, 1), std::nullopt,
         QStringLiteral("Filial 9999 não cadastrada.")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Send(c.headcounts, {}, c.apportionment).error, c.error);
    }
    EXPECT_EQ(seed_->Count(QStringLiteral("EFETFATUR")), 0);
    EXPECT_EQ(seed_->Count(QStringLiteral("ITRATEFECLIFAT")), 0);
}

TEST_P(HeadcountSaves, ASaveIsAllOrNothing) {
    seed_->Params(kBranch, kDay, QStringLiteral("S"), 0, QStringLiteral("S"))
        .Headcount(Key(kLunch, kDay.addDays(1)), 10, 10);
    seed_->Item(kAlfa, QStringLiteral("00001"), QStringLiteral("ALA NORTE"));
    const int brunosItem = seed_->Item(kBruno, QStringLiteral("00001"), QStringLiteral("CASA"));
    const TestSeed::Key dinner = Key(kDinner, kDay);
    const TestSeed::Key notStored = Key(kLunch, kDay.addDays(5));
    // The apportionment the screen sends with the row, spoiled by one case.
    auto apportioned = [&](double diners, const std::function<void(DataPacket&)>& spoil) {
        Clerk clerk = NewClerk();
        clerk.OpenDay(kDay);
        clerk.GoTo(kDinner);
        clerk.LoadApportionment();
        clerk.Apportion(QStringLiteral("00001"), diners);
        DataPacket delta = clerk.Apportionment().Delta();
        spoil(delta);
        return delta;
    };
    auto asSent = [](DataPacket&) {};
    struct Case {
        const char* what;
        OptionalPacket headcounts;
        OptionalPacket apportionment;
        QString error;
    };
    DataPacket stale = InsertedHeadcount(Key(kLunch, kDay.addDays(1)), 11, 11);
    const Case cases[] = {
        {"negative diners in the apportionment", InsertedHeadcount(dinner, 4, 4),
         apportioned(-1, asSent),
         QStringLiteral("Rateio de efetivos: item 00001: Quantidade de efetivos deve ser maior "
                        "que zero.")},
        {"an item of another client", InsertedHeadcount(dinner, 4, 4),
         apportioned(
             4, [&](DataPacket& d) { SetEverywhere(d, "NRITEMRATEIOEFET", double(brunosItem)); }),
         QStringLiteral("Serviço 00002, data 10/03/2026: o item de rateio 00001 não é do "
                        "cliente.")},
        {"an item changed into another", InsertedHeadcount(dinner, 4, 4),
         apportioned(4,
                     [&](DataPacket& d) {
                         d.rows.at(0).values.at(d.FieldIndex(u"NRITEMRATEIOEFET")) =
                             double(brunosItem);
                     }),
         QStringLiteral("Rateio de efetivos: item 00001 com número inválido.")},
        {"apportionment of a row not stored", InsertedHeadcount(dinner, 4, 4),
         apportioned(4,
                     [&](DataPacket& d) {
                         SetEverywhere(d, "DTFATURAM", notStored.date);
                         SetEverywhere(d, "CDSERVFILI", kLunch);
                     }),
         QStringLiteral("Serviço 00001, data 15/03/2026: o rateio precisa do efetivo gravado.")},
        {"a second row on a closed day",
         Joined({InsertedHeadcount(dinner, 4, 4),
                 InsertedHeadcount(Key(kLunch, kDay.addDays(-1)), 1, 1)}),
         std::nullopt,
         QStringLiteral("Serviço 00001, data 09/03/2026: Data bloqueada para alteração de "
                        "efetivos para faturamento para dias fechados.")},
        {"a second row stored meanwhile", Joined({InsertedHeadcount(dinner, 4, 4), stale}),
         std::nullopt, RowChanged(kLunch, kDay.addDays(1))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Send(c.headcounts, {}, c.apportionment).error, c.error);
        EXPECT_EQ(Stored(dinner), std::nullopt);
    }
    EXPECT_EQ(seed_->Count(QStringLiteral("EFETFATUR")), 1);
    EXPECT_EQ(Stored(Key(kLunch, kDay.addDays(1))), (Counts{10, 10, 0}));
    EXPECT_EQ(seed_->Count(QStringLiteral("ITRATEFECLIFAT")), 0);
}

// The stored rows of a save are read and locked a batch at a time; a row of a later batch is
// checked against what is stored as closely as one of the first.
TEST_P(HeadcountSaves, EveryRowOfALongSaveIsCheckedAgainstWhatIsStored) {
    constexpr int kDays = 70;
    const QDate last = kDay.addDays(kDays - 1);
    for (int i = 0; i < kDays; ++i) seed_->Headcount(Key(kLunch, kDay.addDays(i)), 10, 10);
    // Every day edited, then saved at once.
    auto editAll = [&](Clerk& clerk, double billed) {
        clerk.OpenService(kLunch);
        for (int i = 0; i < kDays; ++i) {
            clerk.GoTo(kDay.addDays(i));
            clerk.Rows().Edit();
            clerk.Rows().FieldByName(u"QTCOMEFATU").SetAsFloat(billed + i);
            clerk.Rows().Post();
        }
    };
    Clerk first = NewClerk();
    editAll(first, 100);
    const ServerResult saved = first.Save();
    ASSERT_TRUE(saved.success) << saved.error.toStdString();
    EXPECT_EQ(Stored(Key(kLunch, last)), (Counts{100 + kDays - 1, 10, 0}));

    Clerk late = NewClerk();
    editAll(late, 200);
    Clerk other = NewClerk();
    other.OpenService(kLunch);
    other.GoTo(last);
    ASSERT_TRUE(other.Edit({8, std::nullopt, std::nullopt}).success);
    EXPECT_EQ(late.Save().error, RowChanged(kLunch, last));
    EXPECT_EQ(Stored(Key(kLunch, kDay)), (Counts{100, 10, 0})) << "nothing of it written";
}

TEST_P(HeadcountSaves, ARowAnotherClerkSavedMeanwhileIsNotOverwritten) {
    struct Case {
        const char* what;
        QString service;
        std::function<ServerResult(Clerk&)> first, second;
        std::optional<Counts> stored;
    };
    auto edit = [](double billed) {
        return [billed](Clerk& c) { return c.Edit({billed, {}, {}}); };
    };
    auto remove = [](Clerk& c) { return c.Delete(); };
    const Case cases[] = {
        {"both change it", kLunch, edit(130), edit(140), Counts{130, 118, 0}},
        {"one deletes it, the other changes it", kLunch, remove, edit(140), std::nullopt},
        {"one changes it, the other deletes it", kLunch, edit(130), remove, Counts{130, 118, 0}},
        {"both fill a service not stored yet", kDinner, edit(40), edit(50), Counts{40, 0, 0}},
        {"one fills it, the other deletes the empty row", kDinner, edit(40), remove,
         Counts{40, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        seed_->Session().Run(QStringLiteral("DELETE FROM EFETFATUR"));
        seed_->Headcount(Key(kLunch, kDay), 120, 118);
        Clerk first = NewClerk(), second = NewClerk();
        for (Clerk* clerk : {&first, &second}) {
            clerk->OpenDay(kDay);
            ASSERT_TRUE(clerk->GoTo(c.service));
        }
        const ServerResult won = c.first(first);
        ASSERT_TRUE(won.success) << won.error.toStdString();
        const ServerResult lost = c.second(second);
        EXPECT_FALSE(lost.success);
        EXPECT_EQ(lost.error, RowChanged(c.service, kDay));
        EXPECT_EQ(Stored(Key(c.service, kDay)), c.stored);
        EXPECT_EQ(second.Rows().ChangeCount(), 0) << "the failed save's changes are dropped";
    }
}

TEST_P(HeadcountSaves, StoredCountsAreComparedExactlyAsTheyWereLoaded) {
    // Every binary digit must come back from the database as it went in, or no row with
    // such a count could ever be saved again.
    const double third = 100.0 / 3.0, tiny = 0.1 + 0.2;
    seed_->Headcount(Key(kLunch, kDay), third, tiny, 1e-300);
    Clerk clerk = NewClerk();
    for (double forecast : {1.0, 2.0}) {
        clerk.OpenService(kLunch);
        ASSERT_TRUE(clerk.GoTo(kDay));
        const ServerResult result = clerk.Edit({std::nullopt, forecast, std::nullopt});
        ASSERT_TRUE(result.success) << result.error.toStdString();
        EXPECT_EQ(Stored(Key(kLunch, kDay)), (Counts{third, forecast, 1e-300}));
    }
}

TEST_P(HeadcountSaves, TheApportionmentIsSavedWithItsRow) {
    seed_->Headcount(Key(kLunch, kDay), 30, 30);
    const int north = seed_->Item(kAlfa, QStringLiteral("00001"), QStringLiteral("ALA NORTE"));
    const int south = seed_->Item(kAlfa, QStringLiteral("00002"), QStringLiteral("ALA SUL"));
    const int uti = seed_->Item(kAlfa, QStringLiteral("00003"), QStringLiteral("UTI"));
    const int northLink = seed_->Link(Key(kLunch, kDay), north, 30.0);
    seed_->Link(Key(kLunch, kDay), uti, QVariant());
    using Links = std::map<int, QVariant>;

    Clerk clerk = NewClerk();
    clerk.OpenService(kLunch);
    ASSERT_TRUE(clerk.GoTo(kDay));
    clerk.LoadApportionment();
    clerk.Apportion(QStringLiteral("00002"), 12);
    clerk.Apportion(QStringLiteral("00001"), 18);
    ServerResult result = clerk.Edit({30, {}, {}});
    ASSERT_TRUE(result.success) << result.error.toStdString();
    EXPECT_EQ(seed_->Links(Key(kLunch, kDay)), (Links{{north, 18.0}, {south, 12.0}, {uti, {}}}));
    const auto numbers = seed_->Rows(
        QStringLiteral("SELECT NRITRATEFECLIFAT FROM ITRATEFECLIFAT WHERE NRITEMRATEIOEFET = ?"),
        {south});
    ASSERT_EQ(numbers.size(), 1);
    EXPECT_GT(numbers[0][0].toInt(), 0) << "the temporary number is replaced";
    EXPECT_EQ(seed_->Rows(QStringLiteral("SELECT NRITRATEFECLIFAT FROM ITRATEFECLIFAT WHERE "
                                         "NRITEMRATEIOEFET = ?"),
                          {north}),
              (QList<QVariantList>{{northLink}}));

    // The screen sends the same apportionment changes again with the row's next save.
    result = clerk.Edit({std::nullopt, 31, std::nullopt});
    ASSERT_TRUE(result.success) << result.error.toStdString();
    EXPECT_EQ(seed_->Links(Key(kLunch, kDay)), (Links{{north, 18.0}, {south, 12.0}, {uti, {}}}));

    // Reloaded, an item whose diners are cleared loses its link.
    clerk.LoadApportionment();
    clerk.Apportion(QStringLiteral("00001"), std::nullopt);
    result = clerk.Edit({12, {}, {}});
    ASSERT_TRUE(result.success) << result.error.toStdString();
    EXPECT_EQ(seed_->Links(Key(kLunch, kDay)), (Links{{south, 12.0}, {uti, {}}}));

    // Another clerk changes a link meanwhile: nothing of this save is stored.
    clerk.LoadApportionment();
    clerk.Apportion(QStringLiteral("00002"), 10);
    seed_->Session().Run(
        QStringLiteral("UPDATE ITRATEFECLIFAT SET QTEFETIVOS = 11 WHERE NRITEMRATEIOEFET = ?"),
        {south});
    result = clerk.Edit({10, {}, {}});
    EXPECT_EQ(result.error,
              QStringLiteral("Serviço 00001, data 10/03/2026, item de rateio 00002: o rateio foi "
                             "alterado por outro usuário depois de carregado. ") +
                  kReload);
    EXPECT_EQ(Stored(Key(kLunch, kDay)), (Counts{12, 31, 0}));
    EXPECT_EQ(seed_->Links(Key(kLunch, kDay)), (Links{{south, 11.0}, {uti, {}}}));
}

TEST_P(HeadcountSaves, ASaveWithNothingPendingWritesNothing) {
    seed_->Headcount(Key(kLunch, kDay), 120, 118);
    const ServerResult result = Send(std::nullopt);
    EXPECT_TRUE(result.success) << result.error.toStdString();
    EXPECT_TRUE(result.payload.empty());
    EXPECT_EQ(Stored(Key(kLunch, kDay)), (Counts{120, 118, 0}));
}

INSTANTIATE_TEST_SUITE_P(Backends, HeadcountSaves, kBackends, BackendNamer());

}  // namespace
}  // namespace fai::appserver::test
