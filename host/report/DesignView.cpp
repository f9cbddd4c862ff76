#include "DesignView.h"

#include "DesignScene.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

namespace fai {
namespace {

// The grey around the sheet when it fits the width, in pixels.
constexpr int kFitMargin = 16;

}  // namespace

DesignView::DesignView(DesignScene* scene, QWidget* parent)
    : QGraphicsView(scene, parent), scene_(scene) {
    setObjectName(QStringLiteral("gvwPagina"));
    setBackgroundBrush(palette().color(QPalette::Dark));
    setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    setFocusPolicy(Qt::StrongFocus);
    setAcceptDrops(true);
    setDragMode(QGraphicsView::NoDrag);
    setMouseTracking(true);
    // The scroll bar that comes and goes with the sheet's height would change the width that
    // "fit width" fits to.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Another paper or orientation makes another width to fit.
    connect(scene, &DesignScene::Rebuilt, this, [this] {
        if (percent_ == kFitWidth) ApplyZoom();
    });
    ApplyZoom();
}

const std::vector<int>& DesignView::Zooms() {
    static const std::vector<int> zooms{50, 75, 100, 125, 150, 200, 300, 400};
    return zooms;
}

void DesignView::SetZoom(int percent) {
    percent_ =
        percent == kFitWidth ? kFitWidth : std::clamp(percent, Zooms().front(), Zooms().back());
    ApplyZoom();
    emit ZoomChanged(percent_);
}

void DesignView::StepZoom(int direction) {
    const int now = qRound(scale_ * 25.4 / logicalDpiX() * 100);
    const std::vector<int>& zooms = Zooms();
    int chosen = direction > 0 ? zooms.back() : zooms.front();
    if (direction > 0) {
        const auto next = std::upper_bound(zooms.begin(), zooms.end(), now);
        if (next != zooms.end()) chosen = *next;
    } else {
        const auto next = std::lower_bound(zooms.begin(), zooms.end(), now);
        if (next != zooms.begin()) chosen = *std::prev(next);
    }
    SetZoom(chosen);
}

void DesignView::ApplyZoom() {
    const double sheetWidth = scene_->Layout().Sheet().width();
    if (percent_ == kFitWidth)
        scale_ = std::max(1, viewport()->width() - 2 * kFitMargin) / sheetWidth;
    else
        scale_ = logicalDpiX() / 25.4 * percent_ / 100.0;
    setTransform(QTransform::fromScale(scale_, scale_));
    scene_->SetPixelsPerMillimetre(scale_);
}

void DesignView::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QGraphicsView::wheelEvent(event);
        return;
    }
    if (event->angleDelta().y() != 0) StepZoom(event->angleDelta().y() > 0 ? 1 : -1);
    event->accept();
}

void DesignView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::ZoomIn)) {
        StepZoom(1);
    } else if (event->matches(QKeySequence::ZoomOut)) {
        StepZoom(-1);
    } else {
        QGraphicsView::keyPressEvent(event);
    }
}

void DesignView::resizeEvent(QResizeEvent* event) {
    QGraphicsView::resizeEvent(event);
    if (percent_ == kFitWidth) ApplyZoom();
}

}  // namespace fai
