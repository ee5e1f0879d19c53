#pragma once

#include "data/DataSource.h"

#include <QAbstractTableModel>
#include <QPointer>

namespace corvadel::data {
class DataSource;
class Dataset;
class Field;
} // namespace corvadel::data

namespace corvadel::controls {

// One column of a grid: a field of the dataset, or an empty filler column
// when `field` is empty. The title replaces the field's display label when set.
struct GridColumn
{
    QString field;
    QString title;

    bool operator==(const GridColumn &) const = default;
};

// A table model over a dataset. It reports only the rows the dataset has read
// so far and asks for the next block when the view scrolls near the end
// (canFetchMore/fetchMore), so showing a list never reads the whole table.
class DatasetTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit DatasetTableModel(data::DataSource *source, QObject *parent = nullptr);

    // The columns shown; without any, the dataset's visible fields in order.
    void setColumns(const QList<GridColumn> &columns);
    const QList<GridColumn> &columns() const { return m_columns; }
    data::Field *fieldAt(int column) const;
    data::DataSource *dataSource() const { return m_source; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

private:
    data::Dataset *dataSet() const;
    void rebuild();
    void moveIndicator();

    QPointer<data::DataSource> m_source;
    QList<GridColumn> m_explicit;
    QList<GridColumn> m_columns;
    int m_rows = 0;
    int m_indicatorRow = -1;   // the dataset's current row, marked in the row header
};

} // namespace corvadel::controls
