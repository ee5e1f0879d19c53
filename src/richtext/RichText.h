#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

// The long texts of records are stored as RTF, the format the rich-text
// editors of every client sharing the database read and write. Texts from
// older installations may be plain text; both read into the same document.

namespace corvadel::richtext {

// Whether a stored text is RTF (starts with "{\rtf", after any byte-order
// mark or white space) rather than plain text.
bool isRtf(const QByteArray &stored);

// Replaces the document's content with the stored text: RTF, or plain text
// (UTF-8, or Windows Latin when it is not valid UTF-8). Never fails: broken
// RTF yields as much of its text as can be read. Leaves the document
// unmodified and without undo history, as a freshly loaded text should be.
void read(const QByteArray &stored, QTextDocument &doc);

// The document as RTF, which read() turns back into the same text, character
// formats, paragraph formats and lists.
QByteArray write(const QTextDocument &doc);

// The text alone, paragraphs separated by '\n', for grids and sheets.
QString plainText(const QByteArray &stored);

} // namespace corvadel::richtext
