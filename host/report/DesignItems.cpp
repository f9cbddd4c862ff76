#include "DesignItems.h"

#include "DesignProperties.h"
#include "ReportPlan.h"

#include <QPainter>
#include <QStyleOptionGraphicsItem>

#include <array>

namespace fai {
namespace {

// Grid points closer than this on screen would be a grey blur: the grid then shows every
// fifth line, and so on.
constexpr double kFinestGridPixels = 4;
// A line has no area: the mouse catches it this near, in millimetres.
constexpr double kLineReach = 1;
constexpr double kCaptionFontMillimetres = 3;

const QColor kCaptionColor(226, 230, 236);
const QColor kSelectedCaptionColor(190, 214, 245);
const QColor kGridColor(170, 178, 190);
const QColor kSelectionColor(30, 110, 220);
const QColor kDataTint(235, 244, 255);

constexpr std::array<Handle, 8> kHandles{Handle::TopLeft,    Handle::Top,         Handle::TopRight,
                                         Handle::Right,      Handle::BottomRight, Handle::Bottom,
                                         Handle::BottomLeft, Handle::Left};

double PixelsPerMillimetre(const QPainter* painter) {
    return QStyleOptionGraphicsItem::levelOfDetailFromTransform(painter->worldTransform());
}

QPen Cosmetic(const QColor& color, Qt::PenStyle style = Qt::SolidLine) {
    QPen pen(color, 0, style);
    pen.setCosmetic(true);
    return pen;
}

}  // namespace

QString DesignText(const ReportElement& element) {
    switch (element.kind) {
        case ElementKind::Field:
            return QStringLiteral("[%1]").arg(element.field);
        case ElementKind::Aggregate: {
            QString text = AggregateFunctionWord(element.function);
            if (!element.field.isEmpty()) text += QStringLiteral(" de ") + element.field;
            return QStringLiteral("[%1]").arg(text);
        }
        default:
            return element.text;
    }
}

BandItem::BandItem(DesignBand band, double gridStep)
    : band_(std::move(band)), gridStep_(gridStep) {}

void BandItem::SetSelected(bool selected) {
    if (selected == selected_) return;
    selected_ = selected;
    update();
}

void BandItem::SetGridStep(double step) {
    gridStep_ = step;
    update();
}

QRectF BandItem::boundingRect() const { return band_.caption.united(band_.area); }

void BandItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    painter->fillRect(band_.caption, selected_ ? kSelectedCaptionColor : kCaptionColor);
    painter->save();
    // Fonts take whole pixel sizes: the caption's is set in tenths of a millimetre.
    painter->translate(band_.caption.topLeft());
    painter->scale(0.1, 0.1);
    QFont font;
    font.setPixelSize(int(kCaptionFontMillimetres * 10));
    painter->setFont(font);
    painter->setPen(Qt::black);
    const QRectF caption(10, 0, band_.caption.width() * 10 - 20, band_.caption.height() * 10);
    painter->drawText(caption, Qt::AlignLeft | Qt::AlignVCenter, band_.name);
    painter->restore();
    PaintGrid(painter, PixelsPerMillimetre(painter));
    painter->setPen(Cosmetic(kGridColor, Qt::DashLine));
    painter->drawLine(band_.area.bottomLeft(), band_.area.bottomRight());
}

void BandItem::PaintGrid(QPainter* painter, double pixelsPerMillimetre) const {
    if (gridStep_ <= 0 || band_.area.height() <= 0) return;
    double step = gridStep_;
    while (step * pixelsPerMillimetre < kFinestGridPixels) step *= 5;
    QPolygonF points;
    for (double y = 0; y <= band_.area.height() + 1e-6; y += step) {
        for (double x = 0; x <= band_.area.width() + 1e-6; x += step)
            points << band_.area.topLeft() + QPointF(x, y);
    }
    painter->setPen(Cosmetic(kGridColor));
    painter->drawPoints(points);
}

ElementItem::ElementItem(const ReportElement& element, const ReportPlace& place, QPointF bandOrigin)
    : element_(element), place_(place), size_(element.box.size()) {
    setPos(bandOrigin + element.box.topLeft());
    if (element.kind == ElementKind::Image) image_ = QImage::fromData(element.image);
}

void ElementItem::SetSceneBox(const QRectF& box) {
    prepareGeometryChange();
    setPos(box.topLeft());
    size_ = box.size();
}

void ElementItem::SetSelected(bool selected, bool handles) {
    if (selected == selected_ && handles == handles_) return;
    selected_ = selected;
    handles_ = selected && handles;
    update();
}

void ElementItem::SetHandleSize(double millimetres) {
    prepareGeometryChange();
    handleSize_ = millimetres;
}

QRectF ElementItem::HandleRect(Handle handle) const {
    const double w = size_.width();
    const double h = size_.height();
    QPointF centre;
    switch (handle) {
        case Handle::TopLeft:
            centre = {0, 0};
            break;
        case Handle::Top:
            centre = {w / 2, 0};
            break;
        case Handle::TopRight:
            centre = {w, 0};
            break;
        case Handle::Right:
            centre = {w, h / 2};
            break;
        case Handle::BottomRight:
            centre = {w, h};
            break;
        case Handle::Bottom:
            centre = {w / 2, h};
            break;
        case Handle::BottomLeft:
            centre = {0, h};
            break;
        case Handle::Left:
            centre = {0, h / 2};
            break;
        case Handle::None:
            return {};
    }
    QRectF rect(0, 0, handleSize_, handleSize_);
    rect.moveCenter(centre);
    return rect;
}

Handle ElementItem::HandleAt(const QPointF& point) const {
    if (!handles_) return Handle::None;
    const QPointF local = mapFromScene(point);
    for (Handle handle : kHandles) {
        if (HandleRect(handle).contains(local)) return handle;
    }
    return Handle::None;
}

bool ElementItem::Hits(const QPointF& point) const {
    QRectF box(QPointF(), size_);
    if (box.width() < kLineReach) box.adjust(-kLineReach / 2, 0, kLineReach / 2, 0);
    if (box.height() < kLineReach) box.adjust(0, -kLineReach / 2, 0, kLineReach / 2);
    return box.contains(mapFromScene(point));
}

QRectF ElementItem::boundingRect() const {
    const double margin = std::max(handleSize_, kLineReach);
    return QRectF(QPointF(), size_).adjusted(-margin, -margin, margin, margin);
}

void ElementItem::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setRenderHint(QPainter::TextAntialiasing);
    const QRectF box(QPointF(), size_);
    const bool data =
        element_.kind == ElementKind::Field || element_.kind == ElementKind::Aggregate;
    if (data) painter->fillRect(box, kDataTint);
    PaintContent(painter);
    if (selected_) {
        painter->setPen(Cosmetic(kSelectionColor, Qt::DashLine));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(box);
    } else if (element_.kind != ElementKind::Line && element_.kind != ElementKind::Rectangle) {
        painter->setPen(Cosmetic(kGridColor, Qt::DotLine));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(box);
    }
    if (!handles_) return;
    painter->setPen(Cosmetic(Qt::white));
    painter->setBrush(kSelectionColor);
    for (Handle handle : kHandles) painter->drawRect(HandleRect(handle));
}

void ElementItem::PaintContent(QPainter* painter) const {
    // In the engine's layout units, so that a text takes here the room it takes on paper.
    painter->save();
    painter->scale(1 / kUnitsPerMillimetre, 1 / kUnitsPerMillimetre);
    const QRectF box(0, 0, Units(size_.width()), Units(size_.height()));
    switch (element_.kind) {
        case ElementKind::Line:
        case ElementKind::Rectangle: {
            const double width = Units(element_.penWidth);
            painter->setPen(width > 0 ? QPen(element_.color, width)
                                      : Cosmetic(element_.color, Qt::DotLine));
            if (element_.kind == ElementKind::Line) {
                painter->drawLine(box.topLeft(), box.bottomRight());
            } else {
                painter->setBrush(element_.fill.isValid() ? QBrush(element_.fill) : QBrush());
                painter->drawRect(box);
            }
            break;
        }
        case ElementKind::Image: {
            if (image_.isNull()) break;
            QRectF target = box;
            if (element_.keepAspect) {
                target.setSize(QSizeF(image_.size()).scaled(box.size(), Qt::KeepAspectRatio));
                target.moveCenter(box.center());
            }
            painter->drawImage(target, image_);
            break;
        }
        default: {
            const QFont font = FontOf(element_.font);
            const QString text = DesignText(element_);
            int flags = Alignment(element_);
            // A name wider than its box shows its start, which says what it is.
            if (QFontMetricsF(font).horizontalAdvance(text) > box.width())
                flags = (flags & ~Qt::AlignHorizontal_Mask) | Qt::AlignLeft;
            painter->setClipRect(box, Qt::IntersectClip);
            painter->setFont(font);
            painter->setPen(element_.color);
            painter->drawText(box, flags, text);
            break;
        }
    }
    painter->restore();
}

}  // namespace fai
