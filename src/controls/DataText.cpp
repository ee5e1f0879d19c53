#include "controls/DataText.h"

#include "data/DataSource.h"

namespace corvadel::controls {

DataText::DataText(data::DataSource *source, const QString &fieldName, QWidget *parent)
    : QLineEdit(parent), m_source(source), m_fieldName(fieldName)
{
    setReadOnly(true);
    setObjectName(QStringLiteral("DBText") + fieldName);
    if (!source)
        return;
    connect(source, &data::DataSource::currentRowChanged, this, &DataText::refresh);
    connect(source, &data::DataSource::fieldChanged, this, &DataText::refresh);
    connect(source, &data::DataSource::rowsReset, this, &DataText::refresh);
    connect(source, &data::DataSource::rowChanged, this, &DataText::refresh);
    refresh();
}

void DataText::refresh()
{
    data::Dataset *ds = m_source ? m_source->dataSet() : nullptr;
    data::Field *field = ds ? ds->findField(m_fieldName) : nullptr;
    const QString text = field && ds->isOpen() && (ds->currentRow() >= 0) ? field->displayText() : QString();
    if (text != this->text()) {
        setText(text);
        setCursorPosition(0);
    }
}

} // namespace corvadel::controls
