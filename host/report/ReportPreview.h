#pragma once

#include "ReportDocument.h"

#include <QDialog>

#include <memory>

class QComboBox;
class QLabel;
class QScrollArea;
class QToolButton;

namespace fai {

class PageView;

// The preview of a report ("frmVisualizar"): one page at a time, painted when it is shown
// and never kept, so that a report of any length opens on its first page at once and the
// window's memory does not grow with the number of pages. Zoom (cbbZoom): fit width, fit
// page, 50 to 400 %. Navigation: btnPrimeira, btnAnterior, btnProxima, btnUltima and
// PgUp, PgDn, Home, End; lblPagina says "Página 3 de 12". btnImprimir prints (the system's
// print dialog), btnExportarPdf writes a PDF, btnFechar and Esc close.
class ReportPreview : public QDialog {
    Q_OBJECT
  public:
    enum class Fit { None, Width, Page };

    ReportPreview(std::unique_ptr<ReportDocument> document, QWidget* parent = nullptr);
    ~ReportPreview() override;

    const ReportDocument& Document() const { return *document_; }
    int CurrentPage() const { return page_; }  // from 0
    void ShowPage(int page);
    // Device pixels per millimetre of the page at the current zoom.
    double Scale() const { return scale_; }
    void SetZoom(Fit fit, int percent = 100);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void BuildToolBar(QWidget* bar);
    void ApplyZoom();
    void Refresh();
    void ZoomChosen(int index);

    std::unique_ptr<ReportDocument> document_;
    int page_ = 0;
    Fit fit_ = Fit::Width;
    int percent_ = 100;
    double scale_ = 1;
    QScrollArea* scroll_;
    PageView* view_;
    QComboBox* cbbZoom_ = nullptr;
    QLabel* lblPagina_ = nullptr;
    QToolButton* btnPrimeira_ = nullptr;
    QToolButton* btnAnterior_ = nullptr;
    QToolButton* btnProxima_ = nullptr;
    QToolButton* btnUltima_ = nullptr;
};

// Shows the document in the preview, modally, through the dialog service.
void ShowPreview(std::unique_ptr<ReportDocument> document, QWidget* parent);

}  // namespace fai
