#pragma once

// Characters a document must not hold as text: controls other than tab,
// QTextDocument's own paragraph and frame markers, the object placeholder and
// non-characters. Breaks travel as \par and \line instead. Reader and writer
// drop the same set, so what one drops the other never sees.

#include <QChar>

namespace corvadel::richtext::detail {

inline bool isStorableChar(char16_t c)
{
    if (c < 0x20)
        return c == u'\t';
    switch (c) {
    case 0x007F: // delete
    case 0x2029: // paragraph separator
    case 0xFDD0: // QTextBeginningOfFrame
    case 0xFDD1: // QTextEndOfFrame
    case 0xFFFC: // object replacement
    case 0xFFFE:
    case 0xFFFF:
        return false;
    default:
        return true;
    }
}

// Font names and list number texts hold no tab either; a ';' would end a
// font table entry.
inline bool isFontNameChar(QChar c)
{
    return c != u';' && c != u'\t' && isStorableChar(c.unicode());
}

} // namespace corvadel::richtext::detail
