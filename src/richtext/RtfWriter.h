#pragma once

#include <QByteArray>

class QTextDocument;

namespace corvadel::richtext::detail {

// Writes a document as seven-bit RTF: the character formats, paragraph
// alignment and indents and the lists that RtfReader reads back.
QByteArray writeRtf(const QTextDocument &doc);

} // namespace corvadel::richtext::detail
