#pragma once

#include <QLabel>
#include <QPointer>

namespace corvadel::data {
class DataSource;
}

namespace corvadel::controls {

// A label showing one field of a data source's current record through the
// field's display format, as a status bar pane does.
class DataLabel : public QLabel
{
    Q_OBJECT

public:
    DataLabel(data::DataSource *source, const QString &fieldName, QWidget *parent = nullptr);
    const QString &fieldName() const { return m_fieldName; }

private:
    void refresh();

    QPointer<data::DataSource> m_source;
    QString m_fieldName;
};

} // namespace corvadel::controls
