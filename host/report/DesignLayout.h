#pragma once

#include "ReportDefinition.h"
#include "ReportValidation.h"

#include <QRectF>
#include <QString>

#include <vector>

namespace fai {

// One band on the designer's sheet: its caption strip and, under it, its area drawn to scale.
struct DesignBand {
    ReportPlace place;  // Part::Band
    QString name;       // "Cabeçalho do grupo CDCLIENTE"
    QRectF caption;     // the strip
    QRectF area;
};

// Where the bands of a definition lie on the designer's sheet, in millimetres: the paper, and
// inside its margins the bands in the order they print (report header, page header, group
// headers from the outermost, detail, group footers from the innermost, summary, page
// footer), each under a caption strip that names it. The areas are the bands at their real
// size; only the strips are the designer's own.
class DesignLayout {
  public:
    static constexpr double kCaptionHeight = 5;

    explicit DesignLayout(const ReportDefinition& definition);

    QRectF Sheet() const { return sheet_; }
    double BodyWidth() const { return bodyWidth_; }
    const std::vector<DesignBand>& Bands() const { return bands_; }
    // The band of the place (a band or an element of it); null when the definition has none.
    const DesignBand* Find(const ReportPlace& place) const;
    // The band at the height: the one whose strip or area holds it, the first above them all,
    // the last below; null when there are no bands.
    const DesignBand* BandAtHeight(double y) const;
    // The band whose strip or area holds the point; null elsewhere.
    const DesignBand* BandAt(const QPointF& point) const;

  private:
    QRectF sheet_;
    double bodyWidth_ = 0;
    std::vector<DesignBand> bands_;
};

// The bands of a definition in the order they print.
std::vector<ReportPlace> BandsInPrintOrder(const ReportDefinition& definition);

// The band place of an element place (or the band place itself).
ReportPlace BandPlaceOf(const ReportPlace& place);
ReportPlace ElementPlace(const ReportPlace& band, int element);

}  // namespace fai
