#pragma once

#include "ReportDefinition.h"

#include <QString>

#include <vector>

namespace fai {

// The declared parameters as the designer lets them be typed: one a line, the name and its
// type (texto, data, número or lista), as in
//     P_CDFILIAL texto
//     P_DTINICIAL data
// A colon between them and blank lines are allowed; a name alone is a text parameter.
QString FormatParameters(const std::vector<ReportParameter>& parameters);

// Throws EError naming the line that cannot be read.
std::vector<ReportParameter> ParseParameters(const QString& text);

}  // namespace fai
