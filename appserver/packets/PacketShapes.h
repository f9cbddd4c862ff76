#pragma once

#include "ApportionItemFields.h"
#include "ApportionmentFields.h"
#include "AssessedPeriodFields.h"
#include "BillingDateFields.h"
#include "BranchParamFields.h"
#include "ClientFields.h"
#include "HeadcountFields.h"
#include "ImportSummaryFields.h"
#include "PlannedCountFields.h"
#include "ServiceFields.h"
#include "ServiceOfClientFields.h"
#include "ShiftFields.h"
#include "ShiftSumFields.h"

namespace fai::appserver {

// The field definitions of every packet the server answers with, as the contract gives them:
// names, types and sizes of the dataset that receives it on the screen, in that dataset's
// field order. Calculated fields of a dataset are not part of its packet.
namespace shapes {

using packets::Shape;

inline const Shape& Params() { return BranchParamFields::Fields(); }              // cdsParams
inline const Shape& Clients() { return ClientFields::Fields(); }                  // cdsCliente
inline const Shape& Services() { return ServiceFields::Fields(); }                // cdsServico
inline const Shape& Headcounts() { return HeadcountFields::Fields(); }            // cdsEfetFatu
inline const Shape& AssessedPeriods() { return AssessedPeriodFields::Fields(); }  // cdsVdCliFat
inline const Shape& ApportionItems() { return ApportionItemFields::Fields(); }    // cdsItemRat
inline const Shape& BillingDate() {
    return BillingDateFields::Fields();
}  // cdsValidaData, cdsVerifData
inline const Shape& PlannedCount() { return PlannedCountFields::Fields(); }         // cdsFatuPla
inline const Shape& Shifts() { return ShiftFields::Fields(); }                      // cdsTurno
inline const Shape& ShiftSum() { return ShiftSumFields::Fields(); }                 // cdsSomaTurno
inline const Shape& ServiceOfClient() { return ServiceOfClientFields::Fields(); }   // cdsVdServClie
inline const Shape& HeadcountApportion() { return ApportionmentFields::Fields(); }  // cdsItRatEfet
inline const Shape& ImportSummary() { return ImportSummaryFields::Fields(); }

}  // namespace shapes
}  // namespace fai::appserver
