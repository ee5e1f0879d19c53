#pragma once

#include <QString>
#include <QTextListFormat>

#include <optional>

// How QTextList styles map to RTF list levels (\levelnfc and \leveltext) and
// to the older paragraph numbering (\pn), in both directions.

namespace corvadel::richtext::detail {

// \levelnfc values: the number formats word processors agree on.
enum class RtfNumberFormat : int {
    Decimal = 0,
    UpperRoman = 1,
    LowerRoman = 2,
    UpperLetter = 3,
    LowerLetter = 4,
    Bullet = 23,
    None = 255,
};

// One level of a \listtable list, as read.
struct RtfListLevel
{
    int numberFormat = int(RtfNumberFormat::Decimal);
    // \leveltext's characters: a length, the text with the placeholders
    // U+0000..U+0008 standing for level numbers, usually a closing ';'.
    QString levelText;
    bool hasLevelText = false;
};

// The list format of a paragraph at list level `level` (0-based), or nothing
// when that level shows no number or bullet.
std::optional<QTextListFormat> listFormatForLevel(const RtfListLevel &level, int levelIndex);

// The list format for old-style numbering (\pnlvlblt, \pndec, ...).
QTextListFormat legacyListFormat(QTextListFormat::Style style, const QString &textBefore,
                                 const QString &textAfter, int levelIndex);

// Which bullet a word processor's bullet text shows (•, ◦, ▪ and the Symbol
// and Wingdings glyphs standing for them).
QTextListFormat::Style bulletStyleFor(QStringView bulletText);

bool isBulletStyle(QTextListFormat::Style style);

// Writing: the \levelnfc and the \leveltext characters (length first, no
// closing ';') for a list format shown at list level `levelIndex`.
RtfNumberFormat numberFormatFor(QTextListFormat::Style style);
QString levelTextFor(const QTextListFormat &format, int levelIndex);

// Number prefixes and suffixes as both sides keep them: no control
// characters, at most kMaxNumberAffixLength characters.
QString cleanAffix(QStringView text);

} // namespace corvadel::richtext::detail
