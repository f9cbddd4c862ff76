#include "Quantities.h"

#include <cmath>

namespace fai {
namespace {

constexpr double kScale = 100'000.0;  // 10 ^ kQuantityDecimals

}  // namespace

// Dividing the rounded whole number back is correctly rounded, so the result is the double
// nearest to the decimal a clerk would type: exactly what the screen compares it with.
double AtQuantityPrecision(double quantity) { return std::round(quantity * kScale) / kScale; }

bool SameQuantity(double a, double b) { return AtQuantityPrecision(a) == AtQuantityPrecision(b); }

double QuantityDifference(double a, double b) {
    return AtQuantityPrecision(std::abs(AtQuantityPrecision(a) - AtQuantityPrecision(b)));
}

}  // namespace fai
