#pragma once

#include <QLabel>
#include "data/DataSource.h"

#include <QPointer>

namespace corvadel::data {
class DataSource;
}

namespace corvadel::controls {

// Shows the state of one dataset as a word: "Inactive", "Browse", "Edit",
// "Insert", ... The data source it watches can be changed at any time.
class StatePane : public QLabel
{
    Q_OBJECT

public:
    explicit StatePane(QWidget *parent = nullptr);
    void setDataSource(data::DataSource *source);
    data::DataSource *dataSource() const { return m_source; }

private:
    void refresh();
    QPointer<data::DataSource> m_source;
};

} // namespace corvadel::controls
