#include "app/Editors/EditorWindows.h"

#include "controls/ErrorReporting.h"
#include "data/DataModule.h"

namespace corvadel::app {

EditorWindows::EditorWindows(data::TDModBase &module, QObject *parent) : QObject(parent), m_module(module) {}

void EditorWindows::add(const QString &windowName, WindowFactory factory)
{
    m_factories[windowName] = std::move(factory);
    emit changed();
}

bool EditorWindows::has(const QString &windowName) const
{
    return m_factories.count(windowName) > 0;
}

bool EditorWindows::open(const QString &windowName, QWidget *parent)
{
    const auto it = m_factories.find(windowName);
    if (it == m_factories.end())
        return false;
    // The window is owned here, not by its parent: it goes when this
    // function ends, whichever way it ends.
    std::unique_ptr<QDialog> window;
    return controls::runAction(parent, [&] {
        window = it->second(m_module, parent);
        if (!window)
            return;
        if (window->objectName().isEmpty())
            window->setObjectName(windowName);
        window->setWindowModality(Qt::ApplicationModal);
        window->exec();
    }) && window;
}

bool EditorWindows::openOnNewRecord(const QString &dataSetName, const QString &windowName, QWidget *parent)
{
    data::Dataset *dataSet = m_module.dataSet(dataSetName);
    if (!has(windowName) || !dataSet)
        return false;
    if (!controls::runAction(parent, [dataSet] { dataSet->insert(); }))
        return false;
    return open(windowName, parent);
}

void registerWindows(EditorWindows &windows)
{
    // Each record kind's window, as it is built, e.g.
    //   windows.add<FrmIssue>(QStringLiteral("FrmIssue"));
    // The name is the one the New menu, the list panes and the Maintenance
    // menu ask for (see app/Main/PaneTable.h).
    Q_UNUSED(windows);
}

} // namespace corvadel::app
