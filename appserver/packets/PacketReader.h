#pragma once

#include "DataPacket.h"
#include "SqlSession.h"

#include <vector>

namespace fai::appserver {

// Reads every row of a query whose columns are, in order, the fields of `shape`, into a
// packet of that shape. Text, numbers and dates are taken as the field types say, whatever
// form the database hands them in (dates are ISO text on both). A value that does not fit
// its field throws EDatabaseError: the screen would refuse the whole packet.
DataPacket ReadPacket(SqlRows& rows, const std::vector<FieldDef>& shape);

// Gives every row the same value in one field: the parts of a row's key that the request
// fixed and that the database does not hold for rows not stored yet.
void FillColumn(DataPacket& packet, const QString& field, const Value& value);

}  // namespace fai::appserver
