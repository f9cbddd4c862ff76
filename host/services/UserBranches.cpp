#include "UserBranches.h"

#include "Errors.h"
#include "TADOIBQuery.h"
#include "WorkingContext.h"

namespace fai {

void CheckUserBranch(const QString& branch) {
    if (!FilialPermitida(branch))
        throw EError(QStringLiteral("Este usuário não tem acesso à filial %1.").arg(branch));
}

void RestrictToUserBranches(TADOIBQuery& query) {
    ClientDataSet& branches = query.DataSet();
    branches.SetFilter(
        [](const RowView& row) { return FilialPermitida(row.AsString(u"CDFILIAL")); });
    branches.SetFiltered(true);
}

}  // namespace fai
