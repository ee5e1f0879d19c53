#include "app/Artwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <functional>

namespace corvadel::app::artwork {

namespace {

// The colours of every picture, so the set reads as one.
const QColor Ink(0x2b, 0x3a, 0x4a);
const QColor Paper(0xff, 0xff, 0xff);
const QColor Blue(0x3d, 0x7c, 0xc9);
const QColor Teal(0x1f, 0x8a, 0x84);
const QColor Amber(0xe0, 0xa5, 0x26);
const QColor Red(0xc9, 0x46, 0x3d);
const QColor Green(0x3f, 0x9b, 0x4f);
const QColor Purple(0x7a, 0x5b, 0xb5);
const QColor Steel(0x8a, 0x98, 0xa8);

using Painting = std::function<void(QPainter &)>;

// Paints on a 24-unit square scaled to the pixmap, so one drawing serves
// every size.
QPixmap render(int size, const Painting &paint)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 24.0, size / 24.0);
    paint(p);
    return pixmap;
}

QPen inkPen(qreal width = 1.3)
{
    QPen pen(Ink, width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

void page(QPainter &p, const QRectF &r)
{
    const qreal fold = r.width() * 0.32;
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(inkPen());
    p.setBrush(Paper);
    p.drawPath(path);
    QPainterPath corner;
    corner.moveTo(r.right() - fold, r.top());
    corner.lineTo(r.right() - fold, r.top() + fold);
    corner.lineTo(r.right(), r.top() + fold);
    p.setBrush(Qt::NoBrush);
    p.drawPath(corner);
}

void person(QPainter &p, const QPointF &head, qreal scale, const QColor &colour)
{
    p.setPen(inkPen());
    p.setBrush(colour);
    p.drawEllipse(head, 3.2 * scale, 3.2 * scale);
    QPainterPath body;
    const qreal w = 6.5 * scale;
    const qreal top = head.y() + 4.3 * scale;
    const qreal bottom = head.y() + 11.5 * scale;
    body.moveTo(head.x() - w, bottom);
    body.cubicTo(head.x() - w, top, head.x() + w, top, head.x() + w, bottom);
    body.closeSubpath();
    p.drawPath(body);
}

void folder(QPainter &p, const QRectF &r, const QColor &colour)
{
    QPainterPath path;
    path.moveTo(r.left(), r.top() + 2.5);
    path.lineTo(r.left(), r.bottom());
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.right(), r.top() + 2.5);
    path.lineTo(r.left() + r.width() * 0.45, r.top() + 2.5);
    path.lineTo(r.left() + r.width() * 0.38, r.top());
    path.lineTo(r.left() + 0.5, r.top());
    path.closeSubpath();
    p.setPen(inkPen());
    p.setBrush(colour);
    p.drawPath(path);
}

void check(QPainter &p, const QPointF &at, qreal scale, const QColor &colour, qreal width)
{
    QPen pen(colour, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    QPainterPath tick;
    tick.moveTo(at + QPointF(-3.5, 0) * scale);
    tick.lineTo(at + QPointF(-1, 2.6) * scale);
    tick.lineTo(at + QPointF(4, -3) * scale);
    p.drawPath(tick);
}

void arrowHead(QPainter &p, const QPointF &tip, qreal angleDegrees)
{
    const qreal a = qDegreesToRadians(angleDegrees);
    const QPointF back(-std::cos(a) * 3.2, -std::sin(a) * 3.2);
    const QPointF side(-std::sin(a) * 2.2, std::cos(a) * 2.2);
    QPolygonF head;
    head << tip << tip + back + side << tip + back - side;
    p.setPen(Qt::NoPen);
    p.setBrush(Purple);
    p.drawPolygon(head);
}

void drawGlyph(QPainter &p, Glyph glyph)
{
    switch (glyph) {
    case Glyph::New:
        page(p, QRectF(4, 2.5, 13, 17));
        p.setPen(inkPen());
        p.setBrush(Green);
        p.drawEllipse(QPointF(17.5, 17.5), 5, 5);
        p.setPen(QPen(Paper, 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(17.5, 15), QPointF(17.5, 20));
        p.drawLine(QPointF(15, 17.5), QPointF(20, 17.5));
        break;
    case Glyph::AllProjects:
        for (int i = 0; i < 3; ++i) {
            const qreal y = 4 + i * 6.5;
            p.setPen(inkPen());
            p.setBrush(Blue);
            p.drawRoundedRect(QRectF(2.5, y, 5, 4.5), 1, 1);
            p.setBrush(Paper);
            p.drawRoundedRect(QRectF(9.5, y + 0.5, 12, 3.5), 1, 1);
        }
        break;
    case Glyph::ActiveProject:
        folder(p, QRectF(2.5, 4, 19, 15.5), Blue);
        check(p, QPointF(12, 12.5), 1.0, Paper, 2.0);
        break;
    case Glyph::ProjectRoles:
        person(p, QPointF(10, 6.5), 1.0, Teal);
        p.setPen(inkPen());
        p.setBrush(Amber);
        p.drawRoundedRect(QRectF(14, 12.5, 8, 9), 1.2, 1.2);
        p.drawLine(QPointF(16, 16), QPointF(20, 16));
        p.drawLine(QPointF(16, 18.5), QPointF(19, 18.5));
        break;
    case Glyph::Products: {
        const QPointF top(12, 3), left(3.5, 7.5), right(20.5, 7.5), mid(12, 12), bottom(12, 21.5);
        p.setPen(inkPen());
        p.setBrush(Amber.lighter(125));
        p.drawPolygon(QPolygonF({top, right, mid, left}));
        p.setBrush(Amber);
        p.drawPolygon(QPolygonF({left, mid, bottom, QPointF(3.5, 17)}));
        p.setBrush(Amber.darker(120));
        p.drawPolygon(QPolygonF({mid, right, QPointF(20.5, 17), bottom}));
        break;
    }
    case Glyph::Risks: {
        QPainterPath tri;
        tri.moveTo(12, 2.5);
        tri.lineTo(22, 20.5);
        tri.lineTo(2, 20.5);
        tri.closeSubpath();
        p.setPen(inkPen());
        p.setBrush(Amber);
        p.drawPath(tri);
        p.setPen(QPen(Ink, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(12, 8.5), QPointF(12, 14));
        p.drawPoint(QPointF(12, 17.5));
        break;
    }
    case Glyph::Issues:
        p.setPen(inkPen());
        p.setBrush(Red);
        p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
        p.setPen(QPen(Paper, 2.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(12, 6.5), QPointF(12, 13));
        p.drawPoint(QPointF(12, 17));
        break;
    case Glyph::QualityReviews:
        page(p, QRectF(3, 2.5, 13, 17));
        check(p, QPointF(8.5, 10), 0.8, Green, 2.0);
        p.setPen(inkPen(1.6));
        p.setBrush(QColor(0xd6, 0xe8, 0xf8));
        p.drawEllipse(QPointF(15, 15), 4.2, 4.2);
        p.setPen(QPen(Ink, 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(18.2, 18.2), QPointF(21.5, 21.5));
        break;
    case Glyph::ChangeRequests: {
        QPen pen(Purple, 2.2, Qt::SolidLine, Qt::RoundCap);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        const QRectF ring(4, 4, 16, 16);
        p.drawArc(ring, 20 * 16, 140 * 16);
        p.drawArc(ring, 200 * 16, 140 * 16);
        arrowHead(p, QPointF(4.6, 9.2), 110);
        arrowHead(p, QPointF(19.4, 14.8), -70);
        break;
    }
    case Glyph::Personnel:
        person(p, QPointF(15.5, 6.5), 0.9, Blue);
        person(p, QPointF(9, 8.5), 1.0, Teal);
        break;
    case Glyph::UserAdmin: {
        person(p, QPointF(9, 6.5), 1.0, Steel);
        p.setPen(inkPen());
        p.setBrush(Amber);
        p.drawEllipse(QPointF(16.5, 14.5), 3.3, 3.3);
        p.setPen(QPen(Ink, 2.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(18.8, 16.8), QPointF(22, 20));
        p.drawLine(QPointF(20.6, 18.6), QPointF(19.4, 19.8));
        p.setPen(Qt::NoPen);
        p.setBrush(Ink);
        p.drawEllipse(QPointF(16, 14), 0.9, 0.9);
        break;
    }
    case Glyph::Maintenance: {
        p.save();
        p.translate(12, 12);
        p.rotate(45);
        QPainterPath wrench;
        wrench.addRoundedRect(QRectF(-1.8, -3, 3.6, 13), 1.5, 1.5);
        QPainterPath jaw;
        jaw.addEllipse(QPointF(0, -6), 5, 5);
        QPainterPath slot;
        slot.addRect(QRectF(-1.8, -12, 3.6, 7));
        wrench = wrench.united(jaw).subtracted(slot);
        p.setPen(inkPen());
        p.setBrush(Steel);
        p.drawPath(wrench);
        p.restore();
        break;
    }
    case Glyph::Reports:
        page(p, QRectF(4, 2.5, 16, 19));
        p.setPen(Qt::NoPen);
        p.setBrush(Blue);
        p.drawRect(QRectF(7, 13, 2.5, 5.5));
        p.setBrush(Teal);
        p.drawRect(QRectF(10.8, 9.5, 2.5, 9));
        p.setBrush(Amber);
        p.drawRect(QRectF(14.6, 11.5, 2.5, 7));
        break;
    }
}

// The emblem on the logo tile and the program icon: a sweep of a "C" holding
// three rising bars, the records a project keeps growing.
void emblem(QPainter &p)
{
    QLinearGradient tile(0, 0, 24, 24);
    tile.setColorAt(0, QColor(0x27, 0x9c, 0x95));
    tile.setColorAt(1, QColor(0x16, 0x4e, 0x6e));
    p.setPen(Qt::NoPen);
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(0.5, 0.5, 23, 23), 5, 5);

    QPen arc(QColor(0xff, 0xff, 0xff, 235), 2.6, Qt::SolidLine, Qt::RoundCap);
    p.setPen(arc);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(4, 4, 16, 16), 50 * 16, 260 * 16);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf2, 0xc1, 0x4e));
    p.drawRoundedRect(QRectF(9.2, 12.5, 2, 3.6), 0.5, 0.5);
    p.drawRoundedRect(QRectF(12, 10.3, 2, 5.8), 0.5, 0.5);
    p.drawRoundedRect(QRectF(14.8, 8, 2, 8.1), 0.5, 0.5);
}

} // namespace

QPixmap logo(int size)
{
    return render(size, emblem);
}

QPixmap banner(int width, int height)
{
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient strip(0, 0, width, 0);
    strip.setColorAt(0, QColor(0x16, 0x4e, 0x6e));
    strip.setColorAt(0.7, QColor(0x27, 0x9c, 0x95));
    strip.setColorAt(1, QColor(0x8f, 0xd1, 0xc4));
    p.setPen(Qt::NoPen);
    p.setBrush(strip);
    p.drawRoundedRect(QRectF(0, 0, width, height), height * 0.12, height * 0.12);

    // A few faint rising bars along the right, echoing the emblem.
    p.setBrush(QColor(0xff, 0xff, 0xff, 40));
    for (int i = 0; i < 6; ++i) {
        const qreal w = height * 0.1;
        const qreal h = height * (0.25 + 0.1 * i);
        const qreal x = width - height * 0.2 - (6 - i) * w * 1.6;
        p.drawRect(QRectF(x, height - h - height * 0.12, w, h));
    }

    QFont name(QStringLiteral("DejaVu Sans"));
    name.setPixelSize(int(height * 0.46));
    name.setBold(true);
    name.setLetterSpacing(QFont::PercentageSpacing, 104);
    p.setFont(name);
    p.setPen(Qt::white);
    const QRectF textArea(height * 0.3, 0, width - height * 0.6, height * 0.68);
    p.drawText(textArea, Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("Corvadel"));

    QFont tagline(QStringLiteral("DejaVu Sans"));
    tagline.setPixelSize(std::max(9, int(height * 0.16)));
    p.setFont(tagline);
    p.setPen(QColor(0xe8, 0xf4, 0xf2));
    p.drawText(QRectF(height * 0.32, height * 0.7, width - height * 0.6, height * 0.26),
               Qt::AlignLeft | Qt::AlignTop, QStringLiteral("Project control records"));
    return pixmap;
}

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(logo(size));
    return icon;
}

QIcon toolbarIcon(Glyph glyph)
{
    QIcon icon;
    for (int size : {16, 24, 32, 48})
        icon.addPixmap(render(size, [glyph](QPainter &p) { drawGlyph(p, glyph); }));
    return icon;
}

} // namespace corvadel::app::artwork
