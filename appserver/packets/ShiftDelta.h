#pragma once

#include "DataPacket.h"
#include "HeadcountKey.h"

#include <optional>
#include <vector>

namespace fai::appserver {

class NullFieldList;

// What a save asks for the quantity of one shift.
struct ShiftChange {
    QString shift;                   // CDTURNO
    std::optional<double> expected;  // as loaded; none: no quantity was stored
    std::optional<double> desired;   // none: the stored quantity goes
};

// The shift quantities of one headcount key that a save changes.
struct ShiftDelta {
    HeadcountKey key;
    std::vector<ShiftChange> changes;
};

// Reads the delta of the shift dataset, with the save's null-field list applied: a quantity
// the list names is removed. Throws EBadRequest for rows of more than one key, a missing key
// or shift code, a negative quantity.
ShiftDelta ReadShiftDelta(const DataPacket& delta, const NullFieldList& nulls);

}  // namespace fai::appserver
