#include "data/DataSource.h"

namespace corvadel::data {

DataSource::DataSource(const QString &name, Dataset *dataSet, QObject *parent)
    : QObject(parent)
{
    setObjectName(name);
    setDataSet(dataSet);
}

void DataSource::setDataSet(Dataset *dataSet)
{
    if (m_dataSet == dataSet)
        return;
    if (m_dataSet)
        disconnect(m_dataSet, nullptr, this, nullptr);
    m_dataSet = dataSet;
    if (m_dataSet) {
        connect(m_dataSet, &Dataset::stateChanged, this, &DataSource::stateChanged);
        connect(m_dataSet, &Dataset::currentRowChanged, this, &DataSource::currentRowChanged);
        connect(m_dataSet, &Dataset::fieldChanged, this, &DataSource::fieldChanged);
        connect(m_dataSet, &Dataset::rowsReset, this, &DataSource::rowsReset);
        connect(m_dataSet, &Dataset::rowsAppended, this, &DataSource::rowsAppended);
        connect(m_dataSet, &Dataset::rowInserted, this, &DataSource::rowInserted);
        connect(m_dataSet, &Dataset::rowRemoved, this, &DataSource::rowRemoved);
        connect(m_dataSet, &Dataset::rowChanged, this, &DataSource::rowChanged);
        connect(m_dataSet, &Dataset::focusRequested, this, &DataSource::focusRequested);
        connect(m_dataSet, &Dataset::layoutChanged, this, &DataSource::layoutChanged);
    }
    emit dataSetChanged();
}

} // namespace corvadel::data
