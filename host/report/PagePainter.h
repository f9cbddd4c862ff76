#pragma once

#include "ReportPages.h"
#include "ReportPlan.h"

#include <QDateTime>

class QPainter;

namespace fai {

// Paints one laid-out page. The painter's coordinates must be layout units from the page's
// top-left corner (see kUnitsPerInch); the caller scales them to its device.
class PagePainter {
  public:
    PagePainter(const ReportPlan& plan, const ReportPages& pages, QDateTime printedAt);

    void Paint(QPainter& painter, int page) const;

  private:
    void PaintBand(QPainter& painter, const PlacedBand& placed, const PrintContext& context) const;
    void PaintText(QPainter& painter, const PlannedElement& element, const QRectF& box,
                   const QString& text) const;

    const ReportPlan& plan_;
    const ReportPages& pages_;
    QDateTime printedAt_;
};

}  // namespace fai
