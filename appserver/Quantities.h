#pragma once

namespace fai::appserver {

// Diner counts and shift quantities are typed with at most five decimals. A sum of them
// carries binary noise that nobody typed (33.3 + 33.3 + 33.4 is not exactly 100 in double
// precision), so sums are compared and answered at that precision.
constexpr int kQuantityDecimals = 5;

double AtQuantityPrecision(double quantity);
bool SameQuantity(double a, double b);

}  // namespace fai::appserver
