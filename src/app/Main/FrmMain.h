#pragma once

#include "app/Main/PaneTable.h"

#include <QMainWindow>

#include <array>
#include <memory>

class QAction;
class QMenu;
class QStackedWidget;
class QToolButton;

namespace corvadel::data {
class TDModBase;
}

namespace corvadel::controls {
class RecordNavigator;
class StatePane;
class DataLabel;
} // namespace corvadel::controls

namespace corvadel::app {

class BoundedSplitter;
class EditorWindows;
class LinkOpener;
class ListPane;
class NavigationTree;

// The main window: the navigation tree on the left chooses which of the nine
// list panes fills the right; the toolbar repeats the tree's choices, creates
// records through the New split button, opens the maintenance and user
// windows and steps through the shown pane's dataset with its navigator; the
// status bar names the active project. Until a login has succeeded, every
// activation of the window opens the login window; cancelling it closes this
// window, which ends the program.
class FrmMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit FrmMain(data::TDModBase &module, QWidget *parent = nullptr);
    ~FrmMain() override;

    // Hides every pane, binds the navigator to the pane's data source,
    // shows the pane and selects its tree path.
    void showPane(int paneCode);
    int currentPaneCode() const { return m_currentPane; }
    ListPane *pane(int paneCode) const { return m_panes[std::size_t(paneCode)]; }

    // Selects the tree node named by a backslash-separated path (letter case
    // ignored); a missing node leaves the selection.
    bool selectTreePath(const QString &path);

    // Runs the New menu entry of the selected node's pane code.
    void newForSelectedNode();

    bool isLoggedIn() const { return m_loggedIn; }

    EditorWindows &windows() { return *m_windows; }
    NavigationTree *tree() const { return m_tree; }
    controls::RecordNavigator *navigator() const { return m_navigator; }
    BoundedSplitter *splitter() const { return m_splitter; }
    QMenu *newMenu() const { return m_newMenu; }
    QMenu *maintenanceMenu() const { return m_maintenanceMenu; }

    // Where the about window's links go; the desktop's open action unless
    // set (tests observe it here).
    void setLinkOpener(LinkOpener *opener) { m_linkOpener = opener; }

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildToolbar();
    void buildMenus();
    void buildStatusBar();
    void narrowColumns();
    void updateAvailability();
    void runNewEntry(const NewEntry &entry);
    void openUserAdmin();
    void openAbout();
    void login();

    data::TDModBase &m_module;
    std::unique_ptr<EditorWindows> m_windows;
    std::unique_ptr<LinkOpener> m_desktopOpener;
    LinkOpener *m_linkOpener = nullptr;

    NavigationTree *m_tree = nullptr;
    BoundedSplitter *m_splitter = nullptr;
    QStackedWidget *m_paneArea = nullptr;
    std::array<ListPane *, PaneCount> m_panes{};
    std::array<QToolButton *, PaneCount> m_paneButtons{};
    controls::RecordNavigator *m_navigator = nullptr;
    QToolButton *m_newButton = nullptr;
    QMenu *m_newMenu = nullptr;
    QToolButton *m_userAdminButton = nullptr;
    QToolButton *m_maintenanceButton = nullptr;
    QMenu *m_maintenanceMenu = nullptr;
    QToolButton *m_reportsButton = nullptr;
    controls::DataLabel *m_projectName = nullptr;
    controls::StatePane *m_statePane = nullptr;

    int m_currentPane = -1;
    bool m_shownOnce = false;
    bool m_loggedIn = false;
    bool m_loginPending = false;
};

} // namespace corvadel::app
