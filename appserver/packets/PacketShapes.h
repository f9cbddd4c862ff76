#pragma once

#include "DataPacket.h"

#include <vector>

namespace fai::appserver {

// The field definitions of every packet the server answers with: names, types and sizes of
// the dataset that receives it on the screen, in that dataset's field order. Calculated
// fields of a dataset are not part of its packet.
namespace shapes {

using Shape = std::vector<FieldDef>;

const Shape& Params();              // cdsParams
const Shape& Clients();             // cdsCliente
const Shape& Services();            // cdsServico
const Shape& Headcounts();          // cdsEfetFatu
const Shape& AssessedPeriods();     // cdsVdCliFat
const Shape& ApportionItems();      // cdsItemRat
const Shape& BillingDate();         // cdsValidaData, cdsVerifData
const Shape& PlannedCount();        // cdsFatuPla
const Shape& Shifts();              // cdsTurno
const Shape& ShiftSum();            // cdsSomaTurno
const Shape& ServiceOfClient();     // cdsVdServClie
const Shape& HeadcountApportion();  // cdsItRatEfet

}  // namespace shapes
}  // namespace fai::appserver
