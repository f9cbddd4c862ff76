// The headcount screen's conversation with the server, without a window: the session's
// datasets filled and saved against the real server on a fresh SQLite file.
#include "AssessedPeriod.h"
#include "CheckResultServ.h"
#include "EfetFaturSession.h"
#include "HeadcountFixture.h"

#include <gtest/gtest.h>

namespace fai::testing {
namespace {

using appserver::test::Backend;
using appserver::test::RunningServer;
using appserver::test::TestDatabase;
using appserver::test::TestSeed;

class Session : public ::testing::Test {
  protected:
    void SetUp() override {
        seed_.Branch(kBranch, kBranchName)
            .Client(QStringLiteral("J"), kNumber, kClientName)
            .ClientAt(kBranch, kClient)
            .Service(kBranch, kLunch, QStringLiteral("ALMOCO"))
            .Service(kBranch, kDinner, QStringLiteral("JANTAR"))
            .ClientService(kBranch, kClient, kLunch)
            .ClientService(kBranch, kClient, kDinner);
        session_.netEfetFatur.SetHost(QStringLiteral("127.0.0.1"));
        session_.netEfetFatur.SetPort(server_.Port());
        session_.netEfetFatur.Connect();
    }

    // The lunch row of the tenth, as the clerk types it into the by-date rows and posts it.
    void TypeLunch(double billed, double forecast) {
        session_.LoadHeadcounts({kBranch, kClient, QString(), kTenth, false});
        ClientDataSet& rows = session_.cdsEfetFatu;
        ASSERT_TRUE(rows.Locate(HeadcountFields::CDSERVFILI, kLunch, {}));
        rows.Edit();
        rows.FieldByName(HeadcountFields::QTCOMEFATU).SetAsFloat(billed);
        rows.FieldByName(HeadcountFields::QTCOMEPREV).SetAsFloat(forecast);
        rows.FieldByName(HeadcountFields::VRSERVFATUDT).SetAsFloat(0);
        rows.Post();
        session_.NullFields = NullFieldList(rows);
    }

    TestDatabase database_{Backend::Sqlite};
    RunningServer server_{database_.Location()};
    TestSeed seed_{database_.Location()};
    EfetFaturSession session_;
};

TEST_F(Session, ASaveReachesTheDatabaseAndEveryReadingSeesIt) {
    TypeLunch(120, 130);
    ASSERT_TRUE(session_.HeadcountsPending());
    session_.SendHeadcounts();
    const auto stored = seed_.Headcount({kBranch, kClient, kLunch, kTenth});
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->billed, 120);
    EXPECT_EQ(stored->forecast, 130);

    session_.LoadHeadcounts({kBranch, kClient, kLunch, QDate(), true});
    ASSERT_EQ(session_.cdsEfetFatu.RecordCount(), 1);
    EXPECT_EQ(session_.cdsEfetFatu.FieldByName(HeadcountFields::DTFATURAM).AsDateTime(), kTenth);
    EXPECT_EQ(session_.cdsEfetFatu.FieldByName(HeadcountFields::QTCOMEFATU).AsFloat(), 120);
    EXPECT_TRUE(session_.BillingDateTaken({kBranch, kClient, kLunch, kTenth}));
    EXPECT_FALSE(session_.BillingDateTaken({kBranch, kClient, kLunch, kEleventh}));
    EXPECT_EQ(session_.StoredShiftSum({kBranch, kClient, kLunch, kTenth}), 0);
    EXPECT_TRUE(session_.ServiceOfClient(kBranch, kClient, kDinner));
    EXPECT_EQ(session_.FirstDisagreeingService(), QString());

    session_.LoadLatestDate(kBranch, kDinner, kClient);
    EXPECT_EQ(session_.NextBillingDate(kEleventh), kEleventh);
    session_.LoadLatestDate(kBranch, kLunch, kClient);
    EXPECT_EQ(session_.NextBillingDate(kTenth.addDays(-5)), kEleventh);
}

TEST_F(Session, ARefusedSaveRaisesTheServersWordsAndStoresNothing) {
    seed_.Period(kBranch, kClient, QStringLiteral("1"), kTenth, kEleventh);
    TypeLunch(120, 130);
    try {
        session_.SendHeadcounts();
        ADD_FAILURE() << "a day of an assessed period was saved";
    } catch (const EServerError& e) {
        EXPECT_TRUE(e.Message().contains(AssessedPeriod::DayMessage()))
            << e.Message().toStdString();
    }
    EXPECT_FALSE(seed_.Headcount({kBranch, kClient, kLunch, kTenth}));
    EXPECT_TRUE(session_.HeadcountsPending());
}

// The eleventh is the processing date with no day open before it: the tenth is closed. The
// client's period assessed holds the eleventh alone. The reason a day is locked, which the
// grids show, reads all the periods whatever the check before left cdsVdCliFat filtered on.
TEST_F(Session, TheRowChecksReadTheBranchsClosedDaysAndTheClientsAssessedPeriods) {
    seed_.Params(kBranch, kEleventh, QStringLiteral("S"), 0, QStringLiteral("S"))
        .Period(kBranch, kClient, QStringLiteral("1"), kEleventh, kEleventh);
    session_.LoadParams(kBranch);
    const QString closed = QStringLiteral(
        "Data bloqueada para alteração de efetivos para faturamento para dias fechados.\n"
        "Primeiro dia aberto: 11/03/2026.");
    const QString assessed = QStringLiteral(
        "Efetivos do cliente já apurados na data selecionada.\nApuração 1, de 11/03/2026 a "
        "11/03/2026.");
    const struct {
        QDate day;
        bool closed;
        bool assessed;
        QString reason;
    } cases[] = {{kTenth, true, false, closed},
                 {kEleventh, false, true, assessed},
                 {kEleventh.addDays(1), false, false, QString()}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.day.toString(Qt::ISODate).toStdString());
        session_.LoadHeadcounts({kBranch, kClient, QString(), c.day, false});
        ASSERT_FALSE(session_.cdsEfetFatu.IsEmpty());
        session_.cdsEfetFatu.Edit();
        session_.cdsEfetFatu.FieldByName(HeadcountFields::DTFATURAM).SetAsDateTime(c.day);
        EXPECT_EQ(session_.RowOnClosedDay(), c.closed);
        EXPECT_EQ(session_.Assessed(c.day), c.assessed);
        EXPECT_EQ(session_.DayLockReason(c.day), c.reason);
        EXPECT_EQ(session_.DayLockReason(kEleventh), assessed);
        EXPECT_EQ(session_.DateOpenForEditing({kBranch, kClient, QString(), c.day, false}),
                  !c.closed);
        // By service the row's own date decides, not the filter's.
        EXPECT_EQ(session_.DateOpenForEditing({kBranch, kClient, kLunch, kEleventh, true}),
                  !c.closed);
        session_.cdsEfetFatu.Cancel();
    }
    // By service a load without rows is open: there is no day yet to close.
    session_.LoadHeadcounts({kBranch, kClient, kLunch, QDate(), true});
    EXPECT_TRUE(session_.DateOpenForEditing({kBranch, kClient, kLunch, kTenth, true}));
    // After a stored ninth comes the tenth, closed: the first open day instead.
    seed_.Headcount({kBranch, kClient, kDinner, kTenth.addDays(-1)}, 1, 1);
    session_.LoadLatestDate(kBranch, kDinner, kClient);
    EXPECT_EQ(session_.NextBillingDate(kTenth), kEleventh);
}

// A row typed by service, without a window: its key is the filter's service and the row's
// date; empty counts become 0 up to the first one below zero, which is answered; and each
// first link of an item gets the next temporary number with the row's key.
TEST_F(Session, ARowTypedByServiceIsKeyedFilledAndItsItemsNumbered) {
    seed_.Headcount(kLunchOnTheTenth, 120, 130);
    seed_.Item(kClient, QStringLiteral("01"), QStringLiteral("ADMINISTRACAO"));
    seed_.Item(kClient, QStringLiteral("02"), QStringLiteral("FABRICA"));
    const LoadFilter byService{kBranch, kClient, kLunch, QDate(), true};
    session_.LoadHeadcounts(byService);
    ClientDataSet& rows = session_.cdsEfetFatu;
    ASSERT_EQ(rows.RecordCount(), 1);
    const RowKey key = session_.CurrentKey(byService);
    EXPECT_EQ(key.service, kLunch);
    EXPECT_EQ(key.date, kTenth);

    using Count = std::optional<double>;
    const struct {
        Count billed, forecast, value;
        std::optional<QString> negative;
        Count billedAfter, forecastAfter, valueAfter;
    } cases[] = {
        {{}, {}, {}, {}, 0.0, 0.0, 0.0},
        {-1.0, {}, {}, QString(HeadcountFields::QTCOMEFATU), -1.0, {}, {}},
        {{}, -2.0, 5.0, QString(HeadcountFields::QTCOMEPREV), 0.0, -2.0, 5.0},
        {3.0, 4.0, -1.0, QString(HeadcountFields::VRSERVFATUDT), 3.0, 4.0, -1.0},
    };
    const auto put = [&](packets::FieldName name, Count value) {
        Field& field = rows.FieldByName(name);
        value ? field.SetAsFloat(*value) : field.Clear();
    };
    const auto read = [&](packets::FieldName name) -> Count {
        const Field& field = rows.FieldByName(name);
        return field.IsNull() ? Count() : Count(field.AsFloat());
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.negative.value_or(QStringLiteral("none")).toStdString());
        rows.Edit();
        put(HeadcountFields::QTCOMEFATU, c.billed);
        put(HeadcountFields::QTCOMEPREV, c.forecast);
        put(HeadcountFields::VRSERVFATUDT, c.value);
        const auto negative = session_.ZeroFillCounts();
        EXPECT_EQ(negative ? std::optional(QString(*negative)) : std::nullopt, c.negative);
        EXPECT_EQ(read(HeadcountFields::QTCOMEFATU), c.billedAfter);
        EXPECT_EQ(read(HeadcountFields::QTCOMEPREV), c.forecastAfter);
        EXPECT_EQ(read(HeadcountFields::VRSERVFATUDT), c.valueAfter);
        rows.Cancel();
    }

    session_.LoadApportionment(session_.KeyOfRow());
    ClientDataSet& items = session_.cdsItRatEfet;
    ASSERT_EQ(items.RecordCount(), 2);
    for (double number : {-1.0, -2.0}) {
        items.Edit();
        items.FieldByName(ApportionmentFields::QTEFETIVOS).SetAsFloat(10);
        session_.CompleteApportionmentItem(byService);
        EXPECT_EQ(items.FieldByName(ApportionmentFields::NRITRATEFECLIFAT).AsFloat(), number);
        EXPECT_EQ(items.FieldByName(ApportionmentFields::DTFATURAM).AsDateTime(), kTenth);
        EXPECT_EQ(items.FieldByName(ApportionmentFields::CDSERVFILI).AsString(), kLunch);
        EXPECT_EQ(items.FieldByName(ApportionmentFields::CDCLIENTE).AsString(), kClient);
        items.Post();
        items.Next();
    }
    EXPECT_EQ(session_.ApportionedDiners(), 20);
    session_.ClearApportionment();
    EXPECT_EQ(session_.ApportionedDiners(), 0);
}

}  // namespace
}  // namespace fai::testing
