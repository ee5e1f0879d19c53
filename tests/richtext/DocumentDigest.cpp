#include "DocumentDigest.h"

#include "richtext/RichText.h"

#include <QHash>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>

namespace corvadel::richtext::test {

namespace {

QString number(qreal value)
{
    return QString::number(value, 'g', 6);
}

QString quoted(const QString &text)
{
    QString out = QStringLiteral("\"");
    for (QChar c : text) {
        if (c == u'"' || c == u'\\')
            out += u'\\' + QString(c);
        else if (c.unicode() < 0x20 || c.unicode() == 0x2028)
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out + u'"';
}

QString brushName(const QTextCharFormat &format, QTextFormat::Property property)
{
    if (!format.hasProperty(property))
        return {};
    const QBrush brush = format.brushProperty(property);
    if (brush.style() == Qt::NoBrush)
        return {};
    return brush.color().name();
}

QString describeRun(const QTextCharFormat &format)
{
    QStringList parts;
    if (format.hasProperty(QTextFormat::FontWeight))
        parts << QStringLiteral("w=%1").arg(format.fontWeight());
    if (format.fontItalic())
        parts << QStringLiteral("i");
    const int underline = format.hasProperty(QTextFormat::TextUnderlineStyle)
        ? int(format.underlineStyle())
        : (format.fontUnderline() ? int(QTextCharFormat::SingleUnderline) : 0);
    if (underline != 0)
        parts << QStringLiteral("u=%1").arg(underline);
    if (format.fontStrikeOut())
        parts << QStringLiteral("s");
    const QStringList families = format.property(QTextFormat::FontFamilies).toStringList();
    if (!families.isEmpty())
        parts << QStringLiteral("family=") + quoted(families.first());
    if (format.hasProperty(QTextFormat::FontPointSize))
        parts << QStringLiteral("pt=") + number(format.fontPointSize());
    if (const QString fg = brushName(format, QTextFormat::ForegroundBrush); !fg.isEmpty())
        parts << QStringLiteral("fg=") + fg;
    if (const QString bg = brushName(format, QTextFormat::BackgroundBrush); !bg.isEmpty())
        parts << QStringLiteral("bg=") + bg;
    return parts.join(u' ');
}

QString alignmentName(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignHCenter)
        return QStringLiteral("center");
    if (alignment & Qt::AlignJustify)
        return QStringLiteral("justify");
    if (alignment & Qt::AlignRight)
        return QStringLiteral("right");
    return QStringLiteral("left");
}

QString styleName(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListDisc: return QStringLiteral("disc");
    case QTextListFormat::ListCircle: return QStringLiteral("circle");
    case QTextListFormat::ListSquare: return QStringLiteral("square");
    case QTextListFormat::ListDecimal: return QStringLiteral("decimal");
    case QTextListFormat::ListLowerAlpha: return QStringLiteral("lower-alpha");
    case QTextListFormat::ListUpperAlpha: return QStringLiteral("upper-alpha");
    case QTextListFormat::ListLowerRoman: return QStringLiteral("lower-roman");
    case QTextListFormat::ListUpperRoman: return QStringLiteral("upper-roman");
    default: return QStringLiteral("style%1").arg(int(style));
    }
}

} // namespace

QString digest(const QTextDocument &doc)
{
    QString out;
    QHash<const QTextList *, int> listNames;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat format = block.blockFormat();
        out += QStringLiteral("P align=") + alignmentName(format.alignment());
        if (format.leftMargin() != 0)
            out += QStringLiteral(" left=") + number(format.leftMargin());
        if (format.rightMargin() != 0)
            out += QStringLiteral(" right=") + number(format.rightMargin());
        if (format.textIndent() != 0)
            out += QStringLiteral(" first=") + number(format.textIndent());
        if (format.indent() != 0)
            out += QStringLiteral(" blockindent=%1").arg(format.indent());
        if (const QTextList *list = block.textList()) {
            const int name = listNames.value(list, listNames.size() + 1);
            listNames.insert(list, name);
            const QTextListFormat listFormat = list->format();
            out += QStringLiteral(" list=L%1 %2 indent=%3").arg(name).arg(styleName(listFormat.style()))
                       .arg(listFormat.indent());
            // Qt draws bullets itself; only numbers have a text worth comparing.
            if (listFormat.style() != QTextListFormat::ListDisc && listFormat.style() != QTextListFormat::ListCircle
                && listFormat.style() != QTextListFormat::ListSquare)
                out += QStringLiteral(" item=") + quoted(list->itemText(block));
        }
        out += u'\n';

        QString runText;
        QString runFormat;
        const auto flush = [&] {
            if (!runText.isEmpty())
                out += QStringLiteral("  ") + quoted(runText) + (runFormat.isEmpty() ? QString() : u' ' + runFormat)
                    + u'\n';
            runText.clear();
        };
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QString description = describeRun(fragment.charFormat());
            if (description != runFormat)
                flush();
            runFormat = description;
            runText += fragment.text();
        }
        flush();
    }
    return out;
}

QString roundTripProblem(const QByteArray &stored)
{
    QTextDocument doc;
    corvadel::richtext::read(stored, doc);
    const QByteArray rtf = corvadel::richtext::write(doc);
    for (char c : rtf) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return QStringLiteral("the writer produced an eight-bit byte");
    }
    QTextDocument again;
    corvadel::richtext::read(rtf, again);
    const QString first = digest(doc);
    const QString second = digest(again);
    if (first != second)
        return QStringLiteral("--- read\n") + first + QStringLiteral("--- after writing\n") + second;
    return {};
}

} // namespace corvadel::richtext::test
