// The main window as a user drives it: the tree, the pane buttons, the New
// menu, the navigator, the list panes and what they open, the status bar and
// the splitter, over a real database after a real login.

#include "AppWorld.h"
#include "ProbeWindow.h"

#include "app/About/FrmAbout.h"
#include "app/About/LinkOpener.h"
#include "app/Main/NavigationTree.h"
#include "app/Panes/ListPanes.h"
#include "app/Widgets/BoundedSplitter.h"
#include "controls/DataGrid.h"
#include "controls/DataText.h"
#include "controls/RecordNavigator.h"
#include "data/Errors.h"

#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest>

using namespace corvadel;
using namespace corvadel::test;
using controls::DataGrid;

namespace {

QTreeWidgetItem *nodeAt(QTreeWidget *tree, const QString &path)
{
    QTreeWidgetItem *found = nullptr;
    for (const QString &level : path.split(QLatin1Char('\\'))) {
        const int count = found ? found->childCount() : tree->topLevelItemCount();
        QTreeWidgetItem *match = nullptr;
        for (int i = 0; i < count && !match; ++i) {
            QTreeWidgetItem *candidate = found ? found->child(i) : tree->topLevelItem(i);
            if (candidate->text(0) == level)
                match = candidate;
        }
        if (!match)
            return nullptr;
        found = match;
    }
    return found;
}

void clickNode(QTreeWidget *tree, const QString &path)
{
    QTreeWidgetItem *item = nodeAt(tree, path);
    QVERIFY2(item, qPrintable(path));
    for (QTreeWidgetItem *up = item->parent(); up; up = up->parent())
        up->setExpanded(true);
    tree->scrollToItem(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
}

template<typename W = QWidget>
W *child(QWidget *parent, const QString &name)
{
    W *w = parent->findChild<W *>(name);
    if (!w)
        qWarning("no %s named %s", W::staticMetaObject.className(), qPrintable(name));
    return w;
}

int rowWithText(DataGrid *grid, int column, const QString &text)
{
    for (int row = 0; row < grid->model()->rowCount(); ++row)
        if (grid->model()->index(row, column).data().toString() == text)
            return row;
    return -1;
}

void clickRow(DataGrid *grid, int row, int column = 0)
{
    const QRect cell = grid->visualRect(grid->model()->index(row, column));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
}

QStringList headerTitles(DataGrid *grid)
{
    QStringList titles;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        titles << grid->model()->headerData(c, Qt::Horizontal).toString();
    return titles;
}

QString visiblePane(app::FrmMain &main)
{
    QStringList shown;
    for (int code = 0; code < app::PaneCount; ++code)
        if (main.pane(code)->isVisible())
            shown << main.pane(code)->objectName();
    return shown.join(u',');
}

} // namespace

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { CORVADEL_REQUIRE_SERVER(); }

    void startsOnTheProjectsPane();
    void paneButtonsShowTheirPaneAndSelectTheNode_data();
    void paneButtonsShowTheirPaneAndSelectTheNode();
    void treeClickShowsTheNodesPane_data();
    void treeClickShowsTheNodesPane();
    void arrowKeysOnlyMoveTheSelection();
    void selectingANodeCollapsesTheOtherBranch();
    void selectTreePath_data();
    void selectTreePath();
    void toolbarAndMenusWithoutEditorWindows();
    void newButtonRunsTheEntryOfTheSelectedNode_data();
    void newButtonRunsTheEntryOfTheSelectedNode();
    void failureToStartTheWindowLeavesNothing_data();
    void failureToStartTheWindowLeavesNothing();
    void doubleClickOpensTheEditorOnTheCurrentRecord_data();
    void doubleClickOpensTheEditorOnTheCurrentRecord();
    void anotherProjectRefillsEveryProjectPane();
    void navigatorStepsThroughThePanesDataset();
    void activeProjectPaneTakesNoTyping();
    void rolesGridDeletesAfterTwoQuestions_data();
    void rolesGridDeletesAfterTwoQuestions();
    void readOnlyGridsIgnoreTheDeleteKeystroke_data();
    void readOnlyGridsIgnoreTheDeleteKeystroke();
    void gridColumnTitles_data();
    void gridColumnTitles();
    void statusBarFollowsTheProject();
    void splitterKeepsItsBoundsAndCollapses();
    void menusExitAndAbout();
};

void MainWindowTest::startsOnTheProjectsPane()
{
    AppWorld world;
    QVERIFY(world.showAndLogin());
    app::FrmMain &m = *world.main;
    QCOMPARE(visiblePane(m), QStringLiteral("FrameProjectList"));
    QCOMPARE(m.tree()->selectedPath(), QStringLiteral("Projects"));
    QCOMPARE(m.navigator()->dataSource()->objectName(), QStringLiteral("DSProject"));
    // The projects list shows every project, the first one current.
    auto *grid = child<DataGrid>(&m, QStringLiteral("DBGridProjects"));
    QCOMPARE(grid->model()->rowCount(), 3);
    QCOMPARE(grid->currentIndex().row(), 0);
    QCOMPARE(m.windowTitle(), QStringLiteral("Corvadel"));
}

void MainWindowTest::paneButtonsShowTheirPaneAndSelectTheNode_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("pane");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("dataSource");
    QTest::addColumn<QString>("path");
    QTest::newRow("0") << "ToolbarButtonProjects" << "All Projects" << "FrameProjectList" << "  Projects"
                       << "DSProject" << "Projects";
    QTest::newRow("1") << "ToolbarButtonActiveProject" << "Active Project" << "FrameActiveProject"
                       << "  Active Project" << "DSProject" << "My Active Project\\Active Project";
    QTest::newRow("2") << "ToolbarButtonProjectRoles" << "Project Roles" << "FrameRoles" << "  Project Roles"
                       << "DSProjectRole" << "My Active Project\\Project Roles";
    QTest::newRow("3") << "ToolbarButtonProducts" << "Project Products" << "FrameProducts" << "  Products"
                       << "DSProduct" << "My Active Project\\Products";
    QTest::newRow("4") << "ToolbarButtonRisks" << "Risks" << "FrameRiskList" << "  Risks" << "DSRisk"
                       << "My Active Project\\Risks";
    QTest::newRow("5") << "ToolbarButtonIssues" << "Issues" << "FrameIssueList" << "  Issues" << "DSIssue"
                       << "My Active Project\\Issues";
    QTest::newRow("6") << "ToolbarButtonQualityReviews" << "Quality Reviews" << "FrameQualityReviews"
                       << "  Quality Reviews" << "DSQualityReview" << "My Active Project\\Quality Reviews";
    QTest::newRow("7") << "ToolbarButtonChangeRequests" << "Change Requests" << "FrameChangeRequests"
                       << "  Change Requests" << "DSChangeRequest" << "My Active Project\\Change Requests";
    QTest::newRow("8") << "ToolbarButtonPersonnel" << "Personnel" << "FramePersonnel" << "  Personnel"
                       << "DSPersonnel" << "My Personnel\\Personnel";
}

void MainWindowTest::paneButtonsShowTheirPaneAndSelectTheNode()
{
    QFETCH(QString, button);
    QFETCH(QString, hint);
    QFETCH(QString, pane);
    QFETCH(QString, title);
    QFETCH(QString, dataSource);
    QFETCH(QString, path);

    AppWorld world;
    QVERIFY(world.showAndLogin());
    app::FrmMain &m = *world.main;
    // Start from a pane other than the one the button shows.
    child<QToolButton>(&m, button == QLatin1String("ToolbarButtonIssues") ? QStringLiteral("ToolbarButtonRisks")
                                                                          : QStringLiteral("ToolbarButtonIssues"))
        ->click();

    auto *b = child<QToolButton>(&m, button);
    QCOMPARE(b->toolTip(), hint);
    QVERIFY(!b->icon().isNull());
    QCOMPARE(b->toolButtonStyle(), Qt::ToolButtonIconOnly);
    b->click();
    QCOMPARE(visiblePane(m), pane);
    QCOMPARE(m.tree()->selectedPath(), path);
    QCOMPARE(m.navigator()->dataSource()->objectName(), dataSource);
    QCOMPARE(child<QLabel>(child(&m, pane), QStringLiteral("PanelTitle"))->text(), title);
    QCOMPARE(QString::fromLatin1(child(&m, pane)->metaObject()->className()),
             QStringLiteral("corvadel::app::") + pane);
}

void MainWindowTest::treeClickShowsTheNodesPane_data()
{
    QTest::addColumn<QString>("clicked");
    QTest::addColumn<QString>("pane");
    QTest::addColumn<QString>("selected");
    QTest::newRow("a parent shows its first child's pane")
        << "My Active Project" << "FrameActiveProject" << "My Active Project\\Active Project";
    QTest::newRow("the personnel parent") << "My Personnel" << "FramePersonnel" << "My Personnel\\Personnel";
    QTest::newRow("a child") << "My Active Project\\Quality Reviews" << "FrameQualityReviews"
                             << "My Active Project\\Quality Reviews";
    QTest::newRow("back to the projects") << "Projects" << "FrameProjectList" << "Projects";
}

void MainWindowTest::treeClickShowsTheNodesPane()
{
    QFETCH(QString, clicked);
    QFETCH(QString, pane);
    QFETCH(QString, selected);
    AppWorld world;
    QVERIFY(world.showAndLogin());
    app::FrmMain &m = *world.main;
    child<QToolButton>(&m, QStringLiteral("ToolbarButtonIssues"))->click();
    clickNode(m.tree(), clicked);
    QCOMPARE(visiblePane(m), pane);
    QCOMPARE(m.tree()->selectedPath(), selected);
}

void MainWindowTest::arrowKeysOnlyMoveTheSelection()
{
    AppWorld world;
    QVERIFY(world.showAndLogin());
    app::FrmMain &m = *world.main;
    m.tree()->setFocus();
    // Projects -> My Active Project (which opens) -> Active Project ->
    // Project Roles -> Products -> Risks.
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(m.tree(), Qt::Key_Down);
    QCOMPARE(m.tree()->selectedPath(), QStringLiteral("My Active Project\\Risks"));
    QCOMPARE(visiblePane(m), QStringLiteral("FrameProjectList"));
    QCOMPARE(m.navigator()->dataSource()->objectName(), QStringLiteral("DSProject"));
    // The next click shows the selected node's pane.
    clickNode(m.tree(), QStringLiteral("My Active Project\\Risks"));
    QCOMPARE(visiblePane(m), QStringLiteral("FrameRiskList"));
    QCOMPARE(m.navigator()->dataSource()->objectName(), QStringLiteral("DSRisk"));
}

void MainWindowTest::selectingANodeCollapsesTheOtherBranch()
{
    AppWorld world;
    QVERIFY(world.showAndLogin());
    app::FrmMain &m = *world.main;
    QTreeWidgetItem *project = nodeAt(m.tree(), QStringLiteral("My Active Project"));
    QTreeWidgetItem *personnel = nodeAt(m.tree(), QStringLiteral("My Personnel"));
    QVERIFY(!project->isExpanded() && !personnel->isExpanded());
    clickNode(m.tree(), QStringLiteral("My Active Project\\Issues"));
    QVERIFY(project->isExpanded());
    clickNode(m.tree(), QStringLiteral("My Personnel"));
    QVERIFY(personnel->isExpanded());
    QVERIFY(!project->isExpanded());
    // Nodes cannot be edited and show no pictures.
    QCOMPARE(m.tree()->editTriggers(), QAbstractItemView::NoEditTriggers);
    QVERIFY(!(project->flags() & Qt::ItemIsEditable));
    QVERIFY(project->icon(0).isNull());
}

void MainWindowTest::selectTreePath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("selected");
    QTest::newRow("exact") << "My Active Project\\Issues" << true << "My Active Project\\Issues";
    QTest::newRow("other letter case") << "my ACTIVE project\\iSSUES" << true << "My Active Project\\Issues";
    QTest::newRow("ending in a backslash") << "My Personnel\\" << true << "My Personnel";
    QTest::newRow("missing child") << "My Active Project\\Budgets" << false << "Projects";
    QTest::newRow("missing top level") << "Nowhere\\Issues" << false << "Projects";
    QTest::newRow("child under the wrong parent") << "My Personnel\\Issues" << false << "Projects";
    QTest::newRow("empty") << "" << false << "Projects";
}

void MainWindowTest::selectTreePath()
{
    QFETCH(QString, path);
    QFETCH(bool, found);
    QFETCH(QString, selected);
    AppWorld world;
    QVERIFY(world.showAndLogin());
    app::FrmMain &m = *world.main;
    QCOMPARE(m.selectTreePath(path), found);
    QCOMPARE(m.tree()->selectedPath(), selected);
    // Selecting a path is not a click: the pane stays.
    QCOMPARE(visiblePane(m), QStringLiteral("FrameProjectList"));
}

void MainWindowTest::toolbarAndMenusWithoutEditorWindows()
{
    AppWorld world;
    QVERIFY(world.showAndLogin());
    app::FrmMain &m = *world.main;

    // The New menu lists every entry, disabled while its window does not
    // exist; the separator stands before the personnel entry.
    QStringList entries;
    for (QAction *a : m.newMenu()->actions()) {
        entries << (a->isSeparator() ? QStringLiteral("|") : a->objectName() + u'=' + a->text());
        QVERIFY(a->isSeparator() || !a->isEnabled());
    }
    QCOMPARE(entries, (QStringList{"NewProject=&Project", "NewRole=Project &Role", "NewProduct=Pr&oduct",
                                   "NewRisk=R&isk", "NewIssue=I&ssue", "NewQualityReview=&Quality Review",
                                   "NewChangeRequest=&Change Request", "|", "NewPersonnel=Perso&nnel"}));
    QStringList maintenance;
    for (QAction *a : m.maintenanceMenu()->actions()) {
        maintenance << a->text();
        QVERIFY(!a->isEnabled());
    }
    QCOMPARE(maintenance, (QStringList{"Skills", "Roles", "Product Types"}));
    auto *userAdmin = child<QToolButton>(&m, QStringLiteral("ToolbarButtonUserAdmin"));
    QCOMPARE(userAdmin->toolTip(), QStringLiteral("User Admin"));
    QVERIFY(!userAdmin->isEnabled());
    auto *reports = child<QToolButton>(&m, QStringLiteral("ToolbarButtonReports"));
    QVERIFY(!reports->isEnabled());
    QVERIFY(reports->toolTip().isEmpty());
    QCOMPARE(child<QToolButton>(&m, QStringLiteral("ToolbarButtonMaintenance"))->toolTip(), QStringLiteral("Maintenance"));
    QCOMPARE(child<QToolButton>(&m, QStringLiteral("ToolbarButtonNew"))->toolTip(), QStringLiteral("New"));

    // With its entry disabled the New button starts nothing.
    m.selectTreePath(QStringLiteral("My Active Project\\Issues"));
    child<QToolButton>(&m, QStringLiteral("ToolbarButtonNew"))->click();
    QCOMPARE(world.ds(QStringLiteral("IBDSIssue")).state(), data::DataSetState::Browse);
    QVERIFY(!world.module->pendingChanges(data::Group::Project));

    // A window that arrives enables its entries.
    std::vector<Opening> log;
    addProbe(m.windows(), QStringLiteral("FrmIssue"), QStringLiteral("IBDSIssue"), QStringLiteral("ISSUE_ID"), log);
    addProbe(m.windows(), QStringLiteral("FrmRole"), QStringLiteral("IBDSRole"), QStringLiteral("ROLE_ID"), log);
    QVERIFY(m.newMenu()->findChild<QAction *>(QStringLiteral("NewIssue"))->isEnabled());
    QVERIFY(!m.newMenu()->findChild<QAction *>(QStringLiteral("NewRisk"))->isEnabled());
    QVERIFY(m.maintenanceMenu()->actions().at(1)->isEnabled());
    // A maintenance window opens on the current record, nothing inserted.
    m.maintenanceMenu()->actions().at(1)->trigger();
    QCOMPARE(log.size(), std::size_t(1));
    QCOMPARE(log[0].window, QStringLiteral("FrmRole"));
    QCOMPARE(log[0].state, data::DataSetState::Browse);
    QVERIFY(!world.module->pendingChanges(data::Group::RefData));
}

void MainWindowTest::newButtonRunsTheEntryOfTheSelectedNode_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("dataSet");
    QTest::addColumn<int>("group");
    QTest::addColumn<bool>("newKey");   // whether the row gets a key of its own
    const int project = int(data::Group::Project);
    QTest::newRow("Projects") << "Projects" << "FrmProject" << "IBDSProject" << project << true;
    QTest::newRow("My Active Project") << "My Active Project" << "FrmProject" << "IBDSProject" << project << true;
    QTest::newRow("Active Project") << "My Active Project\\Active Project" << "FrmProject" << "IBDSProject"
                                    << project << true;
    QTest::newRow("Issues") << "My Active Project\\Issues" << "FrmIssue" << "IBDSIssue" << project << true;
    // A project role's role is chosen by the user in the window.
    QTest::newRow("Project Roles") << "My Active Project\\Project Roles" << "FrmProjectRole" << "IBDSProjectRole"
                                   << project << false;
    QTest::newRow("My Personnel") << "My Personnel" << "FrmPersonnel" << "IBDSPersonnel"
                                  << int(data::Group::Personnel) << true;
    QTest::newRow("Personnel") << "My Personnel\\Personnel" << "FrmPersonnel" << "IBDSPersonnel"
                               << int(data::Group::Personnel) << true;
}

void MainWindowTest::newButtonRunsTheEntryOfTheSelectedNode()
{
    QFETCH(QString, path);
    QFETCH(QString, window);
    QFETCH(QString, dataSet);
    QFETCH(int, group);
    QFETCH(bool, newKey);
    AppWorld world;
    QVERIFY(world.showAndLogin());
    app::FrmMain &m = *world.main;
    std::vector<Opening> log;
    addAllProbes(m.windows(), log);
    const int rowsBefore = world.ds(dataSet).recordCount();

    QVERIFY(m.selectTreePath(path));
    child<QToolButton>(&m, QStringLiteral("ToolbarButtonNew"))->click();

    QCOMPARE(log.size(), std::size_t(1));
    QCOMPARE(log[0].window, window);
    QVERIFY(log[0].modal);
    // The window opened on a new record: insert state, a fresh key from the
    // record rules, the group's flag raised.
    QCOMPARE(log[0].state, data::DataSetState::Insert);
    QCOMPARE(log[0].key.toInt() > 0, newKey);
    QCOMPARE(log[0].rows, rowsBefore + 1);
    QVERIFY(world.module->pendingChanges(data::Group(group)));
    QCOMPARE(ProbeWindow::live, 0);
}

void MainWindowTest::failureToStartTheWindowLeavesNothing_data()
{
    QTest::addColumn<bool>("insertFails");
    QTest::newRow("the insert fails") << true;
    QTest::newRow("the window cannot be made") << false;
}

void MainWindowTest::failureToStartTheWindowLeavesNothing()
{
    QFETCH(bool, insertFails);
    AppWorld world;
    QVERIFY(world.showAndLogin());
    app::FrmMain &m = *world.main;
    std::vector<Opening> log;
    if (insertFails) {
        addAllProbes(m.windows(), log);
        // A closed dataset refuses to start a row.
        world.ds(QStringLiteral("IBDSIssue")).close();
    } else {
        m.windows().add(QStringLiteral("FrmIssue"), [](data::TDModBase &, QWidget *) -> std::unique_ptr<QDialog> {
            throw data::DataSetError(QStringLiteral("The issue window cannot be made"));
        });
    }
    ModalScript script;
    script.answer(QStringLiteral("OK"));
    m.newMenu()->findChild<QAction *>(QStringLiteral("NewIssue"))->trigger();

    QCOMPARE(script.texts.size(), 1);
    if (insertFails)
        QVERIFY2(script.texts[0].contains(QStringLiteral("closed dataset")), qPrintable(script.texts[0]));
    else
        QCOMPARE(script.texts[0], QStringLiteral("The issue window cannot be made"));
    QVERIFY(log.empty());
    QCOMPARE(ProbeWindow::live, 0);
    QVERIFY(m.findChildren<QDialog *>().isEmpty());
}

void MainWindowTest::doubleClickOpensTheEditorOnTheCurrentRecord_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("grid");
    QTest::addColumn<QString>("rowText");    // in the grid's first column; empty: an empty grid
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("project");
    QTest::newRow("an issue, not the first") << "ToolbarButtonIssues" << "DBGridIssues" << "2" << "FrmIssue"
                                             << 800052 << "Apollo";
    QTest::newRow("a project") << "ToolbarButtonProjects" << "DBGridProjects" << "Cygnus" << "FrmProject" << 800003
                               << "Apollo";
    QTest::newRow("a person") << "ToolbarButtonPersonnel" << "DBGridPersonnel" << "Mr Tom Hill" << "FrmPersonnel"
                              << 800012 << "Apollo";
    QTest::newRow("the lower roles grid opens the upper grid's role")
        << "ToolbarButtonProjectRoles" << "DBGridRolePeople" << "Dr Ann Lee" << "FrmProjectRole" << 800021 << "Apollo";
    QTest::newRow("an empty issue list") << "ToolbarButtonIssues" << "DBGridIssues" << "" << "FrmIssue" << 0
                                         << "Borealis";
}

void MainWindowTest::doubleClickOpensTheEditorOnTheCurrentRecord()
{
    QFETCH(QString, button);
    QFETCH(QString, grid);
    QFETCH(QString, rowText);
    QFETCH(QString, window);
    QFETCH(int, key);
    QFETCH(QString, project);

    AppWorld world;
    QVERIFY(world.showAndLogin());
    app::FrmMain &m = *world.main;
    std::vector<Opening> log;
    addAllProbes(m.windows(), log);
    QVERIFY(world.ds(QStringLiteral("IBDSProject")).locate(QStringLiteral("PRJ_NAME"), project));
    if (grid == QLatin1String("DBGridRolePeople")) {
        // The role whose people are listed is the second one, Test Lead.
        child<QToolButton>(&m, button)->click();
        auto *roles = child<DataGrid>(&m, QStringLiteral("DBGridRoles"));
        clickRow(roles, rowWithText(roles, 0, QStringLiteral("Test Lead")));
    }
    child<QToolButton>(&m, button)->click();
    auto *g = child<DataGrid>(&m, grid);
    QPoint where(20, 20);
    if (!rowText.isEmpty()) {
        const int row = rowWithText(g, 0, rowText);
        QVERIFY2(row >= 0, qPrintable(rowText));
        where = g->visualRect(g->model()->index(row, 0)).center();
    } else {
        QCOMPARE(g->model()->rowCount(), 0);
    }
    QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, where);

    QCOMPARE(log.size(), std::size_t(1));
    QCOMPARE(log[0].window, window);
    QCOMPARE(log[0].state, data::DataSetState::Browse);
    if (key)
        QCOMPARE(log[0].key.toInt(), key);
    else
        QCOMPARE(log[0].rows, 0);
    QVERIFY(!world.module->pendingChanges(data::Group::Project));
    QCOMPARE(ProbeWindow::live, 0);
}

void MainWindowTest::anotherProjectRefillsEveryProjectPane()
{
    AppWorld world;
    QVERIFY(world.showAndLogin());
    app::FrmMain &m = *world.main;
    auto *projects = child<DataGrid>(&m, QStringLiteral("DBGridProjects"));
    auto *status = child<QLabel>(&m, QStringLiteral("StatusProjectName"));

    struct Counts
    {
        const char *grid;
        int apollo, borealis, cygnus;
    };
    const Counts counts[] = {
        {"DBGridRoles", 2, 0, 0},     {"DBGridProducts", 1, 0, 0},       {"DBGridIssues", 3, 0, 1},
        {"DBGridRisks", 1, 0, 0},     {"DBGridChangeRequests", 1, 0, 0}, {"DBGridQualityReviews", 1, 0, 0},
    };
    for (const QString &name : {QStringLiteral("Borealis"), QStringLiteral("Cygnus"), QStringLiteral("Apollo")}) {
        clickRow(projects, rowWithText(projects, 0, name));
        QCOMPARE(world.ds(QStringLiteral("IBDSProject")).fieldByName(QStringLiteral("PRJ_NAME"))->asString(), name);
        QCOMPARE(status->text(), name);
        QCOMPARE(child<QLineEdit>(&m, QStringLiteral("DBTextPRJ_NAME"))->text(), name);
        for (const Counts &c : counts) {
            const int expected = name == QLatin1String("Apollo") ? c.apollo
                                 : name == QLatin1String("Borealis") ? c.borealis
                                                                     : c.cygnus;
            QCOMPARE(child<DataGrid>(&m, QLatin1String(c.grid))->model()->rowCount(), expected);
        }
    }
    // The lower roles grid follows the upper grid's current role.
    auto *roles = child<DataGrid>(&m, QStringLiteral("DBGridRoles"));
    auto *people = child<DataGrid>(&m, QStringLiteral("DBGridRolePeople"));
    clickRow(roles, rowWithText(roles, 0, QStringLiteral("Test Analyst")));
    QCOMPARE(people->model()->rowCount(), 0);
    clickRow(roles, rowWithText(roles, 0, QStringLiteral("Test Lead")));
    QCOMPARE(people->model()->rowCount(), 1);
    QCOMPARE(people->model()->index(0, 0).data().toString(), QStringLiteral("Dr Ann Lee"));
    // The issue list shows the newest number first.
    auto *issues = child<DataGrid>(&m, QStringLiteral("DBGridIssues"));
    QCOMPARE(issues->model()->index(0, 0).data().toString(), QStringLiteral("3"));
}

void MainWindowTest::navigatorStepsThroughThePanesDataset()
{
    AppWorld world;
    QVERIFY(world.showAndLogin());
    app::FrmMain &m = *world.main;
    data::Dataset &project = world.ds(QStringLiteral("IBDSProject"));
    data::Dataset &issue = world.ds(QStringLiteral("IBDSIssue"));
    QVERIFY(project.locate(QStringLiteral("PRJ_NAME"), QStringLiteral("Apollo")));
    auto *next = child<QToolButton>(m.navigator(), QStringLiteral("Next"));
    auto *last = child<QToolButton>(m.navigator(), QStringLiteral("Last"));

    // On the issues pane the navigator walks the issues of the project.
    child<QToolButton>(&m, QStringLiteral("ToolbarButtonIssues"))->click();
    auto *issues = child<DataGrid>(&m, QStringLiteral("DBGridIssues"));
    QCOMPARE(issue.currentRow(), 0);
    next->click();
    QCOMPARE(issue.currentRow(), 1);
    QCOMPARE(issues->currentIndex().row(), 1);
    last->click();
    QCOMPARE(issue.currentRow(), 2);
    QVERIFY(!next->isEnabled());
    QCOMPARE(project.fieldByName(QStringLiteral("PRJ_NAME"))->asString(), QStringLiteral("Apollo"));

    // On the projects pane it walks the projects, and the status bar and
    // the project panes follow.
    child<QToolButton>(&m, QStringLiteral("ToolbarButtonProjects"))->click();
    const int before = project.currentRow();
    const QString name = project.fieldByName(QStringLiteral("PRJ_NAME"))->asString();
    child<QToolButton>(m.navigator(), before == 0 ? QStringLiteral("Next") : QStringLiteral("First"))->click();
    QVERIFY(project.currentRow() != before);
    const QString now = project.fieldByName(QStringLiteral("PRJ_NAME"))->asString();
    QVERIFY(now != name);
    QCOMPARE(child<QLabel>(&m, QStringLiteral("StatusProjectName"))->text(), now);
    QCOMPARE(issues->model()->rowCount(), now == QLatin1String("Cygnus") ? 1 : 0);
}

void MainWindowTest::activeProjectPaneTakesNoTyping()
{
    AppWorld world;
    QVERIFY(world.showAndLogin());
    app::FrmMain &m = *world.main;
    child<QToolButton>(&m, QStringLiteral("ToolbarButtonActiveProject"))->click();
    app::ListPane *pane = m.pane(1);
    auto *pages = child<QTabWidget>(pane, QStringLiteral("PageControl1"));
    QCOMPARE(pages->currentIndex(), 0);
    QCOMPARE(pages->tabText(0), QStringLiteral("Budget"));
    QCOMPARE(pages->tabText(1), QStringLiteral("Properties"));

    const QList<controls::DataText *> fields = pane->findChildren<controls::DataText *>();
    QCOMPARE(fields.size(), 6 + 6 + 6);
    for (int page = 0; page < 2; ++page) {
        pages->setCurrentIndex(page);
        for (controls::DataText *field : fields) {
            if (!field->isVisible())
                continue;
            const QString before = field->text();
            QTest::mouseClick(field, Qt::LeftButton);
            QTest::keyClicks(field, QStringLiteral("x9"));
            QTest::keyClick(field, Qt::Key_Backspace);
            QTest::keyClick(field, Qt::Key_Delete);
            QCOMPARE(field->text(), before);
        }
    }
    QCOMPARE(world.ds(QStringLiteral("IBDSProject")).state(), data::DataSetState::Browse);
    QVERIFY(!world.module->pendingChanges(data::Group::Project));
    // What it shows: the active project's fields, the remaining spend worked out.
    QCOMPARE(child<QLineEdit>(pane, QStringLiteral("DBTextPRJ_ID"))->text(), QStringLiteral("800001"));
    QCOMPARE(child<QLineEdit>(pane, QStringLiteral("DBTextPRJ_REF"))->text(), QStringLiteral("AP-1"));
    QCOMPARE(child<QLineEdit>(pane, QStringLiteral("DBTextCREATED_BY"))->text(), QStringLiteral("SYSDBA"));
    QVERIFY(child<QLineEdit>(pane, QStringLiteral("DBTextCapRemainingSpend"))->text().contains(QStringLiteral("750")));
}

void MainWindowTest::rolesGridDeletesAfterTwoQuestions_data()
{
    QTest::addColumn<QString>("role");
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<int>("rolesAfter");
    const QString question = QStringLiteral("Delete record?");
    QTest::newRow("Cancel asks nothing more") << "Test Analyst" << QStringList{"Cancel"} << QStringList{question} << 2;
    QTest::newRow("OK then No keeps the role")
        << "Test Analyst" << QStringList{"OK", "No"}
        << QStringList{question, "Are you sure you want to delete Test Analyst ?"} << 2;
    QTest::newRow("OK then Esc answers No")
        << "Test Analyst" << QStringList{"OK", "Esc"}
        << QStringList{question, "Are you sure you want to delete Test Analyst ?"} << 2;
    QTest::newRow("OK then Yes deletes it")
        << "Test Analyst" << QStringList{"OK", "Yes"}
        << QStringList{question, "Are you sure you want to delete Test Analyst ?"} << 1;
    QTest::newRow("a role with people in it is in use")
        << "Test Lead" << QStringList{"OK", "Yes", "OK"}
        << QStringList{question, "Are you sure you want to delete Test Lead ?",
                       "Project Role is in use, Deletion not allowed"}
        << 2;
}

void MainWindowTest::rolesGridDeletesAfterTwoQuestions()
{
    QFETCH(QString, role);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, asked);
    QFETCH(int, rolesAfter);
    AppWorld world;
    QVERIFY(world.showAndLogin());
    app::FrmMain &m = *world.main;
    child<QToolButton>(&m, QStringLiteral("ToolbarButtonProjectRoles"))->click();
    auto *roles = child<DataGrid>(&m, QStringLiteral("DBGridRoles"));
    clickRow(roles, rowWithText(roles, 0, role));
    QCOMPARE(world.ds(QStringLiteral("IBDSProjectRole")).fieldByName(QStringLiteral("ROLE_DESCRIPTION"))->asString(),
             role);

    ModalScript script;
    for (const QString &a : answers) {
        if (a == QLatin1String("Esc"))
            script.escape();
        else
            script.answer(a);
    }
    QTest::keyClick(roles, Qt::Key_Delete, Qt::ControlModifier);
    QTRY_VERIFY(script.done());

    QCOMPARE(script.texts, asked);
    QVERIFY(script.unanswered.isEmpty());
    // The record rule's questions are warnings.
    for (std::size_t i = 1; i < script.icons.size(); ++i)
        QCOMPARE(script.icons[i], QMessageBox::Warning);
    QCOMPARE(roles->model()->rowCount(), rolesAfter);
    QCOMPARE(world.ds(QStringLiteral("IBDSProjectRole")).recordCount(), rolesAfter);
    QCOMPARE(rowWithText(roles, 0, role) >= 0, rolesAfter == 2);
}

void MainWindowTest::readOnlyGridsIgnoreTheDeleteKeystroke_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("grid");
    QTest::addColumn<QString>("dataSet");
    QTest::newRow("issues") << "ToolbarButtonIssues" << "DBGridIssues" << "IBDSIssue";
    QTest::newRow("projects") << "ToolbarButtonProjects" << "DBGridProjects" << "IBDSProject";
    QTest::newRow("people in role") << "ToolbarButtonProjectRoles" << "DBGridRolePeople" << "IBDSProjectRolePerson";
    QTest::newRow("personnel") << "ToolbarButtonPersonnel" << "DBGridPersonnel" << "IBDSPersonnel";
}

void MainWindowTest::readOnlyGridsIgnoreTheDeleteKeystroke()
{
    QFETCH(QString, button);
    QFETCH(QString, grid);
    QFETCH(QString, dataSet);
    AppWorld world;
    QVERIFY(world.showAndLogin());
    app::FrmMain &m = *world.main;
    child<QToolButton>(&m, button)->click();
    auto *g = child<DataGrid>(&m, grid);
    const int rows = world.ds(dataSet).recordCount();
    QVERIFY(rows > 0);
    // Any question would be answered, and so noted.
    ModalScript script;
    script.answer(QStringLiteral("OK")).answer(QStringLiteral("Yes"));
    g->setFocus();
    QTest::keyClick(g, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(script.texts, QStringList());
    QCOMPARE(world.ds(dataSet).recordCount(), rows);
    QCOMPARE(g->model()->rowCount(), rows);
}

void MainWindowTest::gridColumnTitles_data()
{
    QTest::addColumn<QString>("grid");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<bool>("wholeRows");
    QTest::newRow("projects") << "DBGridProjects"
                              << QStringList{"Project Name", "Start Date", "End Date", "Status", "Project Reference", ""}
                              << true;
    QTest::newRow("roles") << "DBGridRoles"
                           << QStringList{"Role", "QA", "Mgt.", "Bus.", "IT", "Daily Rate", ""} << true;
    QTest::newRow("people in role")
        << "DBGridRolePeople" << QStringList{"Person in Role", "Scheduled Start Date", "Actual Start Date", "End Date", ""}
        << false;
    QTest::newRow("products") << "DBGridProducts"
                              << QStringList{"Product Description", "Product Type", "Review Type", "Owner", "Location", ""}
                              << true;
    QTest::newRow("issues") << "DBGridIssues"
                            << QStringList{"Issue No.", "Status", "Issue Type", "Description", "Date Raised", "Owner", ""}
                            << true;
    QTest::newRow("risks") << "DBGridRisks"
                           << QStringList{"Risk No.", "Status", "Description", "Date Raised", "Owner", ""} << true;
    QTest::newRow("change requests")
        << "DBGridChangeRequests" << QStringList{"CR No.", "Description", "Date Raised", "Priority", "Status", "Owner"}
        << true;
    QTest::newRow("quality reviews")
        << "DBGridQualityReviews"
        << QStringList{"QR No.", "Product", "Scheduled Review Date", "Facilitator", "Version for Review",
                       "Signed Off Version No.", "Sign Off Date", "Status", "Owner"}
        << true;
    QTest::newRow("personnel") << "DBGridPersonnel"
                               << QStringList{"Name", "Appointment", "Department", "Tel. No.", "Mobile", "Fax No.",
                                              "Pager No.", "E-Mail", ""}
                               << true;
}

void MainWindowTest::gridColumnTitles()
{
    QFETCH(QString, grid);
    QFETCH(QStringList, titles);
    QFETCH(bool, wholeRows);
    AppWorld world;
    QVERIFY(world.showAndLogin());
    auto *g = child<DataGrid>(world.main.get(), grid);
    QCOMPARE(headerTitles(g), titles);
    QCOMPARE(g->selectionBehavior(), wholeRows ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
    QCOMPARE(g->editTriggers(), QAbstractItemView::NoEditTriggers);
    if (!wholeRows)
        QCOMPARE(g->palette().color(QPalette::Base), QColor(Qt::white));
}

void MainWindowTest::statusBarFollowsTheProject()
{
    AppWorld world;
    QVERIFY(world.showAndLogin());
    app::FrmMain &m = *world.main;
    QCOMPARE(child<QLabel>(&m, QStringLiteral("StatusActiveProject"))->text(), QStringLiteral("Active Project:"));
    auto *name = child<QLabel>(&m, QStringLiteral("StatusProjectName"));
    QCOMPARE(name->toolTip(), QStringLiteral("Project Name"));
    data::Dataset &project = world.ds(QStringLiteral("IBDSProject"));
    QCOMPARE(name->text(), project.fieldByName(QStringLiteral("PRJ_NAME"))->asString());
    auto *state = child<QLabel>(&m, QStringLiteral("StatePane"));
    QCOMPARE(state->text(), QStringLiteral("Browse"));

    // Whatever pane shows, the state pane watches the project dataset, and
    // an edit shows at once, before anything is saved.
    child<QToolButton>(&m, QStringLiteral("ToolbarButtonIssues"))->click();
    project.edit();
    QCOMPARE(state->text(), QStringLiteral("Edit"));
    project.fieldByName(QStringLiteral("PRJ_NAME"))->setValue(QStringLiteral("Apollo II"));
    QCOMPARE(name->text(), QStringLiteral("Apollo II"));
    project.cancel();
    QCOMPARE(state->text(), QStringLiteral("Browse"));
    QCOMPARE(name->text(), QStringLiteral("Apollo"));
}

void MainWindowTest::splitterKeepsItsBoundsAndCollapses()
{
    AppWorld world;
    world.main->resize(1000, 700);
    QVERIFY(world.showAndLogin());
    app::FrmMain &m = *world.main;
    app::BoundedSplitter *s = m.splitter();
    QVERIFY(qAbs(s->firstFraction() - 0.2) < 0.01);

    s->dragTo(0.05);
    QVERIFY2(qAbs(s->firstFraction() - 0.2) < 0.01, qPrintable(QString::number(s->firstFraction())));
    s->dragTo(0.95);
    QVERIFY2(qAbs(s->firstFraction() - 0.8) < 0.01, qPrintable(QString::number(s->firstFraction())));
    s->dragTo(0.5);
    QVERIFY(qAbs(s->firstFraction() - 0.5) < 0.01);

    // The hot spot on the bar collapses the tree's side and restores it.
    auto *handle = static_cast<app::HotSpotHandle *>(s->handle(1));
    QTest::mouseClick(handle, Qt::LeftButton, {}, handle->hotSpot().center());
    QCOMPARE(s->sizes().at(0), 0);
    QTest::mouseClick(handle, Qt::LeftButton, {}, handle->hotSpot().center());
    QVERIFY(qAbs(s->firstFraction() - 0.5) < 0.01);

    // The roles pane's split starts at about half and keeps the same bounds.
    child<QToolButton>(&m, QStringLiteral("ToolbarButtonProjectRoles"))->click();
    auto *roles = child<app::BoundedSplitter>(&m, QStringLiteral("SplitterRoles"));
    QVERIFY2(qAbs(roles->firstFraction() - 0.53) < 0.01, qPrintable(QString::number(roles->firstFraction())));
    roles->dragTo(0.9);
    QVERIFY(qAbs(roles->firstFraction() - 0.8) < 0.01);
}

void MainWindowTest::menusExitAndAbout()
{
    struct NoOpener : app::LinkOpener
    {
        bool open(const QUrl &) override { return false; }
    } opener;
    AppWorld world;
    QVERIFY(world.showAndLogin());
    app::FrmMain &m = *world.main;
    m.setLinkOpener(&opener);

    QString title;
    ModalScript script;
    script.on<app::FrmAbout>(QStringLiteral("FrmAbout"), [&](app::FrmAbout *about) {
        title = about->windowTitle();
        child<QPushButton>(about, QStringLiteral("OKButton"))->click();
    });
    child<QAction>(&m, QStringLiteral("MenuAboutCorvadel"))->trigger();
    QVERIFY(script.done());
    QCOMPARE(title, QStringLiteral("About Ardenmoor Corvadel"));
    QVERIFY(m.findChildren<app::FrmAbout *>().isEmpty());

    QAction *exit = child<QAction>(&m, QStringLiteral("MenuExit"));
    QCOMPARE(exit->text(), QStringLiteral("&Exit"));
    exit->trigger();
    QVERIFY(!m.isVisible());
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
