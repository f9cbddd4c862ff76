#pragma once

#include <QString>

namespace fai {

// Once any shift of a headcount row has diners, the shifts must add up to the row's billed
// count, compared at the precision a quantity is typed with; a row with no shift diners needs
// no breakdown.
bool ShiftSumDisagrees(double shiftSum, double billed);

// What a row whose shifts do not add up is refused with: the difference and the billed count
// fill its two "%s", in that order.
QString ShiftSumDiffersMessage();
// What a screen whose rows do not all agree with their shifts is kept open with.
QString RowsDisagreeWithShiftsMessage();

}  // namespace fai
