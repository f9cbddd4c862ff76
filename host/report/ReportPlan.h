#pragma once

#include "ReportDefinition.h"
#include "ReportTable.h"
#include "ReportTotals.h"
#include "ValueFormatter.h"

#include <QDateTime>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QRectF>
#include <QSizeF>

#include <vector>

namespace fai {

// Layout and painting work in units of a tenth of a point (1/720 inch): fine enough that a
// font has a whole number of units at any size a report uses, so that text is measured and
// drawn with one font whatever the device, and what the layout measured is what the page
// shows, on screen, on paper and in PDF alike.
constexpr double kUnitsPerInch = 720.0;
constexpr double kUnitsPerMillimetre = kUnitsPerInch / 25.4;

// Where and what one band prints, for one row.
struct PrintContext {
    int row = 0;
    int page = 0;       // from 1
    int pageCount = 0;  // known on every page: the layout is done before any page is painted
    bool continued = false;
    QDateTime printedAt;
};

// An element ready to print: its box in units, its font, the column it shows, its formatter.
struct PlannedElement {
    const ReportElement* source = nullptr;
    QRectF box;
    QFont font;
    QFontMetricsF metrics{QFont()};
    int flags = 0;  // alignment and word wrap, as QPainter::drawText takes them
    int column = -1;
    int personTypeColumn = -1;
    int aggregate = -1;
    ValueFormatter formatter{DisplayFormat()};
    QImage image;
};

struct PlannedBand {
    BandKind kind = BandKind::Detail;
    int group = -1;
    double height = 0;  // units: the least it takes
    bool grows = false;
    std::vector<PlannedElement> elements;
};

// A definition bound to the rows of one run: every field resolved to its column, every
// aggregate registered and computed, fonts, formats and images made once. Throws EError,
// naming the report, when an element or group names a column the query does not return.
class ReportPlan {
  public:
    ReportPlan(const ReportDefinition& definition, const ReportTable& table);
    ReportPlan(const ReportPlan&) = delete;
    ReportPlan& operator=(const ReportPlan&) = delete;

    const ReportDefinition& Definition() const { return definition_; }
    const ReportTable& Table() const { return table_; }
    const ReportTotals& Totals() const { return totals_; }

    QSizeF PageSize() const { return pageSize_; }
    // The page inside its margins.
    QRectF Body() const { return body_; }

    const PlannedBand& Band(int band) const { return bands_[std::size_t(band)]; }
    // The band's number, -1 when the definition has none.
    int ReportHeader() const { return reportHeader_; }
    int PageHeader() const { return pageHeader_; }
    int GroupHeader(int level) const { return groupHeaders_[std::size_t(level)]; }
    int GroupFooter(int level) const { return groupFooters_[std::size_t(level)]; }
    bool RepeatsHeader(int level) const;
    int Detail() const { return detail_; }
    int Summary() const { return summary_; }
    int PageFooter() const { return pageFooter_; }

    // What a text-bearing element shows in the context.
    QString TextOf(const PlannedElement& element, const PrintContext& context) const;
    // The height of the element's box once it has grown to hold its text.
    double ElementHeight(const PlannedElement& element, const PrintContext& context) const;
    // The band's height for the row: its own, or more where elements grow.
    double BandHeight(int band, const PrintContext& context) const;

  private:
    int Plan(const std::optional<ReportBand>& band, int group);
    PlannedElement PlanElement(const ReportElement& element);
    int ColumnOf(const QString& field, const QString& where) const;

    const ReportDefinition& definition_;
    const ReportTable& table_;
    ReportTotals totals_;
    QSizeF pageSize_;
    QRectF body_;
    std::vector<PlannedBand> bands_;
    int reportHeader_ = -1;
    int pageHeader_ = -1;
    std::vector<int> groupHeaders_;
    std::vector<int> groupFooters_;
    int detail_ = -1;
    int summary_ = -1;
    int pageFooter_ = -1;
};

// How the element's text sits in its box (alignment and word wrap), as QPainter::drawText
// takes it, and the font of its text, sized in layout units: the engine's and the
// designer's, so that both show a text alike.
int Alignment(const ReportElement& element);
QFont FontOf(const ReportFont& font);

// A length of the definition (millimetres) in layout units.
inline double Units(double millimetres) { return millimetres * kUnitsPerMillimetre; }

}  // namespace fai
