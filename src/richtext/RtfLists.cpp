#include "RtfLists.h"

#include "RtfLimits.h"
#include "StorableText.h"

namespace corvadel::richtext::detail {

namespace {

bool isPlaceholder(QChar c)
{
    return c.unicode() < kMaxListLevels;
}

QTextListFormat::Style styleForNumberFormat(int numberFormat)
{
    switch (RtfNumberFormat(numberFormat)) {
    case RtfNumberFormat::UpperRoman: return QTextListFormat::ListUpperRoman;
    case RtfNumberFormat::LowerRoman: return QTextListFormat::ListLowerRoman;
    case RtfNumberFormat::UpperLetter: return QTextListFormat::ListUpperAlpha;
    case RtfNumberFormat::LowerLetter: return QTextListFormat::ListLowerAlpha;
    default: return QTextListFormat::ListDecimal;   // also ordinals, Kanji, ...: still numbers
    }
}

QTextListFormat baseFormat(QTextListFormat::Style style, int levelIndex)
{
    QTextListFormat format;
    format.setStyle(style);
    format.setIndent(qBound(0, levelIndex, kMaxListLevels - 1) + 1);
    return format;
}

} // namespace

QString cleanAffix(QStringView text)
{
    QString out;
    for (QChar c : text) {
        if (c.unicode() < 0x20 || c.isSurrogate() || !isStorableChar(c.unicode()))
            continue;
        if (out.size() == kMaxNumberAffixLength)
            break;
        out.append(c);
    }
    return out;
}

bool isBulletStyle(QTextListFormat::Style style)
{
    return style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle
        || style == QTextListFormat::ListSquare;
}

QTextListFormat::Style bulletStyleFor(QStringView bulletText)
{
    for (QChar c : bulletText) {
        switch (c.unicode()) {
        case 0x25E6: // ◦
        case 0x25CB: // ○
        case u'o':   // Word's second-level bullet, "o" in Courier New
        case 0xF06F:
            return QTextListFormat::ListCircle;
        case 0x25AA: // ▪
        case 0x25A0: // ■
        case 0xF0A7: // Wingdings square as Word writes it
        case 0xF06E:
        case 0x00A7: // the same Wingdings byte read through a code page
            return QTextListFormat::ListSquare;
        case u' ':
            continue;
        default:
            return QTextListFormat::ListDisc;
        }
    }
    return QTextListFormat::ListDisc;
}

std::optional<QTextListFormat> listFormatForLevel(const RtfListLevel &level, int levelIndex)
{
    if (level.numberFormat == int(RtfNumberFormat::None))
        return std::nullopt;

    // \leveltext starts with its own length; what follows it is the closing ';'.
    QStringView body;
    if (level.hasLevelText && !level.levelText.isEmpty()) {
        const QStringView raw(level.levelText);
        const qsizetype length = qMin<qsizetype>(raw.front().unicode(), raw.size() - 1);
        body = raw.sliced(1, length);
    }

    if (level.numberFormat == int(RtfNumberFormat::Bullet))
        return baseFormat(bulletStyleFor(body), levelIndex);

    QTextListFormat format = baseFormat(styleForNumberFormat(level.numberFormat), levelIndex);
    if (!level.hasLevelText) {
        format.setNumberPrefix(QString());
        format.setNumberSuffix(QStringLiteral("."));
        return format;
    }
    qsizetype first = -1;
    qsizetype last = -1;
    for (qsizetype i = 0; i < body.size(); ++i) {
        if (isPlaceholder(body[i])) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    if (first < 0) {
        // A fixed text instead of a number: keep it as the prefix so it shows.
        format.setNumberPrefix(cleanAffix(body));
        format.setNumberSuffix(QString());
        return format;
    }
    format.setNumberPrefix(cleanAffix(body.first(first)));
    format.setNumberSuffix(cleanAffix(body.sliced(last + 1)));
    return format;
}

QTextListFormat legacyListFormat(QTextListFormat::Style style, const QString &textBefore,
                                 const QString &textAfter, int levelIndex)
{
    if (isBulletStyle(style))
        return baseFormat(bulletStyleFor(textBefore), levelIndex);
    QTextListFormat format = baseFormat(style, levelIndex);
    format.setNumberPrefix(cleanAffix(textBefore));
    format.setNumberSuffix(cleanAffix(textAfter));
    return format;
}

RtfNumberFormat numberFormatFor(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListDisc:
    case QTextListFormat::ListCircle:
    case QTextListFormat::ListSquare:
        return RtfNumberFormat::Bullet;
    case QTextListFormat::ListUpperRoman: return RtfNumberFormat::UpperRoman;
    case QTextListFormat::ListLowerRoman: return RtfNumberFormat::LowerRoman;
    case QTextListFormat::ListUpperAlpha: return RtfNumberFormat::UpperLetter;
    case QTextListFormat::ListLowerAlpha: return RtfNumberFormat::LowerLetter;
    default: return RtfNumberFormat::Decimal;
    }
}

QString levelTextFor(const QTextListFormat &format, int levelIndex)
{
    QString body;
    switch (format.style()) {
    case QTextListFormat::ListDisc: body = QChar(0x2022); break;
    case QTextListFormat::ListCircle: body = QChar(0x25E6); break;
    case QTextListFormat::ListSquare: body = QChar(0x25AA); break;
    default: {
        // A list format without a suffix of its own shows "1." in the editor.
        const QString suffix = format.hasProperty(QTextFormat::ListNumberSuffix) ? format.numberSuffix()
                                                                                  : QStringLiteral(".");
        body = cleanAffix(format.numberPrefix()) + QChar(char16_t(qBound(0, levelIndex, kMaxListLevels - 1)))
            + cleanAffix(suffix);
        break;
    }
    }
    return QChar(char16_t(body.size())) + body;
}

} // namespace corvadel::richtext::detail
