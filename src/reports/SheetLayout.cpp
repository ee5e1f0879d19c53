#include "reports/SheetLayout.h"

#include "reports/Sheet.h"
#include "reports/Units.h"

#include <QBuffer>
#include <QPdfWriter>

#include <algorithm>
#include <unordered_map>

namespace corvadel::reports {

namespace {

// Rich text is laid out against a PDF writer at the layout resolution that
// never paints: it only lends its resolution to the text layout.
struct TextDevice
{
    QBuffer buffer;
    QPdfWriter writer{&buffer};
    TextDevice() { writer.setResolution(int(kLayoutDpi)); }
};

constexpr qreal kEpsilon = 0.01;

// A stretch of the strip the paginator must not cut through: every item
// (hard), and kept-together content (soft, given up when it is taller than a
// whole page).
struct Span
{
    qreal top;
    qreal bottom;
    bool soft;
};

class Paginator
{
public:
    Paginator(std::vector<Item> &items, const std::vector<KeepSpan> &keeps)
    {
        m_spans.reserve(items.size() + keeps.size());
        for (const Item &item : items)
            m_spans.push_back({item.top, item.bottom, false});
        for (const KeepSpan &keep : keeps)
            m_spans.push_back({keep.top, keep.bottom, true});
        std::sort(m_spans.begin(), m_spans.end(), [](const Span &a, const Span &b) { return a.top < b.top; });
    }

    // Where the page that takes the strip from `start` ends: `room` further
    // down, moved up to the top of anything it would cut through. `fullRoom`
    // is what an empty page offers; only content that fits there is moved
    // whole, and only content that does not start the page (unless the page
    // has less room than a full one, as the first page below the title).
    qreal cut(qreal start, qreal room, qreal fullRoom)
    {
        while (m_first < m_spans.size() && m_spans[m_first].top < start - kEpsilon)
            ++m_first;
        const bool shortPage = room < fullRoom - kEpsilon;
        qreal cut = start + room;
        bool moved = true;
        while (moved) {
            moved = false;
            for (size_t i = m_first; i < m_spans.size() && m_spans[i].top < cut - kEpsilon; ++i) {
                const Span &span = m_spans[i];
                if (span.bottom <= cut + kEpsilon)
                    continue;
                const qreal height = span.bottom - span.top;
                if (span.soft && height > fullRoom + kEpsilon)
                    continue;
                const bool startsPage = span.top <= start + kEpsilon;
                if (startsPage && !(shortPage && height <= fullRoom + kEpsilon))
                    continue;
                cut = std::max(start, span.top);
                moved = true;
                break;
            }
        }
        return cut;
    }

private:
    std::vector<Span> m_spans;
    size_t m_first = 0;
};

void fillPageFields(RenderedPage &page, int number, int count)
{
    for (Item &item : page.items) {
        auto *text = std::get_if<TextShape>(&item.shape);
        if (!text)
            continue;
        if (text->pageField == PageField::PageNumber)
            text->text = QString::number(number);
        else if (text->pageField == PageField::PageCount)
            text->text = QString::number(count);
    }
}

// Joins the consecutive slices of one rich text that landed on the same page
// into one, so the document is drawn once per page rather than per line.
void mergeRichSlices(RenderedPage &page)
{
    std::unordered_map<const QTextDocument *, size_t> last;
    std::vector<Item> merged;
    merged.reserve(page.items.size());
    for (Item &item : page.items) {
        auto *rich = std::get_if<RichShape>(&item.shape);
        if (rich) {
            const auto it = last.find(rich->doc.get());
            if (it != last.end()) {
                Item &previous = merged[it->second];
                auto &prior = std::get<RichShape>(previous.shape);
                if (qAbs(prior.docBottom - rich->docTop) < kEpsilon
                    && qAbs(previous.bottom - item.top) < kEpsilon) {
                    prior.docBottom = rich->docBottom;
                    previous.bottom = item.bottom;
                    continue;
                }
            }
            last[rich->doc.get()] = merged.size();
        }
        merged.push_back(std::move(item));
    }
    page.items = std::move(merged);
}

void place(RenderedPage &page, Fragment &&fragment, qreal x, qreal y)
{
    for (Item &item : fragment.items) {
        item.translate(x, y);
        page.items.push_back(std::move(item));
    }
}

} // namespace

SheetLayout::SheetLayout(const Sheet &sheet)
    : m_sheet(sheet)
{
}

RenderedDocument SheetLayout::run(bool blank)
{
    const QPageLayout pageLayout = m_sheet.pageLayout();
    if (blank)
        return RenderedDocument(pageLayout, m_sheet.documentName(), {RenderedPage{}});

    auto device = std::make_shared<TextDevice>();
    LayoutContext context;
    context.textDevice = &device->writer;
    context.loader = m_sheet.m_loader ? m_sheet.m_loader : plainTextLoader();
    context.printedAt = QDateTime::currentDateTime();

    const QSizeF paper = pageLayout.fullRect(QPageLayout::Millimeter).size();
    const qreal margin = fromMm(Sheet::kMarginMm);
    const qreal pageHeight = fromMm(paper.height());
    Pipeline *main = m_sheet.m_main;

    // The strip: every detail band one below the other, as on an endless page.
    std::vector<Item> strip;
    std::vector<KeepSpan> keeps;
    qreal stripHeight = 0;
    auto addDetail = [&](int row) {
        Fragment fragment = m_sheet.m_detail.layout(context);
        for (Item &item : fragment.items) {
            item.translate(0, stripHeight);
            item.mainRow = row;
            strip.push_back(std::move(item));
        }
        for (const KeepSpan &keep : fragment.keeps)
            keeps.push_back({keep.top + stripHeight, keep.bottom + stripHeight});
        stripHeight += fragment.height;
    };
    const int firstRow = main ? main->firstRow() : -1;
    if (!main) {
        addDetail(-1);
    } else {
        for (int row = firstRow; row >= 0; row = main->nextRow(row)) {
            main->setRow(row);
            addDetail(row);
        }
    }
    std::stable_sort(strip.begin(), strip.end(), [](const Item &a, const Item &b) { return a.top < b.top; });

    // The once-only bands see the first and the last record.
    int lastRow = strip.empty() ? firstRow : strip.back().mainRow;
    if (main)
        main->setRow(firstRow);
    Fragment title = m_sheet.m_title.layout(context);
    if (main)
        main->setRow(lastRow);
    Fragment summary = m_sheet.m_summary.layout(context);

    // Frame bands are laid out again on every page; their heights are taken
    // from a first layout, with room for the page numbers.
    if (main)
        main->setRow(firstRow);
    const qreal headerHeight = m_sheet.m_header.layout(context).height;
    const qreal footerHeight = m_sheet.m_footer.layout(context).height;
    const qreal columnHeaderHeight = m_sheet.m_columnHeader.layout(context).height;
    const qreal columnFooterHeight = m_sheet.m_columnFooter.layout(context).height;
    const qreal bodyTop = margin + headerHeight;
    const qreal bodyBottom = pageHeight - margin - footerHeight;
    const qreal fullRoom = bodyBottom - bodyTop - columnHeaderHeight - columnFooterHeight;

    struct PagePlan
    {
        RenderedPage page;
        int row = -1;
        qreal columnHeaderTop = 0;
        qreal columnFooterTop = -1;
    };
    std::vector<PagePlan> plans;
    Paginator paginator(strip, keeps);
    size_t next = 0;
    qreal start = 0;
    int row = firstRow;
    do {
        PagePlan plan;
        qreal y = bodyTop;
        if (plans.empty()) {
            const qreal height = title.height;
            place(plan.page, std::move(title), margin, y);
            y += height;
        }
        plan.columnHeaderTop = y;
        y += columnHeaderHeight;
        const qreal room = std::max<qreal>(0, bodyBottom - columnFooterHeight - y);
        qreal cut = paginator.cut(start, room, fullRoom);
        if (cut <= start + kEpsilon && room >= fullRoom - kEpsilon)
            cut = start + room; // nothing can be moved whole: cut through it
        if (next < strip.size())
            row = strip[next].mainRow;
        qreal contentBottom = y;
        while (next < strip.size() && strip[next].top < cut - kEpsilon) {
            Item item = std::move(strip[next++]);
            item.translate(margin, y - start);
            contentBottom = std::max(contentBottom, item.bottom);
            plan.page.items.push_back(std::move(item));
        }
        plan.columnFooterTop = contentBottom;
        plan.row = row;
        plans.push_back(std::move(plan));
        start = cut;
    } while (next < strip.size());

    if (!m_sheet.m_summary.isEmpty()) {
        const qreal below = plans.back().columnFooterTop + columnFooterHeight;
        if (below + summary.height > bodyBottom + kEpsilon && summary.height <= fullRoom) {
            PagePlan plan;
            plan.row = lastRow;
            plan.columnHeaderTop = bodyTop;
            plan.columnFooterTop = bodyTop + columnHeaderHeight;
            plans.push_back(std::move(plan));
        }
        PagePlan &plan = plans.back();
        place(plan.page, std::move(summary), margin, plan.columnFooterTop + columnFooterHeight);
    }

    const int pageCount = int(plans.size());
    std::vector<RenderedPage> pages;
    pages.reserve(plans.size());
    for (int i = 0; i < pageCount; ++i) {
        PagePlan &plan = plans[i];
        context.pageNumber = i + 1;
        context.pageCount = pageCount;
        if (main)
            main->setRow(plan.row);
        place(plan.page, m_sheet.m_header.layout(context), margin, margin);
        place(plan.page, m_sheet.m_columnHeader.layout(context), margin, plan.columnHeaderTop);
        place(plan.page, m_sheet.m_columnFooter.layout(context), margin, plan.columnFooterTop);
        place(plan.page, m_sheet.m_footer.layout(context), margin, bodyBottom);
        fillPageFields(plan.page, i + 1, pageCount);
        mergeRichSlices(plan.page);
        pages.push_back(std::move(plan.page));
    }
    if (main)
        main->rewind();

    RenderedDocument document(pageLayout, m_sheet.documentName(), std::move(pages));
    document.keepAlive(device);
    return document;
}

} // namespace corvadel::reports
