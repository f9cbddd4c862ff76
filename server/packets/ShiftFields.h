#pragma once

#include "PacketFields.h"

namespace fai {

// The billed diners of one headcount row by meal shift, one row per shift of the branch:
// GetTurno's packet, loaded into cdsTurno; sent back as a delta to SetTurno.
struct ShiftFields : packets::PacketFields {
    FAI_FIELD(CDTURNO);
    FAI_FIELD(NMTURNO);
    FAI_FIELD(CDFILIAL);
    FAI_FIELD(CDSERVFILI);
    FAI_FIELD(CDCLIENTE);
    FAI_FIELD(DTFATURAMTUR);
    FAI_FIELD(QTCOMFATUTUR);

    static constexpr packets::KeyFields kKey{CDFILIAL, CDCLIENTE, CDSERVFILI, DTFATURAMTUR};

    static const packets::Shape& Fields() {
        static const packets::Shape fields{
            Text(CDTURNO, 1),    Text(NMTURNO, 10), Text(CDFILIAL, 4),   Text(CDSERVFILI, 5),
            Text(CDCLIENTE, 21), Day(DTFATURAMTUR), Number(QTCOMFATUTUR)};
        return fields;
    }
};

}  // namespace fai
