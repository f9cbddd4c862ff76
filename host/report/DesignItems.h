#pragma once

#include "DesignLayout.h"
#include "ReportDefinition.h"
#include "ReportValidation.h"

#include <QGraphicsItem>
#include <QImage>

namespace fai {

// The grab handles of a selected element, clockwise from its top-left corner.
enum class Handle { None, TopLeft, Top, TopRight, Right, BottomRight, Bottom, BottomLeft, Left };

// A band on the designer's sheet: its caption strip, and its area with the grid. Scene
// coordinates are millimetres.
class BandItem : public QGraphicsItem {
  public:
    enum { Type = UserType + 1 };

    BandItem(DesignBand band, double gridStep);

    int type() const override { return Type; }
    const DesignBand& Band() const { return band_; }
    void SetSelected(bool selected);
    void SetGridStep(double step);

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

  private:
    void PaintGrid(QPainter* painter, double pixelsPerMillimetre) const;

    DesignBand band_;
    double gridStep_;
    bool selected_ = false;
};

// An element as it will print (a field shows its column's name, an aggregate what it
// computes), placed at its box in its band. While the mouse drags it, the item moves and
// resizes on its own; the definition changes when the mouse lets go.
class ElementItem : public QGraphicsItem {
  public:
    enum { Type = UserType + 2 };

    ElementItem(const ReportElement& element, const ReportPlace& place, QPointF bandOrigin);

    int type() const override { return Type; }
    const ReportPlace& Place() const { return place_; }
    const ReportElement& Element() const { return element_; }
    // The element's box on the sheet, as it is shown now.
    QRectF SceneBox() const { return QRectF(pos(), size_); }
    void SetSceneBox(const QRectF& box);

    // Selected elements are outlined; the handles show when it is the only one.
    void SetSelected(bool selected, bool handles);
    // How large the handles are drawn and grabbed, in millimetres at the current zoom.
    void SetHandleSize(double millimetres);
    // The handle at the point of the sheet, when the handles show.
    Handle HandleAt(const QPointF& point) const;
    // Whether the point of the sheet is on the element; a thin line is caught near it.
    bool Hits(const QPointF& point) const;

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

  private:
    QRectF HandleRect(Handle handle) const;
    void PaintContent(QPainter* painter) const;

    ReportElement element_;
    ReportPlace place_;
    QSizeF size_;
    QImage image_;
    bool selected_ = false;
    bool handles_ = false;
    double handleSize_ = 1.5;
};

// What a text-bearing element shows in the designer: its text, "[CAMPO]" for a field,
// "[soma de CAMPO]" for an aggregate.
QString DesignText(const ReportElement& element);

}  // namespace fai
