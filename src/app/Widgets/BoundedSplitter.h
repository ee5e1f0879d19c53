#pragma once

#include <QSplitter>
#include <QSplitterHandle>

namespace corvadel::app {

// A splitter of two widgets whose first side starts at a fraction of the
// whole and can be dragged only between two fractions. Optionally its bar
// carries a hot spot that collapses the first side and restores it.
class BoundedSplitter : public QSplitter
{
    Q_OBJECT

public:
    BoundedSplitter(Qt::Orientation orientation, double initial, double minimum, double maximum,
                    QWidget *parent = nullptr);

    void setHotSpot(bool on) { m_hotSpot = on; }
    bool hasHotSpot() const { return m_hotSpot; }

    // The first side's share of the whole (0 while collapsed).
    double firstFraction() const;
    bool isCollapsed() const { return m_collapsed; }
    // The hot spot's action: collapse the first side, or restore it to the
    // size it had.
    void toggleCollapsed();
    // Moves the bar as a drag would, to the first side's share given.
    void dragTo(double fraction);

protected:
    QSplitterHandle *createHandle() override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    int total() const;
    void clamp();
    void setFirst(int size);

    double m_initial;
    double m_minimum;
    double m_maximum;
    bool m_hotSpot = false;
    bool m_placed = false;
    bool m_collapsed = false;
    int m_restoreSize = 0;
    bool m_clamping = false;
};

// The bar between the sides; with a hot spot in its middle, a click there
// collapses or restores the first side instead of starting a drag.
class HotSpotHandle : public QSplitterHandle
{
    Q_OBJECT

public:
    HotSpotHandle(Qt::Orientation orientation, BoundedSplitter *parent);
    QRect hotSpot() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    BoundedSplitter *m_splitter;
    bool m_pressedOnSpot = false;
};

} // namespace corvadel::app
