#include "Value.h"

#include <gtest/gtest.h>

#include <cmath>

namespace fai {

TEST(DaySerial, ZeroDateIsDayZeroAndKnownDaysMapBothWays) {
    struct Case {
        QDate date;
        qint64 serial;
    } cases[] = {
        {QDate(1899, 12, 30), 0},   {QDate(1899, 12, 29), -1},   {QDate(1900, 1, 1), 2},
        {QDate(2000, 1, 1), 36526}, {QDate(2026, 3, 10), 46091},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToDaySerial(c.date), c.serial) << c.date.toString(Qt::ISODate).toStdString();
        EXPECT_EQ(FromDaySerial(c.serial), c.date);
    }
    EXPECT_EQ(ZeroDate(), QDate(1899, 12, 30));
}

TEST(Value, EqualityIsExactAndKindSensitive) {
    EXPECT_EQ(Value(), Value());
    EXPECT_EQ(Value(1.5), Value(1.5));
    EXPECT_FALSE(Value(0.0) == Value(-0.0));  // bit for bit, not arithmetic
    EXPECT_FALSE(Value(0.1 + 0.2) == Value(0.3));
    EXPECT_FALSE(Value() == Value(QString()));  // null is not the empty text
    EXPECT_FALSE(Value("1") == Value(1.0));
    EXPECT_EQ(Value(QDate(2026, 1, 2)), Value(QDate(2026, 1, 2)));
    const double nan = std::nan("");
    EXPECT_EQ(Value(nan), Value(nan));
}

}  // namespace fai
