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
// client's period assessed holds the eleventh alone.
TEST_F(Session, TheRowChecksReadTheBranchsClosedDaysAndTheClientsAssessedPeriods) {
    seed_.Params(kBranch, kEleventh, QStringLiteral("S"), 0, QStringLiteral("S"))
        .Period(kBranch, kClient, QStringLiteral("1"), kEleventh, kEleventh);
    session_.LoadParams(kBranch);
    const struct {
        QDate day;
        bool closed;
        bool assessed;
    } cases[] = {
        {kTenth, true, false}, {kEleventh, false, true}, {kEleventh.addDays(1), false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.day.toString(Qt::ISODate).toStdString());
        session_.LoadHeadcounts({kBranch, kClient, QString(), c.day, false});
        ASSERT_FALSE(session_.cdsEfetFatu.IsEmpty());
        session_.cdsEfetFatu.Edit();
        session_.cdsEfetFatu.FieldByName(HeadcountFields::DTFATURAM).SetAsDateTime(c.day);
        EXPECT_EQ(session_.RowOnClosedDay(), c.closed);
        EXPECT_EQ(session_.Assessed(c.day), c.assessed);
        session_.cdsEfetFatu.Cancel();
    }
    // After a stored ninth comes the tenth, closed: the first open day instead.
    seed_.Headcount({kBranch, kClient, kDinner, kTenth.addDays(-1)}, 1, 1);
    session_.LoadLatestDate(kBranch, kDinner, kClient);
    EXPECT_EQ(session_.NextBillingDate(kTenth), kEleventh);
}

}  // namespace
}  // namespace fai::testing
