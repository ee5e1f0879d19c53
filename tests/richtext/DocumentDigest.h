#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace corvadel::richtext::test {

// The document as the rich-text codec is meant to keep it, one line per
// paragraph and one per run of equally formatted text:
//
//   P align=center left=48 list=L1 disc indent=1 item=""
//     "Hello " w=700 family="Arial" pt=12 fg=#ff0000
//
// Two documents the codec treats as the same have the same digest, so a test
// compares digests and a failure shows exactly which property differs.
// Lists are named by their order of appearance (L1, L2, ...), so a digest also
// tells which paragraphs share a list.
QString digest(const QTextDocument &doc);

// Reads a stored text, writes the document and reads that again. Returns
// what went wrong (an eight-bit byte in the RTF, or both digests when the
// second reading differs), or an empty string when the round trip holds.
// The fuzz target and the regression tests for its findings share it.
QString roundTripProblem(const QByteArray &stored);

} // namespace corvadel::richtext::test
