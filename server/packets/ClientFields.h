#pragma once

#include "PacketFields.h"

namespace fai {

// The clients of a branch: GetCliente's packet, loaded into cdsCliente. CDCLIENTE is the
// person type IDTPIJURCLIE followed by the registration number NRINSJURCLIE.
struct ClientFields : packets::PacketFields {
    FAI_FIELD(CDCLIENTE);
    FAI_FIELD(IDTPIJURCLIE);
    FAI_FIELD(NRINSJURCLIE);
    FAI_FIELD(NMRAZSOCCLIE);
    FAI_FIELD(NMFANTCLIE);

    static const packets::Shape& Fields() {
        static const packets::Shape fields{Text(CDCLIENTE, 21), Text(IDTPIJURCLIE, 1),
                                           Text(NRINSJURCLIE, 20), Text(NMRAZSOCCLIE, 50),
                                           Text(NMFANTCLIE, 50)};
        return fields;
    }
};

}  // namespace fai
