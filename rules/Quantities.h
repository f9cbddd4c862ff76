#pragma once

namespace fai {

// Diner counts and shift quantities are typed with at most five decimals. A sum of them
// carries binary noise that nobody typed (33.3 + 33.3 + 33.4 is not exactly 100 in double
// precision), so the server and the screens compare, answer and show them at that precision.
constexpr int kQuantityDecimals = 5;

double AtQuantityPrecision(double quantity);
bool SameQuantity(double a, double b);
// How far apart two quantities are, at that precision: zero exactly when they are the same.
double QuantityDifference(double a, double b);

}  // namespace fai
