#include "app/Widgets/BoundedSplitter.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

#include <algorithm>
#include <cmath>

namespace corvadel::app {

BoundedSplitter::BoundedSplitter(Qt::Orientation orientation, double initial, double minimum, double maximum,
                                 QWidget *parent)
    : QSplitter(orientation, parent), m_initial(initial), m_minimum(minimum), m_maximum(maximum)
{
    setChildrenCollapsible(false);
    setOpaqueResize(true);
    connect(this, &QSplitter::splitterMoved, this, [this] {
        // Any drag ends a collapse; the bounds then apply again.
        m_collapsed = false;
        clamp();
    });
}

int BoundedSplitter::total() const
{
    const QList<int> s = sizes();
    return s.size() == 2 ? s[0] + s[1] : 0;
}

double BoundedSplitter::firstFraction() const
{
    const QList<int> s = sizes();
    const int whole = total();
    return whole > 0 ? double(s[0]) / whole : 0.0;
}

void BoundedSplitter::setFirst(int size)
{
    const int whole = total();
    if (whole <= 0)
        return;
    m_clamping = true;
    setSizes({size, whole - size});
    m_clamping = false;
}

void BoundedSplitter::clamp()
{
    if (m_clamping || m_collapsed || count() != 2)
        return;
    const int whole = total();
    if (whole <= 0)
        return;
    const int first = sizes()[0];
    const int low = int(std::ceil(whole * m_minimum));
    const int high = int(std::floor(whole * m_maximum));
    const int bounded = std::clamp(first, low, high);
    if (bounded != first)
        setFirst(bounded);
}

void BoundedSplitter::dragTo(double fraction)
{
    const int whole = total();
    m_collapsed = false;
    moveSplitter(int(std::lround(whole * fraction)), 1);
    clamp();
}

void BoundedSplitter::toggleCollapsed()
{
    if (count() != 2)
        return;
    if (m_collapsed) {
        m_collapsed = false;
        setFirst(m_restoreSize);
        clamp();
        return;
    }
    m_restoreSize = sizes()[0];
    m_collapsed = true;
    setCollapsible(0, true);   // or the splitter keeps the side's minimum size
    setFirst(0);
}

void BoundedSplitter::showEvent(QShowEvent *event)
{
    QSplitter::showEvent(event);
    if (!m_placed && total() > 0) {
        m_placed = true;
        setFirst(int(std::lround(total() * m_initial)));
    }
}

void BoundedSplitter::resizeEvent(QResizeEvent *event)
{
    QSplitter::resizeEvent(event);
    if (!m_placed && isVisible() && total() > 0) {
        m_placed = true;
        setFirst(int(std::lround(total() * m_initial)));
    }
    clamp();
}

QSplitterHandle *BoundedSplitter::createHandle()
{
    return new HotSpotHandle(orientation(), this);
}

// --- the bar ------------------------------------------------------------------

HotSpotHandle::HotSpotHandle(Qt::Orientation orientation, BoundedSplitter *parent)
    : QSplitterHandle(orientation, parent), m_splitter(parent)
{
    setMouseTracking(true);
}

QSize HotSpotHandle::sizeHint() const
{
    QSize hint = QSplitterHandle::sizeHint();
    if (m_splitter->hasHotSpot()) {
        if (orientation() == Qt::Horizontal)
            hint.setWidth(std::max(hint.width(), 8));
        else
            hint.setHeight(std::max(hint.height(), 8));
    }
    return hint;
}

QRect HotSpotHandle::hotSpot() const
{
    if (!m_splitter->hasHotSpot())
        return {};
    const int length = 48;
    if (orientation() == Qt::Horizontal)
        return QRect(0, (height() - length) / 2, width(), length);
    return QRect((width() - length) / 2, 0, length, height());
}

void HotSpotHandle::paintEvent(QPaintEvent *event)
{
    QSplitterHandle::paintEvent(event);
    const QRect spot = hotSpot();
    if (spot.isNull())
        return;
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(spot, palette().color(QPalette::Mid));
    // An arrow pointing the way the click moves the bar.
    const bool opens = m_splitter->isCollapsed();
    const QPointF c = QRectF(spot).center();
    const qreal s = std::min(spot.width(), 6) / 2.0;
    QPolygonF arrow;
    if (orientation() == Qt::Horizontal) {
        const qreal d = opens ? s : -s;
        arrow << QPointF(c.x() + d, c.y()) << QPointF(c.x() - d, c.y() - s * 1.6) << QPointF(c.x() - d, c.y() + s * 1.6);
    } else {
        const qreal d = opens ? s : -s;
        arrow << QPointF(c.x(), c.y() + d) << QPointF(c.x() - s * 1.6, c.y() - d) << QPointF(c.x() + s * 1.6, c.y() - d);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(palette().color(QPalette::Light));
    p.drawPolygon(arrow);
}

void HotSpotHandle::mousePressEvent(QMouseEvent *event)
{
    m_pressedOnSpot = event->button() == Qt::LeftButton && hotSpot().contains(event->position().toPoint());
    if (!m_pressedOnSpot)
        QSplitterHandle::mousePressEvent(event);
}

void HotSpotHandle::mouseMoveEvent(QMouseEvent *event)
{
    setCursor(hotSpot().contains(event->position().toPoint()) ? Qt::PointingHandCursor
              : orientation() == Qt::Horizontal                ? Qt::SplitHCursor
                                                               : Qt::SplitVCursor);
    if (!m_pressedOnSpot)
        QSplitterHandle::mouseMoveEvent(event);
}

void HotSpotHandle::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_pressedOnSpot) {
        m_pressedOnSpot = false;
        if (hotSpot().contains(event->position().toPoint())) {
            m_splitter->toggleCollapsed();
            update();
        }
        return;
    }
    QSplitterHandle::mouseReleaseEvent(event);
}

} // namespace corvadel::app
