#include "reports/DocumentPrinter.h"

#include "reports/PrintUi.h"
#include "reports/RenderedDocument.h"
#include "reports/Units.h"

#include <QPainter>
#include <QPrinter>

namespace corvadel::reports {

void preparePrinter(QPrinter &printer, const RenderedDocument &document)
{
    printer.setDocName(document.name());
    printer.setPageLayout(document.pageLayout());
    // Positions are measured from the paper's corner: the sheet places its
    // own margins. (After the page layout, which would reset this.)
    printer.setFullPage(true);
}

std::vector<int> printSequence(const QPrinter &printer, int pageCount, int currentPage)
{
    std::vector<int> pages;
    switch (printer.printRange()) {
    case QPrinter::PageRange: {
        const QPageRanges ranges = printer.pageRanges();
        for (int page = 1; page <= pageCount; ++page) {
            if (ranges.isEmpty() ? (page >= printer.fromPage() && page <= printer.toPage()) : ranges.contains(page))
                pages.push_back(page);
        }
        break;
    }
    case QPrinter::CurrentPage:
        if (currentPage >= 1 && currentPage <= pageCount)
            pages.push_back(currentPage);
        break;
    default:
        for (int page = 1; page <= pageCount; ++page)
            pages.push_back(page);
        break;
    }

    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    if (copies == 1)
        return pages;
    std::vector<int> sequence;
    sequence.reserve(pages.size() * size_t(copies));
    if (printer.collateCopies()) {
        for (int copy = 0; copy < copies; ++copy)
            sequence.insert(sequence.end(), pages.begin(), pages.end());
    } else {
        for (int page : pages)
            sequence.insert(sequence.end(), size_t(copies), page);
    }
    return sequence;
}

PrintResult printDocument(const RenderedDocument &document, QPrinter &printer, int currentPage,
                          PrintProgress *progress)
{
    const std::vector<int> sequence = printSequence(printer, document.pageCount(), currentPage);
    if (sequence.empty())
        return PrintResult::Printed;
    QPainter painter;
    if (!painter.begin(&printer))
        return PrintResult::Failed;
    const qreal scale = printer.resolution() / kLayoutDpi;
    const int total = int(sequence.size());
    for (int i = 0; i < total; ++i) {
        if (i > 0 && !printer.newPage()) {
            painter.end();
            return PrintResult::Failed;
        }
        document.paintPage(painter, sequence[i] - 1, scale);
        if (progress && !progress->pagePrinted(i + 1, total)) {
            printer.abort();
            if (painter.isActive())
                painter.end();
            return PrintResult::Cancelled;
        }
    }
    return painter.end() ? PrintResult::Printed : PrintResult::Failed;
}

} // namespace corvadel::reports
