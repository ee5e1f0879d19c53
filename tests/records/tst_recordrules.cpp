// The rules special to one record kind, against a real server: composed
// person names, remaining spend, the immediate commit of skills and product
// types, whole reads of the lists and pick lists, the pick lists offering
// the people currently in a role, the change request's line cost and total,
// the reviewer's role kept in the pick list, the attended reviewer who cannot
// be deleted, and the names a quality review looks up in the pick lists.

#include "RecordsWorld.h"

#include "data/Errors.h"
#include "records/ChangeRequest/ChangeRequestDataSets.h"

#include <QSignalSpy>
#include <QtTest>

using namespace corvadel;
using namespace corvadel::data;
using test::World;
namespace key = test::key;

namespace {

QVariant get(Dataset &ds, const char *field)
{
    return ds.fieldByName(QLatin1String(field))->value();
}

void set(Dataset &ds, const char *field, const QVariant &value)
{
    ds.fieldByName(QLatin1String(field))->setValue(value);
}

// The values a field takes over all rows of a dataset, in row order.
QVariantList column(Dataset &ds, const char *field)
{
    ds.fetchAll();
    QVariantList values;
    Field *f = ds.fieldByName(QLatin1String(field));
    for (int row = 0; row < ds.recordCount(); ++row)
        values << ds.value(row, f);
    return values;
}

} // namespace

class RecordRulesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { CORVADEL_REQUIRE_SERVER(); }

    void personNameAndInitials_data();
    void personNameAndInitials();
    void remainingSpend_data();
    void remainingSpend();
    void refDataPostCommitsAtOnce_data();
    void refDataPostCommitsAtOnce();
    void wholeListsOnOpen();
    void personPickListsOfferCurrentAssignments();
    void rolePickListsReadAgainOnlyWithProjectRoles();
    void resourceCostAndTotal();
    void totalRoundsTiesToEven_data();
    void totalRoundsTiesToEven();
    void reviewerRoleFollowsLine();
    void attendedReviewerCannotBeDeleted_data();
    void attendedReviewerCannotBeDeleted();
    void reviewNamesComeFromPickLists();
};

void RecordRulesTest::personNameAndInitials_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("surname");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("initials");
    QTest::newRow("no suffix: trailing space") << "Ms." << "Jo" << "Kim" << "Park" << ""
                                               << "Ms. Jo Park " << "J K";
    QTest::newRow("no second forename") << "Mr." << "Tom" << "" << "Hill" << "Jr."
                                        << "Mr. Tom Hill Jr." << "T ";
    const QString longFirst(40, QLatin1Char('F'));
    const QString longSurname(40, QLatin1Char('S'));
    QTest::newRow("cut to 80") << "Prof." << longFirst << "Q" << longSurname << "PhD"
                               << (QStringLiteral("Prof. ") + longFirst + u' ' + longSurname).left(80) << "F Q";
}

void RecordRulesTest::personNameAndInitials()
{
    QFETCH(QString, title);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, surname);
    QFETCH(QString, suffix);
    QFETCH(QString, name);
    QFETCH(QString, initials);
    World w;
    Dataset &people = w.ds(QStringLiteral("IBDSPersonnel"));
    people.insert();
    set(people, "TITLE", title);
    set(people, "FORENAME_FIRST", first);
    set(people, "FORENAME_SECOND", second);
    set(people, "SURNAME", surname);
    set(people, "NAME_SUFFIX", suffix);
    people.post();
    QCOMPARE(get(people, "PERSON_NAME").toString(), name);   // as re-read from the database
    QCOMPARE(get(people, "INITIALS").toString(), initials);
}

void RecordRulesTest::remainingSpend_data()
{
    QTest::addColumn<QVariant>("capBudget");
    QTest::addColumn<QVariant>("capSpend");
    QTest::addColumn<QVariant>("revBudget");
    QTest::addColumn<QVariant>("revSpend");
    QTest::addColumn<double>("capRemaining");
    QTest::addColumn<double>("revRemaining");
    QTest::newRow("overspent") << QVariant(1000.0) << QVariant(1250.0) << QVariant(500.0) << QVariant(125.5)
                               << -250.0 << 374.5;
    QTest::newRow("empty figures") << QVariant() << QVariant() << QVariant() << QVariant() << 0.0 << 0.0;
    QTest::newRow("spend only") << QVariant() << QVariant(40.0) << QVariant(10.0) << QVariant() << -40.0 << 10.0;
}

void RecordRulesTest::remainingSpend()
{
    QFETCH(QVariant, capBudget);
    QFETCH(QVariant, capSpend);
    QFETCH(QVariant, revBudget);
    QFETCH(QVariant, revSpend);
    QFETCH(double, capRemaining);
    QFETCH(double, revRemaining);
    World w;
    Dataset &p = w.ds(QStringLiteral("IBDSProject"));
    p.edit();
    set(p, "PRJ_CAP_BUDGET", capBudget);
    set(p, "PRJ_CAP_SPEND_TO_DATE", capSpend);
    set(p, "PRJ_REV_BUDGET", revBudget);
    set(p, "PRJ_REV_SPEND_TO_DATE", revSpend);
    // Known as soon as the figures are, before the post...
    QCOMPARE(get(p, "CapRemainingSpend").toDouble(), capRemaining);
    QCOMPARE(get(p, "RevRemainingSpend").toDouble(), revRemaining);
    p.post();
    // ...and for the stored row; empty figures stay empty.
    QCOMPARE(get(p, "CapRemainingSpend").toDouble(), capRemaining);
    QCOMPARE(get(p, "RevRemainingSpend").toDouble(), revRemaining);
    QCOMPARE(get(p, "PRJ_CAP_BUDGET").isNull(), capBudget.isNull());
}

void RecordRulesTest::refDataPostCommitsAtOnce_data()
{
    QTest::addColumn<QString>("dataSet");
    QTest::addColumn<QString>("descriptionField");
    QTest::addColumn<QString>("otherField");
    QTest::addColumn<QString>("table");
    QTest::addColumn<bool>("committed");
    QTest::newRow("skill") << "IBDSSkill" << "SKILL_DESCRIPTION" << "SKILL_CATEGORY" << "SKILL" << true;
    QTest::newRow("product type") << "IBDSProductType" << "PRODUCT_TYPE_DESCRIPTION" << "REVIEW_TYPE"
                                  << "PRODUCT_TYPE" << true;
    QTest::newRow("role") << "IBDSRole" << "ROLE_DESCRIPTION" << "QA_ROLE" << "ROLES" << false;
}

void RecordRulesTest::refDataPostCommitsAtOnce()
{
    QFETCH(QString, dataSet);
    QFETCH(QString, descriptionField);
    QFETCH(QString, otherField);
    QFETCH(QString, table);
    QFETCH(bool, committed);
    World w;
    Dataset &ds = w.ds(dataSet);
    const QString count = QStringLiteral("select count(*) from %1 where %2 = 'Kept or not'").arg(table, descriptionField);
    const int rows = ds.recordCount();
    ds.insert();
    ds.fieldByName(descriptionField)->setValue(QStringLiteral("Kept or not"));
    ds.fieldByName(otherField)->setValue(QStringLiteral("Yes"));
    ds.post();
    QCOMPARE(w.module->pendingChanges(Group::RefData), !committed);
    QCOMPARE(test::scalar(w.db.attachment(), count), committed ? 1 : 0);

    // No at a later closing prompt cancels the group.
    w.module->CancelRefDataGroup();
    QCOMPARE(ds.recordCount(), committed ? rows + 1 : rows);
    QCOMPARE(ds.locate(descriptionField, QStringLiteral("Kept or not")), committed);
    w.module->SaveRefDataGroup();
    QCOMPARE(test::scalar(w.db.attachment(), count), committed ? 1 : 0);
}

void RecordRulesTest::wholeListsOnOpen()
{
    // More rows than one block of 1000 in each list.
    World w(QStringLiteral(
        "set term ^ ;\n"
        "execute block as declare i integer = 0; begin\n"
        "  while (i < 1100) do begin\n"
        "    insert into ROLES (ROLE_ID, ROLE_DESCRIPTION) values (800000 + :i, 'Bulk role ' || :i);\n"
        "    insert into PROJECT_ROLE (PRJ_ID, ROLE_ID, DAILY_RATE) values (900001, 800000 + :i, 1);\n"
        "    insert into PRODUCT_TYPE values (810000 + :i, 'Bulk type ' || :i, 'Formal');\n"
        "    insert into PERSONNEL (PERSONNEL_ID, PERSON_NAME, TITLE, FORENAME_FIRST, SURNAME)\n"
        "      values (820000 + :i, 'Bulk person ' || :i, 'Mr.', 'B', 'P' || :i);\n"
        "    insert into PROJECT_ROLE_PERSON (PRJ_ID, ROLE_ID, PERSONNEL_ID) values (900001, 900021, 820000 + :i);\n"
        "    i = i + 1;\n"
        "  end\n"
        "end^\n"
        "set term ; ^\n"
        "commit;\n"));
    auto rows = [&w](const char *sql) { return test::scalar(w.db.attachment(), QLatin1String(sql)); };
    const int roles = rows("select count(*) from ROLES");
    const int types = rows("select count(*) from PRODUCT_TYPE");
    const int projectRoles = rows("select count(*) from PROJECT_ROLE where PRJ_ID = 900001");
    const int leads = rows("select count(*) from PROJECT_ROLE_PERSON where ROLE_ID = 900021");
    const int people = rows("select count(*) from PERSONNEL");

    struct Expectation { const char *dataSet; int rows; };
    // Read whole at login, back on their first row.
    for (const Expectation &e : {Expectation{"IBDSRole", roles}, Expectation{"IBDSProductType", types},
                                 Expectation{"IBDSProjectRole", projectRoles},
                                 Expectation{"IBQLkupProjectRole1", projectRoles},
                                 Expectation{"IBQLkupProjectRole2", projectRoles}}) {
        Dataset &ds = w.ds(QLatin1String(e.dataSet));
        QVERIFY2(!ds.canFetchMore(), e.dataSet);
        QCOMPARE(ds.recordCount(), e.rows);
    }
    QCOMPARE(w.ds(QStringLiteral("IBDSRole")).currentRow(), 0);
    QCOMPARE(w.ds(QStringLiteral("IBDSProductType")).currentRow(), 0);
    // The register is not one of them: it reads its blocks as they are needed.
    QCOMPARE(w.ds(QStringLiteral("IBDSPersonnel")).recordCount(), 32);
    QVERIFY(people > 32);

    // The people lists, read whole for the role that becomes current.
    QVERIFY(w.ds(QStringLiteral("IBDSProjectRole")).locate(QStringLiteral("ROLE_ID"), key::TestLead));
    QVERIFY(w.ds(QStringLiteral("IBQLkupProjectRole1")).locate(QStringLiteral("ROLE_ID"), key::TestLead));
    QVERIFY(w.ds(QStringLiteral("IBQLkupProjectRole2")).locate(QStringLiteral("ROLE_ID"), key::TestLead));
    for (const char *name : {"IBDSProjectRolePerson", "IBQLkupProjectRolePerson1", "IBQLkupProjectRolePerson2"}) {
        Dataset &ds = w.ds(QLatin1String(name));
        QVERIFY2(!ds.canFetchMore(), name);
        QCOMPARE(ds.recordCount(), leads);
    }
}

void RecordRulesTest::personPickListsOfferCurrentAssignments()
{
    // Tom once was a Test Lead too; that assignment has ended.
    World w(QStringLiteral(
        "insert into PROJECT_ROLE_PERSON (PRJ_ID, ROLE_ID, PERSONNEL_ID, END_DATE) "
        "values (900001, 900021, 900012, '2025-12-31');\ncommit;\n"));
    for (const char *pair : {"1", "2"}) {
        Dataset &roles = w.ds(QStringLiteral("IBQLkupProjectRole") + QLatin1String(pair));
        Dataset &people = w.ds(QStringLiteral("IBQLkupProjectRolePerson") + QLatin1String(pair));
        QVERIFY(roles.locate(QStringLiteral("ROLE_ID"), key::TestLead));
        QCOMPARE(column(people, "PERSONNEL_ID"), QVariantList{key::Ann});
        QVERIFY(roles.locate(QStringLiteral("ROLE_ID"), key::TestAnalyst));
        QCOMPARE(column(people, "PERSONNEL_ID"), QVariantList{key::Tom});
    }
    // The project-role window still lists both Test Leads.
    QVERIFY(w.ds(QStringLiteral("IBDSProjectRole")).locate(QStringLiteral("ROLE_ID"), key::TestLead));
    Dataset &assignments = w.ds(QStringLiteral("IBDSProjectRolePerson"));
    QCOMPARE(assignments.recordCount(), 2);

    // Ending Ann's assignment drops her from the lists once they are re-read.
    QVERIFY(assignments.locate(QStringLiteral("PERSONNEL_ID"), key::Ann));
    assignments.edit();
    set(assignments, "END_DATE", QDate(2026, 1, 31));
    assignments.post();
    Dataset &roles = w.ds(QStringLiteral("IBQLkupProjectRole1"));
    QVERIFY(roles.locate(QStringLiteral("ROLE_ID"), key::TestAnalyst));
    QVERIFY(roles.locate(QStringLiteral("ROLE_ID"), key::TestLead));
    QVERIFY(w.ds(QStringLiteral("IBQLkupProjectRolePerson1")).isEmpty());
}

void RecordRulesTest::rolePickListsReadAgainOnlyWithProjectRoles()
{
    World w(QStringLiteral(
        "insert into PROJECT (PRJ_ID, PRJ_NAME, START_DATE, PRJ_STATUS) values (900002, 'Zeus', current_date, 'Not Started');\n"
        "commit;\n"));
    Dataset &projectRoles = w.ds(QStringLiteral("IBDSProjectRole"));
    Dataset &pick1 = w.ds(QStringLiteral("IBQLkupProjectRole1"));
    Dataset &pick2 = w.ds(QStringLiteral("IBQLkupProjectRole2"));
    QVERIFY(w.ds(QStringLiteral("IBDSProject")).locate(QStringLiteral("PRJ_ID"), key::Project));
    QCOMPARE(pick1.recordCount(), 2);

    // Posting a project role only refreshes it: the pick lists stay as they were.
    projectRoles.insert();
    set(projectRoles, "ROLE_ID", key::TestManager);
    set(projectRoles, "DAILY_RATE", 90.0);
    projectRoles.post();
    QVERIFY(!pick1.locate(QStringLiteral("ROLE_ID"), key::TestManager));
    QVERIFY(!pick2.locate(QStringLiteral("ROLE_ID"), key::TestManager));

    // Opening the project roles again reads both lists again.
    projectRoles.close();
    projectRoles.open();
    QVERIFY(pick1.locate(QStringLiteral("ROLE_ID"), key::TestManager));
    QVERIFY(pick2.locate(QStringLiteral("ROLE_ID"), key::TestManager));
    QCOMPARE(pick1.recordCount(), 3);

    // So does a change of the active project.
    QVERIFY(w.ds(QStringLiteral("IBDSProject")).locate(QStringLiteral("PRJ_ID"), 900002));
    QVERIFY(pick1.isEmpty());
    QVERIFY(pick2.isEmpty());
    QVERIFY(w.ds(QStringLiteral("IBQLkupProjectRolePerson1")).isEmpty());
}

void RecordRulesTest::resourceCostAndTotal()
{
    World w(QStringLiteral(
        "insert into CHANGE_REQUEST (CR_ID, CR_DESCRIPTION, DATE_RAISED, PRJ_ID, RAISED_BY_ROLE_ID, RAISED_BY_PERSONNEL_ID) "
        "values (900062, 'No resources', current_date, 900001, 900021, 900011);\ncommit;\n"));
    Dataset &requests = w.ds(QStringLiteral("IBDSChangeRequest"));
    Dataset &lines = w.ds(QStringLiteral("IBDSChangeRequestResource"));
    QSignalSpy announced(w.module.get(), &TDModBase::totalCostChanged);
    QVERIFY(requests.locate(QStringLiteral("CR_ID"), key::ChangeRequest));
    QCOMPARE(w.module->totalCost(), 0);

    auto addLine = [&lines](int role, int days) {
        lines.insert();
        set(lines, "ROLE_ID", role);
        set(lines, "RESOURCE_DAYS", days);
        set(lines, "COMPLETED_BY_ROLE_ID", role);
        set(lines, "ROLE_DESCRIPTION", QStringLiteral("typed"));
        set(lines, "COMPLETED_BY_PERSONNEL_ID", role == key::TestLead ? key::Ann : key::Tom);
        set(lines, "PERSON_NAME", QStringLiteral("typed"));
    };

    // The rate comes with the re-read: until then the line costs nothing.
    addLine(key::TestLead, 3);
    QCOMPARE(get(lines, "CalcCost").toDouble(), 0.0);
    announced.clear();
    lines.post();
    QCOMPARE(get(lines, "DAILY_RATE").toDouble(), 250.0);
    QCOMPARE(get(lines, "CalcCost").toDouble(), 750.0);
    QCOMPARE(w.module->totalCost(), 7'500'000);
    QVERIFY(!announced.isEmpty());
    QCOMPARE(announced.last().at(0).toLongLong(), 7'500'000);

    addLine(key::TestAnalyst, 2);
    lines.post();
    QCOMPARE(w.module->totalCost(), 15'500'000);
    QCOMPARE(lines.currentRow(), lines.recordCount() - 1);   // the walk ends on the last line

    // A changed line costs anew at once; the total follows its post.
    QVERIFY(lines.locate(QStringLiteral("ROLE_ID"), key::TestLead));
    lines.edit();
    set(lines, "RESOURCE_DAYS", 4);
    QCOMPARE(get(lines, "CalcCost").toDouble(), 1000.0);
    QCOMPARE(w.module->totalCost(), 15'500'000);
    lines.post();
    QCOMPARE(w.module->totalCost(), 18'000'000);

    // A deleted line leaves the total at once.
    QVERIFY(lines.locate(QStringLiteral("ROLE_ID"), key::TestAnalyst));
    w.prompt.answer(true);
    lines.deleteRecord();
    QCOMPARE(w.module->totalCost(), 10'000'000);

    // Another change request has its own total, computed when its lines are read.
    QVERIFY(requests.locate(QStringLiteral("CR_ID"), 900062));
    QCOMPARE(w.module->totalCost(), 0);
    QVERIFY(requests.locate(QStringLiteral("CR_ID"), key::ChangeRequest));
    QCOMPARE(w.module->totalCost(), 10'000'000);
    QCOMPARE(announced.last().at(0).toLongLong(), 10'000'000);
}

void RecordRulesTest::totalRoundsTiesToEven_data()
{
    QTest::addColumn<qint64>("total");
    QTest::addColumn<double>("cost");
    QTest::addColumn<qint64>("expected");
    // 0.00005 is half of one ten-thousandth.
    QTest::newRow("0.5 to even 0") << qint64(0) << 0.00005 << qint64(0);
    QTest::newRow("1.5 to even 2") << qint64(1) << 0.00005 << qint64(2);
    QTest::newRow("2.5 to even 2") << qint64(2) << 0.00005 << qint64(2);
    QTest::newRow("below half") << qint64(0) << 0.00004 << qint64(0);
    QTest::newRow("above half") << qint64(0) << 0.00006 << qint64(1);
    QTest::newRow("whole amount") << qint64(0) << 750.0 << qint64(7'500'000);
    QTest::newRow("fraction of a pound") << qint64(7'500'000) << 0.33333 << qint64(7'503'333);
}

void RecordRulesTest::totalRoundsTiesToEven()
{
    QFETCH(qint64, total);
    QFETCH(double, cost);
    QFETCH(qint64, expected);
    QCOMPARE(0.00005 * 10000.0, 0.5);   // the halves below are exact halves
    QCOMPARE(records::addLineCost(total, cost), expected);
}

void RecordRulesTest::reviewerRoleFollowsLine()
{
    World w(QStringLiteral(
        "insert into PERSONNEL (PERSONNEL_ID, PERSON_NAME, TITLE, FORENAME_FIRST, SURNAME) values (900013, 'Ms. Sue Bay ', 'Ms.', 'Sue', 'Bay');\n"
        "insert into QUALITY_REVIEW_INVOLVEMENT (QR_ID, PRJ_ID, INVOLVEMENT_ROLE_ID, INVOLVEMENT_PERSONNEL_ID) values (900071, 900001, 900021, 900011);\n"
        "insert into QUALITY_REVIEW_INVOLVEMENT (QR_ID, PRJ_ID, INVOLVEMENT_ROLE_ID, INVOLVEMENT_PERSONNEL_ID) values (900071, 900001, 900022, 900012);\n"
        "insert into QUALITY_REVIEW_INVOLVEMENT (QR_ID, PRJ_ID, INVOLVEMENT_ROLE_ID, INVOLVEMENT_PERSONNEL_ID) values (900071, 900001, 900023, 900013);\n"
        "commit;\n"));
    Dataset &reviewers = w.ds(QStringLiteral("IBDSQualityReviewInvolvement"));
    Dataset &roles = w.ds(QStringLiteral("IBQLkupProjectRole2"));
    Dataset &people = w.ds(QStringLiteral("IBQLkupProjectRolePerson2"));
    QCOMPARE(reviewers.recordCount(), 3);

    QVERIFY(reviewers.locate(QStringLiteral("INVOLVEMENT_ROLE_ID"), key::TestAnalyst));
    QCOMPARE(get(roles, "ROLE_ID").toInt(), key::TestAnalyst);
    QCOMPARE(column(people, "PERSONNEL_ID"), QVariantList{key::Tom});
    QVERIFY(reviewers.locate(QStringLiteral("INVOLVEMENT_ROLE_ID"), key::TestLead));
    QCOMPARE(get(roles, "ROLE_ID").toInt(), key::TestLead);
    QCOMPARE(column(people, "PERSONNEL_ID"), QVariantList{key::Ann});

    // A role the project does not staff is not in the list: it stays put.
    QVERIFY(reviewers.locate(QStringLiteral("INVOLVEMENT_ROLE_ID"), key::TestManager));
    QCOMPARE(get(roles, "ROLE_ID").toInt(), key::TestLead);

    // A role typed into the line moves it too.
    reviewers.edit();
    set(reviewers, "INVOLVEMENT_ROLE_ID", key::TestAnalyst);
    QCOMPARE(get(roles, "ROLE_ID").toInt(), key::TestAnalyst);
    reviewers.cancel();

    // Pair 1 is left alone throughout.
    QVERIFY(w.ds(QStringLiteral("IBQLkupProjectRole1")).locate(QStringLiteral("ROLE_ID"), key::TestLead));
    QVERIFY(reviewers.locate(QStringLiteral("INVOLVEMENT_ROLE_ID"), key::TestAnalyst));
    QCOMPARE(get(w.ds(QStringLiteral("IBQLkupProjectRole1")), "ROLE_ID").toInt(), key::TestLead);
}

void RecordRulesTest::attendedReviewerCannotBeDeleted_data()
{
    QTest::addColumn<QString>("attended");
    QTest::addColumn<bool>("refused");
    QTest::newRow("attended") << "Yes" << true;
    QTest::newRow("did not attend") << "No" << true;
    QTest::newRow("not recorded") << "" << false;
}

void RecordRulesTest::attendedReviewerCannotBeDeleted()
{
    QFETCH(QString, attended);
    QFETCH(bool, refused);
    World w(QStringLiteral(
        "insert into QUALITY_REVIEW_INVOLVEMENT (QR_ID, PRJ_ID, INVOLVEMENT_ROLE_ID, INVOLVEMENT_PERSONNEL_ID) "
        "values (900071, 900001, 900021, 900011);\ncommit;\n"));
    Dataset &reviewers = w.ds(QStringLiteral("IBDSQualityReviewInvolvement"));
    reviewers.edit();
    set(reviewers, "ATTENDED_REVIEW", attended);
    reviewers.post();

    w.prompt.answer(true);
    if (refused) {
        QVERIFY_THROWS_EXCEPTION(Abort, reviewers.deleteRecord());
        QCOMPARE(w.prompt.warnings, QStringList{QStringLiteral("Reviewer attended review, deletion not allowed")});
        QVERIFY(w.prompt.confirmations.isEmpty());   // refused before any question
        QCOMPARE(reviewers.recordCount(), 1);
        // Clearing the attendance lets the confirmation through.
        reviewers.edit();
        set(reviewers, "ATTENDED_REVIEW", QString());
        reviewers.post();
        w.prompt.warnings.clear();
    }
    reviewers.deleteRecord();
    QCOMPARE(w.prompt.confirmations, QStringList{QStringLiteral("Are you sure you want to delete ReviewerDr. Ann Lee  ?")});
    QVERIFY(w.prompt.warnings.isEmpty());
    QVERIFY(reviewers.isEmpty());
}

void RecordRulesTest::reviewNamesComeFromPickLists()
{
    World w(QStringLiteral(
        "update QUALITY_REVIEW set FACILITATED_BY_ROLE_ID = 900021, FACILITATED_BY_PERSONNEL_ID = 900011, "
        "OWNER_ROLE_ID = 900022, OWNER_PERSONNEL_ID = 900012 where QR_ID = 900071;\ncommit;\n"));
    Dataset &review = w.ds(QStringLiteral("IBDSQualityReview"));
    Dataset &roles1 = w.ds(QStringLiteral("IBQLkupProjectRole1"));
    Dataset &roles2 = w.ds(QStringLiteral("IBQLkupProjectRole2"));
    QCOMPARE(get(review, "PRODUCT_DESCRIPTION").toString(), QStringLiteral("Master Plan"));
    // While the review is edited the name follows the chosen product.
    review.edit();
    QCOMPARE(get(review, "PRODUCT_DESCRIPTION").toString(), QStringLiteral("Master Plan"));
    set(review, "PRODUCT_ID", key::OtherProduct);
    QCOMPARE(get(review, "PRODUCT_DESCRIPTION").toString(), QStringLiteral("Second Product"));
    review.cancel();

    // The facilitator shows while pair 1 stands on the facilitator's role.
    QVERIFY(roles1.locate(QStringLiteral("ROLE_ID"), key::TestLead));
    QCOMPARE(get(review, "ROLE_DESCRIPTION").toString(), QStringLiteral("Test Lead"));
    QCOMPARE(get(review, "PERSON_NAME").toString(), QStringLiteral("Dr. Ann Lee "));
    QVERIFY(roles1.locate(QStringLiteral("ROLE_ID"), key::TestAnalyst));
    QVERIFY(get(review, "PERSON_NAME").isNull());
    QCOMPARE(get(review, "ROLE_DESCRIPTION").toString(), QStringLiteral("Test Lead"));

    // The owner the same way through pair 2.
    QVERIFY(roles2.locate(QStringLiteral("ROLE_ID"), key::TestAnalyst));
    QCOMPARE(get(review, "ROLE_DESCRIPTION1").toString(), QStringLiteral("Test Analyst"));
    QCOMPARE(get(review, "PERSON_NAME1").toString(), QStringLiteral("Mr. Tom Hill "));
    QVERIFY(roles2.locate(QStringLiteral("ROLE_ID"), key::TestLead));
    QVERIFY(get(review, "PERSON_NAME1").isNull());
}

QTEST_GUILESS_MAIN(RecordRulesTest)
#include "tst_recordrules.moc"
