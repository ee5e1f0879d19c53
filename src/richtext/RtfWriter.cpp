#include "RtfWriter.h"

#include "RtfLimits.h"
#include "RtfLists.h"
#include "RtfMeasures.h"
#include "StorableText.h"

#include <QColor>
#include <QHash>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>

namespace corvadel::richtext::detail {

namespace {

// Font names as the reader keeps them: no ';' (it ends a font table entry),
// no control characters, bounded, trimmed.
QString cleanFontName(const QString &name)
{
    QString out;
    for (QChar c : name) {
        if (!isFontNameChar(c))
            continue;
        if (out.size() == kMaxFontNameLength)
            break;
        out.append(c);
    }
    return out.trimmed();
}

QString fontFamilyOf(const QTextCharFormat &format)
{
    const QStringList families = format.property(QTextFormat::FontFamilies).toStringList();
    for (const QString &family : families) {
        const QString name = cleanFontName(family);
        if (!name.isEmpty())
            return name;
    }
    return cleanFontName(format.property(QTextFormat::FontFamily).toString());
}

QTextCharFormat::UnderlineStyle underlineOf(const QTextCharFormat &format)
{
    if (!format.hasProperty(QTextFormat::TextUnderlineStyle))
        return format.fontUnderline() ? QTextCharFormat::SingleUnderline : QTextCharFormat::NoUnderline;
    const QTextCharFormat::UnderlineStyle style = format.underlineStyle();
    // Spell-check marks are an editor's decoration; stored, they are an underline.
    return style == QTextCharFormat::SpellCheckUnderline ? QTextCharFormat::SingleUnderline : style;
}

const char *underlineWord(QTextCharFormat::UnderlineStyle style)
{
    switch (style) {
    case QTextCharFormat::NoUnderline: return nullptr;
    case QTextCharFormat::DotLine: return "\\uld";
    case QTextCharFormat::DashUnderline: return "\\uldash";
    case QTextCharFormat::DashDotLine: return "\\uldashd";
    case QTextCharFormat::DashDotDotLine: return "\\uldashdd";
    case QTextCharFormat::WaveUnderline: return "\\ulwave";
    default: return "\\ul";
    }
}

QColor brushColor(const QTextCharFormat &format, QTextFormat::Property property)
{
    if (!format.hasProperty(property))
        return {};
    const QBrush brush = format.brushProperty(property);
    if (brush.style() == Qt::NoBrush)
        return {};
    const QColor color = brush.color();
    return color.isValid() ? color.toRgb() : QColor();
}

class Writer
{
public:
    explicit Writer(const QTextDocument &doc)
        : m_doc(doc)
    {
    }

    QByteArray write();

private:
    void collect();
    int fontIndex(const QString &family);
    int colorIndex(const QColor &color);

    void writeFontTable();
    void writeColorTable();
    void writeListTables();
    void writeBlock(const QTextBlock &block);
    void writeRun(const QTextFragment &fragment);
    void writeText(QStringView text);
    void writeLevelText(const QString &levelText);
    void word(const char *name);
    void word(const char *name, int value);

    const QTextDocument &m_doc;
    QByteArray m_out;
    QStringList m_fonts;               // \fN is the index; 0 is the document's font
    QHash<QString, int> m_fontIndex;
    QList<QColor> m_colors;            // \cfN is the index + 1; 0 is "automatic"
    QHash<QRgb, int> m_colorIndex;
    QList<QTextList *> m_lists;        // \lsN and \listidN are the index + 1
    QHash<QTextList *, int> m_listIndex;
};

void Writer::word(const char *name)
{
    m_out.append(name);
}

void Writer::word(const char *name, int value)
{
    m_out.append(name);
    m_out.append(QByteArray::number(value));
}

int Writer::fontIndex(const QString &family)
{
    const auto it = m_fontIndex.constFind(family);
    if (it != m_fontIndex.constEnd())
        return *it;
    m_fonts.append(family);
    m_fontIndex.insert(family, m_fonts.size() - 1);
    return m_fonts.size() - 1;
}

int Writer::colorIndex(const QColor &color)
{
    const QRgb key = color.rgb() | 0xFF000000u;
    const auto it = m_colorIndex.constFind(key);
    if (it != m_colorIndex.constEnd())
        return *it;
    m_colors.append(QColor::fromRgb(key));
    m_colorIndex.insert(key, m_colors.size());
    return m_colors.size();
}

void Writer::collect()
{
    // The document's own font comes first so that \deff0 names it.
    const QString defaultFamily = cleanFontName(m_doc.defaultFont().family());
    fontIndex(defaultFamily.isEmpty() ? QStringLiteral("Sans Serif") : defaultFamily);

    for (QTextBlock block = m_doc.begin(); block.isValid(); block = block.next()) {
        if (QTextList *list = block.textList(); list && !m_listIndex.contains(list)) {
            m_lists.append(list);
            m_listIndex.insert(list, m_lists.size());
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (const QString family = fontFamilyOf(format); !family.isEmpty())
                fontIndex(family);
            if (const QColor color = brushColor(format, QTextFormat::ForegroundBrush); color.isValid())
                colorIndex(color);
            if (const QColor color = brushColor(format, QTextFormat::BackgroundBrush); color.isValid())
                colorIndex(color);
        }
    }
}

QByteArray Writer::write()
{
    collect();
    m_out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n";
    writeFontTable();
    writeColorTable();
    writeListTables();
    for (QTextBlock block = m_doc.begin(); block.isValid(); block = block.next())
        writeBlock(block);
    m_out.append("}\n");
    return m_out;
}

void Writer::writeFontTable()
{
    m_out.append("{\\fonttbl");
    for (int i = 0; i < m_fonts.size(); ++i) {
        word("{\\f", i);
        m_out.append("\\fnil\\fcharset0 ");
        writeText(m_fonts[i]);
        m_out.append(";}");
    }
    m_out.append("}\n");
}

void Writer::writeColorTable()
{
    m_out.append("{\\colortbl;");
    for (const QColor &color : std::as_const(m_colors)) {
        word("\\red", color.red());
        word("\\green", color.green());
        word("\\blue", color.blue());
        m_out.append(';');
    }
    m_out.append("}\n");
}

void Writer::writeLevelText(const QString &levelText)
{
    // Placeholders and the length are bytes; the rest is ordinary text.
    for (QChar c : levelText) {
        if (c.unicode() < 0x20) {
            m_out.append("\\'");
            m_out.append(QByteArray::number(c.unicode(), 16).rightJustified(2, '0'));
        } else {
            writeText(QStringView(&c, 1));
        }
    }
}

void Writer::writeListTables()
{
    if (m_lists.isEmpty())
        return;
    m_out.append("{\\*\\listtable\n");
    for (int i = 0; i < m_lists.size(); ++i) {
        const QTextListFormat format = m_lists[i]->format();
        const int nfc = int(numberFormatFor(format.style()));
        word("{\\list\\listtemplateid", i + 1);
        // Every level uses the list's style, so that whichever level the
        // list sits at, other readers show what the document shows.
        for (int level = 0; level < kMaxListLevels; ++level) {
            word("{\\listlevel\\levelnfc", nfc);
            word("\\levelnfcn", nfc);
            m_out.append("\\leveljc0\\levelfollow0\\levelstartat1{\\leveltext");
            const QString levelText = levelTextFor(format, level);
            writeLevelText(levelText);
            m_out.append(";}{\\levelnumbers");
            for (qsizetype pos = 1; pos < levelText.size(); ++pos) {
                if (levelText[pos].unicode() < kMaxListLevels) {
                    m_out.append("\\'");
                    m_out.append(QByteArray::number(int(pos), 16).rightJustified(2, '0'));
                }
            }
            m_out.append(";}");
            word("\\fi", -kListHangTwips);
            word("\\li", kListLevelTwips * (level + 1));
            m_out.append("}");
        }
        word("\\listid", i + 1);
        m_out.append("}\n");
    }
    m_out.append("}\n{\\*\\listoverridetable");
    for (int i = 0; i < m_lists.size(); ++i) {
        word("{\\listoverride\\listid", i + 1);
        word("\\listoverridecount0\\ls", i + 1);
        m_out.append('}');
    }
    m_out.append("}\n");
}

void Writer::writeBlock(const QTextBlock &block)
{
    const QTextBlockFormat format = block.blockFormat();
    QTextList *list = block.textList();

    int left = pixelsToTwips(format.leftMargin() + format.indent() * m_doc.indentWidth());
    int first = pixelsToTwips(format.textIndent());
    const int right = pixelsToTwips(format.rightMargin());
    int level = 0;
    if (list) {
        level = qBound(1, list->format().indent(), kMaxListLevels);
        left = qMin(kMaxTwips, qMax(0, left) + kListLevelTwips * level);
        // The number hangs in front of the text unless the first line is
        // indented, which RtfReader then keeps as the block's own indent.
        first = first > 0 ? first : -kListHangTwips;
    }

    m_out.append("\\pard");
    const Qt::Alignment alignment = format.alignment() & Qt::AlignHorizontal_Mask;
    if (alignment & Qt::AlignHCenter)
        word("\\qc");
    else if (alignment & Qt::AlignJustify)
        word("\\qj");
    else if (alignment & Qt::AlignRight)
        word("\\qr");
    if (left != 0)
        word("\\li", left);
    if (right != 0)
        word("\\ri", right);
    if (first != 0)
        word("\\fi", first);
    if (list) {
        word("\\ls", m_listIndex.value(list));
        word("\\ilvl", level - 1);
        // Readers that know no lists show this text instead of a number.
        m_out.append("{\\listtext ");
        const QTextListFormat listFormat = list->format();
        if (isBulletStyle(listFormat.style()))
            writeText(levelTextFor(listFormat, level - 1).mid(1));
        else
            writeText(list->itemText(block));
        m_out.append("\\tab}");
    } else {
        m_out.append(' ');   // ends the last control word; after a group it would be text
    }

    for (auto it = block.begin(); !it.atEnd(); ++it)
        writeRun(it.fragment());
    m_out.append("\\par\n");
}

void Writer::writeRun(const QTextFragment &fragment)
{
    const QTextCharFormat format = fragment.charFormat();
    if (format.isImageFormat())
        return;

    const qsizetype mark = m_out.size();
    m_out.append('{');
    if (format.fontWeight() >= QFont::DemiBold)
        word("\\b");
    if (format.fontItalic())
        word("\\i");
    if (const char *underline = underlineWord(underlineOf(format)))
        word(underline);
    if (format.fontStrikeOut())
        word("\\strike");
    if (const QString family = fontFamilyOf(format); !family.isEmpty())
        word("\\f", fontIndex(family));
    if (format.hasProperty(QTextFormat::FontPointSize)) {
        const qreal points = format.fontPointSize();
        if (points > 0)
            word("\\fs", qBound(1, qRound(qMin<qreal>(points, kMaxHalfPoints) * 2), kMaxHalfPoints));
    }
    if (const QColor color = brushColor(format, QTextFormat::ForegroundBrush); color.isValid())
        word("\\cf", colorIndex(color));
    if (const QColor color = brushColor(format, QTextFormat::BackgroundBrush); color.isValid())
        word("\\highlight", colorIndex(color));

    if (m_out.size() == mark + 1) {
        m_out.truncate(mark);   // plain text needs no group
        writeText(fragment.text());
        return;
    }
    m_out.append(' ');
    writeText(fragment.text());
    m_out.append('}');
}

void Writer::writeText(QStringView text)
{
    for (QChar ch : text) {
        const char16_t c = ch.unicode();
        switch (c) {
        case u'\\':
        case u'{':
        case u'}':
            m_out.append('\\');
            m_out.append(char(c));
            continue;
        case u'\t':
            m_out.append("\\tab ");
            continue;
        case QChar::LineSeparator:
            m_out.append("\\line ");
            continue;
        default:
            break;
        }
        if (!isStorableChar(c))
            continue;
        if (c < 0x80) {
            m_out.append(char(c));
            continue;
        }
        // Sixteen-bit units, signed as RTF wants them; characters outside the
        // basic plane go out as their surrogate pair.
        word("\\u", c > 0x7FFF ? int(c) - 0x10000 : int(c));
        m_out.append('?');
    }
}

} // namespace

QByteArray writeRtf(const QTextDocument &doc)
{
    return Writer(doc).write();
}

} // namespace corvadel::richtext::detail
