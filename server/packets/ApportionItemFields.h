#pragma once

#include "PacketFields.h"

namespace fai {

// The client's apportionment items: the third packet of GetEfetFatu, loaded into cdsItemRat.
struct ApportionItemFields : packets::PacketFields {
    FAI_FIELD(CDCLIENTE);
    FAI_FIELD(NRITEMRATEIOEFET);
    FAI_FIELD(CDITEMRATEIOEFET);
    FAI_FIELD(NMITEMRATEIOEFET);

    static const packets::Shape& Fields() {
        static const packets::Shape fields{Text(CDCLIENTE, 21), Number(NRITEMRATEIOEFET),
                                           Text(CDITEMRATEIOEFET, 5), Text(NMITEMRATEIOEFET, 50)};
        return fields;
    }
};

}  // namespace fai
