#pragma once

#include "PacketFields.h"

namespace fai {

// The apportionment of one headcount row over the client's items, an item's link numbered
// NRITRATEFECLIFAT once stored: GetItRatEfet's packet, loaded into cdsItRatEfet; sent back
// as a delta to UpdEfetFatu.
struct ApportionmentFields : packets::PacketFields {
    FAI_FIELD(NRITRATEFECLIFAT);
    FAI_FIELD(CDFILIAL);
    FAI_FIELD(CDSERVFILI);
    FAI_FIELD(CDCLIENTE);
    FAI_FIELD(DTFATURAM);
    FAI_FIELD(CDSERVPLAN);
    FAI_FIELD(NRITEMRATEIOEFET);
    FAI_FIELD(CDITEMRATEIOEFET);
    FAI_FIELD(NMITEMRATEIOEFET);
    FAI_FIELD(QTEFETIVOS);

    static constexpr packets::KeyFields kKey{CDFILIAL, CDCLIENTE, CDSERVFILI, DTFATURAM};

    static const packets::Shape& Fields() {
        static const packets::Shape fields{Number(NRITRATEFECLIFAT),
                                           Text(CDFILIAL, 4),
                                           Text(CDSERVFILI, 5),
                                           Text(CDCLIENTE, 21),
                                           Day(DTFATURAM),
                                           Text(CDSERVPLAN, 5),
                                           Number(NRITEMRATEIOEFET),
                                           Text(CDITEMRATEIOEFET, 5),
                                           Text(NMITEMRATEIOEFET, 50),
                                           Number(QTEFETIVOS)};
        return fields;
    }
};

}  // namespace fai
