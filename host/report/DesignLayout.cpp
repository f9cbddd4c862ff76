#include "DesignLayout.h"

namespace fai {
namespace {

ReportPlace BandPlace(BandKind kind, int group = -1) {
    ReportPlace place{ReportPlace::Part::Band};
    place.band = kind;
    place.group = group;
    return place;
}

}  // namespace

std::vector<ReportPlace> BandsInPrintOrder(const ReportDefinition& definition) {
    std::vector<ReportPlace> order;
    const auto add = [&order](const std::optional<ReportBand>& band, BandKind kind, int group) {
        if (band) order.push_back(BandPlace(kind, group));
    };
    add(definition.reportHeader, BandKind::ReportHeader, -1);
    add(definition.pageHeader, BandKind::PageHeader, -1);
    const int groups = int(definition.groups.size());
    for (int g = 0; g < groups; ++g)
        add(definition.groups[std::size_t(g)].header, BandKind::GroupHeader, g);
    add(definition.detail, BandKind::Detail, -1);
    for (int g = groups - 1; g >= 0; --g)
        add(definition.groups[std::size_t(g)].footer, BandKind::GroupFooter, g);
    add(definition.summary, BandKind::Summary, -1);
    add(definition.pageFooter, BandKind::PageFooter, -1);
    return order;
}

ReportPlace BandPlaceOf(const ReportPlace& place) { return BandPlace(place.band, place.group); }

ReportPlace ElementPlace(const ReportPlace& band, int element) {
    ReportPlace place = BandPlaceOf(band);
    place.part = ReportPlace::Part::Element;
    place.element = element;
    return place;
}

DesignLayout::DesignLayout(const ReportDefinition& definition) {
    const PageSetup& page = definition.page;
    const QSizeF paper = PaperMillimetres(page);
    bodyWidth_ = paper.width() - page.leftMargin - page.rightMargin;
    double top = page.topMargin;
    for (const ReportPlace& place : BandsInPrintOrder(definition)) {
        DesignBand band;
        band.place = place;
        band.name = DescribePlace(definition, place);
        if (!band.name.isEmpty()) band.name[0] = band.name[0].toUpper();
        band.caption = QRectF(page.leftMargin, top, bodyWidth_, kCaptionHeight);
        band.area = QRectF(page.leftMargin, top + kCaptionHeight, bodyWidth_,
                           fai::BandAt(definition, place.band, place.group)->height);
        top = band.area.bottom();
        bands_.push_back(band);
    }
    sheet_ = QRectF(0, 0, paper.width(), std::max(paper.height(), top + page.bottomMargin));
}

const DesignBand* DesignLayout::Find(const ReportPlace& place) const {
    for (const DesignBand& band : bands_) {
        if (band.place.band == place.band && band.place.group == place.group) return &band;
    }
    return nullptr;
}

const DesignBand* DesignLayout::BandAtHeight(double y) const {
    if (bands_.empty()) return nullptr;
    for (const DesignBand& band : bands_) {
        if (y < band.area.bottom()) return &band;
    }
    return &bands_.back();
}

const DesignBand* DesignLayout::BandAt(const QPointF& point) const {
    for (const DesignBand& band : bands_) {
        if (band.caption.united(band.area).contains(point)) return &band;
    }
    return nullptr;
}

}  // namespace fai
