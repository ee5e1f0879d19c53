#include "reports/Units.h"

#include <QStringList>
#include <QtMath>

namespace corvadel::reports {

QFont sheetFont(qreal pointSize, bool bold)
{
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Helvetica"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

QFont layoutFont(const QFont &declared)
{
    QFont font = declared;
    const qreal points = declared.pointSizeF() > 0 ? declared.pointSizeF() : 10.0;
    font.setPixelSize(qMax(1, qRound(fromPt(points))));
    font.setHintingPreference(QFont::PreferNoHinting);
    // No ligatures: a printed "fi" must still read (and be found) as two letters.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

} // namespace corvadel::reports
