#include "DesignEdits.h"

#include "DesignLayout.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace fai {
namespace {

// Lengths closer than this to a grid line are on it.
constexpr double kOnTheLine = 1e-6;
constexpr double kNewBandHeight = 10;

std::optional<ReportBand>* BandSlot(ReportDefinition& definition, BandKind kind, int group) {
    switch (kind) {
        case BandKind::ReportHeader:
            return &definition.reportHeader;
        case BandKind::PageHeader:
            return &definition.pageHeader;
        case BandKind::GroupHeader:
        case BandKind::GroupFooter: {
            if (group < 0 || group >= int(definition.groups.size())) return nullptr;
            ReportGroup& owner = definition.groups[std::size_t(group)];
            return kind == BandKind::GroupHeader ? &owner.header : &owner.footer;
        }
        case BandKind::Detail:
            return &definition.detail;
        case BandKind::Summary:
            return &definition.summary;
        case BandKind::PageFooter:
            return &definition.pageFooter;
    }
    return nullptr;
}

bool SameBand(const ReportPlace& a, const ReportPlace& b) {
    return a.band == b.band && a.group == b.group;
}

QRectF Rounded(const QRectF& box) {
    return QRectF(RoundMillimetres(box.x()), RoundMillimetres(box.y()),
                  RoundMillimetres(box.width()), RoundMillimetres(box.height()));
}

// Keeps the element inside the page's width and below its band's top, and makes the band
// tall enough to hold it.
void FitInBand(ReportElement& element, ReportBand& band, double bodyWidth) {
    QRectF box = element.box;
    box.setWidth(std::clamp(box.width(), 0.0, bodyWidth));
    box.setHeight(std::max(box.height(), 0.0));
    if (box.right() > bodyWidth) box.moveLeft(bodyWidth - box.width());
    if (box.left() < 0) box.moveLeft(0);
    if (box.top() < 0) box.moveTop(0);
    element.box = Rounded(box);
    band.height = std::max(band.height, RoundMillimetres(element.box.bottom()));
}

}  // namespace

double SnapToGrid(double length, double step) {
    if (step <= 0) return RoundMillimetres(length);
    return RoundMillimetres(std::round(length / step) * step);
}

double NextGridLine(double length, double step, int direction) {
    const double lines = length / step;
    const double next =
        direction > 0 ? std::floor(lines + kOnTheLine) + 1 : std::ceil(lines - kOnTheLine) - 1;
    return RoundMillimetres(next * step);
}

ReportBand* MutableBandAt(ReportDefinition& definition, const ReportPlace& place) {
    std::optional<ReportBand>* slot = BandSlot(definition, place.band, place.group);
    return slot && *slot ? &**slot : nullptr;
}

const ReportElement* ElementAt(const ReportDefinition& definition, const ReportPlace& place) {
    const ReportBand* band = BandAt(definition, place.band, place.group);
    if (!band || place.part != ReportPlace::Part::Element || place.element < 0 ||
        place.element >= int(band->elements.size()))
        return nullptr;
    return &band->elements[std::size_t(place.element)];
}

double ElementsBottom(const ReportBand& band) {
    double bottom = 0;
    for (const ReportElement& element : band.elements)
        bottom = std::max(bottom, RoundMillimetres(element.box.bottom()));
    return bottom;
}

DesignEdit MoveElements(const ReportDefinition& definition, const DesignSelection& elements,
                        QPointF delta, MoveScope scope) {
    const DesignLayout layout(definition);
    double dx = delta.x();
    double dy = delta.y();
    for (const ReportPlace& place : elements) {
        const ReportElement* element = ElementAt(definition, place);
        if (!element) continue;
        dx =
            std::min(std::max(dx, -element->box.left()), layout.BodyWidth() - element->box.right());
        if (scope == MoveScope::WithinBand) {
            const double height = BandAt(definition, place.band, place.group)->height;
            dy = std::min(std::max(dy, -element->box.top()), height - element->box.bottom());
        }
    }

    // Where each element lands: its band and its box there.
    struct Landing {
        ReportPlace band;
        QRectF box;
    };
    std::map<ReportPlace, std::size_t> moving;
    std::vector<Landing> landings;
    for (const ReportPlace& place : elements) {
        const ReportElement* element = ElementAt(definition, place);
        if (!element || moving.count(place)) continue;
        Landing landing{BandPlaceOf(place), element->box.translated(dx, dy)};
        if (scope == MoveScope::AcrossBands) {
            const double top = layout.Find(place)->area.top() + landing.box.top();
            const DesignBand* target = layout.BandAtHeight(top);
            landing.band = target->place;
            landing.box.moveTop(std::max(0.0, top - target->area.top()));
        }
        moving[place] = landings.size();
        landings.push_back(landing);
    }

    // Elements that stay in their band keep their place among its elements; those that
    // change band go to the end of their new one.
    DesignEdit edit{definition, DesignSelection(landings.size())};
    std::vector<std::optional<ReportElement>> leaving(landings.size());
    for (const ReportPlace& bandPlace : BandsInPrintOrder(definition)) {
        ReportBand& band = *MutableBandAt(edit.definition, bandPlace);
        std::vector<ReportElement> kept;
        for (int i = 0; i < int(band.elements.size()); ++i) {
            ReportElement element = band.elements[std::size_t(i)];
            const auto found = moving.find(ElementPlace(bandPlace, i));
            if (found == moving.end()) {
                kept.push_back(std::move(element));
                continue;
            }
            const Landing& landing = landings[found->second];
            element.box = landing.box;
            if (SameBand(landing.band, bandPlace)) {
                FitInBand(element, band, layout.BodyWidth());
                edit.selection[found->second] = ElementPlace(bandPlace, int(kept.size()));
                kept.push_back(std::move(element));
            } else {
                leaving[found->second] = std::move(element);
            }
        }
        band.elements = std::move(kept);
    }
    for (std::size_t k = 0; k < landings.size(); ++k) {
        if (!leaving[k]) continue;
        ReportBand& band = *MutableBandAt(edit.definition, landings[k].band);
        FitInBand(*leaving[k], band, layout.BodyWidth());
        edit.selection[k] = ElementPlace(landings[k].band, int(band.elements.size()));
        band.elements.push_back(std::move(*leaving[k]));
    }
    return edit;
}

DesignEdit SetElementBoxes(const ReportDefinition& definition,
                           const std::vector<std::pair<ReportPlace, QRectF>>& boxes) {
    const double bodyWidth = DesignLayout(definition).BodyWidth();
    DesignEdit edit{definition, {}};
    for (const auto& [place, box] : boxes) {
        ReportBand* band = MutableBandAt(edit.definition, place);
        if (!band || place.element < 0 || place.element >= int(band->elements.size())) continue;
        ReportElement& element = band->elements[std::size_t(place.element)];
        element.box = box;
        FitInBand(element, *band, bodyWidth);
        edit.selection.push_back(place);
    }
    return edit;
}

DesignEdit InsertElement(const ReportDefinition& definition, const ReportPlace& bandPlace,
                         ReportElement element) {
    DesignEdit edit{definition, {}};
    ReportBand* band = MutableBandAt(edit.definition, bandPlace);
    if (!band) return edit;
    FitInBand(element, *band, DesignLayout(definition).BodyWidth());
    edit.selection = {ElementPlace(bandPlace, int(band->elements.size()))};
    band->elements.push_back(std::move(element));
    return edit;
}

DesignEdit RemoveSelection(const ReportDefinition& definition, const DesignSelection& selection) {
    DesignEdit edit{definition, {}};
    if (selection.size() == 1 && selection.front().part == ReportPlace::Part::Band) {
        const ReportPlace& place = selection.front();
        std::optional<ReportBand>* slot = BandSlot(edit.definition, place.band, place.group);
        if (slot) slot->reset();
        if (place.group >= 0 && place.group < int(edit.definition.groups.size())) {
            const ReportGroup& group = edit.definition.groups[std::size_t(place.group)];
            if (!group.header && !group.footer)
                edit.definition.groups.erase(edit.definition.groups.begin() + place.group);
        }
        return edit;
    }
    // From the last element of each band, so that the places still to remove stay valid.
    DesignSelection elements = selection;
    std::sort(elements.begin(), elements.end());
    for (auto place = elements.rbegin(); place != elements.rend(); ++place) {
        ReportBand* band = MutableBandAt(edit.definition, *place);
        if (!band || place->part != ReportPlace::Part::Element || place->element < 0 ||
            place->element >= int(band->elements.size()))
            continue;
        band->elements.erase(band->elements.begin() + place->element);
    }
    return edit;
}

DesignEdit AddBand(const ReportDefinition& definition, BandKind kind, int group) {
    DesignEdit edit{definition, {}};
    std::optional<ReportBand>* slot = BandSlot(edit.definition, kind, group);
    if (!slot) return edit;
    if (!*slot) *slot = ReportBand{kind, kNewBandHeight, {}};
    ReportPlace place{ReportPlace::Part::Band};
    place.band = kind;
    place.group = kind == BandKind::GroupHeader || kind == BandKind::GroupFooter ? group : -1;
    edit.selection = {place};
    return edit;
}

DesignEdit AddGroup(const ReportDefinition& definition, const QString& field) {
    DesignEdit edit{definition, {}};
    ReportGroup group;
    group.field = field.trimmed();
    group.header = ReportBand{BandKind::GroupHeader, kNewBandHeight, {}};
    group.footer = ReportBand{BandKind::GroupFooter, kNewBandHeight, {}};
    edit.definition.groups.push_back(std::move(group));
    ReportPlace header{ReportPlace::Part::Band};
    header.band = BandKind::GroupHeader;
    header.group = int(edit.definition.groups.size()) - 1;
    edit.selection = {header};
    return edit;
}

DesignEdit RemoveGroup(const ReportDefinition& definition, int group) {
    DesignEdit edit{definition, {}};
    if (group >= 0 && group < int(edit.definition.groups.size()))
        edit.definition.groups.erase(edit.definition.groups.begin() + group);
    return edit;
}

DesignEdit SetBandHeight(const ReportDefinition& definition, const ReportPlace& bandPlace,
                         double height) {
    DesignEdit edit{definition, {BandPlaceOf(bandPlace)}};
    if (ReportBand* band = MutableBandAt(edit.definition, bandPlace))
        band->height = std::max(RoundMillimetres(height), ElementsBottom(*band));
    return edit;
}

ReportElement NewElement(ElementKind kind) {
    ReportElement element;
    element.kind = kind;
    element.box = QRectF(0, 0, 30, 5);
    switch (kind) {
        case ElementKind::Text:
            element.text = QStringLiteral("Texto");
            break;
        case ElementKind::Field:
            break;
        case ElementKind::Aggregate:
            element.function = AggregateFunction::Count;
            element.align = HAlign::Right;
            break;
        case ElementKind::PageNumber:
            element.text = QStringLiteral("Página {page} de {pages}");
            element.box.setWidth(40);
            element.align = HAlign::Right;
            break;
        case ElementKind::PrintDate:
            element.text = QStringLiteral("dd/MM/yyyy HH:mm");
            element.box.setWidth(35);
            break;
        case ElementKind::Line:
            element.box = QRectF(0, 0, 50, 0);
            break;
        case ElementKind::Rectangle:
            element.box = QRectF(0, 0, 40, 10);
            break;
        case ElementKind::Image:
            element.box = QRectF(0, 0, 30, 15);
            break;
    }
    return element;
}

}  // namespace fai
