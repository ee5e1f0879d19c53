#include "reports/RenderedDocument.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextDocument>

namespace corvadel::reports {

namespace {

template<class... Ts>
struct Overloaded : Ts...
{
    using Ts::operator()...;
};

} // namespace

void Item::translate(qreal dx, qreal dy)
{
    std::visit(Overloaded{
                   [&](TextShape &s) { s.rect.translate(dx, dy); },
                   [&](LineShape &s) { s.line.translate(dx, dy); },
                   [&](RichShape &s) { s.origin += QPointF(dx, dy); },
               },
               shape);
    top += dy;
    bottom += dy;
}

Item textItem(TextShape shape)
{
    Item item;
    item.top = shape.rect.top();
    item.bottom = shape.rect.bottom();
    item.shape = std::move(shape);
    return item;
}

Item lineItem(LineShape shape)
{
    Item item;
    item.top = qMin(shape.line.y1(), shape.line.y2()) - shape.weight / 2;
    item.bottom = qMax(shape.line.y1(), shape.line.y2()) + shape.weight / 2;
    item.shape = std::move(shape);
    return item;
}

Item richItem(RichShape shape)
{
    Item item;
    item.top = shape.origin.y();
    item.bottom = shape.origin.y() + (shape.docBottom - shape.docTop);
    item.shape = std::move(shape);
    return item;
}

RenderedDocument::RenderedDocument(QPageLayout layout, QString name, std::vector<RenderedPage> pages)
    : m_layout(std::move(layout))
    , m_name(std::move(name))
    , m_pages(std::move(pages))
{
}

void RenderedDocument::paintPage(QPainter &painter, int index, qreal scale) const
{
    painter.save();
    painter.scale(scale, scale);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (const Item &item : m_pages.at(index).items) {
        std::visit(Overloaded{
                       [&](const TextShape &s) {
                           painter.setFont(s.font);
                           painter.setPen(Qt::black);
                           painter.drawText(s.rect, s.flags, s.text);
                       },
                       [&](const LineShape &s) {
                           painter.setPen(QPen(Qt::black, s.weight, Qt::SolidLine, Qt::FlatCap));
                           painter.drawLine(s.line);
                       },
                       [&](const RichShape &s) {
                           painter.save();
                           painter.translate(s.origin.x(), s.origin.y() - s.docTop);
                           const QRectF slice(0, s.docTop, s.doc->textWidth(), s.docBottom - s.docTop);
                           painter.setClipRect(slice, Qt::IntersectClip);
                           QAbstractTextDocumentLayout::PaintContext context;
                           // Lines are only drawn when they reach into the clip: a
                           // hair inside the slice keeps the neighbouring slices'
                           // lines out, so a line cut at a page break is not drawn
                           // (and found by a text search) on both pages.
                           context.clip = slice.adjusted(0, 1, 0, -1);
                           context.palette.setColor(QPalette::Text, Qt::black);
                           s.doc->documentLayout()->draw(&painter, context);
                           painter.restore();
                       },
                   },
                   item.shape);
    }
    painter.restore();
}

} // namespace corvadel::reports
