#pragma once

#include "DesignItems.h"
#include "DesignLayout.h"
#include "ReportDesign.h"

#include <QGraphicsScene>

#include <map>
#include <memory>
#include <vector>

class QGraphicsRectItem;
class QGraphicsLineItem;

namespace fai {

// The designer's sheet: the paper with its bands to scale and their elements, in millimetres,
// drawn from the design and drawn again whenever it changes. The mouse selects (a click, Ctrl
// and a click to add or take away, a rectangle drawn over empty space), moves the selected
// elements (into another band too), resizes one by its handles and a band by its foot; the
// arrows move the selection and Shift with the arrows resizes it; Ctrl+A selects every
// element. With the grid on, what the mouse and the arrows place lands on its lines; with it
// off, the mouse places freely and the arrows move a tenth of a millimetre. A field of the
// query dropped on a band becomes a field element there. Each change is one step of undo.
class DesignScene : public QGraphicsScene {
    Q_OBJECT
  public:
    explicit DesignScene(ReportDesign& design, QObject* parent = nullptr);
    ~DesignScene() override;

    void SetGridStep(double millimetres);
    bool SnapsToGrid() const { return snaps_; }
    void SetSnapsToGrid(bool snaps) { snaps_ = snaps; }
    // The views' zoom, so that handles keep their size on screen.
    void SetPixelsPerMillimetre(double pixels);

    const DesignLayout& Layout() const { return *layout_; }
    // The item of an element; null when there is none.
    ElementItem* ItemOf(const ReportPlace& element) const;

  signals:
    // Drawn again from the design.
    void Rebuilt();
    // The user double-clicked an element: its text is what they want to edit.
    void EditRequested();

  protected:
    void mousePressEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseMoveEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseReleaseEvent(QGraphicsSceneMouseEvent* event) override;
    void mouseDoubleClickEvent(QGraphicsSceneMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QGraphicsSceneDragDropEvent* event) override;
    void dragMoveEvent(QGraphicsSceneDragDropEvent* event) override;
    void dropEvent(QGraphicsSceneDragDropEvent* event) override;

  private:
    enum class Drag { None, Move, Resize, BandHeight, Rubber };

    void Rebuild();
    void ShowSelection();
    ElementItem* ElementItemAt(const QPointF& point) const;
    ElementItem* SingleSelected() const;
    const DesignBand* BandFootAt(const QPointF& point) const;
    void UpdateCursor(const QPointF& point);
    double Snap(double length) const;

    void StartMove(ElementItem* anchor, const QPointF& point);
    void DragMove(const QPointF& point);
    void DragResize(const QPointF& point);
    void DragBandHeight(const QPointF& point);
    void DragRubber(const QPointF& point);

    void MoveByKey(int dx, int dy);
    void ResizeByKey(int dx, int dy);
    void Apply(const QString& text, const DesignEdit& edit);

    ReportDesign& design_;
    std::unique_ptr<DesignLayout> layout_;
    double gridStep_ = 1;
    bool snaps_ = true;
    double pixelsPerMillimetre_ = 4;
    int rebuilds_ = 0;
    std::vector<BandItem*> bands_;
    std::map<ReportPlace, ElementItem*> elements_;

    // The drag under way.
    Drag drag_ = Drag::None;
    QPointF pressed_;
    bool adding_ = false;         // Ctrl or Shift held: the selection grows
    bool narrowOnClick_ = false;  // a click without a move selects that element alone
    ReportPlace anchor_;          // the element the mouse holds
    std::map<ReportPlace, QPointF> startPositions_;
    QPointF moveDelta_;
    QRectF startBox_;
    Handle handle_ = Handle::None;
    ReportPlace dragBand_;
    double dragHeight_ = 0;
    QGraphicsRectItem* rubber_ = nullptr;
    QGraphicsLineItem* guide_ = nullptr;
};

}  // namespace fai
