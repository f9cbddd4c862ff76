#include "DesignView.h"

#include "DesignScene.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

namespace fai {

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
    if (percent_ == kFitWidth)
        scale_ = std::max(1, viewport()->width() - 2) / scene_->sceneRect().width();
    else
        scale_ = logicalDpiX() / 25.4 * percent_ / 100.0;
    // What was at the window's top-left corner stays there.
    const QPointF corner = mapToScene(QPoint(0, 0));
    setTransform(QTransform::fromScale(scale_, scale_));
    const QPoint moved = mapFromScene(corner);
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() + moved.x());
    verticalScrollBar()->setValue(verticalScrollBar()->value() + moved.y());
    scene_->SetPixelsPerMillimetre(scale_);
}

void DesignView::showEvent(QShowEvent* event) {
    QGraphicsView::showEvent(event);
    if (placed_) return;
    placed_ = true;
    verticalScrollBar()->setValue(verticalScrollBar()->minimum());
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
