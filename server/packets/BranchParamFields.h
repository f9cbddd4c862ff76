#pragma once

#include "PacketFields.h"

namespace fai {

// The branch's billing parameters, which drive the closed-day rule: GetParams' packet, loaded
// into cdsParams.
struct BranchParamFields : packets::PacketFields {
    FAI_FIELD(CDFILIAL);
    FAI_FIELD(DTPROCESSA);
    FAI_FIELD(IDBLQEFEDIAFECH);
    FAI_FIELD(NRDIAANTDTPROC);
    FAI_FIELD(IDUTILDTPROC);

    static const packets::Shape& Fields() {
        static const packets::Shape fields{Text(CDFILIAL, 4), Day(DTPROCESSA),
                                           Text(IDBLQEFEDIAFECH, 1), Number(NRDIAANTDTPROC),
                                           Text(IDUTILDTPROC, 1)};
        return fields;
    }
};

}  // namespace fai
