#include "ReportPreview.h"

#include "DialogService.h"
#include "EventGuard.h"
#include "ReportOutput.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtMath>

#include <array>

namespace fai {
namespace {

// The grey around the page, in screen pixels.
constexpr int kMargin = 12;
constexpr std::array<int, 8> kPercents{50, 75, 100, 125, 150, 200, 300, 400};

QToolButton* MakeButton(QWidget* parent, const char* name, const QString& text,
                        const QString& hint) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(text);
    button->setToolTip(hint);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

}  // namespace

// The page on screen: painted from the document each time it is shown, nothing kept.
class PageView : public QWidget {
  public:
    explicit PageView(const ReportPreview& preview) : preview_(preview) {
        setObjectName(QStringLiteral("pnlPagina"));
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    void Resize() {
        const QSizeF page = preview_.Document().PageMillimetres() * preview_.Scale();
        resize(qCeil(page.width()) + 2 * kMargin, qCeil(page.height()) + 2 * kMargin);
    }

  protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        painter.setClipRect(event->rect());
        painter.fillRect(rect(), palette().color(QPalette::Dark));
        const QSizeF size = preview_.Document().PageMillimetres() * preview_.Scale();
        const QRectF page(kMargin, kMargin, size.width(), size.height());
        painter.fillRect(page.translated(3, 3), QColor(0, 0, 0, 60));
        painter.fillRect(page, Qt::white);
        painter.translate(page.topLeft());
        preview_.Document().PaintPage(painter, preview_.CurrentPage(), preview_.Scale());
    }

  private:
    const ReportPreview& preview_;
};

ReportPreview::ReportPreview(std::unique_ptr<ReportDocument> document, QWidget* parent)
    : QDialog(parent), document_(std::move(document)), scroll_(new QScrollArea(this)) {
    setObjectName(QStringLiteral("frmVisualizar"));
    setWindowTitle(QStringLiteral("Visualizar: %1").arg(document_->Title()));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    view_ = new PageView(*this);
    scroll_->setObjectName(QStringLiteral("scrPagina"));
    scroll_->setWidget(view_);
    scroll_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    scroll_->setBackgroundRole(QPalette::Dark);
    // A scroll bar that came and went with the page's height would change the width that
    // "fit width" fits to.
    scroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("panFerramentas"));
    BuildToolBar(bar);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(scroll_, 1);

    const auto key = [this](int key, auto action) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    key(Qt::Key_PageUp, [this] { ShowPage(page_ - 1); });
    key(Qt::Key_PageDown, [this] { ShowPage(page_ + 1); });
    key(Qt::Key_Home, [this] { ShowPage(0); });
    key(Qt::Key_End, [this] { ShowPage(document_->PageCount() - 1); });
    resize(900, 1000);
    Refresh();
}

ReportPreview::~ReportPreview() = default;

void ReportPreview::BuildToolBar(QWidget* bar) {
    auto* tools = new QHBoxLayout(bar);
    tools->setContentsMargins(4, 4, 4, 4);
    btnPrimeira_ = MakeButton(bar, "btnPrimeira", QStringLiteral("|◀"),
                              QStringLiteral("Primeira página (Home)"));
    btnAnterior_ = MakeButton(bar, "btnAnterior", QStringLiteral("◀"),
                              QStringLiteral("Página anterior (Page Up)"));
    lblPagina_ = new QLabel(bar);
    lblPagina_->setObjectName(QStringLiteral("lblPagina"));
    btnProxima_ = MakeButton(bar, "btnProxima", QStringLiteral("▶"),
                             QStringLiteral("Próxima página (Page Down)"));
    btnUltima_ =
        MakeButton(bar, "btnUltima", QStringLiteral("▶|"), QStringLiteral("Última página (End)"));
    cbbZoom_ = new QComboBox(bar);
    cbbZoom_->setObjectName(QStringLiteral("cbbZoom"));
    cbbZoom_->setFocusPolicy(Qt::NoFocus);
    cbbZoom_->addItem(QStringLiteral("Largura da página"));
    cbbZoom_->addItem(QStringLiteral("Página inteira"));
    for (int percent : kPercents) cbbZoom_->addItem(QStringLiteral("%1%").arg(percent));
    auto* print = MakeButton(bar, "btnImprimir", QStringLiteral("Imprimir"),
                             QStringLiteral("Imprimir o relatório"));
    auto* pdf = MakeButton(bar, "btnExportarPdf", QStringLiteral("PDF"),
                           QStringLiteral("Exportar o relatório para PDF"));
    auto* close = MakeButton(bar, "btnFechar", QStringLiteral("Fechar"),
                             QStringLiteral("Fechar a visualização (Esc)"));
    for (QWidget* widget : std::initializer_list<QWidget*>{btnPrimeira_, btnAnterior_, lblPagina_,
                                                           btnProxima_, btnUltima_, cbbZoom_})
        tools->addWidget(widget);
    tools->addStretch(1);
    for (QWidget* widget : {print, pdf, close}) tools->addWidget(widget);

    connect(btnPrimeira_, &QToolButton::clicked, this, [this] { ShowPage(0); });
    connect(btnAnterior_, &QToolButton::clicked, this, [this] { ShowPage(page_ - 1); });
    connect(btnProxima_, &QToolButton::clicked, this, [this] { ShowPage(page_ + 1); });
    connect(btnUltima_, &QToolButton::clicked, this,
            [this] { ShowPage(document_->PageCount() - 1); });
    connect(cbbZoom_, &QComboBox::activated, this, &ReportPreview::ZoomChosen);
    connect(print, &QToolButton::clicked, this,
            [this] { GuardEvent([this] { PrintWithDialog(*document_, this); }); });
    connect(pdf, &QToolButton::clicked, this,
            [this] { GuardEvent([this] { ExportPdfWithDialog(*document_, this); }); });
    connect(close, &QToolButton::clicked, this, &QDialog::reject);
}

void ReportPreview::ZoomChosen(int index) {
    if (index == 0)
        SetZoom(Fit::Width);
    else if (index == 1)
        SetZoom(Fit::Page);
    else
        SetZoom(Fit::None, kPercents[std::size_t(index - 2)]);
}

void ReportPreview::SetZoom(Fit fit, int percent) {
    fit_ = fit;
    percent_ = std::clamp(percent, kPercents.front(), kPercents.back());
    int index = fit == Fit::Width ? 0 : 1;
    if (fit == Fit::None) {
        const auto found = std::find(kPercents.begin(), kPercents.end(), percent_);
        index = found == kPercents.end() ? -1 : int(found - kPercents.begin()) + 2;
    }
    cbbZoom_->setCurrentIndex(index);
    ApplyZoom();
}

void ReportPreview::ApplyZoom() {
    const QSizeF page = document_->PageMillimetres();
    const QSize room = scroll_->viewport()->size() - QSize(2 * kMargin, 2 * kMargin);
    const double actualSize = logicalDpiX() / 25.4;
    const double fitWidth = std::max(1, room.width()) / page.width();
    switch (fit_) {
        case Fit::Width:
            scale_ = fitWidth;
            break;
        case Fit::Page:
            scale_ = std::min(fitWidth, std::max(1, room.height()) / page.height());
            break;
        case Fit::None:
            scale_ = actualSize * percent_ / 100.0;
            break;
    }
    view_->Resize();
    view_->update();
}

void ReportPreview::ShowPage(int page) {
    page = std::clamp(page, 0, document_->PageCount() - 1);
    if (page == page_) return;
    page_ = page;
    Refresh();
    scroll_->verticalScrollBar()->setValue(0);
}

void ReportPreview::Refresh() {
    const int last = document_->PageCount() - 1;
    lblPagina_->setText(QStringLiteral("Página %1 de %2").arg(page_ + 1).arg(last + 1));
    btnPrimeira_->setEnabled(page_ > 0);
    btnAnterior_->setEnabled(page_ > 0);
    btnProxima_->setEnabled(page_ < last);
    btnUltima_->setEnabled(page_ < last);
    view_->update();
}

void ReportPreview::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (fit_ != Fit::None) ApplyZoom();
}

void ReportPreview::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ApplyZoom();
}

void ShowPreview(std::unique_ptr<ReportDocument> document, QWidget* parent) {
    ReportPreview preview(std::move(document), parent);
    DialogService::Instance().ExecModal(preview);
}

}  // namespace fai
