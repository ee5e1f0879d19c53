// The data module and the dataset facility against a real server: the
// unit-of-work groups, the standard record rules, master and detail, block
// fetching and two clients on one database.

#include "ScriptedPrompt.h"
#include "support/TestDatabase.h"

#include "data/DataModule.h"
#include "data/Errors.h"
#include "data/fb/Error.h"
#include "data/fb/Script.h"
#include "data/fb/Statement.h"
#include "records/Personnel/PersonnelDataSets.h"
#include "records/Project/ProjectDataSets.h"
#include "records/Skill/SkillDataSets.h"

#include <QtTest>

#include <atomic>
#include <memory>
#include <thread>

using namespace corvadel;
using namespace corvadel::data;

namespace {

std::unique_ptr<TDModBase> makeModule(const test::TestDatabase &db, data::Prompt &prompt)
{
    ConnectionSettings settings{db.connectionString(), test::TestDatabase::adminUser(),
                                test::TestDatabase::adminPassword(), test::TestDatabase::serverHost()};
    auto module = std::make_unique<TDModBase>(settings, prompt);
    module->addDataSet(records::skillDataSet());
    module->addDataSet(records::personnelDataSet());
    module->addDataSet(records::personSkillDataSet());
    module->addDataSet(records::projectDataSet());
    module->connectDatabase();
    module->OpenAllDataSets();
    return module;
}

int scalar(fb::Attachment &att, const QString &sql)
{
    fb::Transaction t(att);
    t.start();
    fb::Statement s(att, t, sql);
    s.openCursor(t);
    const int v = s.fetch() ? s.value(0).toInt() : -1;
    s.closeCursor();
    t.commit();
    return v;
}

void newProject(TDModBase &m, const QString &name)
{
    Dataset *p = m.dataSet(QStringLiteral("IBDSProject"));
    p->insert();
    p->fieldByName(QStringLiteral("PRJ_NAME"))->setValue(name);
    p->post();
}

void newPerson(Dataset &p, const QString &title, const QString &first, const QString &surname)
{
    p.insert();
    p.fieldByName(QStringLiteral("TITLE"))->setValue(title);
    p.fieldByName(QStringLiteral("FORENAME_FIRST"))->setValue(first);
    p.fieldByName(QStringLiteral("SURNAME"))->setValue(surname);
}

} // namespace

class DataModuleTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { CORVADEL_REQUIRE_SERVER(); }

    void newRecordGetsKeyAndDefaults();
    void saveLowersFlagCancelKeepsIt();
    void saveWithNothingPendingStillCommits();
    void failingCommitIsUndoneSilently();
    void cancelUndoesPostedRows();
    void duplicateWarnsAndKeepsInsertState();
    void inUseWarnsAndKeepsRow();
    void deleteConfirmation_data();
    void deleteConfirmation();
    void requiredFieldNamesFirstEmptyLabel();
    void detailPostsInsertedMasterOnly();
    void masterMoveRereadsDetail();
    void newMasterRowRereadsDetailOnce();
    void rowsArriveInBlocks();
    void locateIgnoresCaseAndMatchesPrefix();
    void endOfProgramCommits();
    void twoClients();
};

void DataModuleTest::newRecordGetsKeyAndDefaults()
{
    auto db = test::TestDatabase::withSchema();
    test::ScriptedPrompt prompt;
    auto m = makeModule(db, prompt);
    Dataset *p = m->dataSet(QStringLiteral("IBDSProject"));
    QVERIFY(!m->pendingChanges(Group::Project));
    p->insert();
    QVERIFY(m->pendingChanges(Group::Project));
    QCOMPARE(p->state(), DataSetState::Insert);
    QVERIFY(p->fieldByName(QStringLiteral("PRJ_ID"))->asInteger() > 0);
    QCOMPARE(p->fieldByName(QStringLiteral("START_DATE"))->asDate(), QDate::currentDate());
    QCOMPARE(p->fieldByName(QStringLiteral("PRJ_STATUS"))->asString(), QStringLiteral("Not Started"));
    // Initial values are not the user's changes: leaving the row drops it.
    QVERIFY(!p->isModified());
    p->fieldByName(QStringLiteral("PRJ_NAME"))->setValue(QStringLiteral("Alpha"));
    p->post();
    // The re-read brings what the database set.
    QCOMPARE(p->fieldByName(QStringLiteral("CREATED_BY"))->asString(), QStringLiteral("SYSDBA"));
    QCOMPARE(p->fieldByName(QStringLiteral("CREATE_DATE"))->asDate(), QDate::currentDate());
    // Money left empty stays empty, and the remaining spend counts it as 0.
    QVERIFY(p->fieldByName(QStringLiteral("PRJ_CAP_BUDGET"))->isNull());
    QCOMPARE(p->fieldByName(QStringLiteral("CapRemainingSpend"))->asFloat(), 0.0);
}

void DataModuleTest::saveLowersFlagCancelKeepsIt()
{
    auto db = test::TestDatabase::withSchema();
    test::ScriptedPrompt prompt;
    auto m = makeModule(db, prompt);
    newProject(*m, QStringLiteral("Alpha"));
    m->SaveProjectGroup();
    QVERIFY(!m->pendingChanges(Group::Project));

    Dataset *p = m->dataSet(QStringLiteral("IBDSProject"));
    p->edit();
    QVERIFY(m->pendingChanges(Group::Project));
    p->fieldByName(QStringLiteral("PRJ_NAME"))->setValue(QStringLiteral("Beta"));
    m->SaveProjectGroup();
    QVERIFY(!m->pendingChanges(Group::Project));
    QCOMPARE(p->state(), DataSetState::Browse);
    QCOMPARE(scalar(db.attachment(), QStringLiteral("select count(*) from PROJECT where PRJ_NAME = 'Beta'")), 1);

    p->edit();
    p->fieldByName(QStringLiteral("PRJ_NAME"))->setValue(QStringLiteral("Gamma"));
    m->CancelProjectGroup();
    QVERIFY(m->pendingChanges(Group::Project));   // a cancel does not lower it
    QCOMPARE(p->state(), DataSetState::Browse);
    QCOMPARE(p->fieldByName(QStringLiteral("PRJ_NAME"))->asString(), QStringLiteral("Beta"));
}

void DataModuleTest::saveWithNothingPendingStillCommits()
{
    auto db = test::TestDatabase::withSchema();
    test::ScriptedPrompt prompt;
    auto m = makeModule(db, prompt);
    newProject(*m, QStringLiteral("Posted only"));
    QCOMPARE(m->dataSet(QStringLiteral("IBDSProject"))->state(), DataSetState::Browse);
    QCOMPARE(scalar(db.attachment(), QStringLiteral("select count(*) from PROJECT")), 0);
    m->SaveProjectGroup();
    QCOMPARE(scalar(db.attachment(), QStringLiteral("select count(*) from PROJECT")), 1);
}

void DataModuleTest::failingCommitIsUndoneSilently()
{
    auto db = test::TestDatabase::withSchema();
    // A commit trigger that refuses while a context flag is set.
    fb::executeScript(db.attachment(), QStringLiteral(
        "create exception E_NO_COMMIT 'commit refused';\n"
        "set term ^ ;\n"
        "create trigger REFUSE_COMMIT on transaction commit as begin\n"
        "  if (rdb$get_context('USER_SESSION', 'REFUSE') = '1') then exception E_NO_COMMIT;\n"
        "end^\n"
        "set term ; ^\n"));
    test::ScriptedPrompt prompt;
    auto m = makeModule(db, prompt);
    newProject(*m, QStringLiteral("Never committed"));
    {
        fb::Statement s(m->IBDb(), m->IBTProject(),
                        QStringLiteral("select rdb$set_context('USER_SESSION', 'REFUSE', '1') from rdb$database"));
        s.openCursor(m->IBTProject());
        s.fetch();
        s.closeCursor();
    }
    m->SaveProjectGroup();   // must not throw
    QVERIFY(!m->pendingChanges(Group::Project));
    QVERIFY(m->IBTProject().isActive());
    QCOMPARE(scalar(db.attachment(), QStringLiteral("select count(*) from PROJECT")), 0);
    QVERIFY(prompt.warnings.isEmpty());
}

void DataModuleTest::cancelUndoesPostedRows()
{
    auto db = test::TestDatabase::withSchema();
    test::ScriptedPrompt prompt;
    auto m = makeModule(db, prompt);
    newProject(*m, QStringLiteral("Kept"));
    m->SaveProjectGroup();
    newProject(*m, QStringLiteral("Rolled back"));
    Dataset *p = m->dataSet(QStringLiteral("IBDSProject"));
    QCOMPARE(p->recordCount(), 2);
    m->CancelProjectGroup();
    // The rolled-back row is gone from the client too, not only the server.
    QCOMPARE(p->recordCount(), 1);
    QCOMPARE(p->fieldByName(QStringLiteral("PRJ_NAME"))->asString(), QStringLiteral("Kept"));
}

void DataModuleTest::duplicateWarnsAndKeepsInsertState()
{
    auto db = test::TestDatabase::withSchema();
    test::ScriptedPrompt prompt;
    auto m = makeModule(db, prompt);
    Dataset *s = m->dataSet(QStringLiteral("IBDSSkill"));
    s->insert();
    s->fieldByName(QStringLiteral("SKILL_DESCRIPTION"))->setValue(QStringLiteral("C++"));   // seeded already
    s->fieldByName(QStringLiteral("SKILL_CATEGORY"))->setValue(QStringLiteral("Programming"));
    QVERIFY_THROWS_EXCEPTION(Abort, s->post());
    QCOMPARE(prompt.warnings, QStringList{QStringLiteral("Skill already Exists")});
    QCOMPARE(s->state(), DataSetState::Insert);
    QCOMPARE(s->fieldByName(QStringLiteral("SKILL_CATEGORY"))->asString(), QStringLiteral("Programming"));

    s->fieldByName(QStringLiteral("SKILL_DESCRIPTION"))->setValue(QStringLiteral("Rust"));
    s->post();
    QCOMPARE(s->state(), DataSetState::Browse);
    // A posted skill is committed at once.
    QVERIFY(!m->pendingChanges(Group::RefData));
    QCOMPARE(scalar(db.attachment(), QStringLiteral("select count(*) from SKILL where SKILL_DESCRIPTION = 'Rust'")), 1);
}

void DataModuleTest::inUseWarnsAndKeepsRow()
{
    auto db = test::TestDatabase::withSchema();
    test::ScriptedPrompt prompt;
    auto m = makeModule(db, prompt);
    Dataset *people = m->dataSet(QStringLiteral("IBDSPersonnel"));
    Dataset *skills = m->dataSet(QStringLiteral("IBDSSkill"));
    Dataset *held = m->dataSet(QStringLiteral("IBDSPersonSkill"));
    newPerson(*people, QStringLiteral("Mr."), QStringLiteral("Tom"), QStringLiteral("Hill"));
    QVERIFY(skills->locate(QStringLiteral("SKILL_DESCRIPTION"), QStringLiteral("SQL")));
    held->insert();
    QCOMPARE(people->state(), DataSetState::Browse);   // the new person was posted first
    held->fieldByName(QStringLiteral("SKILL_ID"))->setValue(skills->fieldByName(QStringLiteral("SKILL_ID"))->value());
    held->fieldByName(QStringLiteral("SKILL_DESCRIPTION"))->setValue(QStringLiteral("SQL"));
    held->post();
    m->SavePersonnelGroup();

    const int before = skills->recordCount();
    prompt.answer(true);
    QVERIFY_THROWS_EXCEPTION(Abort, skills->deleteRecord());
    QCOMPARE(prompt.confirmations, QStringList{QStringLiteral("Are you sure you want to delete SQL ?")});
    QCOMPARE(prompt.warnings, QStringList{QStringLiteral("Skill is in use, Deletion not allowed")});
    QCOMPARE(skills->recordCount(), before);
    QCOMPARE(skills->fieldByName(QStringLiteral("SKILL_DESCRIPTION"))->asString(), QStringLiteral("SQL"));

    // Once the skill is no longer held, it goes.
    prompt.answer(true);
    held->deleteRecord();
    QCOMPARE(prompt.confirmations.last(), QStringLiteral("Are you sure you want to delete SQL for Mr. Tom Hill  ?"));
    m->SavePersonnelGroup();
    prompt.answer(true);
    skills->deleteRecord();
    QCOMPARE(skills->recordCount(), before - 1);
}

void DataModuleTest::deleteConfirmation_data()
{
    QTest::addColumn<bool>("yes");
    QTest::addColumn<int>("remaining");
    QTest::newRow("No keeps the project") << false << 1;
    QTest::newRow("Yes deletes it") << true << 0;
}

void DataModuleTest::deleteConfirmation()
{
    QFETCH(bool, yes);
    QFETCH(int, remaining);
    auto db = test::TestDatabase::withSchema();
    test::ScriptedPrompt prompt;
    auto m = makeModule(db, prompt);
    newProject(*m, QStringLiteral("Doomed"));
    m->SaveProjectGroup();
    Dataset *p = m->dataSet(QStringLiteral("IBDSProject"));
    const int id = p->fieldByName(QStringLiteral("PRJ_ID"))->asInteger();
    prompt.answer(yes);
    if (yes)
        p->deleteRecord();
    else
        QVERIFY_THROWS_EXCEPTION(Abort, p->deleteRecord());
    QCOMPARE(prompt.confirmations,
             QStringList{QStringLiteral("Are you sure you want to delete %1 ?").arg(id)});
    QCOMPARE(p->recordCount(), remaining);
    m->SaveProjectGroup();
    QCOMPARE(scalar(db.attachment(), QStringLiteral("select count(*) from PROJECT")), remaining);
}

void DataModuleTest::requiredFieldNamesFirstEmptyLabel()
{
    auto db = test::TestDatabase::withSchema();
    test::ScriptedPrompt prompt;
    auto m = makeModule(db, prompt);
    Dataset *people = m->dataSet(QStringLiteral("IBDSPersonnel"));
    QSignalSpy focus(people, &Dataset::focusRequested);
    people->insert();
    people->fieldByName(QStringLiteral("SURNAME"))->setValue(QStringLiteral("Hill"));
    try {
        people->post();
        QFAIL("post without a title succeeded");
    } catch (const FieldRequiredError &e) {
        QCOMPARE(e.message(), QStringLiteral("Field 'Title' must have a value"));
        QCOMPARE(e.field()->name(), QStringLiteral("TITLE"));
    }
    QCOMPARE(focus.count(), 1);
    QCOMPARE(people->state(), DataSetState::Insert);
    QCOMPARE(people->fieldByName(QStringLiteral("SURNAME"))->asString(), QStringLiteral("Hill"));
}

void DataModuleTest::detailPostsInsertedMasterOnly()
{
    auto db = test::TestDatabase::withSchema();
    test::ScriptedPrompt prompt;
    auto m = makeModule(db, prompt);
    Dataset *people = m->dataSet(QStringLiteral("IBDSPersonnel"));
    Dataset *held = m->dataSet(QStringLiteral("IBDSPersonSkill"));

    newPerson(*people, QStringLiteral("Ms."), QStringLiteral("Jo"), QStringLiteral("Park"));
    people->fieldByName(QStringLiteral("FORENAME_SECOND"))->setValue(QStringLiteral("Kim"));
    held->insert();
    QCOMPARE(people->state(), DataSetState::Browse);
    QCOMPARE(people->fieldByName(QStringLiteral("PERSON_NAME"))->asString(), QStringLiteral("Ms. Jo Park "));
    QCOMPARE(people->fieldByName(QStringLiteral("INITIALS"))->asString(), QStringLiteral("J K"));
    QCOMPARE(held->fieldByName(QStringLiteral("PERSONNEL_ID"))->value(),
             people->fieldByName(QStringLiteral("PERSONNEL_ID"))->value());
    held->cancel();

    people->edit();
    people->fieldByName(QStringLiteral("APPOINTMENT"))->setValue(QStringLiteral("Analyst"));
    held->insert();
    QCOMPARE(people->state(), DataSetState::Edit);   // an edited person is not posted
    held->cancel();
    people->cancel();

    // A new person lacking a required value is not posted, and no skill row starts.
    newPerson(*people, QString(), QStringLiteral("No"), QStringLiteral("Title"));
    QVERIFY_THROWS_EXCEPTION(FieldRequiredError, held->insert());
    QCOMPARE(held->state(), DataSetState::Browse);
    QCOMPARE(people->state(), DataSetState::Insert);
}

void DataModuleTest::masterMoveRereadsDetail()
{
    auto db = test::TestDatabase::withSchema();
    test::ScriptedPrompt prompt;
    auto m = makeModule(db, prompt);
    Dataset *people = m->dataSet(QStringLiteral("IBDSPersonnel"));
    Dataset *skills = m->dataSet(QStringLiteral("IBDSSkill"));
    Dataset *held = m->dataSet(QStringLiteral("IBDSPersonSkill"));
    const QStringList names{QStringLiteral("Ann"), QStringLiteral("Bob")};
    for (int i = 0; i < names.size(); ++i) {
        newPerson(*people, QStringLiteral("Dr."), names[i], QStringLiteral("Lee"));
        people->post();
        for (int k = 0; k <= i; ++k) {
            skills->moveTo(k);
            held->insert();
            held->fieldByName(QStringLiteral("SKILL_ID"))->setValue(skills->fieldByName(QStringLiteral("SKILL_ID"))->value());
            held->fieldByName(QStringLiteral("SKILL_DESCRIPTION"))->setValue(QStringLiteral("x"));
            held->post();
            // The re-read replaces the typed description with the skill's name.
            QCOMPARE(held->fieldByName(QStringLiteral("SKILL_DESCRIPTION"))->asString(),
                     skills->fieldByName(QStringLiteral("SKILL_DESCRIPTION"))->asString());
        }
    }
    m->SavePersonnelGroup();
    // New rows stay where they were inserted until the list is read again.
    people->close();
    people->open();
    QVERIFY(people->locate(QStringLiteral("FORENAME_FIRST"), QStringLiteral("Ann")));
    QCOMPARE(held->recordCount(), 1);
    people->next();
    QCOMPARE(people->fieldByName(QStringLiteral("FORENAME_FIRST"))->asString(), QStringLiteral("Bob"));
    QCOMPARE(held->recordCount(), 2);
    QCOMPARE(held->fieldByName(QStringLiteral("PERSONNEL_ID"))->value(),
             people->fieldByName(QStringLiteral("PERSONNEL_ID"))->value());
}

void DataModuleTest::newMasterRowRereadsDetailOnce()
{
    auto db = test::TestDatabase::withSchema();
    test::ScriptedPrompt prompt;
    auto m = makeModule(db, prompt);
    Dataset *people = m->dataSet(QStringLiteral("IBDSPersonnel"));
    Dataset *held = m->dataSet(QStringLiteral("IBDSPersonSkill"));
    QSignalSpy rereads(held, &Dataset::rowsReset);
    // The new key is set among the initial values; the detail follows the
    // new row once, not once for the key and again for the row.
    people->insert();
    QCOMPARE(rereads.count(), 1);
    QCOMPARE(held->recordCount(), 0);
    // A key the user sets on a row being edited is followed at once.
    people->fieldByName(QStringLiteral("PERSONNEL_ID"))->setValue(people->fieldByName(QStringLiteral("PERSONNEL_ID"))->asInteger() + 1);
    QCOMPARE(rereads.count(), 2);
    people->cancel();
    QCOMPARE(rereads.count(), 3);
}

void DataModuleTest::rowsArriveInBlocks()
{
    auto db = test::TestDatabase::withSchema();
    fb::executeScript(db.attachment(), QStringLiteral(
        "set term ^ ;\n"
        "execute block as declare i integer = 0; begin\n"
        "  while (i < 5000) do begin\n"
        "    insert into PROJECT (PRJ_ID, PRJ_NAME, START_DATE, PRJ_STATUS) values (:i + 1, 'P' || :i, current_date, 'Not Started');\n"
        "    i = i + 1;\n"
        "  end\n"
        "end^\n"
        "set term ; ^\n"
        "commit;\n"));
    test::ScriptedPrompt prompt;
    auto m = makeModule(db, prompt);
    Dataset *p = m->dataSet(QStringLiteral("IBDSProject"));
    QCOMPARE(p->recordCount(), 1000);
    QVERIFY(p->canFetchMore());
    p->moveTo(1500);
    QCOMPARE(p->recordCount(), 2000);
    p->last();
    QCOMPARE(p->recordCount(), 5000);
    QVERIFY(!p->canFetchMore());
    QCOMPARE(p->currentRow(), 4999);
    // The personnel register reads smaller blocks.
    QCOMPARE(m->dataSet(QStringLiteral("IBDSPersonnel"))->blockSize(), 32);
}

void DataModuleTest::locateIgnoresCaseAndMatchesPrefix()
{
    auto db = test::TestDatabase::withSchema();
    test::ScriptedPrompt prompt;
    auto m = makeModule(db, prompt);
    Dataset *s = m->dataSet(QStringLiteral("IBDSSkill"));
    QVERIFY(s->locate(QStringLiteral("SKILL_DESCRIPTION"), QStringLiteral("data"), {true, true}));
    QCOMPARE(s->fieldByName(QStringLiteral("SKILL_DESCRIPTION"))->asString(), QStringLiteral("Data Modelling"));
    const int row = s->currentRow();
    QVERIFY(!s->locate(QStringLiteral("SKILL_DESCRIPTION"), QStringLiteral("zzz"), {true, true}));
    QCOMPARE(s->currentRow(), row);
    QVERIFY(!s->locate(QStringLiteral("SKILL_DESCRIPTION"), QStringLiteral("data"), {false, true}));
    QVERIFY(!s->locate(QStringLiteral("SKILL_DESCRIPTION"), QStringLiteral("Data"), {true, false}));
}

void DataModuleTest::endOfProgramCommits()
{
    auto db = test::TestDatabase::withSchema();
    test::ScriptedPrompt prompt;
    {
        auto m = makeModule(db, prompt);
        newProject(*m, QStringLiteral("Posted, never saved"));
    }
    QCOMPARE(scalar(db.attachment(), QStringLiteral("select count(*) from PROJECT")), 1);
}

void DataModuleTest::twoClients()
{
    auto db = test::TestDatabase::withSchema();
    test::ScriptedPrompt promptA, promptB;
    auto a = makeModule(db, promptA);
    newProject(*a, QStringLiteral("Shared"));
    newPerson(*a->dataSet(QStringLiteral("IBDSPersonnel")), QStringLiteral("Mr."), QStringLiteral("Tom"), QStringLiteral("Hill"));
    a->SaveProjectGroup();
    a->SavePersonnelGroup();
    // B starts after both were committed, so its snapshots hold them.
    auto b = makeModule(db, promptB);
    QVERIFY(a->FetchUniqueId() != b->FetchUniqueId());

    // Client A changes the project and does not commit.
    Dataset *pa = a->dataSet(QStringLiteral("IBDSProject"));
    pa->edit();
    pa->fieldByName(QStringLiteral("PRJ_REF"))->setValue(QStringLiteral("A"));
    pa->post();

    // The Project group does not wait: B fails at once with the lock conflict.
    Dataset *pb = b->dataSet(QStringLiteral("IBDSProject"));
    QCOMPARE(pb->recordCount(), 1);
    pb->edit();
    pb->fieldByName(QStringLiteral("PRJ_REF"))->setValue(QStringLiteral("B"));
    try {
        pb->post();
        QFAIL("B's update did not fail");
    } catch (const fb::Error &e) {
        QVERIFY2(e.isLockConflict(), qPrintable(e.message()));
    }
    QCOMPARE(pb->state(), DataSetState::Edit);
    pb->cancel();
    a->SaveProjectGroup();

    // The Personnel group waits for the other client's transaction to end.
    Dataset *ea = a->dataSet(QStringLiteral("IBDSPersonnel"));
    ea->edit();
    ea->fieldByName(QStringLiteral("APPOINTMENT"))->setValue(QStringLiteral("A"));
    ea->post();

    std::atomic<bool> committing{false};
    std::atomic<bool> waitedForCommit{false};
    std::atomic<bool> finished{false};
    Dataset *eb = b->dataSet(QStringLiteral("IBDSPersonnel"));
    eb->edit();
    eb->fieldByName(QStringLiteral("APPOINTMENT"))->setValue(QStringLiteral("B"));
    // B's post blocks on A's row; run it off the main thread, which touches
    // neither module until the post is over.
    std::thread other([&] {
        try {
            eb->post();
        } catch (const std::exception &) {
            // An update conflict once A has committed: B's snapshot is older.
        }
        waitedForCommit = committing.load();
        finished = true;
    });
    QTest::qWait(500);
    QVERIFY(!finished);
    committing = true;
    a->SavePersonnelGroup();
    other.join();
    QVERIFY(waitedForCommit);
}

QTEST_GUILESS_MAIN(DataModuleTest)
#include "tst_datamodule.moc"
