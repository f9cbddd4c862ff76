#pragma once

#include "DataPacket.h"

#include <QString>

#include <vector>

namespace fai {

// Where the columns of a packet go in a dataset's rows. A dataset with persistent fields
// keeps them first, in field order, matched to packet columns by name without regard to
// case; packet columns without a field follow, so that what the dataset sends back still
// carries them. A dataset without persistent fields takes the packet's columns as they come.
struct PacketLayout {
    std::vector<FieldDef> columns;  // the dataset's storage columns
    std::vector<int> target;        // storage column of each packet column
    std::vector<int> source;        // packet column of each storage column
};

// Checks the whole packet before anything is loaded and throws EError, naming `dataSet`, on
// the first problem: a column without a name or given twice, a persistent field missing from
// the packet or of another type, a row with pending changes or the wrong number of values,
// a value of the wrong kind, a text longer than its column or an invalid day.
PacketLayout PlanPacketLayout(const DataPacket& packet, const std::vector<FieldDef>& persistent,
                              const QString& dataSet);

}  // namespace fai
