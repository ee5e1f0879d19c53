#include "app/Main/FrmMain.h"

#include "app/About/FrmAbout.h"
#include "app/About/LinkOpener.h"
#include "app/Artwork.h"
#include "app/Editors/EditorWindows.h"
#include "app/Login/FrmLogin.h"
#include "app/Main/NavigationTree.h"
#include "app/Panes/ListPanes.h"
#include "app/Widgets/BoundedSplitter.h"
#include "controls/DataGrid.h"
#include "controls/DataLabel.h"
#include "controls/RecordNavigator.h"
#include "controls/StatePane.h"
#include "data/DataModule.h"

#include <QAction>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

namespace corvadel::app {

namespace {

ListPane *makePane(int code, data::TDModBase &module, QWidget *parent)
{
    switch (code) {
    case 0: return new FrameProjectList(module, parent);
    case 1: return new FrameActiveProject(module, parent);
    case 2: return new FrameRoles(module, parent);
    case 3: return new FrameProducts(module, parent);
    case 4: return new FrameRiskList(module, parent);
    case 5: return new FrameIssueList(module, parent);
    case 6: return new FrameQualityReviews(module, parent);
    case 7: return new FrameChangeRequests(module, parent);
    case 8: return new FramePersonnel(module, parent);
    }
    return nullptr;
}

QToolButton *toolButton(const char *name, const QString &hint, const QIcon &icon, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(hint);
    button->setIcon(icon);
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    return button;
}

} // namespace

FrmMain::FrmMain(data::TDModBase &module, QWidget *parent)
    : QMainWindow(parent),
      m_module(module),
      m_windows(std::make_unique<EditorWindows>(module)),
      m_desktopOpener(std::make_unique<DesktopLinkOpener>()),
      m_linkOpener(m_desktopOpener.get())
{
    setObjectName(QStringLiteral("FrmMain"));
    setWindowTitle(QStringLiteral("Corvadel"));
    resize(1024, 700);

    m_tree = new NavigationTree(this);
    m_paneArea = new QStackedWidget(this);
    m_paneArea->setObjectName(QStringLiteral("PanelPanes"));
    for (int code = 0; code < PaneCount; ++code) {
        ListPane *pane = makePane(code, module, m_paneArea);
        m_panes[std::size_t(code)] = pane;
        m_paneArea->addWidget(pane);
        connect(pane, &ListPane::editorRequested, this,
                [this](const QString &window) { m_windows->open(window, this); });
    }

    m_splitter = new BoundedSplitter(Qt::Horizontal, 0.2, 0.2, 0.8, this);
    m_splitter->setObjectName(QStringLiteral("SplitterMain"));
    m_splitter->setHotSpot(true);
    // The bounds of the splitter decide how narrow either side gets, not
    // the sizes the panes would like.
    m_tree->setMinimumSize(1, 1);
    m_paneArea->setMinimumSize(1, 1);
    m_splitter->addWidget(m_tree);
    m_splitter->addWidget(m_paneArea);
    m_splitter->setStretchFactor(1, 1);
    setCentralWidget(m_splitter);

    buildToolbar();
    buildMenus();
    buildStatusBar();

    // A click in the tree presses the pane button of the selected node; a
    // keyboard move of the selection does not.
    connect(m_tree, &NavigationTree::nodeClicked, this, [this](int code) {
        if (code >= 0 && code < PaneCount)
            m_paneButtons[std::size_t(code)]->click();
    });

    narrowColumns();
    registerWindows(*m_windows);
    connect(m_windows.get(), &EditorWindows::changed, this, &FrmMain::updateAvailability);
    updateAvailability();
    showPane(0);
}

FrmMain::~FrmMain() = default;

void FrmMain::buildToolbar()
{
    auto *bar = addToolBar(QStringLiteral("Main"));
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(24, 24));
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);

    // New: a split button; the button runs the entry of the selected node's
    // pane, the arrow opens the menu.
    m_newMenu = new QMenu(this);
    m_newMenu->setObjectName(QStringLiteral("NewMenu"));
    for (const NewEntry &entry : newEntries()) {
        if (entry.separatorBefore)
            m_newMenu->addSeparator();
        QAction *action = m_newMenu->addAction(QString::fromUtf8(entry.caption));
        action->setObjectName(QLatin1String(entry.name));
        connect(action, &QAction::triggered, this, [this, &entry] { runNewEntry(entry); });
    }
    m_newButton = toolButton("ToolbarButtonNew", QStringLiteral("New"), artwork::toolbarIcon(artwork::Glyph::New), bar);
    m_newButton->setMenu(m_newMenu);
    m_newButton->setPopupMode(QToolButton::MenuButtonPopup);
    connect(m_newButton, &QToolButton::clicked, this, &FrmMain::newForSelectedNode);
    bar->addWidget(m_newButton);
    bar->addSeparator();

    m_navigator = new controls::RecordNavigator(bar);
    m_navigator->setObjectName(QStringLiteral("DBNavigator1"));
    bar->addWidget(m_navigator);
    bar->addSeparator();

    for (int code = 0; code < PaneCount; ++code) {
        const PaneInfo &info = paneTable()[std::size_t(code)];
        QToolButton *button = toolButton(info.button, QString::fromUtf8(info.hint), artwork::toolbarIcon(info.glyph), bar);
        connect(button, &QToolButton::clicked, this, [this, code] { showPane(code); });
        m_paneButtons[std::size_t(code)] = button;
    }
    // "All Projects", "Personnel" | the seven project-scoped panes.
    bar->addWidget(m_paneButtons[0]);
    bar->addWidget(m_paneButtons[8]);
    bar->addSeparator();
    for (int code = 1; code <= 7; ++code)
        bar->addWidget(m_paneButtons[std::size_t(code)]);
    bar->addSeparator();

    m_userAdminButton = toolButton("ToolbarButtonUserAdmin", QStringLiteral("User Admin"),
                                   artwork::toolbarIcon(artwork::Glyph::UserAdmin), bar);
    connect(m_userAdminButton, &QToolButton::clicked, this, &FrmMain::openUserAdmin);
    bar->addWidget(m_userAdminButton);

    m_maintenanceMenu = new QMenu(this);
    m_maintenanceMenu->setObjectName(QStringLiteral("MaintenanceMenu"));
    for (const MaintenanceEntry &entry : maintenanceEntries()) {
        QAction *action = m_maintenanceMenu->addAction(QString::fromUtf8(entry.caption));
        action->setObjectName(QStringLiteral("Maintenance") + QString::fromUtf8(entry.window).mid(3));
        const QString window = QString::fromUtf8(entry.window);
        connect(action, &QAction::triggered, this, [this, window] { m_windows->open(window, this); });
    }
    m_maintenanceButton = toolButton("ToolbarButtonMaintenance", QStringLiteral("Maintenance"),
                                     artwork::toolbarIcon(artwork::Glyph::Maintenance), bar);
    m_maintenanceButton->setMenu(m_maintenanceMenu);
    m_maintenanceButton->setPopupMode(QToolButton::InstantPopup);
    bar->addWidget(m_maintenanceButton);
    bar->addSeparator();

    // Created disabled; nothing enables it while the reports window cannot
    // be reached from here.
    m_reportsButton = toolButton("ToolbarButtonReports", QString(), artwork::toolbarIcon(artwork::Glyph::Reports), bar);
    m_reportsButton->setEnabled(false);
    bar->addWidget(m_reportsButton);
}

void FrmMain::buildMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("MenuFile"));
    QAction *exit = file->addAction(QStringLiteral("&Exit"));
    exit->setObjectName(QStringLiteral("MenuExit"));
    connect(exit, &QAction::triggered, this, &QWidget::close);

    QMenu *about = menuBar()->addMenu(QStringLiteral("About"));
    about->setObjectName(QStringLiteral("MenuAbout"));
    QAction *corvadel = about->addAction(QStringLiteral("Corvadel"));
    corvadel->setObjectName(QStringLiteral("MenuAboutCorvadel"));
    connect(corvadel, &QAction::triggered, this, &FrmMain::openAbout);
}

void FrmMain::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(true);

    auto *caption = new QLabel(QStringLiteral("Active Project:"), bar);
    caption->setObjectName(QStringLiteral("StatusActiveProject"));
    bar->addWidget(caption);

    m_projectName = new controls::DataLabel(m_module.dataSource(QStringLiteral("DSProject")),
                                            QStringLiteral("PRJ_NAME"), bar);
    m_projectName->setObjectName(QStringLiteral("StatusProjectName"));
    m_projectName->setToolTip(QStringLiteral("Project Name"));
    m_projectName->setMinimumWidth(260);
    m_projectName->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bar->addWidget(m_projectName, 1);

    m_statePane = new controls::StatePane(bar);
    m_statePane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_statePane->setDataSource(m_module.dataSource(QStringLiteral("DSProject")));
    bar->addPermanentWidget(m_statePane);
}

void FrmMain::narrowColumns()
{
    // The fields' display widths suit an editor window; in the panes the
    // widest columns are narrowed so that more of them fit side by side.
    for (ListPane *pane : m_panes) {
        for (controls::DataGrid *grid : pane->findChildren<controls::DataGrid *>()) {
            const int widest = grid->fontMetrics().averageCharWidth() * 26;
            for (int c = 0; c < grid->model()->columnCount(); ++c)
                grid->setColumnWidth(c, std::min(grid->columnWidth(c), widest));
        }
    }
}

void FrmMain::updateAvailability()
{
    // An entry whose window (or dataset) does not exist yet is shown, but
    // disabled, so that nothing looks as if it worked and did nothing.
    for (const NewEntry &entry : newEntries()) {
        auto *action = m_newMenu->findChild<QAction *>(QLatin1String(entry.name));
        action->setEnabled(m_windows->has(QLatin1String(entry.window))
                           && m_module.dataSet(QLatin1String(entry.dataSet)));
    }
    const QList<QAction *> maintenance = m_maintenanceMenu->actions();
    for (std::size_t i = 0; i < maintenanceEntries().size(); ++i)
        maintenance[qsizetype(i)]->setEnabled(m_windows->has(QLatin1String(maintenanceEntries()[i].window)));
    m_userAdminButton->setEnabled(m_windows->has(QStringLiteral("FrmSystemUserBrowse"))
                                  && m_windows->has(QStringLiteral("FrmUserPasswordAdmin")));
}

// --- panes and the tree ---------------------------------------------------------

void FrmMain::showPane(int paneCode)
{
    if (paneCode < 0 || paneCode >= PaneCount)
        return;
    const PaneInfo &info = paneTable()[std::size_t(paneCode)];
    for (ListPane *pane : m_panes)
        pane->hide();
    m_navigator->setDataSource(m_module.dataSource(QLatin1String(info.dataSource)));
    ListPane *pane = m_panes[std::size_t(paneCode)];
    m_paneArea->setCurrentWidget(pane);
    pane->show();
    m_currentPane = paneCode;
    selectTreePath(QString::fromUtf8(info.treePath));
}

bool FrmMain::selectTreePath(const QString &path)
{
    return m_tree->selectPath(path);
}

void FrmMain::newForSelectedNode()
{
    const int code = m_tree->selectedPaneCode();
    if (code < 0 || code >= PaneCount)
        return;
    const QLatin1String name(paneTable()[std::size_t(code)].newEntry);
    auto *action = m_newMenu->findChild<QAction *>(name);
    if (action && action->isEnabled())
        action->trigger();
}

void FrmMain::runNewEntry(const NewEntry &entry)
{
    m_windows->openOnNewRecord(QLatin1String(entry.dataSet), QLatin1String(entry.window), this);
}

void FrmMain::openUserAdmin()
{
    m_windows->open(m_module.systemsManager ? QStringLiteral("FrmSystemUserBrowse")
                                            : QStringLiteral("FrmUserPasswordAdmin"),
                    this);
}

void FrmMain::openAbout()
{
    FrmAbout about(*m_linkOpener, this);
    about.exec();
}

// --- start and login ----------------------------------------------------------

void FrmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    m_paneButtons[0]->click();
}

bool FrmMain::event(QEvent *event)
{
    const bool handled = QMainWindow::event(event);
    if (event->type() == QEvent::WindowActivate && !m_loggedIn && !m_loginPending) {
        // The login runs once this activation has been handled, not inside
        // it: a modal window started from an activation event would run its
        // event loop within the window system's notification.
        m_loginPending = true;
        QMetaObject::invokeMethod(this, &FrmMain::login, Qt::QueuedConnection);
    }
    return handled;
}

void FrmMain::login()
{
    if (m_loggedIn || !isVisible()) {
        m_loginPending = false;
        return;
    }
    int result = QDialog::Rejected;
    {
        FrmLogin window(m_module, [this] { m_loggedIn = true; }, this);
        result = window.exec();
    }
    m_loginPending = false;
    // Cancel closes the main window whatever the logged-in flag says.
    if (result != QDialog::Accepted)
        close();
}

} // namespace corvadel::app
