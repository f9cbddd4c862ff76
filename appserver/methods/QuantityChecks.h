#pragma once

#include <QString>

#include <optional>

namespace fai::appserver {

// The largest quantities the screens let a clerk type, as digits before the decimal
// separator: what no screen can type is no count of anyone's, and a huge one would only
// overflow the sums made of it.
constexpr int kCountDigits = 9;             // diners billed and forecast, by shift, by item
constexpr int kSaleValueDigits = 7;         // the sale value of a day
constexpr int kDuplicatedCountDigits = 10;  // the counts of the duplication screen

// Why `quantity` cannot be stored as `label` ("N° comensais faturados"), none when it can:
// below zero or not a number, or more than `digits` digits before the decimal separator.
std::optional<QString> QuantityRefusal(double quantity, const QString& label, int digits);

}  // namespace fai::appserver
