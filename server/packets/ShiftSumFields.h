#pragma once

#include "PacketFields.h"

namespace fai {

// The sum of one headcount row's shift quantities as stored: GetSomaTurno's packet, loaded
// into cdsSomaTurno.
struct ShiftSumFields : packets::PacketFields {
    FAI_FIELD(SOMA);

    static const packets::Shape& Fields() {
        static const packets::Shape fields{Number(SOMA)};
        return fields;
    }
};

}  // namespace fai
