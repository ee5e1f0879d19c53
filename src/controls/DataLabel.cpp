#include "controls/DataLabel.h"

#include "data/DataSource.h"

namespace corvadel::controls {

DataLabel::DataLabel(data::DataSource *source, const QString &fieldName, QWidget *parent)
    : QLabel(parent), m_source(source), m_fieldName(fieldName)
{
    if (!source)
        return;
    connect(source, &data::DataSource::currentRowChanged, this, &DataLabel::refresh);
    connect(source, &data::DataSource::fieldChanged, this, &DataLabel::refresh);
    connect(source, &data::DataSource::rowsReset, this, &DataLabel::refresh);
    connect(source, &data::DataSource::rowChanged, this, &DataLabel::refresh);
    connect(source, &data::DataSource::dataSetChanged, this, &DataLabel::refresh);
    refresh();
}

void DataLabel::refresh()
{
    data::Dataset *ds = m_source ? m_source->dataSet() : nullptr;
    data::Field *field = ds ? ds->findField(m_fieldName) : nullptr;
    setText(field && ds->isOpen() && ds->currentRow() >= 0 ? field->displayText() : QString());
}

} // namespace corvadel::controls
