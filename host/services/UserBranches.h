#pragma once

#include <QString>

namespace fai {

class TADOIBQuery;

// Throws EError naming the branch when the user does not work in it (FilialPermitida).
void CheckUserBranch(const QString& branch);

// Keeps, of what a query of branches reads (its CDFILIAL column), only the branches the user
// works in (FilialPermitida), at every Open: a branch lookup then offers no other, and a
// branch typed that is not the user's is not found in it.
void RestrictToUserBranches(TADOIBQuery& query);

}  // namespace fai
