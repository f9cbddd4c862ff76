#include "ReportDefinition.h"

#include <QPageSize>

#include <array>
#include <cmath>
#include <utility>

namespace fai {
namespace {

template <typename Enum, std::size_t N>
using NameTable = std::array<std::pair<Enum, const char*>, N>;

constexpr NameTable<PaperSize, 5> kPapers{{{PaperSize::A4, "A4"},
                                           {PaperSize::A3, "A3"},
                                           {PaperSize::A5, "A5"},
                                           {PaperSize::Letter, "Letter"},
                                           {PaperSize::Legal, "Legal"}}};
constexpr NameTable<PageOrientation, 2> kOrientations{
    {{PageOrientation::Portrait, "portrait"}, {PageOrientation::Landscape, "landscape"}}};
constexpr NameTable<ParamType, 4> kParamTypes{{{ParamType::Text, "text"},
                                               {ParamType::Date, "date"},
                                               {ParamType::Number, "number"},
                                               {ParamType::List, "list"}}};
constexpr NameTable<ElementKind, 8> kElementKinds{{{ElementKind::Text, "text"},
                                                   {ElementKind::Field, "field"},
                                                   {ElementKind::Aggregate, "aggregate"},
                                                   {ElementKind::PageNumber, "pageNumber"},
                                                   {ElementKind::PrintDate, "printDate"},
                                                   {ElementKind::Line, "line"},
                                                   {ElementKind::Rectangle, "rectangle"},
                                                   {ElementKind::Image, "image"}}};
constexpr NameTable<HAlign, 3> kHAligns{
    {{HAlign::Left, "left"}, {HAlign::Center, "center"}, {HAlign::Right, "right"}}};
constexpr NameTable<VAlign, 3> kVAligns{
    {{VAlign::Top, "top"}, {VAlign::Middle, "middle"}, {VAlign::Bottom, "bottom"}}};
constexpr NameTable<AggregateFunction, 5> kFunctions{{{AggregateFunction::Sum, "sum"},
                                                      {AggregateFunction::Count, "count"},
                                                      {AggregateFunction::Average, "avg"},
                                                      {AggregateFunction::Minimum, "min"},
                                                      {AggregateFunction::Maximum, "max"}}};
constexpr NameTable<FormatKind, 4> kFormats{{{FormatKind::None, "none"},
                                             {FormatKind::Number, "number"},
                                             {FormatKind::Date, "date"},
                                             {FormatKind::Registration, "registration"}}};
constexpr NameTable<BandKind, 7> kBands{{{BandKind::ReportHeader, "reportHeader"},
                                         {BandKind::PageHeader, "pageHeader"},
                                         {BandKind::GroupHeader, "header"},
                                         {BandKind::GroupFooter, "footer"},
                                         {BandKind::Detail, "detail"},
                                         {BandKind::Summary, "summary"},
                                         {BandKind::PageFooter, "pageFooter"}}};

template <typename Enum, std::size_t N>
QString NameOf(const NameTable<Enum, N>& table, Enum value) {
    for (const auto& [entry, name] : table) {
        if (entry == value) return QLatin1String(name);
    }
    return {};
}

template <typename Enum, std::size_t N>
std::optional<Enum> Named(const NameTable<Enum, N>& table, const QString& name) {
    for (const auto& [entry, text] : table) {
        if (name == QLatin1String(text)) return entry;
    }
    return std::nullopt;
}

}  // namespace

const ReportParameter* ReportDefinition::FindParameter(const QString& name) const {
    for (const ReportParameter& parameter : parameters) {
        if (parameter.name.compare(name, Qt::CaseInsensitive) == 0) return &parameter;
    }
    return nullptr;
}

int ReportDefinition::GroupIndex(const QString& field) const {
    for (std::size_t i = 0; i < groups.size(); ++i) {
        if (groups[i].field.compare(field, Qt::CaseInsensitive) == 0) return int(i);
    }
    return -1;
}

bool ElementShowsText(ElementKind kind) {
    return kind == ElementKind::Text || kind == ElementKind::Field ||
           kind == ElementKind::Aggregate || kind == ElementKind::PageNumber ||
           kind == ElementKind::PrintDate;
}

bool ElementHasText(ElementKind kind) {
    return kind == ElementKind::Text || kind == ElementKind::PageNumber ||
           kind == ElementKind::PrintDate;
}

bool ElementHasField(ElementKind kind) {
    return kind == ElementKind::Field || kind == ElementKind::Aggregate;
}

bool ElementHasPen(ElementKind kind) {
    return kind == ElementKind::Line || kind == ElementKind::Rectangle;
}

QString PaperSizeName(PaperSize paper) { return NameOf(kPapers, paper); }
QString OrientationName(PageOrientation orientation) { return NameOf(kOrientations, orientation); }
QString ParamTypeName(ParamType type) { return NameOf(kParamTypes, type); }
QString ElementKindName(ElementKind kind) { return NameOf(kElementKinds, kind); }
QString HAlignName(HAlign align) { return NameOf(kHAligns, align); }
QString VAlignName(VAlign align) { return NameOf(kVAligns, align); }
QString AggregateFunctionName(AggregateFunction function) { return NameOf(kFunctions, function); }
QString FormatKindName(FormatKind kind) { return NameOf(kFormats, kind); }
QString BandKindName(BandKind kind) { return NameOf(kBands, kind); }

std::optional<PaperSize> PaperSizeNamed(const QString& name) { return Named(kPapers, name); }
std::optional<PageOrientation> OrientationNamed(const QString& name) {
    return Named(kOrientations, name);
}
std::optional<ParamType> ParamTypeNamed(const QString& name) { return Named(kParamTypes, name); }
std::optional<ElementKind> ElementKindNamed(const QString& name) {
    return Named(kElementKinds, name);
}
std::optional<HAlign> HAlignNamed(const QString& name) { return Named(kHAligns, name); }
std::optional<VAlign> VAlignNamed(const QString& name) { return Named(kVAligns, name); }
std::optional<AggregateFunction> AggregateFunctionNamed(const QString& name) {
    return Named(kFunctions, name);
}
std::optional<FormatKind> FormatKindNamed(const QString& name) { return Named(kFormats, name); }

QSizeF PaperMillimetres(const PageSetup& page) {
    static constexpr std::array<std::pair<PaperSize, QPageSize::PageSizeId>, 5> kIds{
        {{PaperSize::A4, QPageSize::A4},
         {PaperSize::A3, QPageSize::A3},
         {PaperSize::A5, QPageSize::A5},
         {PaperSize::Letter, QPageSize::Letter},
         {PaperSize::Legal, QPageSize::Legal}}};
    QPageSize::PageSizeId id = QPageSize::A4;
    for (const auto& [paper, pageId] : kIds) {
        if (paper == page.paper) id = pageId;
    }
    const QSizeF size = QPageSize::size(id, QPageSize::Millimeter);
    return page.orientation == PageOrientation::Landscape ? size.transposed() : size;
}

double RoundMillimetres(double length) { return std::round(length * 100.0) / 100.0; }

}  // namespace fai
