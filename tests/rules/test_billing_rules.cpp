// The billing rules as the screens and the server both apply them.
#include "AssessedPeriod.h"
#include "ClosedDayRule.h"
#include "Planning.h"
#include "ShiftSum.h"

#include <gtest/gtest.h>

using namespace fai;

namespace {

const QDate kTenth(2026, 3, 10);

}  // namespace

TEST(ClosedDayRule, ClosesTheDaysThatBeginBeforeTheFirstOpenDate) {
    const struct {
        const char* what;
        const char* use;
        const char* block;
        double daysOpen;
        QDate day;
        bool on;
        bool closed;
    } cases[] = {
        {"the processing date is open", "S", "S", 0, kTenth, true, false},
        {"the day before is closed", "S", "S", 0, QDate(2026, 3, 9), true, true},
        {"three days: 7 March open", "S", "S", 3, QDate(2026, 3, 7), true, false},
        {"three days: 6 March closed", "S", "S", 3, QDate(2026, 3, 6), true, true},
        // The first open date is 7 March at noon: 7 March begins before it.
        {"two days and a half: 7 March closed", "S", "S", 2.5, QDate(2026, 3, 7), true, true},
        {"two days and a half: 8 March open", "S", "S", 2.5, QDate(2026, 3, 8), true, false},
        {"closed days not blocked", "S", "N", 0, QDate(2026, 1, 1), false, false},
        {"processing date not in use", "N", "S", 0, QDate(2026, 1, 1), false, false},
        // The database keeps the flags upper case; any other text is "no".
        {"lower-case block", "S", "s", 0, QDate(2026, 3, 9), false, false},
        {"lower-case use", "s", "S", 0, QDate(2026, 3, 9), false, false},
        {"blank use", "", "S", 0, QDate(2026, 3, 9), false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const ClosedDayRule rule(QString::fromLatin1(c.use), QString::fromLatin1(c.block), kTenth,
                                 c.daysOpen);
        EXPECT_EQ(rule.On(), c.on);
        EXPECT_EQ(rule.IsClosed(c.day), c.closed);
        EXPECT_FALSE(rule.IsClosed(kTenth));
    }
    EXPECT_FALSE(ClosedDayRule().On());
    EXPECT_FALSE(ClosedDayRule().IsClosed(QDate(1900, 1, 1)));
}

TEST(ClosedDayRule, TheFirstOpenDayIsTheFirstWholeDayOpen) {
    const struct {
        double daysOpen;
        QDate first;
    } cases[] = {{0, kTenth}, {3, QDate(2026, 3, 7)}, {2.5, QDate(2026, 3, 8)}};
    for (const auto& c : cases) {
        const ClosedDayRule rule(QStringLiteral("S"), QStringLiteral("S"), kTenth, c.daysOpen);
        EXPECT_TRUE(rule.On());
        EXPECT_EQ(rule.FirstOpenDay(), c.first) << c.daysOpen;
        EXPECT_FALSE(rule.IsClosed(rule.FirstOpenDay()));
        EXPECT_TRUE(rule.IsClosed(rule.FirstOpenDay().addDays(-1)));
    }
}

TEST(AssessedPeriod, HoldsBothItsEndsAndTouchesEveryRangeThatMeetsIt) {
    const AssessedPeriod period{QDate(2026, 3, 1), QDate(2026, 3, 15)};
    const struct {
        QDate from;
        QDate to;
        bool touches;
    } cases[] = {
        {QDate(2026, 2, 28), QDate(2026, 2, 28), false},
        {QDate(2026, 3, 1), QDate(2026, 3, 1), true},
        {QDate(2026, 3, 15), QDate(2026, 3, 15), true},
        {QDate(2026, 3, 16), QDate(2026, 3, 16), false},
        {QDate(2026, 2, 1), QDate(2026, 3, 1), true},
        {QDate(2026, 3, 15), QDate(2026, 4, 30), true},
        {QDate(2026, 2, 1), QDate(2026, 4, 30), true},
        {QDate(2026, 3, 16), QDate(2026, 4, 30), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(qPrintable(c.from.toString(Qt::ISODate) + u' ' + c.to.toString(Qt::ISODate)));
        EXPECT_EQ(period.Touches(c.from, c.to), c.touches);
        if (c.from == c.to) {
            EXPECT_EQ(period.Holds(c.from), c.touches);
        }
    }
}

TEST(Planning, AnyPlannedCountButZeroMustBeBilledAsPlanned) {
    const struct {
        double billed;
        double planned;
        bool differs;
    } cases[] = {{100, 90, true},        {90, 90, false},
                 {100, 0, false},        {0, 0, false},
                 {0, 5, true},           {33.3 + 33.3 + 33.4, 100, false},
                 {100.00001, 100, true}, {100.000004, 100, false}};
    for (const auto& c : cases)
        EXPECT_EQ(DiffersFromPlanning(c.billed, c.planned), c.differs)
            << c.billed << " " << c.planned;
}

TEST(ShiftSum, OnlyShiftsWithDinersMustAddUpToTheBilledCount) {
    const struct {
        double shiftSum;
        double billed;
        bool disagrees;
    } cases[] = {{0, 120, false},
                 {120, 120, false},
                 {100, 120, true},
                 {33.3 + 33.3 + 33.4, 100, false},
                 {0.00001, 0, true},
                 // Below the typed precision no shift has diners.
                 {0.000004, 120, false}};
    for (const auto& c : cases)
        EXPECT_EQ(ShiftSumDisagrees(c.shiftSum, c.billed), c.disagrees)
            << c.shiftSum << " " << c.billed;
}
