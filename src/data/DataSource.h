#pragma once

#include "data/Dataset.h"

#include <QObject>
#include <QPointer>

namespace corvadel::data {

// What controls and detail datasets bind to: it names one dataset and passes
// on its notifications, so that a control can be pointed at another dataset
// by changing the data source's dataset alone.
class DataSource : public QObject
{
    Q_OBJECT

public:
    explicit DataSource(const QString &name, Dataset *dataSet = nullptr, QObject *parent = nullptr);

    Dataset *dataSet() const { return m_dataSet; }
    void setDataSet(Dataset *dataSet);
    DataSetState state() const { return m_dataSet ? m_dataSet->state() : DataSetState::Inactive; }

signals:
    void dataSetChanged();
    void stateChanged(corvadel::data::DataSetState state);
    void currentRowChanged();
    void fieldChanged(corvadel::data::Field *field);
    void rowsReset();
    void rowsAppended(int first, int count);
    void rowInserted(int row);
    void rowRemoved(int row);
    void rowChanged(int row);
    void focusRequested(corvadel::data::Field *field);
    void layoutChanged();

private:
    QPointer<Dataset> m_dataSet;
};

} // namespace corvadel::data
