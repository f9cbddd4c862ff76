#include "PagePainter.h"

#include <QPainter>

namespace fai {

PagePainter::PagePainter(const ReportPlan& plan, const ReportPages& pages, QDateTime printedAt)
    : plan_(plan), pages_(pages), printedAt_(std::move(printedAt)) {}

void PagePainter::Paint(QPainter& painter, int page) const {
    PrintContext context;
    context.page = page + 1;
    context.pageCount = pages_.Count();
    context.printedAt = printedAt_;
    for (const PlacedBand& placed : pages_.Page(page)) {
        context.row = placed.row;
        context.continued = placed.continued;
        PaintBand(painter, placed, context);
    }
}

void PagePainter::PaintBand(QPainter& painter, const PlacedBand& placed,
                            const PrintContext& context) const {
    const QPointF origin(plan_.Body().left(), placed.top);
    for (const PlannedElement& element : plan_.Band(placed.band).elements) {
        const ReportElement& source = *element.source;
        if (source.continuationOnly && !context.continued) continue;
        QRectF box = element.box.translated(origin);
        switch (source.kind) {
            case ElementKind::Line:
            case ElementKind::Rectangle: {
                const double width = Units(source.penWidth);
                painter.setPen(width > 0 ? QPen(source.color, width) : QPen(Qt::NoPen));
                if (source.kind == ElementKind::Line) {
                    painter.drawLine(box.topLeft(), box.bottomRight());
                } else {
                    painter.setBrush(source.fill.isValid() ? QBrush(source.fill) : QBrush());
                    painter.drawRect(box);
                    painter.setBrush(QBrush());
                }
                break;
            }
            case ElementKind::Image: {
                if (element.image.isNull()) break;
                QRectF target = box;
                if (source.keepAspect) {
                    const QSizeF fitted =
                        QSizeF(element.image.size()).scaled(box.size(), Qt::KeepAspectRatio);
                    target = QRectF(QPointF(), fitted);
                    target.moveCenter(box.center());
                }
                painter.drawImage(target, element.image);
                break;
            }
            default: {
                if (source.canGrow) box.setHeight(plan_.ElementHeight(element, context));
                const QString text = plan_.TextOf(element, context);
                if (text.isEmpty()) break;
                painter.setPen(source.color);
                PaintText(painter, element, box, text);
                break;
            }
        }
    }
}

void PagePainter::PaintText(QPainter& painter, const PlannedElement& element, const QRectF& box,
                            const QString& text) const {
    painter.setFont(element.font);
    const bool oneLine = !(element.flags & Qt::TextWordWrap) && !text.contains(QLatin1Char('\n'));
    if (!oneLine) {
        painter.save();
        painter.setClipRect(box, Qt::IntersectClip);
        painter.drawText(box, element.flags, text);
        painter.restore();
        return;
    }
    // One line, placed by hand: much cheaper than laying the text out in a box, which counts
    // on a report of thousands of rows.
    const QFontMetricsF& metrics = element.metrics;
    const double width = metrics.horizontalAdvance(text);
    double x = box.left();
    if (element.flags & Qt::AlignHCenter)
        x += (box.width() - width) / 2;
    else if (element.flags & Qt::AlignRight)
        x += box.width() - width;
    double baseline = box.top() + metrics.ascent();
    if (element.flags & Qt::AlignVCenter)
        baseline = box.top() + (box.height() - metrics.height()) / 2 + metrics.ascent();
    else if (element.flags & Qt::AlignBottom)
        baseline = box.bottom() - metrics.descent();
    const bool overflows = width > box.width() + 0.5 || metrics.height() > box.height() + 0.5;
    if (overflows) {
        painter.save();
        painter.setClipRect(box, Qt::IntersectClip);
    }
    painter.drawText(QPointF(x, baseline), text);
    if (overflows) painter.restore();
}

}  // namespace fai
