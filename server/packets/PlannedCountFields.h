#pragma once

#include "PacketFields.h"

namespace fai {

// The catering planning's diners for a client, service and day: GetVlrFatPla's packet,
// loaded into cdsFatuPla.
struct PlannedCountFields : packets::PacketFields {
    FAI_FIELD(QTCOMEFETCLI);

    static const packets::Shape& Fields() {
        static const packets::Shape fields{Number(QTCOMEFETCLI)};
        return fields;
    }
};

}  // namespace fai
