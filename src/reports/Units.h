#pragma once

#include <QFont>
#include <QRectF>

namespace corvadel::reports {

// Sheets are declared in millimetres and laid out in dots of a fixed
// resolution, independent of the device they go to: the same layout (and so
// the same page count) serves the preview, a printer and a PDF file; painting
// scales it to the device.
inline constexpr qreal kLayoutDpi = 1200.0;

constexpr qreal fromMm(qreal mm) { return mm / 25.4 * kLayoutDpi; }
constexpr qreal toMm(qreal dots) { return dots * 25.4 / kLayoutDpi; }
constexpr qreal fromPt(qreal points) { return points / 72.0 * kLayoutDpi; }

inline QRectF fromMm(const QRectF &mm)
{
    return QRectF(fromMm(mm.x()), fromMm(mm.y()), fromMm(mm.width()), fromMm(mm.height()));
}

// A sans-serif font of the given size, as the sheets declare their fonts.
QFont sheetFont(qreal pointSize, bool bold = false);

// The declared font with its size fixed in layout dots. A point size would be
// resolved again against each device's resolution when painting; a pixel size
// at the layout resolution scales with the painter like everything else.
QFont layoutFont(const QFont &declared);

} // namespace corvadel::reports
