#pragma once

#include "controls/DatasetTableModel.h"

#include <QWidget>

class QLabel;
class QVBoxLayout;

namespace corvadel::data {
class TDModBase;
}

namespace corvadel::controls {
class DataGrid;
}

namespace corvadel::app {

// What every list pane shares: a title strip across the top, coloured like
// an application work space, with the pane's title after two spaces, and the
// content below it. A pane is a view on the data module's datasets and
// changes nothing itself.
class ListPane : public QWidget
{
    Q_OBJECT

public:
    QLabel *titleStrip() const { return m_title; }
    // The editor window a double-click opens ("FrmIssue"); empty for none.
    const QString &editorWindow() const { return m_editorWindow; }

signals:
    // A row was double-clicked: open the pane's editor window on the
    // dataset's current record.
    void editorRequested(const QString &windowName);

protected:
    ListPane(const char *name, const QString &title, const QString &editorWindow, QWidget *parent);

    QVBoxLayout *content() const { return m_content; }
    // A read-only grid over a data source of the module, its columns given
    // as (field, title) with an empty field for a filler column and an
    // empty title for the field's display label. A double-click asks for
    // the pane's editor window.
    controls::DataGrid *addGrid(data::TDModBase &module, const char *dataSource, const char *objectName,
                                const QList<controls::GridColumn> &columns, QWidget *parent = nullptr);

private:
    QLabel *m_title;
    QVBoxLayout *m_content;
    QString m_editorWindow;
};

// The column lists below read like the panes' tables: a field shown under
// its display label, a field under a title of the column's own, a filler.
inline controls::GridColumn column(const char *field) { return {QLatin1String(field), {}}; }
inline controls::GridColumn column(const char *field, const char *title)
{
    return {QLatin1String(field), QString::fromUtf8(title)};
}
inline controls::GridColumn filler() { return {}; }

} // namespace corvadel::app
