#pragma once

#include "PacketFields.h"

namespace fai {

// What an import of transported headcounts did, one row: the days it wrote, those it left as
// they were because they are closed or in an assessed billing period, and those that already
// had the transported count. ImportaEfetTrans' third packet.
struct ImportSummaryFields : packets::PacketFields {
    FAI_FIELD(QTGRAVADOS);
    FAI_FIELD(QTDIAFECHADO);
    FAI_FIELD(QTDIAAPURADO);
    FAI_FIELD(QTSEMALTERACAO);

    static const packets::Shape& Fields() {
        static const packets::Shape fields{Number(QTGRAVADOS), Number(QTDIAFECHADO),
                                           Number(QTDIAAPURADO), Number(QTSEMALTERACAO)};
        return fields;
    }
};

}  // namespace fai
