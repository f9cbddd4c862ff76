#include "DesignScene.h"

#include "EventGuard.h"
#include "FieldList.h"

#include <QGraphicsLineItem>
#include <QGraphicsRectItem>
#include <QGraphicsSceneDragDropEvent>
#include <QGraphicsSceneMouseEvent>
#include <QGraphicsView>
#include <QKeyEvent>
#include <QMimeData>

#include <algorithm>

namespace fai {
namespace {

// Sizes on screen, in pixels: the handles, and how near the mouse must be to a band's foot.
constexpr double kHandlePixels = 7;
constexpr double kFootReachPixels = 3;
// The arrows' step with the grid off, and the least an element can be made (a line, none).
constexpr double kNudge = 0.1;
constexpr double kLeastSize = 1;

bool MovesLeft(Handle h) {
    return h == Handle::TopLeft || h == Handle::Left || h == Handle::BottomLeft;
}
bool MovesRight(Handle h) {
    return h == Handle::TopRight || h == Handle::Right || h == Handle::BottomRight;
}
bool MovesTop(Handle h) {
    return h == Handle::TopLeft || h == Handle::Top || h == Handle::TopRight;
}
bool MovesBottom(Handle h) {
    return h == Handle::BottomLeft || h == Handle::Bottom || h == Handle::BottomRight;
}

Qt::CursorShape CursorOf(Handle handle) {
    switch (handle) {
        case Handle::TopLeft:
        case Handle::BottomRight:
            return Qt::SizeFDiagCursor;
        case Handle::TopRight:
        case Handle::BottomLeft:
            return Qt::SizeBDiagCursor;
        case Handle::Top:
        case Handle::Bottom:
            return Qt::SizeVerCursor;
        case Handle::Left:
        case Handle::Right:
            return Qt::SizeHorCursor;
        case Handle::None:
            break;
    }
    return Qt::ArrowCursor;
}

double LeastSize(const ReportElement& element) {
    return element.kind == ElementKind::Line ? 0 : kLeastSize;
}

bool IsElementSelection(const DesignSelection& selection) {
    return !selection.empty() && selection.front().part == ReportPlace::Part::Element;
}

double BodyHeight(const PageSetup& page) {
    return PaperMillimetres(page).height() - page.topMargin - page.bottomMargin;
}

}  // namespace

DesignScene::DesignScene(ReportDesign& design, QObject* parent)
    : QGraphicsScene(parent), design_(design) {
    connect(&design_, &ReportDesign::DefinitionChanged, this, &DesignScene::Rebuild);
    connect(&design_, &ReportDesign::SelectionChanged, this, &DesignScene::ShowSelection);
    Rebuild();
}

DesignScene::~DesignScene() = default;

void DesignScene::SetGridStep(double millimetres) {
    gridStep_ = millimetres;
    for (BandItem* band : bands_) band->SetGridStep(millimetres);
}

void DesignScene::SetPixelsPerMillimetre(double pixels) {
    pixelsPerMillimetre_ = pixels;
    for (const auto& [place, item] : elements_) item->SetHandleSize(kHandlePixels / pixels);
}

ElementItem* DesignScene::ItemOf(const ReportPlace& element) const {
    const auto found = elements_.find(element);
    return found == elements_.end() ? nullptr : found->second;
}

void DesignScene::Rebuild() {
    ++rebuilds_;
    drag_ = Drag::None;
    rubber_ = nullptr;
    guide_ = nullptr;
    clear();
    bands_.clear();
    elements_.clear();
    const ReportDefinition& definition = design_.Definition();
    layout_ = std::make_unique<DesignLayout>(definition);
    const QRectF sheet = layout_->Sheet();
    addRect(sheet.translated(1, 1), QPen(Qt::NoPen), QColor(0, 0, 0, 60))->setZValue(-3);
    addRect(sheet, QPen(Qt::NoPen), Qt::white)->setZValue(-2);
    for (const DesignBand& band : layout_->Bands()) {
        auto* bandItem = new BandItem(band, gridStep_);
        addItem(bandItem);
        bands_.push_back(bandItem);
        const ReportBand& source = *BandAt(definition, band.place.band, band.place.group);
        for (int i = 0; i < int(source.elements.size()); ++i) {
            const ReportPlace place = ElementPlace(band.place, i);
            auto* item =
                new ElementItem(source.elements[std::size_t(i)], place, band.area.topLeft());
            item->setZValue(1);
            item->SetHandleSize(kHandlePixels / pixelsPerMillimetre_);
            addItem(item);
            elements_[place] = item;
        }
    }
    setSceneRect(sheet.adjusted(-10, -10, 10, 10));
    ShowSelection();
    emit Rebuilt();
}

void DesignScene::ShowSelection() {
    const DesignSelection& selection = design_.Selection();
    const bool single = selection.size() == 1;
    for (const auto& [place, item] : elements_)
        item->SetSelected(std::find(selection.begin(), selection.end(), place) != selection.end(),
                          single);
    const bool band = single && selection.front().part == ReportPlace::Part::Band;
    for (BandItem* item : bands_)
        item->SetSelected(band && item->Band().place == selection.front());
}

ElementItem* DesignScene::ElementItemAt(const QPointF& point) const {
    for (QGraphicsItem* item : items(point)) {
        auto* element = qgraphicsitem_cast<ElementItem*>(item);
        if (element && element->Hits(point)) return element;
    }
    return nullptr;
}

ElementItem* DesignScene::SingleSelected() const {
    const DesignSelection& selection = design_.Selection();
    return selection.size() == 1 ? ItemOf(selection.front()) : nullptr;
}

const DesignBand* DesignScene::BandFootAt(const QPointF& point) const {
    const double reach = kFootReachPixels / pixelsPerMillimetre_;
    for (const DesignBand& band : layout_->Bands()) {
        if (std::abs(point.y() - band.area.bottom()) <= reach && point.x() >= band.area.left() &&
            point.x() <= band.area.right())
            return &band;
    }
    return nullptr;
}

double DesignScene::Snap(double length) const { return SnapToGrid(length, snaps_ ? gridStep_ : 0); }

void DesignScene::UpdateCursor(const QPointF& point) {
    Qt::CursorShape shape = Qt::ArrowCursor;
    const ElementItem* single = SingleSelected();
    const Handle handle = single ? single->HandleAt(point) : Handle::None;
    if (handle != Handle::None)
        shape = CursorOf(handle);
    else if (ElementItemAt(point))
        shape = Qt::SizeAllCursor;
    else if (BandFootAt(point))
        shape = Qt::SplitVCursor;
    for (QGraphicsView* view : views()) view->viewport()->setCursor(shape);
}

void DesignScene::mousePressEvent(QGraphicsSceneMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    event->accept();
    const QPointF at = event->scenePos();
    pressed_ = at;
    adding_ = event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier);
    if (ElementItem* single = SingleSelected(); single && !adding_) {
        handle_ = single->HandleAt(at);
        if (handle_ != Handle::None) {
            drag_ = Drag::Resize;
            anchor_ = single->Place();
            startBox_ = single->SceneBox();
            return;
        }
    }
    if (ElementItem* item = ElementItemAt(at)) {
        DesignSelection selection =
            IsElementSelection(design_.Selection()) ? design_.Selection() : DesignSelection{};
        const auto found = std::find(selection.begin(), selection.end(), item->Place());
        narrowOnClick_ = false;
        if (adding_ && found != selection.end()) {
            selection.erase(found);
            design_.Select(selection);
            return;
        }
        if (adding_)
            selection.push_back(item->Place());
        else if (found == selection.end())
            selection = {item->Place()};
        else
            narrowOnClick_ = selection.size() > 1;
        design_.Select(selection);
        StartMove(item, at);
        return;
    }
    if (const DesignBand* foot = BandFootAt(at)) {
        drag_ = Drag::BandHeight;
        dragBand_ = foot->place;
        dragHeight_ = foot->area.height();
        design_.Select({foot->place});
        return;
    }
    if (!adding_) {
        const DesignBand* band = layout_->BandAt(at);
        design_.Select(band ? DesignSelection{band->place} : DesignSelection{});
    }
    drag_ = Drag::Rubber;
}

void DesignScene::StartMove(ElementItem* anchor, const QPointF& point) {
    drag_ = Drag::Move;
    pressed_ = point;
    anchor_ = anchor->Place();
    moveDelta_ = QPointF();
    startPositions_.clear();
    for (const ReportPlace& place : design_.Selection()) {
        if (ElementItem* item = ItemOf(place)) startPositions_[place] = item->pos();
    }
}

void DesignScene::mouseMoveEvent(QGraphicsSceneMouseEvent* event) {
    const QPointF at = event->scenePos();
    switch (drag_) {
        case Drag::None:
            UpdateCursor(at);
            break;
        case Drag::Move:
            DragMove(at);
            break;
        case Drag::Resize:
            DragResize(at);
            break;
        case Drag::BandHeight:
            DragBandHeight(at);
            break;
        case Drag::Rubber:
            DragRubber(at);
            break;
    }
}

void DesignScene::DragMove(const QPointF& point) {
    const QPointF start = startPositions_[anchor_];
    QPointF target = start + (point - pressed_);
    // The grid is the band's: the anchor lands on it in the band it is over.
    const DesignBand* band = layout_->BandAtHeight(target.y());
    if (snaps_ && band) {
        const QPointF local = target - band->area.topLeft();
        target = band->area.topLeft() + QPointF(Snap(local.x()), Snap(local.y()));
    }
    moveDelta_ = target - start;
    for (const auto& [place, position] : startPositions_) {
        if (ElementItem* item = ItemOf(place)) item->setPos(position + moveDelta_);
    }
}

void DesignScene::DragResize(const QPointF& point) {
    ElementItem* item = ItemOf(anchor_);
    const DesignBand* band = layout_->Find(anchor_);
    if (!item || !band) return;
    const QPointF origin = band->area.topLeft();
    const QPointF local = point - origin;
    const double x = Snap(local.x());
    const double y = Snap(local.y());
    const double least = LeastSize(item->Element());
    QRectF box = startBox_.translated(-origin);
    if (MovesLeft(handle_)) box.setLeft(std::clamp(x, 0.0, box.right() - least));
    if (MovesRight(handle_))
        box.setRight(
            std::clamp(x, box.left() + least, std::max(box.left() + least, layout_->BodyWidth())));
    if (MovesTop(handle_)) box.setTop(std::clamp(y, 0.0, box.bottom() - least));
    if (MovesBottom(handle_)) box.setBottom(std::max(y, box.top() + least));
    item->SetSceneBox(box.translated(origin));
}

void DesignScene::DragBandHeight(const QPointF& point) {
    const DesignBand* band = layout_->Find(dragBand_);
    if (!band) return;
    const ReportDefinition& definition = design_.Definition();
    const double least = ElementsBottom(*BandAt(definition, dragBand_.band, dragBand_.group));
    dragHeight_ = std::clamp(Snap(point.y() - band->area.top()), least,
                             std::max(least, BodyHeight(definition.page)));
    const double y = band->area.top() + dragHeight_;
    if (!guide_) {
        QPen pen(QColor(30, 110, 220), 0, Qt::DashLine);
        pen.setCosmetic(true);
        guide_ = addLine(QLineF(), pen);
        guide_->setZValue(1000);
    }
    guide_->setLine(band->area.left(), y, band->area.right(), y);
}

void DesignScene::DragRubber(const QPointF& point) {
    if (!rubber_) {
        QPen pen(QColor(30, 110, 220), 0, Qt::DashLine);
        pen.setCosmetic(true);
        rubber_ = addRect(QRectF(), pen, QColor(30, 110, 220, 30));
        rubber_->setZValue(1000);
    }
    rubber_->setRect(QRectF(pressed_, point).normalized());
}

void DesignScene::mouseReleaseEvent(QGraphicsSceneMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const Drag drag = drag_;
    drag_ = Drag::None;
    const ReportDefinition& definition = design_.Definition();
    switch (drag) {
        case Drag::None:
            break;
        case Drag::Move:
            if (!moveDelta_.isNull())
                Apply(QStringLiteral("Mover"), MoveElements(definition, design_.Selection(),
                                                            moveDelta_, MoveScope::AcrossBands));
            else if (narrowOnClick_)
                design_.Select({anchor_});
            break;
        case Drag::Resize: {
            const ElementItem* item = ItemOf(anchor_);
            const DesignBand* band = layout_->Find(anchor_);
            if (!item || !band || item->SceneBox() == startBox_) break;
            Apply(QStringLiteral("Redimensionar"),
                  SetElementBoxes(definition,
                                  {{anchor_, item->SceneBox().translated(-band->area.topLeft())}}));
            break;
        }
        case Drag::BandHeight:
            delete guide_;
            guide_ = nullptr;
            Apply(QStringLiteral("Altura da banda"),
                  SetBandHeight(definition, dragBand_, dragHeight_));
            break;
        case Drag::Rubber: {
            if (!rubber_) break;
            const QRectF area = rubber_->rect();
            delete rubber_;
            rubber_ = nullptr;
            DesignSelection selection = adding_ && IsElementSelection(design_.Selection())
                                            ? design_.Selection()
                                            : DesignSelection{};
            for (const auto& [place, item] : elements_) {
                if (area.intersects(item->SceneBox()) &&
                    std::find(selection.begin(), selection.end(), place) == selection.end())
                    selection.push_back(place);
            }
            if (!selection.empty() || !adding_) design_.Select(selection);
            break;
        }
    }
}

void DesignScene::mouseDoubleClickEvent(QGraphicsSceneMouseEvent* event) {
    if (event->button() == Qt::LeftButton && ElementItemAt(event->scenePos())) {
        emit EditRequested();
        return;
    }
    mousePressEvent(event);
}

void DesignScene::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::SelectAll)) {
        DesignSelection all;
        for (const auto& [place, item] : elements_) all.push_back(place);
        design_.Select(all);
        return;
    }
    int dx = 0;
    int dy = 0;
    switch (event->key()) {
        case Qt::Key_Left:
            dx = -1;
            break;
        case Qt::Key_Right:
            dx = 1;
            break;
        case Qt::Key_Up:
            dy = -1;
            break;
        case Qt::Key_Down:
            dy = 1;
            break;
        default:
            QGraphicsScene::keyPressEvent(event);
            return;
    }
    if (!IsElementSelection(design_.Selection())) {
        event->ignore();
        return;
    }
    if (event->modifiers() & Qt::ShiftModifier)
        ResizeByKey(dx, dy);
    else
        MoveByKey(dx, dy);
}

void DesignScene::MoveByKey(int dx, int dy) {
    const ReportDefinition& definition = design_.Definition();
    const DesignSelection& selection = design_.Selection();
    // The first selected element goes to the next line of the grid; the others go with it.
    const ReportElement* anchor = fai::ElementAt(definition, selection.front());
    if (!anchor) return;
    const auto step = [this](double length, int direction) {
        return direction == 0 ? 0.0
               : snaps_       ? NextGridLine(length, gridStep_, direction) - length
                              : direction * kNudge;
    };
    const QPointF delta(step(anchor->box.x(), dx), step(anchor->box.y(), dy));
    Apply(QStringLiteral("Mover"),
          MoveElements(definition, selection, delta, MoveScope::WithinBand));
}

void DesignScene::ResizeByKey(int dx, int dy) {
    const ReportDefinition& definition = design_.Definition();
    std::vector<std::pair<ReportPlace, QRectF>> boxes;
    for (const ReportPlace& place : design_.Selection()) {
        const ReportElement* element = fai::ElementAt(definition, place);
        if (!element) continue;
        QRectF box = element->box;
        const double least = LeastSize(*element);
        const auto edge = [this](double length, int direction) {
            return snaps_ ? NextGridLine(length, gridStep_, direction)
                          : RoundMillimetres(length + direction * kNudge);
        };
        if (dx) box.setRight(std::max(edge(box.right(), dx), box.left() + least));
        if (dy) box.setBottom(std::max(edge(box.bottom(), dy), box.top() + least));
        boxes.emplace_back(place, box);
    }
    Apply(QStringLiteral("Redimensionar"), SetElementBoxes(definition, boxes));
}

void DesignScene::Apply(const QString& text, const DesignEdit& edit) {
    const int before = rebuilds_;
    GuardEvent([&] { design_.Apply(text, edit); });
    // Refused or changing nothing, the items go back to where the definition has them.
    if (rebuilds_ == before) Rebuild();
}

void DesignScene::dragEnterEvent(QGraphicsSceneDragDropEvent* event) {
    if (event->mimeData()->hasFormat(QLatin1String(kFieldMimeType)))
        event->acceptProposedAction();
    else
        event->ignore();
}

void DesignScene::dragMoveEvent(QGraphicsSceneDragDropEvent* event) {
    if (layout_->BandAt(event->scenePos()) &&
        event->mimeData()->hasFormat(QLatin1String(kFieldMimeType)))
        event->acceptProposedAction();
    else
        event->ignore();
}

void DesignScene::dropEvent(QGraphicsSceneDragDropEvent* event) {
    const DesignBand* band = layout_->BandAt(event->scenePos());
    const QByteArray field = event->mimeData()->data(QLatin1String(kFieldMimeType));
    if (!band || field.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    const QPointF local = event->scenePos() - band->area.topLeft();
    ReportElement element = NewElement(ElementKind::Field);
    element.field = QString::fromUtf8(field);
    element.box.moveTopLeft(QPointF(Snap(local.x()), std::max(0.0, Snap(local.y()))));
    Apply(QStringLiteral("Incluir o campo %1").arg(element.field),
          InsertElement(design_.Definition(), band->place, element));
}

}  // namespace fai
