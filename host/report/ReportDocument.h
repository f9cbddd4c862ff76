#pragma once

#include "PagePainter.h"
#include "ReportDefinition.h"
#include "ReportPages.h"
#include "ReportParams.h"
#include "ReportPlan.h"
#include "ReportProgress.h"
#include "ReportTable.h"

#include <QDateTime>
#include <QSizeF>

#include <memory>

class QPainter;

namespace fai {

// One run of a report, ready to be shown, printed or written: its definition, its rows, the
// moment it was printed and its pages laid out. Pages are painted when asked for; nothing of
// a page is kept once painted.
class ReportDocument {
  public:
    ReportDocument(ReportDefinition definition, ReportTable table, QDateTime printedAt,
                   ReportProgress& progress);
    ReportDocument(const ReportDocument&) = delete;
    ReportDocument& operator=(const ReportDocument&) = delete;

    const ReportDefinition& Definition() const { return definition_; }
    const ReportTable& Table() const { return table_; }
    const QString& Title() const { return definition_.title; }
    int PageCount() const { return pages_.Count(); }
    QSizeF PageMillimetres() const { return PaperMillimetres(definition_.page); }
    const ReportPages& Pages() const { return pages_; }

    // Paints the page (from 0) with the painter's origin at the page's top-left corner and
    // `dotsPerMillimetre` device units to the millimetre.
    void PaintPage(QPainter& painter, int page, double dotsPerMillimetre) const;

  private:
    ReportDefinition definition_;
    ReportTable table_;
    QDateTime printedAt_;
    std::unique_ptr<ReportPlan> plan_;
    ReportPages pages_;
    PagePainter painter_;
};

// A run from the definition: the screen's event sets the parameters (ParamByName,
// ExistParam), the query runs on the shared database, the pages are laid out. Throws EError:
// a parameter the report does not declare (EParamNotFound) or left without a value, a
// database error, "Nenhum registro encontrado para os parâmetros informados." when the query
// returns nothing; EAbort when the user cancels through `progress`.
std::unique_ptr<ReportDocument> RunReport(const ReportDefinition& definition,
                                          const QueryParamsEvent& beforeGetQueryParams,
                                          ReportProgress& progress);

// What the user reads when the parameters select nothing.
QString NoRowsMessage();

}  // namespace fai
