#include "controls/DatasetTableModel.h"

#include "data/DataSource.h"

namespace corvadel::controls {

using data::Alignment;

DatasetTableModel::DatasetTableModel(data::DataSource *source, QObject *parent)
    : QAbstractTableModel(parent), m_source(source)
{
    // A grid may be built before the dataset it names exists; it then stays
    // empty instead of failing.
    if (!source) {
        rebuild();
        return;
    }
    connect(source, &data::DataSource::rowsReset, this, &DatasetTableModel::rebuild);
    connect(source, &data::DataSource::dataSetChanged, this, &DatasetTableModel::rebuild);
    connect(source, &data::DataSource::layoutChanged, this, &DatasetTableModel::rebuild);
    connect(source, &data::DataSource::rowsAppended, this, [this](int, int count) {
        if (count <= 0)
            return;
        beginInsertRows({}, m_rows, m_rows + count - 1);
        m_rows += count;
        endInsertRows();
    });
    connect(source, &data::DataSource::rowInserted, this, [this](int row) {
        beginInsertRows({}, row, row);
        ++m_rows;
        endInsertRows();
    });
    connect(source, &data::DataSource::rowRemoved, this, [this](int row) {
        beginRemoveRows({}, row, row);
        --m_rows;
        endRemoveRows();
    });
    connect(source, &data::DataSource::rowChanged, this, [this](int row) {
        if (row >= 0 && row < m_rows && !m_columns.isEmpty())
            emit dataChanged(index(row, 0), index(row, int(m_columns.size()) - 1));
    });
    connect(source, &data::DataSource::currentRowChanged, this, &DatasetTableModel::moveIndicator);
    connect(source, &data::DataSource::fieldChanged, this, [this](data::Field *) {
        if (data::Dataset *ds = dataSet(); ds && ds->currentRow() >= 0 && ds->currentRow() < m_rows
            && !m_columns.isEmpty())
            emit dataChanged(index(ds->currentRow(), 0), index(ds->currentRow(), int(m_columns.size()) - 1));
    });
    rebuild();
}

data::Dataset *DatasetTableModel::dataSet() const
{
    return m_source ? m_source->dataSet() : nullptr;
}

void DatasetTableModel::setColumns(const QList<GridColumn> &columns)
{
    m_explicit = columns;
    rebuild();
}

void DatasetTableModel::rebuild()
{
    beginResetModel();
    m_columns = m_explicit;
    data::Dataset *ds = dataSet();
    if (m_columns.isEmpty() && ds) {
        for (data::Field *f : ds->fields())
            if (f->isVisible())
                m_columns.append({f->name(), {}});
    }
    m_rows = ds && ds->isOpen() ? ds->recordCount() : 0;
    m_indicatorRow = ds && ds->isOpen() ? ds->currentRow() : -1;
    endResetModel();
}

void DatasetTableModel::moveIndicator()
{
    data::Dataset *ds = dataSet();
    const int row = ds && ds->isOpen() ? ds->currentRow() : -1;
    if (row == m_indicatorRow)
        return;
    const int previous = m_indicatorRow;
    m_indicatorRow = row;
    for (int r : {previous, row})
        if (r >= 0 && r < m_rows)
            emit headerDataChanged(Qt::Vertical, r, r);
}

data::Field *DatasetTableModel::fieldAt(int column) const
{
    data::Dataset *ds = dataSet();
    if (!ds || column < 0 || column >= m_columns.size() || m_columns[column].field.isEmpty())
        return nullptr;
    return ds->findField(m_columns[column].field);
}

int DatasetTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int DatasetTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant DatasetTableModel::data(const QModelIndex &index, int role) const
{
    data::Field *field = fieldAt(index.column());
    data::Dataset *ds = dataSet();
    if (!field || !ds || index.row() >= m_rows)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return ds->displayText(index.row(), field);
    case Qt::EditRole:
        return ds->value(index.row(), field);
    case Qt::TextAlignmentRole:
        switch (field->def().alignment) {
        case Alignment::Right: return int(Qt::AlignRight | Qt::AlignVCenter);
        case Alignment::Center: return int(Qt::AlignCenter);
        case Alignment::Left: return int(Qt::AlignLeft | Qt::AlignVCenter);
        }
        break;
    default:
        break;
    }
    return {};
}

QVariant DatasetTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical) {
        // The row indicator: a marker on the current row, nothing elsewhere
        // (no row numbers, which would only repeat the order).
        if (role == Qt::DisplayRole)
            return section == m_indicatorRow ? QStringLiteral("\u25B8") : QString();
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignCenter);
        return {};
    }
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= m_columns.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (!m_columns[section].title.isEmpty())
        return m_columns[section].title;
    data::Field *field = fieldAt(section);
    return field ? field->displayLabel() : QString();
}

bool DatasetTableModel::canFetchMore(const QModelIndex &parent) const
{
    data::Dataset *ds = dataSet();
    return !parent.isValid() && ds && ds->isOpen() && ds->canFetchMore();
}

void DatasetTableModel::fetchMore(const QModelIndex &parent)
{
    if (data::Dataset *ds = dataSet(); ds && !parent.isValid())
        ds->fetchMore();   // the appended rows arrive through rowsAppended
}

} // namespace corvadel::controls
