#pragma once

#include "ApportionmentFields.h"
#include "AssessedPeriodFields.h"
#include "BillingDateFields.h"
#include "BranchParamFields.h"
#include "ClientDataSet.h"
#include "ClientFields.h"
#include "ClosedDayRule.h"
#include "HeadcountFields.h"
#include "PlannedCountFields.h"
#include "ServiceFields.h"
#include "ServiceOfClientFields.h"
#include "ShiftFields.h"
#include "ShiftSumFields.h"

#include <QString>
#include <QStringList>

namespace fai {

// The branches as qryFilial reads them from the shared database's FILIAL table.
struct BranchFields {
    FAI_FIELD(CDFILIAL);
    FAI_FIELD(NMFILIAL);
};

// The datasets of the headcount screen with their persistent fields, as the application
// server's packets fill them.
void DefineHeadcountFields(ClientDataSet& headcounts);
void DefineClientFields(ClientDataSet& clients);
void DefineServiceFields(ClientDataSet& services);
void DefineCheckFields(ClientDataSet& validaData, ClientDataSet& verifServ,
                       ClientDataSet& verifData, ClientDataSet& fatuPla, ClientDataSet& verifSoma,
                       ClientDataSet& vdServClie, ClientDataSet& somaTurno);
void DefineParamsFields(ClientDataSet& params);
void DefineAssessedPeriodFields(ClientDataSet& periods);
void DefineShiftFields(ClientDataSet& shifts);
void DefineApportionmentFields(ClientDataSet& items);
void DefineBranchFields(ClientDataSet& branches);

// The closed-day rule of the branch parameters cdsParams; off when they have no row.
ClosedDayRule ClosedDayRuleOf(const ClientDataSet& params);

// The screen's message table.
QStringList HeadcountMessages();

// The names of the fields of the current record that are null or read as empty text, in
// field order, each followed by "|": what the server leaves empty when it stores the row.
QString NullFieldList(const ClientDataSet& dataSet);

// The field that tells the rows of a load apart: the service by date, the date by service.
packets::FieldName RowKeyField(bool byService);

}  // namespace fai
