#pragma once

#include <QString>

namespace fai {

// For a service compared with the catering planning, the billed count must be the planned
// one, at the precision a count is typed with; a planning of 0 (or none) asks nothing.
bool DiffersFromPlanning(double billed, double planned);

QString PlanningDiffersMessage();

}  // namespace fai
