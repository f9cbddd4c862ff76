#pragma once

#include "PacketFields.h"

namespace fai {

// The services of a client at a branch: GetServico's packet, loaded into cdsServico, with the
// flags the row checks read: IDCONSCOMFAT "S", compared with the planning; IDVLRVARDATA "N",
// no sale value typed by day.
struct ServiceFields : packets::PacketFields {
    FAI_FIELD(CDSERVFILI);
    FAI_FIELD(NMSERVICO);
    FAI_FIELD(IDCONSCOMFAT);
    FAI_FIELD(IDVLRVARDATA);

    static const packets::Shape& Fields() {
        static const packets::Shape fields{Text(CDSERVFILI, 5), Text(NMSERVICO, 40),
                                           Flag(IDCONSCOMFAT), Flag(IDVLRVARDATA)};
        return fields;
    }
};

}  // namespace fai
