#include "reports/Layout.h"

#include <QByteArray>
#include <QTextDocument>

namespace corvadel::reports {

RichTextLoader plainTextLoader()
{
    return [](const QByteArray &bytes, QTextDocument &doc) { doc.setPlainText(QString::fromUtf8(bytes)); };
}

void Fragment::append(Fragment &&other, qreal dx, qreal dy)
{
    items.reserve(items.size() + other.items.size());
    for (Item &item : other.items) {
        item.translate(dx, dy);
        items.push_back(std::move(item));
    }
    for (const KeepSpan &keep : other.keeps)
        keeps.push_back({keep.top + dy, keep.bottom + dy});
}

} // namespace corvadel::reports
