#pragma once

#include "DataPacket.h"

#include <QString>

namespace fai::appserver {

class SqlSession;

// GetVerifSoma: whether every headcount row of a screen agrees with its shift breakdown as
// stored. A row disagrees when its stored shift quantities add up to more than zero and not
// to its billed count (an empty count is zero), compared at the quantities' precision.
class ShiftAgreement {
  public:
    explicit ShiftAgreement(SqlSession& session) : session_(session) {}

    // The service code of the first row that disagrees, in the packet's order; the empty
    // text when all agree. Rows without a whole key (a date not typed yet) have nothing
    // stored. Throws EBadRequest for a packet that is not the screen's rows as they stand
    // (a row inserted, modified or deleted) or lacks the headcount fields.
    QString FirstDisagreeing(const DataPacket& headcounts);

  private:
    SqlSession& session_;
};

}  // namespace fai::appserver
