#pragma once

#include <QLineEdit>
#include <QPointer>

namespace corvadel::data {
class DataSource;
}

namespace corvadel::controls {

// A read-only text field that shows one field of a data source's current
// record through the field's display format.
class DataText : public QLineEdit
{
    Q_OBJECT

public:
    DataText(data::DataSource *source, const QString &fieldName, QWidget *parent = nullptr);
    const QString &fieldName() const { return m_fieldName; }

private:
    void refresh();

    QPointer<data::DataSource> m_source;
    QString m_fieldName;
};

} // namespace corvadel::controls
