#pragma once

#include "reports/RenderedDocument.h"

#include <QDateTime>

#include <functional>
#include <memory>
#include <vector>

class QByteArray;
class QPaintDevice;
class QTextDocument;

namespace corvadel::reports {

// Turns a rich-text field's stored bytes into a document. The codec of the
// rich-text module is plugged in here; the default reads UTF-8 plain text.
using RichTextLoader = std::function<void(const QByteArray &, QTextDocument &)>;
RichTextLoader plainTextLoader();

// A stretch of content the paginator keeps on one page when it fits on one
// (a kept-together sub-sheet or band).
struct KeepSpan
{
    qreal top = 0;
    qreal bottom = 0;
};

// What laying out an element or band produced, in dots relative to its own
// top-left corner.
struct Fragment
{
    qreal height = 0;
    std::vector<Item> items;
    std::vector<KeepSpan> keeps;

    void append(Fragment &&other, qreal dx, qreal dy);
};

// What elements may consult while they are laid out.
struct LayoutContext
{
    QPaintDevice *textDevice = nullptr; // rich text is laid out against it
    RichTextLoader loader;
    QDateTime printedAt;
    int pageNumber = 0; // 0 while the pages are not known yet
    int pageCount = 0;
};

} // namespace corvadel::reports
