#include "ReportDocument.h"

#include "Errors.h"
#include "ReportQuery.h"
#include "ReportValidation.h"

#include <QPainter>

namespace fai {

ReportDocument::ReportDocument(ReportDefinition definition, ReportTable table, QDateTime printedAt,
                               ReportProgress& progress)
    : definition_(std::move(definition)),
      table_(std::move(table)),
      printedAt_(std::move(printedAt)),
      plan_(std::make_unique<ReportPlan>(definition_, table_)),
      pages_(ReportPages::Layout(*plan_, progress)),
      painter_(*plan_, pages_, printedAt_) {}

void ReportDocument::PaintPage(QPainter& painter, int page, double dotsPerMillimetre) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const double scale = dotsPerMillimetre / kUnitsPerMillimetre;
    painter.scale(scale, scale);
    painter_.Paint(painter, page);
    painter.restore();
}

QString NoRowsMessage() {
    return QStringLiteral("Nenhum registro encontrado para os parâmetros informados.");
}

std::unique_ptr<ReportDocument> RunReport(const ReportDefinition& definition,
                                          const QueryParamsEvent& beforeGetQueryParams,
                                          ReportProgress& progress) {
    ValidateReport(definition);
    ReportParams params(definition);
    if (beforeGetQueryParams) beforeGetQueryParams(params);
    const QDateTime printedAt = QDateTime::currentDateTime();
    ReportTable table = RunReportQuery(definition, params, progress);
    if (table.RowCount() == 0) throw EError(NoRowsMessage());
    return std::make_unique<ReportDocument>(definition, std::move(table), printedAt, progress);
}

}  // namespace fai
