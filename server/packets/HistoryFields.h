#pragma once

#include "PacketFields.h"

namespace fai {

// The history of headcount rows, newest first: one row per field changed of a headcount row,
// a shift quantity (CDTURNO given) or an apportionment link (CDITEMRATEIOEFET given), with
// when (DTHRALTERACAO: milliseconds since 1970, UTC), who, by which method, the operation
// ("I" inclusion, "A" change, "E" removal), and the value before and after as text in the
// C locale (numbers with a decimal point), empty for no value. GetHistEfetFatu's packet.
struct HistoryFields : packets::PacketFields {
    FAI_FIELD(DTHRALTERACAO);
    FAI_FIELD(NMUSUARIO);
    FAI_FIELD(NMMAQUINA);
    FAI_FIELD(NMMETODO);
    FAI_FIELD(IDOPERACAO);
    FAI_FIELD(CDFILIAL);
    FAI_FIELD(CDCLIENTE);
    FAI_FIELD(CDSERVFILI);
    FAI_FIELD(DTFATURAM);
    FAI_FIELD(CDTURNO);
    FAI_FIELD(NMTURNO);
    FAI_FIELD(CDITEMRATEIOEFET);
    FAI_FIELD(NMITEMRATEIOEFET);
    FAI_FIELD(NMCAMPO);
    FAI_FIELD(VLANTERIOR);
    FAI_FIELD(VLNOVO);

    static const packets::Shape& Fields() {
        static const packets::Shape fields{Number(DTHRALTERACAO),
                                           Text(NMUSUARIO, 60),
                                           Text(NMMAQUINA, 64),
                                           Text(NMMETODO, 20),
                                           Flag(IDOPERACAO),
                                           Text(CDFILIAL, 4),
                                           Text(CDCLIENTE, 21),
                                           Text(CDSERVFILI, 5),
                                           Day(DTFATURAM),
                                           Text(CDTURNO, 1),
                                           Text(NMTURNO, 10),
                                           Text(CDITEMRATEIOEFET, 5),
                                           Text(NMITEMRATEIOEFET, 50),
                                           Text(NMCAMPO, 20),
                                           Text(VLANTERIOR, 30),
                                           Text(VLNOVO, 30)};
        return fields;
    }
};

}  // namespace fai
