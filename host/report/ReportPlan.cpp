#include "ReportPlan.h"

#include "BrazilianText.h"
#include "Errors.h"
#include "ReportParams.h"
#include "ValueConversion.h"

#include <algorithm>

namespace fai {
namespace {

constexpr double kUnboundedHeight = 1e7;

}  // namespace

int Alignment(const ReportElement& element) {
    int flags = 0;
    switch (element.align) {
        case HAlign::Left:
            flags |= Qt::AlignLeft;
            break;
        case HAlign::Center:
            flags |= Qt::AlignHCenter;
            break;
        case HAlign::Right:
            flags |= Qt::AlignRight;
            break;
    }
    switch (element.valign) {
        case VAlign::Top:
            flags |= Qt::AlignTop;
            break;
        case VAlign::Middle:
            flags |= Qt::AlignVCenter;
            break;
        case VAlign::Bottom:
            flags |= Qt::AlignBottom;
            break;
    }
    if (element.wordWrap) flags |= Qt::TextWordWrap;
    return flags;
}

QFont FontOf(const ReportFont& font) {
    QFont made(font.family);
    // A tenth of a point is one unit: the font's size in units is a whole number.
    made.setPixelSize(std::max(1, qRound(font.size * 10.0)));
    made.setBold(font.bold);
    made.setItalic(font.italic);
    made.setUnderline(font.underline);
    // Unhinted outlines scale linearly, so the text measured is the text drawn at any zoom.
    made.setHintingPreference(QFont::PreferNoHinting);
    return made;
}

namespace {

std::vector<int> GroupColumns(const ReportDefinition& definition, const ReportTable& table) {
    std::vector<int> columns;
    for (const ReportGroup& group : definition.groups) {
        const int column = table.ColumnIndex(group.field);
        if (column < 0)
            throw EError(QStringLiteral("O relatório %1 agrupa pelo campo '%2', que a consulta "
                                        "não traz.")
                             .arg(ReportLabel(definition), group.field));
        columns.push_back(column);
    }
    return columns;
}

}  // namespace

ReportPlan::ReportPlan(const ReportDefinition& definition, const ReportTable& table)
    : definition_(definition),
      table_(table),
      totals_(table, GroupColumns(definition, table)),
      pageSize_(PaperMillimetres(definition.page) * kUnitsPerMillimetre) {
    const PageSetup& page = definition.page;
    body_ = QRectF(Units(page.leftMargin), Units(page.topMargin),
                   pageSize_.width() - Units(page.leftMargin + page.rightMargin),
                   pageSize_.height() - Units(page.topMargin + page.bottomMargin));
    reportHeader_ = Plan(definition.reportHeader, -1);
    pageHeader_ = Plan(definition.pageHeader, -1);
    for (std::size_t g = 0; g < definition.groups.size(); ++g) {
        groupHeaders_.push_back(Plan(definition.groups[g].header, int(g)));
        groupFooters_.push_back(Plan(definition.groups[g].footer, int(g)));
    }
    detail_ = Plan(definition.detail, -1);
    summary_ = Plan(definition.summary, -1);
    pageFooter_ = Plan(definition.pageFooter, -1);
    totals_.Compute();
}

bool ReportPlan::RepeatsHeader(int level) const {
    return definition_.groups[std::size_t(level)].repeatHeader;
}

int ReportPlan::Plan(const std::optional<ReportBand>& band, int group) {
    if (!band) return -1;
    PlannedBand planned;
    planned.kind = band->kind;
    planned.group = group;
    planned.height = Units(band->height);
    for (const ReportElement& element : band->elements) {
        planned.elements.push_back(PlanElement(element));
        planned.grows = planned.grows || element.canGrow;
    }
    bands_.push_back(std::move(planned));
    return int(bands_.size()) - 1;
}

PlannedElement ReportPlan::PlanElement(const ReportElement& element) {
    PlannedElement planned;
    planned.source = &element;
    planned.box = QRectF(Units(element.box.x()), Units(element.box.y()), Units(element.box.width()),
                         Units(element.box.height()));
    planned.font = FontOf(element.font);
    planned.metrics = QFontMetricsF(planned.font);
    planned.flags = Alignment(element);
    planned.formatter = ValueFormatter(element.format);
    if (element.format.kind == FormatKind::Registration)
        planned.personTypeColumn = ColumnOf(element.format.personTypeField, element.field);
    if (element.kind == ElementKind::Field) planned.column = ColumnOf(element.field, {});
    if (element.kind == ElementKind::Aggregate) {
        planned.column = element.field.isEmpty() ? -1 : ColumnOf(element.field, {});
        const int level = element.over.isEmpty() ? -1 : definition_.GroupIndex(element.over);
        planned.aggregate = totals_.Add(element.function, planned.column, level);
    }
    if (element.kind == ElementKind::Image) planned.image = QImage::fromData(element.image);
    return planned;
}

int ReportPlan::ColumnOf(const QString& field, const QString& shownField) const {
    const int column = table_.ColumnIndex(field);
    if (column >= 0) return column;
    if (!shownField.isEmpty())
        throw EError(QStringLiteral("O relatório %1 mostra a inscrição '%2' com o tipo de pessoa "
                                    "do campo '%3', que a consulta não traz.")
                         .arg(ReportLabel(definition_), shownField, field));
    throw EError(QStringLiteral("O relatório %1 usa o campo '%2', que a consulta não traz.")
                     .arg(ReportLabel(definition_), field));
}

QString ReportPlan::TextOf(const PlannedElement& element, const PrintContext& context) const {
    const ReportElement& source = *element.source;
    const auto personType = [&]() {
        return element.personTypeColumn < 0
                   ? QString()
                   : fai::TextOf(table_.At(context.row, element.personTypeColumn));
    };
    switch (source.kind) {
        case ElementKind::Text:
            return source.text;
        case ElementKind::Field:
            return element.formatter.Text(table_.At(context.row, element.column), personType());
        case ElementKind::Aggregate:
            return element.formatter.Text(totals_.Result(element.aggregate, context.row),
                                          personType());
        case ElementKind::PageNumber:
            return QString(source.text)
                .replace(QLatin1String("{page}"), QString::number(context.page))
                .replace(QLatin1String("{pages}"), QString::number(context.pageCount));
        case ElementKind::PrintDate:
            return BrazilianLocale().toString(context.printedAt, source.text);
        case ElementKind::Line:
        case ElementKind::Rectangle:
        case ElementKind::Image:
            break;
    }
    return {};
}

double ReportPlan::ElementHeight(const PlannedElement& element, const PrintContext& context) const {
    if (!element.source->canGrow) return element.box.height();
    const QString text = TextOf(element, context);
    if (text.isEmpty()) return element.box.height();
    const QRectF needed = element.metrics.boundingRect(
        QRectF(0, 0, element.box.width(), kUnboundedHeight),
        (element.flags & ~Qt::AlignVertical_Mask) | Qt::AlignTop, text);
    return std::max(element.box.height(), needed.height());
}

double ReportPlan::BandHeight(int band, const PrintContext& context) const {
    const PlannedBand& planned = Band(band);
    if (!planned.grows) return planned.height;
    double height = planned.height;
    for (const PlannedElement& element : planned.elements) {
        if (element.source->continuationOnly && !context.continued) continue;
        if (element.source->canGrow)
            height = std::max(height, element.box.y() + ElementHeight(element, context));
    }
    return height;
}

}  // namespace fai
