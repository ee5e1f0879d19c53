#include "RichText.h"

#include "CodePages.h"
#include "RtfReader.h"
#include "RtfWriter.h"
#include "StorableText.h"

#include <QStringDecoder>
#include <QTextCursor>
#include <QTextDocument>

namespace corvadel::richtext {

namespace {

QByteArrayView withoutLeadingNoise(QByteArrayView stored)
{
    if (stored.startsWith("\xEF\xBB\xBF"))
        stored = stored.sliced(3);
    while (!stored.isEmpty() && (stored.front() == ' ' || stored.front() == '\t' || stored.front() == '\r'
                                 || stored.front() == '\n'))
        stored = stored.sliced(1);
    return stored;
}

// Plain text as stored by older installations: UTF-8 if it is valid UTF-8,
// otherwise the Windows Latin text of the clients that wrote it. Line ends of
// any platform become '\n'; control characters other than tab are dropped.
QString decodePlainText(const QByteArray &stored)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(stored);
    if (utf8.hasError()) {
        detail::CodePageDecoder decoder;
        text = decoder.decode(stored, detail::kCodePageWindowsLatin);
    }
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    text.replace(QChar::ParagraphSeparator, u'\n');
    // The same characters as RTF text may bring: what the writer could not
    // store must not enter the document either.
    text.removeIf([](QChar c) { return c != u'\n' && !detail::isStorableChar(c.unicode()); });
    return text;
}

} // namespace

bool isRtf(const QByteArray &stored)
{
    return withoutLeadingNoise(stored).startsWith("{\\rtf");
}

void read(const QByteArray &stored, QTextDocument &doc)
{
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    doc.clear();
    if (isRtf(stored)) {
        detail::RtfReader reader(doc);
        reader.read(withoutLeadingNoise(stored));
    } else {
        QTextCursor cursor(&doc);
        cursor.insertText(decodePlainText(stored));
    }
    doc.setUndoRedoEnabled(undo);
    doc.setModified(false);
}

QByteArray write(const QTextDocument &doc)
{
    return detail::writeRtf(doc);
}

QString plainText(const QByteArray &stored)
{
    if (!isRtf(stored))
        return decodePlainText(stored);
    QTextDocument doc;
    read(stored, doc);
    return doc.toPlainText();
}

} // namespace corvadel::richtext
