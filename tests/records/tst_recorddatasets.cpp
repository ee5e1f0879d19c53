// Every updatable dataset of the data module through its whole life against
// a real server: a new row with its key, parent keys and defaults; the
// required-field refusal; the insert and the re-read that brings audit
// columns and joined names; the duplicate refusal; a change; the in-use
// refusal where the database can produce one; the confirmed delete. Also:
// every dataset and query opens on a fresh database.

#include "RecordsWorld.h"

#include "data/Errors.h"
#include "data/fb/Error.h"
#include "data/fb/SecurityService.h"
#include "records/SystemUser/SystemUserDataSets.h"

#include <QtTest>

#include <functional>
#include <map>

using namespace corvadel;
using namespace corvadel::data;
using test::World;
namespace key = test::key;

namespace {

// A value a new row must start with; Today stands for the current date.
const QVariant Today = QStringLiteral("<today>");

struct Case
{
    QString dataSet;
    Group group;
    QString newKey;                                   // gets a fresh unique key
    std::vector<std::pair<QString, QString>> parents; // field, "IBDS....FIELD"
    std::vector<std::pair<QString, QVariant>> starts; // a null QVariant: starts empty
    QString firstRequired;                            // label the refusal names
    std::function<void(World &, Dataset &)> prepare;  // positions masters
    std::function<void(World &, Dataset &)> fill;     // valid values, unique ones fixed
    std::function<void(World &, Dataset &)> checkPosted;
    QString locateBy;                                 // finds the row again
    std::pair<QString, QVariant> change;
    QString changedSql;                               // counts rows with the change; %1 = key
    QString duplicateMessage;
    QString inUseMessage;
    QString referenceSql;                             // makes the row in use; %1 = key
    QString confirmation;                             // %1 = key
    QString rowCountSql;                              // rows like the new one left; %1 = key
};

QString userName()
{
    return QStringLiteral("CVLRT%1").arg(QCoreApplication::applicationPid());
}

void set(Dataset &ds, const char *field, const QVariant &value)
{
    ds.fieldByName(QLatin1String(field))->setValue(value);
}

QVariant get(Dataset &ds, const char *field)
{
    return ds.fieldByName(QLatin1String(field))->value();
}

std::map<QString, Case> cases()
{
    std::map<QString, Case> all;
    auto add = [&all](Case c) { all[c.dataSet] = std::move(c); };

    add({QStringLiteral("IBDSRole"), Group::RefData, QStringLiteral("ROLE_ID"), {},
         {{QStringLiteral("QA_ROLE"), {}}}, QStringLiteral("Role"), nullptr,
         [](World &, Dataset &ds) {
             set(ds, "ROLE_DESCRIPTION", QStringLiteral("Test Role"));
             set(ds, "QA_ROLE", QStringLiteral("Yes"));
         },
         [](World &, Dataset &ds) {
             QCOMPARE(get(ds, "QA_ROLE").toString(), QStringLiteral("Yes"));
             QVERIFY(get(ds, "IT_ROLE").isNull());   // untouched flags stay empty
         },
         QStringLiteral("ROLE_ID"), {QStringLiteral("ROLE_DESCRIPTION"), QStringLiteral("Test Role 2")},
         QStringLiteral("select count(*) from ROLES where ROLE_DESCRIPTION = 'Test Role 2'"),
         QStringLiteral("Role already Exists"), QStringLiteral("Role is in use, Deletion not allowed"),
         QStringLiteral("insert into PROJECT_ROLE (PRJ_ID, ROLE_ID, DAILY_RATE) values (900001, %1, 1)"),
         QStringLiteral("Are you sure you want to delete Test Role 2 ?"),
         QStringLiteral("select count(*) from ROLES where ROLE_ID = %1")});

    add({QStringLiteral("IBDSProductType"), Group::RefData, QStringLiteral("PRODUCT_TYPE_ID"), {}, {},
         QStringLiteral("Product Type"), nullptr,
         [](World &, Dataset &ds) {
             set(ds, "PRODUCT_TYPE_DESCRIPTION", QStringLiteral("Test Type"));
             set(ds, "REVIEW_TYPE", QStringLiteral("Cyclic"));
         },
         nullptr, QStringLiteral("PRODUCT_TYPE_ID"), {QStringLiteral("REVIEW_TYPE"), QStringLiteral("Informal")},
         QStringLiteral("select count(*) from PRODUCT_TYPE where PRODUCT_TYPE_ID = %1 and REVIEW_TYPE = 'Informal'"),
         QStringLiteral("Product Type already Exists"), QStringLiteral("Product Type is in use, Deletion not allowed"),
         QStringLiteral("insert into PRODUCT (PRODUCT_ID, PRODUCT_DESCRIPTION, PRODUCT_TYPE_ID, PRJ_ID) "
                        "values (900099, 'Referring', %1, 900001)"),
         QStringLiteral("Are you sure you want to delete Test Type ?"),
         QStringLiteral("select count(*) from PRODUCT_TYPE where PRODUCT_TYPE_ID = %1")});

    add({QStringLiteral("IBDSProjectRole"), Group::Project, {},
         {{QStringLiteral("PRJ_ID"), QStringLiteral("IBDSProject.PRJ_ID")}}, {{QStringLiteral("ROLE_ID"), {}}},
         QStringLiteral("Daily Rate"), nullptr,
         [](World &, Dataset &ds) {
             set(ds, "ROLE_ID", key::TestManager);
             set(ds, "DAILY_RATE", 100.0);
         },
         [](World &, Dataset &ds) {
             QCOMPARE(get(ds, "ROLE_DESCRIPTION").toString(), QStringLiteral("Test Manager"));
             QCOMPARE(get(ds, "MGT_ROLE").toString(), QStringLiteral("Yes"));
             QCOMPARE(get(ds, "PRJ_ID").toInt(), key::Project);
         },
         QStringLiteral("ROLE_ID"), {QStringLiteral("DAILY_RATE"), 321.5},
         QStringLiteral("select count(*) from PROJECT_ROLE where ROLE_ID = 900023 and DAILY_RATE = 321.5"),
         QStringLiteral("Role already Exists for this Project"),
         QStringLiteral("Project Role is in use, Deletion not allowed"),
         QStringLiteral("insert into PROJECT_ROLE_PERSON (PRJ_ID, ROLE_ID, PERSONNEL_ID) values (900001, 900023, 900011)"),
         QStringLiteral("Are you sure you want to delete Test Manager ?"),
         QStringLiteral("select count(*) from PROJECT_ROLE where ROLE_ID = 900023")});

    add({QStringLiteral("IBDSProjectRolePerson"), Group::Project, {},
         {{QStringLiteral("PRJ_ID"), QStringLiteral("IBDSProject.PRJ_ID")},
          {QStringLiteral("ROLE_ID"), QStringLiteral("IBDSProjectRole.ROLE_ID")}},
         {}, QStringLiteral("Person"),
         [](World &w, Dataset &) { QVERIFY(w.ds(QStringLiteral("IBDSProjectRole")).locate(QStringLiteral("ROLE_ID"), key::TestLead)); },
         [](World &, Dataset &ds) {
             set(ds, "PERSONNEL_ID", key::Tom);
             set(ds, "PERSON_NAME", QStringLiteral("typed"));
             set(ds, "SCHEDULED_START_DATE", QDate(2026, 3, 1));
         },
         [](World &, Dataset &ds) {
             QCOMPARE(get(ds, "PERSON_NAME").toString(), QStringLiteral("Mr. Tom Hill "));
             QCOMPARE(get(ds, "SCHEDULED_START_DATE").toDate(), QDate(2026, 3, 1));
         },
         QStringLiteral("PERSONNEL_ID"), {QStringLiteral("END_DATE"), QDate(2026, 6, 30)},
         QStringLiteral("select count(*) from PROJECT_ROLE_PERSON where ROLE_ID = 900021 and PERSONNEL_ID = 900012 "
                        "and END_DATE = '2026-06-30'"),
         QStringLiteral("Person already in this Role on this Project"), {}, {},
         QStringLiteral("Are you sure you want to delete Mr. Tom Hill  in Role Test Lead ?"),
         QStringLiteral("select count(*) from PROJECT_ROLE_PERSON where ROLE_ID = 900021 and PERSONNEL_ID = 900012")});

    add({QStringLiteral("IBDSProduct"), Group::Project, QStringLiteral("PRODUCT_ID"),
         {{QStringLiteral("PRJ_ID"), QStringLiteral("IBDSProject.PRJ_ID")}}, {}, QStringLiteral("Product Description"),
         nullptr,
         [](World &, Dataset &ds) {
             set(ds, "PRODUCT_DESCRIPTION", QStringLiteral("Test product"));
             set(ds, "PRODUCT_TYPE_ID", key::ProductType);
             set(ds, "ROLE_ID", key::TestLead);
             set(ds, "OWNER_PERSONNEL_ID", key::Ann);
         },
         [](World &, Dataset &ds) {
             QCOMPARE(get(ds, "PRODUCT_TYPE_DESCRIPTION").toString(), QStringLiteral("Test Spec"));
             QCOMPARE(get(ds, "REVIEW_TYPE").toString(), QStringLiteral("Formal"));
             QCOMPARE(get(ds, "ROLE_DESCRIPTION").toString(), QStringLiteral("Test Lead"));
             QCOMPARE(get(ds, "PERSON_NAME").toString(), QStringLiteral("Dr. Ann Lee "));
         },
         QStringLiteral("PRODUCT_ID"), {QStringLiteral("LOCATION"), QStringLiteral("/srv/plans/test.odt")},
         QStringLiteral("select count(*) from PRODUCT where PRODUCT_ID = %1 and LOCATION = '/srv/plans/test.odt'"),
         QStringLiteral("Product with this Description already Exists"),
         QStringLiteral("Product is in use, Deletion not allowed"),
         QStringLiteral("insert into QUALITY_REVIEW (QR_ID, PRJ_ID, PRODUCT_ID, SCHEDULED_REVIEW_DATE) "
                        "values (900098, 900001, %1, '2026-05-05')"),
         QStringLiteral("Are you sure you want to delete Test product ?"),
         QStringLiteral("select count(*) from PRODUCT where PRODUCT_ID = %1")});

    add({QStringLiteral("IBDSIssue"), Group::Project, QStringLiteral("ISSUE_ID"),
         {{QStringLiteral("PRJ_ID"), QStringLiteral("IBDSProject.PRJ_ID")}},
         {{QStringLiteral("ISSUE_NBR"), {}}, {QStringLiteral("ISSUE_TYPE"), {}}, {QStringLiteral("ISSUE_STATUS"), {}},
          {QStringLiteral("DATE_RAISED"), {}}, {QStringLiteral("RAISED_BY_ROLE_ID"), {}}},
         QStringLiteral("Issue Type"), nullptr,
         [](World &, Dataset &ds) {
             set(ds, "ISSUE_TYPE", QStringLiteral("Query"));
             set(ds, "ISSUE_DESCRIPTION", QStringLiteral("Test issue"));
             set(ds, "ISSUE_DETAILED_DESCRIPTION", QByteArray("{\\rtf1 detail}"));
             set(ds, "DATE_RAISED", QDate(2026, 2, 2));
             set(ds, "RAISED_BY_ROLE_ID", key::TestLead);
             set(ds, "RAISED_BY_PERSONNEL_ID", key::Ann);
             set(ds, "OWNER_ROLE_ID", key::TestAnalyst);
             set(ds, "OWNER_PERSONNEL_ID", key::Tom);
             set(ds, "ISSUE_STATUS", QStringLiteral("Open"));
         },
         [](World &, Dataset &ds) {
             QCOMPARE(get(ds, "ISSUE_NBR").toInt(), 3);   // numbered by the database, after the two there
             QCOMPARE(get(ds, "ROLE_DESCRIPTION").toString(), QStringLiteral("Test Lead"));
             QCOMPARE(get(ds, "PERSON_NAME").toString(), QStringLiteral("Dr. Ann Lee "));
             QCOMPARE(get(ds, "ROLE_DESCRIPTION1").toString(), QStringLiteral("Test Analyst"));
             QCOMPARE(get(ds, "PERSON_NAME1").toString(), QStringLiteral("Mr. Tom Hill "));
             QCOMPARE(ds.fieldByName(QStringLiteral("ISSUE_DETAILED_DESCRIPTION"))->asBytes(),
                      QByteArray("{\\rtf1 detail}"));
         },
         QStringLiteral("ISSUE_ID"), {QStringLiteral("ISSUE_DESCRIPTION"), QStringLiteral("Changed issue")},
         QStringLiteral("select count(*) from ISSUE where ISSUE_ID = %1 and ISSUE_DESCRIPTION = 'Changed issue'"),
         QStringLiteral("Issue with this Description already Exists"),
         QStringLiteral("Issue is in use, Deletion not allowed"),
         QStringLiteral("insert into CHANGE_REQUEST_ISSUE (CR_ID, ISSUE_ID) values (900061, %1)"),
         QStringLiteral("Are you sure you want to delete Issue No.3 Changed issue ?"),
         QStringLiteral("select count(*) from ISSUE where ISSUE_ID = %1")});

    add({QStringLiteral("IBDSRisk"), Group::Project, QStringLiteral("RISK_ID"),
         {{QStringLiteral("PRJ_ID"), QStringLiteral("IBDSProject.PRJ_ID")}},
         {{QStringLiteral("DATE_RAISED"), Today}, {QStringLiteral("RISK_STATUS"), QStringLiteral("Open")},
          {QStringLiteral("RISK_NBR"), {}}},
         QStringLiteral("Description"), nullptr,
         [](World &, Dataset &ds) {
             set(ds, "RISK_DESCRIPTION", QStringLiteral("Test risk"));
             set(ds, "RAISED_BY_ROLE_ID", key::TestAnalyst);
             set(ds, "RAISED_BY_PERSONNEL_ID", key::Tom);
             set(ds, "LIKELIHOOD", QByteArray("{\\rtf1 likely}"));
         },
         [](World &, Dataset &ds) {
             QCOMPARE(get(ds, "RISK_NBR").toInt(), 1);
             QCOMPARE(get(ds, "ROLE_DESCRIPTION").toString(), QStringLiteral("Test Analyst"));
             QCOMPARE(get(ds, "PERSON_NAME").toString(), QStringLiteral("Mr. Tom Hill "));
             QVERIFY(get(ds, "PERSON_NAME1").isNull());   // no owner
             QCOMPARE(ds.fieldByName(QStringLiteral("LIKELIHOOD"))->asBytes(), QByteArray("{\\rtf1 likely}"));
         },
         QStringLiteral("RISK_ID"), {QStringLiteral("RISK_STATUS"), QStringLiteral("Closed")},
         QStringLiteral("select count(*) from RISK where RISK_ID = %1 and RISK_STATUS = 'Closed'"),
         QStringLiteral("Risk with this Description already Exists"), {}, {},
         QStringLiteral("Are you sure you want to delete Risk No.1 Test risk ?"),
         QStringLiteral("select count(*) from RISK where RISK_ID = %1")});

    add({QStringLiteral("IBDSChangeRequest"), Group::Project, QStringLiteral("CR_ID"),
         {{QStringLiteral("PRJ_ID"), QStringLiteral("IBDSProject.PRJ_ID")}},
         {{QStringLiteral("DATE_RAISED"), Today}, {QStringLiteral("PRIORITY"), QStringLiteral("Low")},
          {QStringLiteral("CR_STATUS"), QStringLiteral("Awaiting Review")}},
         QStringLiteral("Description"), nullptr,
         [](World &, Dataset &ds) {
             set(ds, "CR_DESCRIPTION", QStringLiteral("Test change"));
             set(ds, "RAISED_BY_ROLE_ID", key::TestLead);
             set(ds, "RAISED_BY_PERSONNEL_ID", key::Ann);
             set(ds, "CR_STATUS", QStringLiteral("Deferred for further information"));
             set(ds, "AGREED_ACTION", QStringLiteral("Deferred to future release"));
         },
         [](World &, Dataset &ds) {
             // The longer entries of the value lists are kept whole.
             QCOMPARE(get(ds, "CR_STATUS").toString(), QStringLiteral("Deferred for further information"));
             QCOMPARE(get(ds, "AGREED_ACTION").toString(), QStringLiteral("Deferred to future release"));
             QCOMPARE(get(ds, "ROLE_DESCRIPTION").toString(), QStringLiteral("Test Lead"));
             QCOMPARE(get(ds, "PERSON_NAME").toString(), QStringLiteral("Dr. Ann Lee "));
         },
         QStringLiteral("CR_ID"), {QStringLiteral("CR_DESCRIPTION"), QStringLiteral("Changed change")},
         QStringLiteral("select count(*) from CHANGE_REQUEST where CR_ID = %1 and CR_DESCRIPTION = 'Changed change'"),
         QStringLiteral("Change Request with this Description already Exists"),
         QStringLiteral("Change Request is in use, Deletion not allowed"),
         QStringLiteral("insert into CHANGE_REQUEST_ISSUE (CR_ID, ISSUE_ID) values (%1, 900051)"),
         QStringLiteral("Are you sure you want to delete Change Request No.%1 Changed change ?"),
         QStringLiteral("select count(*) from CHANGE_REQUEST where CR_ID = %1")});

    add({QStringLiteral("IBDSChangeRequestIssue"), Group::Project, {},
         {{QStringLiteral("CR_ID"), QStringLiteral("IBDSChangeRequest.CR_ID")}}, {}, QStringLiteral("ISSUE_ID"), nullptr,
         [](World &, Dataset &ds) { set(ds, "ISSUE_ID", key::Issue); },
         [](World &, Dataset &ds) {
             QCOMPARE(get(ds, "ISSUE_NBR").toInt(), 1);
             QCOMPARE(get(ds, "ISSUE_DESCRIPTION").toString(), QStringLiteral("Slow build"));
         },
         QStringLiteral("ISSUE_ID"), {QStringLiteral("ISSUE_ID"), key::OtherIssue},
         // Changed in place: the line now cites the other issue, and only it.
         QStringLiteral("select count(*) from CHANGE_REQUEST_ISSUE where CR_ID = 900061 and ISSUE_ID = 900052 "
                        "and not exists (select 1 from CHANGE_REQUEST_ISSUE where ISSUE_ID = 900051)"),
         QStringLiteral("Issue already added to this CR"), {}, {},
         QStringLiteral("Are you sure you want to delete Related Issue No.2 Flaky tests ?"),
         QStringLiteral("select count(*) from CHANGE_REQUEST_ISSUE where CR_ID = 900061")});

    add({QStringLiteral("IBDSChangeRequestProduct"), Group::Project, {},
         {{QStringLiteral("PRJ_ID"), QStringLiteral("IBDSProject.PRJ_ID")},
          {QStringLiteral("CR_ID"), QStringLiteral("IBDSChangeRequest.CR_ID")}},
         {}, QStringLiteral("Product"), nullptr,
         [](World &, Dataset &ds) {
             set(ds, "PRODUCT_ID", key::Product);
             set(ds, "IMPACT", QByteArray("{\\rtf1 rework}"));
             set(ds, "COMPLETED_BY_ROLE_ID", key::TestLead);
             set(ds, "ROLE_DESCRIPTION", QStringLiteral("typed"));
             set(ds, "COMPLETED_BY_PERSONNEL_ID", key::Ann);
             set(ds, "PERSON_NAME", QStringLiteral("typed"));
         },
         [](World &, Dataset &ds) {
             QCOMPARE(get(ds, "PRODUCT_TYPE_DESCRIPTION").toString(), QStringLiteral("Test Spec"));
             QCOMPARE(get(ds, "PRODUCT_DESCRIPTION").toString(), QStringLiteral("Master Plan"));
             QCOMPARE(get(ds, "ROLE_DESCRIPTION").toString(), QStringLiteral("Test Lead"));
             QCOMPARE(get(ds, "PERSON_NAME").toString(), QStringLiteral("Dr. Ann Lee "));
             QCOMPARE(ds.fieldByName(QStringLiteral("IMPACT"))->asBytes(), QByteArray("{\\rtf1 rework}"));
         },
         QStringLiteral("PRODUCT_ID"), {QStringLiteral("PRODUCT_ID"), key::OtherProduct},
         QStringLiteral("select count(*) from CHANGE_REQUEST_PRODUCT where CR_ID = 900061 and PRODUCT_ID = 900042 "
                        "and not exists (select 1 from CHANGE_REQUEST_PRODUCT where PRODUCT_ID = 900041)"),
         QStringLiteral("Product already added to this CR"), {}, {},
         QStringLiteral("Are you sure you want to delete Impacted ProductTest Spec Second Product ?"),
         QStringLiteral("select count(*) from CHANGE_REQUEST_PRODUCT where CR_ID = 900061")});

    add({QStringLiteral("IBDSChangeRequestResource"), Group::Project, {},
         {{QStringLiteral("PRJ_ID"), QStringLiteral("IBDSProject.PRJ_ID")},
          {QStringLiteral("CR_ID"), QStringLiteral("IBDSChangeRequest.CR_ID")}},
         {}, QStringLiteral("Role"), nullptr,
         [](World &, Dataset &ds) {
             set(ds, "ROLE_ID", key::TestLead);
             set(ds, "RESOURCE_DAYS", 3);
             set(ds, "COMPLETED_BY_ROLE_ID", key::TestAnalyst);
             set(ds, "ROLE_DESCRIPTION", QStringLiteral("typed"));
             set(ds, "COMPLETED_BY_PERSONNEL_ID", key::Tom);
             set(ds, "PERSON_NAME", QStringLiteral("typed"));
         },
         [](World &, Dataset &ds) {
             QCOMPARE(get(ds, "DAILY_RATE").toDouble(), 250.0);
             QCOMPARE(get(ds, "CalcCost").toDouble(), 750.0);
             QCOMPARE(get(ds, "ROLE_DESCRIPTION").toString(), QStringLiteral("Test Lead"));    // required role
             QCOMPARE(get(ds, "ROLE_DESCRIPTION1").toString(), QStringLiteral("Test Analyst")); // completing role
             QCOMPARE(get(ds, "PERSON_NAME").toString(), QStringLiteral("Mr. Tom Hill "));
         },
         QStringLiteral("ROLE_ID"), {QStringLiteral("ROLE_ID"), key::TestAnalyst},
         QStringLiteral("select count(*) from CHANGE_REQUEST_RESOURCE where CR_ID = 900061 and ROLE_ID = 900022 "
                        "and not exists (select 1 from CHANGE_REQUEST_RESOURCE where ROLE_ID = 900021)"),
         QStringLiteral("Role already added to this CR"), {}, {},
         QStringLiteral("Are you sure you want to delete Role RequirementTest Analyst  ?"),
         QStringLiteral("select count(*) from CHANGE_REQUEST_RESOURCE where CR_ID = 900061")});

    add({QStringLiteral("IBDSQualityReview"), Group::Project, QStringLiteral("QR_ID"),
         {{QStringLiteral("PRJ_ID"), QStringLiteral("IBDSProject.PRJ_ID")}},
         {{QStringLiteral("PRODUCT_ID"), {}}, {QStringLiteral("SCHEDULED_REVIEW_DATE"), {}}, {QStringLiteral("QR_STATUS"), {}}},
         QStringLiteral("Product"), nullptr,
         [](World &, Dataset &ds) {
             set(ds, "PRODUCT_ID", key::Product);
             set(ds, "SCHEDULED_REVIEW_DATE", QDate(2026, 2, 1));
             set(ds, "QR_STATUS", QStringLiteral("Scheduled"));
         },
         [](World &, Dataset &ds) {
             // A name found in the product list, not stored with the review.
             QCOMPARE(get(ds, "PRODUCT_DESCRIPTION").toString(), QStringLiteral("Master Plan"));
             QCOMPARE(get(ds, "QR_STATUS").toString(), QStringLiteral("Scheduled"));
         },
         QStringLiteral("QR_ID"), {QStringLiteral("MEETING_LOCATION"), QStringLiteral("Room 4")},
         QStringLiteral("select count(*) from QUALITY_REVIEW where QR_ID = %1 and MEETING_LOCATION = 'Room 4'"),
         QStringLiteral("Quality Review already Exists"), QStringLiteral("Quality Review is in use, Deletion not allowed"),
         QStringLiteral("insert into QUALITY_REVIEW_INVOLVEMENT (QR_ID, PRJ_ID, INVOLVEMENT_ROLE_ID, "
                        "INVOLVEMENT_PERSONNEL_ID) values (%1, 900001, 900021, 900011)"),
         QStringLiteral("Are you sure you want to delete Quality Review No.%1 ?"),
         QStringLiteral("select count(*) from QUALITY_REVIEW where QR_ID = %1")});

    add({QStringLiteral("IBDSQualityReviewInvolvement"), Group::Project, {},
         {{QStringLiteral("PRJ_ID"), QStringLiteral("IBDSProject.PRJ_ID")},
          {QStringLiteral("QR_ID"), QStringLiteral("IBDSQualityReview.QR_ID")}},
         {{QStringLiteral("ATTENDED_REVIEW"), {}}}, QStringLiteral("Role"), nullptr,
         [](World &, Dataset &ds) {
             set(ds, "INVOLVEMENT_ROLE_ID", key::TestAnalyst);
             set(ds, "INVOLVEMENT_PERSONNEL_ID", key::Tom);
         },
         [](World &, Dataset &ds) {
             QCOMPARE(get(ds, "ROLE_DESCRIPTION").toString(), QStringLiteral("Test Analyst"));
             QCOMPARE(get(ds, "PERSON_NAME").toString(), QStringLiteral("Mr. Tom Hill "));
             QCOMPARE(get(ds, "EMAIL_ADDR").toString(), QStringLiteral("tom@example.org"));
         },
         QStringLiteral("INVOLVEMENT_PERSONNEL_ID"), {QStringLiteral("INVOLVEMENT_PERSONNEL_ID"), key::Ann},
         QStringLiteral("select count(*) from QUALITY_REVIEW_INVOLVEMENT where QR_ID = 900071 "
                        "and INVOLVEMENT_PERSONNEL_ID = 900011 and not exists "
                        "(select 1 from QUALITY_REVIEW_INVOLVEMENT where INVOLVEMENT_PERSONNEL_ID = 900012)"),
         QStringLiteral("Person already exists as a Reviewer on this review"), {}, {},
         QStringLiteral("Are you sure you want to delete ReviewerDr. Ann Lee  ?"),
         QStringLiteral("select count(*) from QUALITY_REVIEW_INVOLVEMENT where QR_ID = 900071")});

    add({QStringLiteral("IBDSSystemUser"), Group::RefData, QStringLiteral("USER_ID"), {},
         {{QStringLiteral("NBR_LOGINS"), {}}}, QStringLiteral("User Name"),
         [](World &w, Dataset &) { w.module->newPassword = QStringLiteral("Rt-secret1"); },
         [](World &, Dataset &ds) {
             set(ds, "USER_NAME", userName());
             set(ds, "FORENAME_FIRST", QStringLiteral("Round"));
             set(ds, "SURNAME", QStringLiteral("Trip"));
             set(ds, "SYSTEMS_MANAGER", QStringLiteral("No "));
         },
         [](World &w, Dataset &ds) {
             QCOMPARE(get(ds, "SYSTEMS_MANAGER").toString(), QStringLiteral("No "));
             const fb::UserAccount account = records::accountService(*w.module).displayUser(userName());
             QCOMPARE(account.userId, std::optional<int>(get(ds, "USER_ID").toInt()));
         },
         QStringLiteral("USER_ID"), {QStringLiteral("SURNAME"), QStringLiteral("Tripped")},
         QStringLiteral("select count(*) from SYSTEM_USER where USER_ID = %1 and SURNAME = 'Tripped'"),
         QStringLiteral("System User already Exists"), {}, {},
         QStringLiteral("Are you sure you want to delete ") + userName() + QStringLiteral(" ?"),
         QStringLiteral("select count(*) from SYSTEM_USER where USER_ID = %1")});

    return all;
}

// A statement of a case with the row's key in it, where it names one.
QString withKey(const QString &sql, const QString &key)
{
    return sql.contains(QLatin1String("%1")) ? sql.arg(key) : sql;
}

// The row's key as the SQL of a case names it.
QString keyText(Dataset &ds, const Case &c)
{
    const QString field = c.newKey.isEmpty() ? c.locateBy : c.newKey;
    return QString::number(ds.fieldByName(field)->asInteger());
}

// The delete that undoes "insert into T (A, B) values (1, 2)".
QString undoInsert(const QString &insert)
{
    const QString table = insert.section(QLatin1Char(' '), 2, 2);
    const QStringList columns = insert.section(QLatin1Char('('), 1, 1).section(QLatin1Char(')'), 0, 0).split(QStringLiteral(", "));
    const QStringList values = insert.section(QLatin1Char('('), 2, 2).section(QLatin1Char(')'), 0, 0).split(QStringLiteral(", "));
    QStringList conditions;
    for (int i = 0; i < columns.size(); ++i)
        conditions << columns[i] + QStringLiteral(" = ") + values[i];
    return QStringLiteral("delete from %1 where %2").arg(table, conditions.join(QStringLiteral(" and ")));
}

} // namespace

class RecordDataSetsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { CORVADEL_REQUIRE_SERVER(); }
    void cleanup();

    void openAllOnFreshDatabase();
    void roundTrip_data();
    void roundTrip();
};

void RecordDataSetsTest::cleanup()
{
    // An account left behind by a failed round trip of the system users.
    try {
        fb::SecurityService(test::TestDatabase::serverHost(), test::TestDatabase::adminUser(),
                            test::TestDatabase::adminPassword())
            .deleteUser(userName());
    } catch (const std::exception &) {
    }
}

void RecordDataSetsTest::openAllOnFreshDatabase()
{
    auto db = test::TestDatabase::withSchema();
    test::ScriptedPrompt prompt;
    TDModBase module(test::settingsFor(db), prompt);
    records::addAllDataSets(module);
    module.connectDatabase();
    module.OpenAllDataSets();
    const QStringList names = TDModBase::openOrder();
    QCOMPARE(names.size(), 25);
    for (const QString &name : names) {
        Dataset *ds = module.dataSet(name);
        QVERIFY2(ds, qPrintable(name));
        QVERIFY2(ds->isOpen(), qPrintable(name));
        QVERIFY2(module.dataSource(module.definition(name)->dataSource), qPrintable(name));
    }
    // The reference lists come with the schema's starting data, read whole.
    QVERIFY(module.dataSet(QStringLiteral("IBDSRole"))->recordCount() > 0);
    QVERIFY(module.dataSet(QStringLiteral("IBDSProject"))->isEmpty());
    QCOMPARE(module.totalCost(), 0);
    QVERIFY(prompt.warnings.isEmpty());
}

void RecordDataSetsTest::roundTrip_data()
{
    QTest::addColumn<QString>("dataSet");
    for (const auto &[name, c] : cases())
        QTest::newRow(qPrintable(name)) << name;
}

void RecordDataSetsTest::roundTrip()
{
    QFETCH(QString, dataSet);
    const Case c = cases().at(dataSet);
    World w;
    Dataset &ds = w.ds(dataSet);
    if (c.prepare) {
        c.prepare(w, ds);
        if (QTest::currentTestFailed())
            return;
    }

    // A new row: its key, parent keys and starting values; the group's flag.
    w.module->saveGroup(c.group);
    const int rowsBefore = ds.recordCount();
    ds.insert();
    QVERIFY(w.module->pendingChanges(c.group));
    QCOMPARE(ds.state(), DataSetState::Insert);
    int newKey = 0;
    if (!c.newKey.isEmpty()) {
        newKey = ds.fieldByName(c.newKey)->asInteger();
        QVERIFY(newKey > 0);
    }
    for (const auto &[field, from] : c.parents) {
        const QStringList parts = from.split(QLatin1Char('.'));
        const QVariant expected = w.field(parts[0], parts[1]).value();
        QVERIFY(!expected.isNull());
        QCOMPARE(ds.fieldByName(field)->value(), expected);
    }
    for (const auto &[field, expected] : c.starts) {
        const QVariant actual = ds.fieldByName(field)->value();
        if (!expected.isValid())
            QVERIFY2(actual.isNull(), qPrintable(field));
        else if (expected == Today)
            QCOMPARE(actual.toDate(), QDate::currentDate());
        else
            QCOMPARE(actual, expected);
    }
    QVERIFY(!ds.isModified());

    // Nothing filled in: the first empty required field is named.
    try {
        ds.post();
        QFAIL("an empty row was posted");
    } catch (const FieldRequiredError &e) {
        QCOMPARE(e.message(), QStringLiteral("Field '%1' must have a value").arg(c.firstRequired));
    }
    QCOMPARE(ds.state(), DataSetState::Insert);

    // Insert; the re-read brings what the database set and the joined names.
    c.fill(w, ds);
    ds.post();
    QCOMPARE(ds.state(), DataSetState::Browse);
    QCOMPARE(ds.recordCount(), rowsBefore + 1);
    if (!c.newKey.isEmpty())
        QCOMPARE(ds.fieldByName(c.newKey)->asInteger(), newKey);
    if (Field *createdBy = ds.findField(QStringLiteral("CREATED_BY"))) {
        QCOMPARE(createdBy->asString(), test::TestDatabase::adminUser());
        QCOMPARE(ds.fieldByName(QStringLiteral("CREATE_DATE"))->asDate(), QDate::currentDate());
        QVERIFY(!ds.fieldByName(QStringLiteral("CREATE_TIME"))->isNull());
    }
    if (c.checkPosted) {
        c.checkPosted(w, ds);
        if (QTest::currentTestFailed())
            return;
    }
    const QString keyValue = keyText(ds, c);
    w.module->saveGroup(c.group);
    QCOMPARE(test::scalar(w.db.attachment(), withKey(c.rowCountSql, keyValue)), 1);

    // A change, written in place (link rows are found by their key as read).
    ds.edit();
    ds.fieldByName(c.change.first)->setValue(c.change.second);
    ds.post();
    if (Field *updatedBy = ds.findField(QStringLiteral("UPDATED_BY")))
        QCOMPARE(updatedBy->asString(), test::TestDatabase::adminUser());
    const QString changedKey = keyText(ds, c);
    const QVariant mark = ds.fieldByName(c.locateBy)->value();
    w.module->saveGroup(c.group);
    QCOMPARE(test::scalar(w.db.attachment(), withKey(c.changedSql, changedKey)), 1);

    // The stored row's unique values again: refused, and the new row stays
    // with the user's values.
    ds.insert();
    c.fill(w, ds);
    ds.fieldByName(c.change.first)->setValue(c.change.second);
    QVERIFY_THROWS_EXCEPTION(Abort, ds.post());
    QCOMPARE(w.prompt.warnings, QStringList{c.duplicateMessage});
    QCOMPARE(ds.state(), DataSetState::Insert);
    QCOMPARE(ds.fieldByName(c.change.first)->value(), c.change.second);
    ds.cancel();
    QVERIFY(ds.locate(c.locateBy, mark));

    // In use: refused with the dataset's message, and the row stays.
    w.prompt.warnings.clear();
    const int rows = ds.recordCount();
    if (!c.referenceSql.isEmpty()) {
        const QString reference = withKey(c.referenceSql, changedKey);
        test::exec(w.db.attachment(), reference);
        w.prompt.answer(true);
        QVERIFY_THROWS_EXCEPTION(Abort, ds.deleteRecord());
        QCOMPARE(w.prompt.warnings, QStringList{c.inUseMessage});
        QCOMPARE(ds.recordCount(), rows);
        QCOMPARE(ds.fieldByName(c.locateBy)->value(), mark);
        w.module->saveGroup(c.group);
        QCOMPARE(test::scalar(w.db.attachment(), withKey(c.rowCountSql, changedKey)), 1);
        test::exec(w.db.attachment(), undoInsert(reference));
        w.prompt.warnings.clear();
    }

    // No keeps the row; Yes deletes it.
    w.prompt.answer(false);
    QVERIFY_THROWS_EXCEPTION(Abort, ds.deleteRecord());
    QCOMPARE(ds.recordCount(), rows);
    w.prompt.answer(true);
    ds.deleteRecord();
    QCOMPARE(w.prompt.confirmations.last(), withKey(c.confirmation, changedKey));
    QCOMPARE(w.prompt.confirmations.size(), c.referenceSql.isEmpty() ? 2 : 3);
    QCOMPARE(ds.recordCount(), rows - 1);
    w.module->saveGroup(c.group);
    QCOMPARE(test::scalar(w.db.attachment(), withKey(c.rowCountSql, changedKey)), 0);
    QVERIFY(w.prompt.warnings.isEmpty());
}

QTEST_GUILESS_MAIN(RecordDataSetsTest)
#include "tst_recorddatasets.moc"
