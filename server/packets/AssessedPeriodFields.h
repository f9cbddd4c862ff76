#pragma once

#include "PacketFields.h"

namespace fai {

// The client's billing periods already assessed, first and last day included: the second
// packet of GetEfetFatu and of ImportaEfetTrans, loaded into cdsVdCliFat and handed to the
// duplication screen.
struct AssessedPeriodFields : packets::PacketFields {
    FAI_FIELD(CDFILIAL);
    FAI_FIELD(CDCLIENTE);
    FAI_FIELD(NRAPURACFAT);
    FAI_FIELD(DTINIAPURAC);
    FAI_FIELD(DTFIMAPURAC);

    static const packets::Shape& Fields() {
        static const packets::Shape fields{Text(CDFILIAL, 4), Text(CDCLIENTE, 21),
                                           Text(NRAPURACFAT, 10), Day(DTINIAPURAC),
                                           Day(DTFIMAPURAC)};
        return fields;
    }
};

}  // namespace fai
