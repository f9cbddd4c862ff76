#pragma once

#include "PacketFields.h"

namespace fai {

// Headcount rows, one per service of a day or one per day of a service: the first packet of
// GetEfetFatu and of ImportaEfetTrans, loaded into cdsEfetFatu; sent back whole to
// GetVerifSoma and as a delta to UpdEfetFatu.
struct HeadcountFields : packets::PacketFields {
    FAI_FIELD(CDFILIAL);
    FAI_FIELD(CDSERVFILI);
    FAI_FIELD(NMSERVICO);
    FAI_FIELD(DTFATURAM);
    FAI_FIELD(CDCLIENTE);
    FAI_FIELD(QTCOMEFATU);
    FAI_FIELD(CDFILIFATU);
    FAI_FIELD(NRAPURACFAT);
    FAI_FIELD(QTCOMEPREV);
    FAI_FIELD(VRSERVFATUDT);
    FAI_FIELD(DSEMISSERCLI);
    // The weekday of the date, calculated by the screen: never in a packet, though it may stand
    // in a null-field list.
    FAI_FIELD(DIASEMANA);

    static constexpr packets::KeyFields kKey{CDFILIAL, CDCLIENTE, CDSERVFILI, DTFATURAM};

    static const packets::Shape& Fields() {
        static const packets::Shape fields{
            Text(CDFILIAL, 4),    Text(CDSERVFILI, 5),    Text(NMSERVICO, 40),
            Day(DTFATURAM),       Text(CDCLIENTE, 21),    Number(QTCOMEFATU),
            Text(CDFILIFATU, 4),  Text(NRAPURACFAT, 10),  Number(QTCOMEPREV),
            Number(VRSERVFATUDT), Text(DSEMISSERCLI, 400)};
        return fields;
    }
};

}  // namespace fai
