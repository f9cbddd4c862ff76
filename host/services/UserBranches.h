#pragma once

namespace fai {

class TADOIBQuery;

// Keeps, of what a query of branches reads (its CDFILIAL column), only the branches the user
// works in (FilialPermitida), at every Open: a branch lookup then offers no other, and a
// branch typed that is not the user's is not found in it.
void RestrictToUserBranches(TADOIBQuery& query);

}  // namespace fai
