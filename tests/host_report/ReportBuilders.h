#pragma once

#include "ReportDefinition.h"

#include <QRectF>
#include <QString>

#include <utility>
#include <vector>

// Definitions written in a few lines, for the report tests and the report benchmark.
namespace fai::testing {

inline ReportElement Element(ElementKind kind, QRectF box) {
    ReportElement element;
    element.kind = kind;
    element.box = box;
    return element;
}

inline ReportElement TextAt(QRectF box, const QString& text) {
    ReportElement element = Element(ElementKind::Text, box);
    element.text = text;
    return element;
}

inline ReportElement FieldAt(QRectF box, const QString& field, DisplayFormat format = {}) {
    ReportElement element = Element(ElementKind::Field, box);
    element.field = field;
    element.format = std::move(format);
    return element;
}

inline ReportElement AggregateAt(QRectF box, AggregateFunction function, const QString& field,
                                 const QString& over, DisplayFormat format = {}) {
    ReportElement element = Element(ElementKind::Aggregate, box);
    element.function = function;
    element.field = field;
    element.over = over;
    element.format = std::move(format);
    return element;
}

inline ReportBand BandOf(BandKind kind, double height, std::vector<ReportElement> elements) {
    return ReportBand{kind, height, std::move(elements)};
}

inline DisplayFormat NumberFormat(int decimals) {
    return DisplayFormat{FormatKind::Number, decimals, true, {}};
}

}  // namespace fai::testing
