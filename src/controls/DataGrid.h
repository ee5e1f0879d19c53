#pragma once

#include "controls/DatasetTableModel.h"

#include <QTableView>

namespace corvadel::controls {

// The selected row or node of the view stays highlighted as brightly when the
// view loses the focus.
void keepSelectionVisibleWithoutFocus(QAbstractItemView *view);

// A column's width in average characters: the field's display width, or
// one that suits its type and length when none is declared.
int defaultWidthInCharacters(const data::FieldDef &def);

// A grid over a dataset. The dataset's current row and the view's current
// row follow each other both ways; the grid never reads rows the view does
// not need (no sizing to contents over all rows).
class DataGrid : public QTableView
{
    Q_OBJECT

public:
    explicit DataGrid(data::DataSource *source, QWidget *parent = nullptr);

    DatasetTableModel *tableModel() const { return m_model; }
    void setColumns(const QList<GridColumn> &columns);
    // Column widths from the fields' display widths, in characters.
    void applyDisplayWidths();
    // Read-only grids ignore the delete-row keystroke; an editable one asks
    // "Delete record?" and deletes the current row through the dataset.
    void setAllowDelete(bool allow) { m_allowDelete = allow; }
    void setWholeRowSelection(bool on);

signals:
    void recordDoubleClicked();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void followDataSet();

    DatasetTableModel *m_model;
    QList<GridColumn> m_widthsFor;   // the columns the widths were set for
    bool m_allowDelete = false;
    bool m_syncing = false;
};

} // namespace corvadel::controls
