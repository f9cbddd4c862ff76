#pragma once

#include "DataPacket.h"
#include "HeadcountKey.h"

#include <optional>
#include <vector>

namespace fai::appserver {

class NullFieldList;

// What a save asks for one headcount row: from the state the clerk saw to the state to store.
struct HeadcountChange {
    HeadcountKey key;
    std::optional<HeadcountCounts> expected;  // as loaded; none: the row was not stored
    std::optional<HeadcountRow> desired;      // none: the row goes, with its shifts and links
};

// Reads the headcount delta of a save (the pending changes of the headcount dataset), with
// the save's null-field list applied to inserted and modified rows. A modified row loaded with
// empty counts (a service not stored yet for the date) expects the row not to be stored.
// Throws EBadRequest, naming the service and date, for a row that cannot be stored as it
// stands: a missing key, a count that is empty, negative or not a number, an assessment
// without its branch, a changed key.
std::vector<HeadcountChange> ReadHeadcountDelta(const DataPacket& delta,
                                                const NullFieldList& nulls);

}  // namespace fai::appserver
