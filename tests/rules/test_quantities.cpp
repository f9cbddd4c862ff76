// Quantities compared and shown at the five decimals a clerk can type.
#include "Quantities.h"

#include <gtest/gtest.h>

using namespace fai;

TEST(Quantities, DifferAtTheTypedPrecisionOnly) {
    const struct {
        double a;
        double b;
        double difference;
    } cases[] = {{120, 100, 20},
                 {100, 100.5, 0.5},
                 {33.3 + 33.3 + 33.4, 100, 0},
                 {0.1 + 0.2, 0.3, 0},
                 // A plain subtraction would leave 0.0999999999999943 to be shown.
                 {33.3, 33.2, 0.1},
                 {100.00001, 100, 0.00001},
                 {100.000004, 100, 0},
                 {-1, 0, 1}};
    for (const auto& c : cases) {
        EXPECT_EQ(QuantityDifference(c.a, c.b), c.difference) << c.a << " " << c.b;
        EXPECT_EQ(SameQuantity(c.a, c.b), c.difference == 0) << c.a << " " << c.b;
    }
}
