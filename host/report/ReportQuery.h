#pragma once

#include "ReportDefinition.h"
#include "ReportParams.h"
#include "ReportProgress.h"
#include "ReportTable.h"

namespace fai {

// Runs the report's query through the host's general data module and reads its rows, as the
// server lets the user see them. The query must be one SELECT; every value is bound, never
// pasted into the SQL, and each key of a list parameter gets a placeholder of its own, so that
// no quote or semicolon in a key can change the statement. Numbers read as numbers, dates and
// date-times as days, everything else as text. Throws EError naming the report for a parameter
// the screen left without a value, and with the server's own words when it refuses the query.
// Progress goes to `progress` every few hundred rows.
ReportTable RunReportQuery(const ReportDefinition& definition, const ReportParams& params,
                           ReportProgress& progress);

}  // namespace fai
