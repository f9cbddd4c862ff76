#pragma once

#include "PacketFields.h"

namespace fai {

// One billing date: GetValidaData's packet (the date when it is entered already), loaded
// into cdsValidaData, and GetVerifData's (the service's last date), loaded into cdsVerifData.
struct BillingDateFields : packets::PacketFields {
    FAI_FIELD(DTFATURAM);

    static const packets::Shape& Fields() {
        static const packets::Shape fields{Day(DTFATURAM)};
        return fields;
    }
};

}  // namespace fai
