#pragma once

#include "RtfLimits.h"

#include <QtGlobal>

#include <cmath>

// How the document's measures map to RTF's, shared by the reader and the
// writer so that what one writes the other reads back to the same value.

namespace corvadel::richtext::detail {

// QTextDocument margins are in pixels at 96 dpi; RTF counts twips (1/1440 in).
inline constexpr int kTwipsPerPixel = 15;

// A list paragraph's RTF indent includes the list's own indentation, which in
// the document comes from the list format instead: half an inch per level,
// as word processors lay out their default lists, with the number hanging
// a quarter inch to the left of the text.
inline constexpr int kListLevelTwips = 720;
inline constexpr int kListHangTwips = 360;

inline qreal twipsToPixels(int twips)
{
    return qreal(twips) / kTwipsPerPixel;
}

// Clamped, so that a document with absurd margins still writes valid RTF.
inline int pixelsToTwips(qreal pixels)
{
    const qreal twips = pixels * kTwipsPerPixel;
    if (!std::isfinite(twips))
        return 0;
    return qRound(qBound<qreal>(-kMaxTwips, twips, kMaxTwips));
}

} // namespace corvadel::richtext::detail
