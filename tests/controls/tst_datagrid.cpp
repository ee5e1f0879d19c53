// The grid over a dataset against a real server: it reads rows block by
// block as the view needs them, and the dataset's current row and the view's
// selection follow each other both ways.

#include "../data/ScriptedPrompt.h"
#include "app/ModalScript.h"
#include "support/TestDatabase.h"

#include "controls/DataGrid.h"
#include "data/DataModule.h"
#include "data/fb/Script.h"
#include "records/Personnel/PersonnelDataSets.h"
#include "records/Project/ProjectDataSets.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QtTest>

using namespace corvadel;
using namespace corvadel::test;
using controls::DataGrid;

namespace {

// Projects P00000 ... numbered in key order; the select has no order of its
// own, so the rows come back as they were stored.
QString manyProjects(int count)
{
    return QStringLiteral(
               "set term ^;\n"
               "execute block as declare i integer = 0; begin\n"
               "  while (i < %1) do begin\n"
               "    insert into PROJECT (PRJ_ID, PRJ_NAME, START_DATE, PRJ_STATUS)\n"
               "      values (700000 + :i, 'P' || lpad(:i, 5, '0'), date '2024-01-01', 'Not Started');\n"
               "    i = i + 1;\n"
               "  end\n"
               "end^\n"
               "set term ;^\n"
               "commit;\n")
        .arg(count);
}

const char *const People = R"(
insert into PERSONNEL (PERSONNEL_ID, PERSON_NAME, TITLE, FORENAME_FIRST, SURNAME) values (700101, 'Ann Lee', 'Dr', 'Ann', 'Lee');
insert into PERSONNEL (PERSONNEL_ID, PERSON_NAME, TITLE, FORENAME_FIRST, SURNAME) values (700102, 'Bob Ray', 'Mr', 'Bob', 'Ray');
insert into PERSON_SKILL (PERSONNEL_ID, SKILL_ID) select 700101, SKILL_ID from SKILL;
insert into PERSON_SKILL (PERSONNEL_ID, SKILL_ID) select first 1 700102, SKILL_ID from SKILL;
commit;
)";

struct GridWorld
{
    explicit GridWorld(const QString &seed) : db(TestDatabase::withSchema())
    {
        fb::executeScript(db.attachment(), seed);
        db.attachment().detach();
        module = std::make_unique<data::TDModBase>(
            data::ConnectionSettings{db.connectionString(), TestDatabase::adminUser(), TestDatabase::adminPassword(),
                                     TestDatabase::serverHost()},
            prompt);
        module->addDataSet(records::projectDataSet());
        module->addDataSet(records::personnelDataSet());
        module->addDataSet(records::personSkillDataSet());
        module->connectDatabase();
        module->OpenAllDataSets();
    }

    data::Dataset &ds(const char *name) { return *module->dataSet(QLatin1String(name)); }
    data::DataSource *source(const char *name) { return module->dataSource(QLatin1String(name)); }

    TestDatabase db;
    ScriptedPrompt prompt;
    std::unique_ptr<data::TDModBase> module;
};

// Lets the view lay itself out and ask for whatever rows it wants.
void settle(QWidget &view)
{
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

} // namespace

class DataGridTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { CORVADEL_REQUIRE_SERVER(); }

    void firstScreenReadsOnlyTheFirstBlock();
    void datasetAndViewFollowEachOther();
    void aRefusedMoveKeepsTheEditedRow();
    void widthsSurviveTheMastersMoves();
};

void DataGridTest::firstScreenReadsOnlyTheFirstBlock()
{
    GridWorld world(manyProjects(5000));
    data::Dataset &projects = world.ds("IBDSProject");
    QCOMPARE(projects.blockSize(), 1000);

    DataGrid grid(world.source("DSProject"));
    grid.resize(700, 500);
    grid.show();
    settle(grid);
    QCOMPARE(projects.recordCount(), 1000);
    QVERIFY(projects.canFetchMore());
    QCOMPARE(grid.model()->rowCount(), 1000);
    QCOMPARE(grid.model()->index(0, 1).data().toString(), QStringLiteral("P00000"));

    // Scrolling to the end of what is read asks for the next block only.
    grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->maximum());
    settle(grid);
    QCOMPARE(projects.recordCount(), 2000);
    QCOMPARE(grid.model()->rowCount(), 2000);
    QCOMPARE(grid.model()->index(1999, 1).data().toString(), QStringLiteral("P01999"));

    // Going to the last record reads the rest, and the view follows.
    projects.last();
    settle(grid);
    QCOMPARE(grid.model()->rowCount(), 5000);
    QCOMPARE(grid.currentIndex().row(), 4999);
    QVERIFY(grid.viewport()->rect().intersects(grid.visualRect(grid.model()->index(4999, 0))));
}

void DataGridTest::datasetAndViewFollowEachOther()
{
    GridWorld world(manyProjects(40));
    data::Dataset &projects = world.ds("IBDSProject");
    DataGrid grid(world.source("DSProject"));
    grid.resize(700, 400);
    grid.show();
    settle(grid);

    auto marked = [&] {
        QList<int> rows;
        for (int r = 0; r < grid.model()->rowCount(); ++r)
            if (!grid.model()->headerData(r, Qt::Vertical).toString().isEmpty())
                rows << r;
        return rows;
    };
    QCOMPARE(marked(), QList<int>{0});

    // The dataset moves: the view's current and selected row follow.
    projects.moveTo(5);
    QCOMPARE(grid.currentIndex().row(), 5);
    QCOMPARE(grid.selectionModel()->selectedRows().size(), 1);
    QCOMPARE(grid.selectionModel()->selectedRows().at(0).row(), 5);
    QCOMPARE(marked(), QList<int>{5});

    // The user clicks and uses the keys: the dataset follows.
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(grid.model()->index(2, 1)).center());
    QCOMPARE(projects.currentRow(), 2);
    QCOMPARE(projects.fieldByName(QStringLiteral("PRJ_NAME"))->asString(), QStringLiteral("P00002"));
    QTest::keyClick(&grid, Qt::Key_Down);
    QCOMPARE(projects.currentRow(), 3);
    QCOMPARE(marked(), QList<int>{3});

    // Whole rows are selected, and stay as bright without the focus.
    QCOMPARE(grid.selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(grid.palette().color(QPalette::Inactive, QPalette::Highlight),
             grid.palette().color(QPalette::Active, QPalette::Highlight));
}

void DataGridTest::aRefusedMoveKeepsTheEditedRow()
{
    GridWorld world(manyProjects(10));
    data::Dataset &projects = world.ds("IBDSProject");
    DataGrid grid(world.source("DSProject"));
    grid.resize(700, 400);
    grid.show();
    settle(grid);

    projects.moveTo(1);
    projects.edit();
    projects.fieldByName(QStringLiteral("PRJ_NAME"))->clear();
    // Leaving the row posts it; the post is refused and the user told.
    ModalScript script;
    script.answer(QStringLiteral("OK"));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(grid.model()->index(4, 0)).center());
    QCOMPARE(script.texts, QStringList{QStringLiteral("Field 'Project Name' must have a value")});
    QCOMPARE(projects.state(), data::DataSetState::Edit);
    QCOMPARE(projects.currentRow(), 1);
    QCOMPARE(grid.currentIndex().row(), 1);
}

void DataGridTest::widthsSurviveTheMastersMoves()
{
    GridWorld world(QString::fromLatin1(People));
    data::Dataset &people = world.ds("IBDSPersonnel");
    data::Dataset &skills = world.ds("IBDSPersonSkill");
    DataGrid grid(world.source("DSPersonSkill"));
    grid.show();
    settle(grid);
    QVERIFY(people.locate(QStringLiteral("PERSON_NAME"), QStringLiteral("Ann Lee")));
    const int annSkills = skills.recordCount();
    QVERIFY(annSkills > 1);
    grid.setColumnWidth(0, 123);

    // Another person: the detail is read again, the widths set stay.
    QVERIFY(people.locate(QStringLiteral("PERSON_NAME"), QStringLiteral("Bob Ray")));
    QCOMPARE(grid.model()->rowCount(), 1);
    QCOMPARE(grid.columnWidth(0), 123);

    // New columns get widths of their own again.
    grid.setColumns({{QStringLiteral("SKILL_DESCRIPTION"), {}}, {}});
    QVERIFY(grid.columnWidth(0) != 123);
    QCOMPARE(grid.model()->columnCount(), 2);
}

QTEST_MAIN(DataGridTest)
#include "tst_datagrid.moc"
