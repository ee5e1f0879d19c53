#include "controls/DataGrid.h"

#include "controls/ErrorReporting.h"
#include "data/DataSource.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMessageBox>

#include <algorithm>

namespace corvadel::controls {

DataGrid::DataGrid(data::DataSource *source, QWidget *parent)
    : QTableView(parent), m_model(new DatasetTableModel(source, this))
{
    setModel(m_model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(true);
    setWholeRowSelection(true);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setFixedWidth(14);   // the row indicator
    horizontalHeader()->setSectionsMovable(false);
    horizontalHeader()->setStretchLastSection(true);
    keepSelectionVisibleWithoutFocus(this);
    if (source)
        connect(source, &data::DataSource::currentRowChanged, this, &DataGrid::followDataSet);
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        // A detail grid is reset at every move of its master: widths set by
        // the window that shows the grid must survive that, so only a change
        // of the columns themselves sets them anew.
        if (m_model->columns() != m_widthsFor)
            applyDisplayWidths();
        followDataSet();
    });
    applyDisplayWidths();
    followDataSet();
}

void keepSelectionVisibleWithoutFocus(QAbstractItemView *view)
{
    QPalette palette = view->palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setBrush(QPalette::Inactive, role, palette.brush(QPalette::Active, role));
    view->setPalette(palette);
}

void DataGrid::setColumns(const QList<GridColumn> &columns)
{
    m_model->setColumns(columns);
}

void DataGrid::setWholeRowSelection(bool on)
{
    setSelectionBehavior(on ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
}

int defaultWidthInCharacters(const data::FieldDef &def)
{
    if (def.displayWidth > 0)
        return def.displayWidth;
    // Without a declared width a column is as wide as its values usually
    // are: a text as its maximum length, up to a point.
    switch (def.type) {
    case data::FieldType::String: return std::clamp(def.size, 4, 30);
    case data::FieldType::Integer: return 8;
    case data::FieldType::Date: return 12;
    case data::FieldType::Time: return 9;
    case data::FieldType::Float:
    case data::FieldType::Currency: return 12;
    case data::FieldType::Blob: return 14;
    }
    return 14;
}

void DataGrid::applyDisplayWidths()
{
    m_widthsFor = m_model->columns();
    const int charWidth = fontMetrics().averageCharWidth();
    for (int c = 0; c < m_model->columnCount(); ++c) {
        const data::Field *f = m_model->fieldAt(c);
        const int chars = f ? defaultWidthInCharacters(f->def()) : 14;
        const QString title = m_model->headerData(c, Qt::Horizontal).toString();
        setColumnWidth(c, std::max(chars * charWidth, fontMetrics().horizontalAdvance(title) + 12) + 8);
    }
}

void DataGrid::followDataSet()
{
    data::Dataset *ds = m_model->dataSource() ? m_model->dataSource()->dataSet() : nullptr;
    if (!ds || m_syncing)
        return;
    const int row = ds->currentRow();
    m_syncing = true;
    if (row < 0 || row >= m_model->rowCount()) {
        selectionModel()->clearSelection();
    } else {
        const int column = std::max(currentIndex().column(), 0);
        const QModelIndex target = m_model->index(row, std::min(column, std::max(m_model->columnCount() - 1, 0)));
        selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect
                                                       | (selectionBehavior() == SelectRows ? QItemSelectionModel::Rows
                                                                                            : QItemSelectionModel::NoUpdate));
        scrollTo(target);
    }
    m_syncing = false;
}

void DataGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (m_syncing || !current.isValid())
        return;
    data::Dataset *ds = m_model->dataSource() ? m_model->dataSource()->dataSet() : nullptr;
    if (!ds || ds->currentRow() == current.row())
        return;
    m_syncing = true;
    const bool moved = runAction(this, [&] { ds->moveTo(current.row()); });
    m_syncing = false;
    if (!moved)
        followDataSet();
}

void DataGrid::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::ControlModifier) {
        event->accept();
        if (!m_allowDelete)
            return;
        data::Dataset *ds = m_model->dataSource() ? m_model->dataSource()->dataSet() : nullptr;
        if (!ds || ds->isEmpty())
            return;
        QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(), tr("Delete record?"),
                        QMessageBox::Ok | QMessageBox::Cancel, this);
        box.setObjectName(QStringLiteral("DeleteRecordQuestion"));
        if (box.exec() == QMessageBox::Ok)
            runAction(this, [ds] { ds->deleteRecord(); });
        return;
    }
    QTableView::keyPressEvent(event);
}

void DataGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTableView::mouseDoubleClickEvent(event);
    emit recordDoubleClicked();
}

} // namespace corvadel::controls
