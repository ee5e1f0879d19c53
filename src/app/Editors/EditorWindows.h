#pragma once

#include <QDialog>
#include <QObject>
#include <QString>

#include <functional>
#include <map>
#include <memory>

namespace corvadel::data {
class TDModBase;
}

namespace corvadel::app {

// Creates one editor window (or other modal window) over the data module.
using WindowFactory = std::function<std::unique_ptr<QDialog>(data::TDModBase &module, QWidget *parent)>;

// The windows the main window can open, by window name ("FrmIssue",
// "FrmSkills", ...). A record kind makes its window reachable from the New
// menu, the list panes' double-click and the Maintenance menu by adding it
// here (see registerWindows); until then the entries that would open it are
// disabled.
//
// Every window is created when it is opened, shown modally and destroyed
// when it has closed, also when creating or showing it fails.
class EditorWindows : public QObject
{
    Q_OBJECT

public:
    explicit EditorWindows(data::TDModBase &module, QObject *parent = nullptr);

    void add(const QString &windowName, WindowFactory factory);
    // For a window class constructed as W(TDModBase &, QWidget *parent).
    template<typename W>
    void add(const QString &windowName)
    {
        add(windowName, [](data::TDModBase &module, QWidget *parent) -> std::unique_ptr<QDialog> {
            return std::make_unique<W>(module, parent);
        });
    }
    bool has(const QString &windowName) const;

    // Creates the window, shows it modally and destroys it. An error while
    // creating or showing it is reported to the user. Returns whether the
    // window was shown; false too when no such window is registered.
    bool open(const QString &windowName, QWidget *parent);

    // Puts the dataset into insert state (its record rules give the new row
    // its key and defaults), then opens the window on the new row. When the
    // insert fails the error is shown and no window opens.
    bool openOnNewRecord(const QString &dataSetName, const QString &windowName, QWidget *parent);

signals:
    // A window was added: whatever opens windows re-checks what it offers.
    void changed();

private:
    data::TDModBase &m_module;
    std::map<QString, WindowFactory> m_factories;
};

// The windows of the record kinds, added to the main window's list at
// start-up. Each record kind adds its own window with one line here.
void registerWindows(EditorWindows &windows);

} // namespace corvadel::app
