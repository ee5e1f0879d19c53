#pragma once

#include <QFont>
#include <QLineF>
#include <QPageLayout>
#include <QRectF>
#include <QString>

#include <memory>
#include <variant>
#include <vector>

class QPainter;
class QTextDocument;

namespace corvadel::reports {

// A page-number or page-count text that can only be filled in once the pages
// are known.
enum class PageField { None, PageNumber, PageCount };

struct TextShape
{
    QRectF rect;
    QString text;
    QFont font; // pixel-sized in layout dots
    int flags = 0;
    PageField pageField = PageField::None;
};

struct LineShape
{
    QLineF line;
    qreal weight = 0;
};

// A horizontal slice [docTop, docBottom) of a laid-out rich-text document,
// drawn with the slice's top at origin.
struct RichShape
{
    std::shared_ptr<QTextDocument> doc;
    QPointF origin;
    qreal docTop = 0;
    qreal docBottom = 0;
};

// One thing drawn on a page, in layout dots. top/bottom are its vertical
// extent; the paginator never cuts through an item.
struct Item
{
    std::variant<TextShape, LineShape, RichShape> shape;
    qreal top = 0;
    qreal bottom = 0;
    int mainRow = -1; // the main pipeline's record it was printed for

    void translate(qreal dx, qreal dy);
};

Item textItem(TextShape shape);
Item lineItem(LineShape shape);
Item richItem(RichShape shape);

struct RenderedPage
{
    std::vector<Item> items;
};

// The laid-out sheet: every page with everything on it, page numbers and the
// page count filled in. It no longer needs the record sources, so a preview
// can keep showing and printing it after the sheet has closed them.
class RenderedDocument
{
public:
    RenderedDocument() = default;
    RenderedDocument(QPageLayout layout, QString name, std::vector<RenderedPage> pages);

    const QPageLayout &pageLayout() const { return m_layout; }
    const QString &name() const { return m_name; }
    int pageCount() const { return int(m_pages.size()); }
    const RenderedPage &page(int index) const { return m_pages.at(index); }

    // Paints page `index` (0-based) with the painter's origin at the paper's
    // top-left corner and `scale` device pixels per layout dot.
    void paintPage(QPainter &painter, int index, qreal scale) const;

    // Keeps what the pages' rich text was laid out against alive as long as
    // the pages are.
    void keepAlive(std::shared_ptr<void> resource) { m_resources.push_back(std::move(resource)); }

private:
    QPageLayout m_layout;
    QString m_name;
    std::vector<RenderedPage> m_pages;
    std::vector<std::shared_ptr<void>> m_resources;
};

} // namespace corvadel::reports
