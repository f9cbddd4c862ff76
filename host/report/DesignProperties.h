#pragma once

#include "DesignEdits.h"
#include "ReportDefinition.h"
#include "ReportValidation.h"

#include <QString>
#include <QVariant>

#include <functional>
#include <utility>
#include <vector>

namespace fai {

// How a property is typed in the designer's panel.
enum class PropertyEditor {
    Text,           // one line
    LongText,       // several lines
    Millimetres,    // a length, to 0.01 mm
    Points,         // a font size, to 0.1 pt
    Integer,        // 0 to 10
    Boolean,        // a check box
    Choice,         // one of `choices`
    Field,          // a column of the query (typed or picked)
    Font,           // a font family (typed or picked)
    Group,          // "" for the whole report, or a group's field
    Color,          // #rrggbb
    OptionalColor,  // #rrggbb, or empty for none
};

// One property of the report, of a band or of an element, as the panel lists it: the
// editor's component name, its label, how it is typed, and how it is read from and written
// to a definition at a place. Values are QVariants: text, double, int (choices and integers)
// or bool.
struct DesignProperty {
    const char* name;
    QString label;
    PropertyEditor editor;
    std::vector<std::pair<QString, int>> choices;
    std::function<bool(const ReportDefinition&, const ReportPlace&)> applies;
    std::function<QVariant(const ReportDefinition&, const ReportPlace&)> get;
    std::function<void(ReportDefinition&, const ReportPlace&, const QVariant&)> set;
};

// The properties of the place (Part::Definition for the report itself), in the panel's order.
std::vector<const DesignProperty*> PropertiesOf(const ReportDefinition& definition,
                                                const ReportPlace& place);

// The definition with the property of the place set to the value (an element's band grown to
// hold it); the place stays selected. Throws EError for a colour that is not #rrggbb.
DesignEdit SetProperty(const ReportDefinition& definition, const ReportPlace& place,
                       const DesignProperty& property, const QVariant& value);

// What an aggregate computes, in the user's words: "soma", "contagem"...
QString AggregateFunctionWord(AggregateFunction function);

}  // namespace fai
