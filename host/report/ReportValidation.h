#pragma once

#include "ReportDefinition.h"

#include <QString>

#include <optional>

namespace fai {

// A place in a definition: the definition itself, its page, one parameter, its query, a band,
// a group or an element of a band. A band of a group (header or footer) names its group.
struct ReportPlace {
    enum class Part { Definition, Page, Parameter, Query, Group, Band, Element };
    Part part = Part::Definition;
    int parameter = -1;
    BandKind band = BandKind::Detail;
    int group = -1;
    int element = -1;

    friend bool operator==(const ReportPlace&, const ReportPlace&) = default;
    friend auto operator<=>(const ReportPlace&, const ReportPlace&) = default;
};

struct ReportProblem {
    ReportPlace place;
    QString why;
};

// The first thing that keeps the definition from running as designed: a missing code, title
// or query, a query that would change data or names an undeclared parameter, a group or
// parameter given twice, an element without its field or outside its band, an aggregate over
// a group that does not exist, an image that cannot be decoded... Nothing when it is sound.
std::optional<ReportProblem> FindReportProblem(const ReportDefinition& definition);

// Where the place is, in words: "rodapé do grupo CDCLIENTE, elemento 2 (totalizador)".
QString DescribePlace(const ReportDefinition& definition, const ReportPlace& place);

// Throws EError "<place>: <why>" for the first problem.
void ValidateReport(const ReportDefinition& definition);

// A band of the definition by kind (group bands by group index); null when absent.
const ReportBand* BandAt(const ReportDefinition& definition, BandKind kind, int group = -1);

}  // namespace fai
