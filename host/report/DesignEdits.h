#pragma once

#include "ReportDefinition.h"
#include "ReportValidation.h"

#include <QPointF>
#include <QRectF>

#include <optional>
#include <utility>
#include <vector>

namespace fai {

// What the designer has selected: elements (Part::Element), one band (Part::Band), or nothing,
// which stands for the report itself.
using DesignSelection = std::vector<ReportPlace>;

// A definition as one edit leaves it, and what is selected after it.
struct DesignEdit {
    ReportDefinition definition;
    DesignSelection selection;
};

// The edits of the designer, each a new definition made from the old one. They touch nothing
// but what they edit: an element moved within its band changes its position and keeps its
// place among the band's elements, so that its file changes only there. An element that ends
// lower than its band's foot makes the band taller; no element goes left of its band or past
// its right edge.

// The line of the grid nearest to the length; the next one in the direction (-1 or +1).
double SnapToGrid(double length, double step);
double NextGridLine(double length, double step, int direction);

// The band of the place, or null.
ReportBand* MutableBandAt(ReportDefinition& definition, const ReportPlace& place);
const ReportElement* ElementAt(const ReportDefinition& definition, const ReportPlace& place);

enum class MoveScope {
    WithinBand,   // each stays in its band (the arrow keys)
    AcrossBands,  // each lands in the band under its new top-left corner (the mouse)
};

// Moves the elements by `delta` millimetres on the designer's sheet, together: where one of
// them would leave the page sideways (or its band, WithinBand) all stop there.
DesignEdit MoveElements(const ReportDefinition& definition, const DesignSelection& elements,
                        QPointF delta, MoveScope scope);

// Gives each element its new box (band coordinates).
DesignEdit SetElementBoxes(const ReportDefinition& definition,
                           const std::vector<std::pair<ReportPlace, QRectF>>& boxes);

// Adds the element to the band at its box (moved left where it would pass the right edge),
// selected.
DesignEdit InsertElement(const ReportDefinition& definition, const ReportPlace& band,
                         ReportElement element);

// Removes the selected elements, or the selected band; a group left with neither header nor
// footer goes with its last band.
DesignEdit RemoveSelection(const ReportDefinition& definition, const DesignSelection& selection);

// Adds an empty band of the kind (the group's header or footer for group bands), selected.
DesignEdit AddBand(const ReportDefinition& definition, BandKind kind, int group = -1);

// Adds the innermost group, by the field, with a header and a footer; its header selected.
DesignEdit AddGroup(const ReportDefinition& definition, const QString& field);

// Removes the group with its header and footer.
DesignEdit RemoveGroup(const ReportDefinition& definition, int group);

// The band's height, never less than its elements need.
DesignEdit SetBandHeight(const ReportDefinition& definition, const ReportPlace& band,
                         double height);

// A new element of the kind as the designer offers it: a sensible size and content.
ReportElement NewElement(ElementKind kind);

// The height of the lowest element's foot in the band.
double ElementsBottom(const ReportBand& band);

}  // namespace fai
