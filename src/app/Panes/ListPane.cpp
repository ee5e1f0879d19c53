#include "app/Panes/ListPane.h"

#include "controls/DataGrid.h"
#include "data/DataModule.h"

#include <QLabel>
#include <QVBoxLayout>

namespace corvadel::app {

ListPane::ListPane(const char *name, const QString &title, const QString &editorWindow, QWidget *parent)
    : QWidget(parent), m_editorWindow(editorWindow)
{
    setObjectName(QLatin1String(name));

    m_title = new QLabel(QStringLiteral("  ") + title, this);
    m_title->setObjectName(QStringLiteral("PanelTitle"));
    m_title->setAutoFillBackground(true);
    m_title->setMinimumHeight(m_title->fontMetrics().height() + 10);
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    // The colour of an application's work space (the area behind its
    // documents), as the platform's palette has it.
    QPalette strip = m_title->palette();
    strip.setColor(QPalette::Window, strip.color(QPalette::Dark));
    strip.setColor(QPalette::WindowText, Qt::white);
    m_title->setPalette(strip);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_title);
    m_content = new QVBoxLayout;
    m_content->setContentsMargins(0, 0, 0, 0);
    m_content->setSpacing(0);
    layout->addLayout(m_content, 1);
}

controls::DataGrid *ListPane::addGrid(data::TDModBase &module, const char *dataSource, const char *objectName,
                                      const QList<controls::GridColumn> &columns, QWidget *parent)
{
    auto *grid = new controls::DataGrid(module.dataSource(QLatin1String(dataSource)), parent ? parent : this);
    grid->setObjectName(QLatin1String(objectName));
    grid->setColumns(columns);
    if (!m_editorWindow.isEmpty())
        connect(grid, &controls::DataGrid::recordDoubleClicked, this,
                [this] { emit editorRequested(m_editorWindow); });
    if (!parent)
        m_content->addWidget(grid, 1);
    return grid;
}

} // namespace corvadel::app
