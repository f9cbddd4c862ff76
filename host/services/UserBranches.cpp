#include "UserBranches.h"

#include "TADOIBQuery.h"
#include "WorkingContext.h"

namespace fai {

void RestrictToUserBranches(TADOIBQuery& query) {
    ClientDataSet& branches = query.DataSet();
    branches.SetFilter(
        [](const RowView& row) { return FilialPermitida(row.AsString(u"CDFILIAL")); });
    branches.SetFiltered(true);
}

}  // namespace fai
