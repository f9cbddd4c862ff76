#pragma once

#include "PacketFields.h"

namespace fai {

// Whether a service is related to the client at the branch: GetVdServClie's packet, loaded
// into cdsVdServClie; no row, or an empty code, means it is not.
struct ServiceOfClientFields : packets::PacketFields {
    FAI_FIELD(CDSERVFILI);

    static const packets::Shape& Fields() {
        static const packets::Shape fields{Text(CDSERVFILI, 20)};
        return fields;
    }
};

}  // namespace fai
