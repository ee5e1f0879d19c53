#pragma once

#include "data/DataSource.h"

#include <QPointer>
#include <QWidget>

class QToolButton;

namespace corvadel::data {
class DataSource;
}

namespace corvadel::controls {

// The record navigator: First, Prior, Next, Last, and optionally Insert,
// Delete, Edit, Post, Cancel and Refresh, acting on one data source that can
// be changed at any time.
class RecordNavigator : public QWidget
{
    Q_OBJECT

public:
    enum Button { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel, Refresh };
    static constexpr int ButtonCount = 10;

    explicit RecordNavigator(QWidget *parent = nullptr, bool allButtons = false);

    void setDataSource(data::DataSource *source);
    data::DataSource *dataSource() const { return m_source; }
    QToolButton *button(Button b) const { return m_buttons[b]; }

signals:
    // A button was used (the state pane of an editor window follows it).
    void buttonClicked(corvadel::controls::RecordNavigator::Button button);

private:
    void press(Button b);
    void updateButtons();

    QPointer<data::DataSource> m_source;
    QToolButton *m_buttons[ButtonCount] = {};
    bool m_allButtons;
};

} // namespace corvadel::controls
