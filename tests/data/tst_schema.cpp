// What the database itself guarantees: keys, numbering, audit columns, the
// errors it raises for duplicates and references, and who may use it.

#include "support/TestDatabase.h"

#include "data/fb/Error.h"
#include "data/fb/Script.h"
#include "data/fb/SecurityService.h"
#include "data/fb/Statement.h"
#include "data/fb/Transaction.h"

#include <QtTest>

using namespace corvadel;

namespace {

// Runs statements in one transaction of the fixture's attachment.
struct Session
{
    explicit Session(fb::Attachment &a, fb::TransactionOptions o = fb::TransactionOptions::serverDefault())
        : att(a), tra(a, o)
    {
        tra.start();
    }
    ~Session()
    {
        if (tra.isActive())
            tra.rollback();
    }
    void exec(const QString &sql)
    {
        fb::Statement s(att, tra, sql);
        s.execute(tra);
    }
    QVariant scalar(const QString &sql)
    {
        fb::Statement s(att, tra, sql);
        s.openCursor(tra);
        QVariant v = s.fetch() ? s.value(0) : QVariant();
        s.closeCursor();
        return v;
    }
    int uniqueId()
    {
        fb::Statement s(att, tra, QStringLiteral("execute procedure PROC_FETCH_UNIQUE_ID"));
        s.execute(tra);
        return s.value(0).toInt();
    }
    long failure(const QString &sql, long expected)
    {
        try {
            exec(sql);
        } catch (const fb::Error &e) {
            return e.hasCode(expected) ? expected : (e.codes().empty() ? 0 : e.codes().front());
        }
        return 0;
    }
    fb::Attachment &att;
    fb::Transaction tra;
};

// One project, one person in one role, one product of one type.
const char *const Fixture = R"(
insert into PROJECT (PRJ_ID, PRJ_NAME, START_DATE, PRJ_STATUS) values (1, 'Apollo', '2026-01-05', 'In Progress');
insert into PROJECT (PRJ_ID, PRJ_NAME, START_DATE, PRJ_STATUS) values (2, 'Gemini', '2026-01-05', 'In Progress');
insert into PERSONNEL (PERSONNEL_ID, PERSON_NAME, TITLE, FORENAME_FIRST, SURNAME) values (10, 'Mr. Tom Hill ', 'Mr.', 'Tom', 'Hill');
insert into ROLES (ROLE_ID, ROLE_DESCRIPTION) values (20, 'Test Role');
insert into SKILL (SKILL_ID, SKILL_DESCRIPTION, SKILL_CATEGORY) values (21, 'Test Skill', 'O/S');
insert into PRODUCT_TYPE (PRODUCT_TYPE_ID, PRODUCT_TYPE_DESCRIPTION, REVIEW_TYPE) values (30, 'Test Type', 'Formal');
insert into PROJECT_ROLE (PRJ_ID, ROLE_ID, DAILY_RATE) values (1, 20, 500);
insert into PROJECT_ROLE_PERSON (PRJ_ID, ROLE_ID, PERSONNEL_ID) values (1, 20, 10);
insert into PRODUCT (PRODUCT_ID, PRODUCT_DESCRIPTION, PRODUCT_TYPE_ID, PRJ_ID) values (40, 'Plan', 30, 1);
insert into ISSUE (ISSUE_ID, ISSUE_TYPE, ISSUE_DESCRIPTION, DATE_RAISED, PRJ_ID, RAISED_BY_ROLE_ID, RAISED_BY_PERSONNEL_ID, ISSUE_STATUS) values (50, 'Issue', 'First', '2026-01-06', 1, 20, 10, 'Open');
insert into CHANGE_REQUEST (CR_ID, CR_DESCRIPTION, DATE_RAISED, PRJ_ID, RAISED_BY_ROLE_ID, RAISED_BY_PERSONNEL_ID) values (60, 'Change', '2026-01-07', 1, 20, 10);
insert into QUALITY_REVIEW (QR_ID, PRJ_ID, PRODUCT_ID, SCHEDULED_REVIEW_DATE) values (70, 1, 40, '2026-02-01');
commit;
)";

QString issueInsert(int id, int project, const QString &description, const QString &number = QStringLiteral("null"))
{
    return QStringLiteral("insert into ISSUE (ISSUE_ID, ISSUE_NBR, ISSUE_TYPE, ISSUE_DESCRIPTION, DATE_RAISED, PRJ_ID, "
                          "RAISED_BY_ROLE_ID, RAISED_BY_PERSONNEL_ID, ISSUE_STATUS) values (%1, %2, 'Issue', '%3', "
                          "current_date, %4, 20, 10, 'Open')")
        .arg(id).arg(number, description).arg(project);
}

} // namespace

class SchemaTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { m_db.reset(); }

    void emptyMoneyStaysNull();
    void flagsReadBackUnchanged();
    void duplicatesRaiseUniqueViolation_data();
    void duplicatesRaiseUniqueViolation();
    void referencedRowsCannotBeDeleted_data();
    void referencedRowsCannotBeDeleted();
    void deleteSucceedsOnceDependentsAreGone();
    void issueNumbersPerProject();
    void typedNumberTakenIsRefused();
    void concurrentInsertsNeverWait();
    void linkRowsUpdateInPlace();
    void auditColumnsSetByDatabase();
    void everyAuditedTableIsStamped();
    void keysAreNeverReused();
    void tooLongStringFailsWhole();
    void anyAccountMayUseTheDatabase();

private:
    std::unique_ptr<test::TestDatabase> m_db;
};

void SchemaTest::initTestCase()
{
    CORVADEL_REQUIRE_SERVER();
    m_db = std::make_unique<test::TestDatabase>(test::TestDatabase::withSchema());
    fb::executeScript(m_db->attachment(), QString::fromLatin1(Fixture));
}

void SchemaTest::emptyMoneyStaysNull()
{
    Session s(m_db->attachment());
    s.exec(QStringLiteral("insert into PROJECT (PRJ_ID, PRJ_NAME, START_DATE, PRJ_STATUS, PRJ_CAP_BUDGET, "
                          "PRJ_REV_BUDGET, PRJ_CAP_SPEND_TO_DATE, PRJ_REV_SPEND_TO_DATE) values (3, 'Empty', "
                          "current_date, 'Not Started', null, null, null, null)"));
    QCOMPARE(s.scalar(QStringLiteral("select count(*) from PROJECT where PRJ_ID = 3 and PRJ_CAP_BUDGET is null and "
                                     "PRJ_REV_BUDGET is null and PRJ_CAP_SPEND_TO_DATE is null and "
                                     "PRJ_REV_SPEND_TO_DATE is null")).toInt(), 1);
}

void SchemaTest::flagsReadBackUnchanged()
{
    Session s(m_db->attachment());
    s.exec(QStringLiteral("insert into SYSTEM_USER (USER_ID, USER_NAME, FORENAME_FIRST, SURNAME, SYSTEMS_MANAGER) "
                          "values (80, 'JO', 'Jo', 'Park', 'No ')"));
    s.exec(QStringLiteral("insert into ROLES (ROLE_ID, ROLE_DESCRIPTION, QA_ROLE, MGT_ROLE) values (81, 'R', 'Yes', 'No')"));
    QCOMPARE(s.scalar(QStringLiteral("select SYSTEMS_MANAGER from SYSTEM_USER where USER_ID = 80")).toString(), QStringLiteral("No "));
    QCOMPARE(s.scalar(QStringLiteral("select QA_ROLE from ROLES where ROLE_ID = 81")).toString(), QStringLiteral("Yes"));
    QCOMPARE(s.scalar(QStringLiteral("select MGT_ROLE from ROLES where ROLE_ID = 81")).toString(), QStringLiteral("No"));
}

void SchemaTest::duplicatesRaiseUniqueViolation_data()
{
    QTest::addColumn<QString>("sql");
    auto row = [](const char *name, const char *sql) { QTest::newRow(name) << QString::fromLatin1(sql); };
    row("project name", "insert into PROJECT (PRJ_ID, PRJ_NAME, START_DATE, PRJ_STATUS) values (100, 'Apollo', current_date, 'x')");
    row("person", "insert into PERSONNEL (PERSONNEL_ID, PERSON_NAME, TITLE, FORENAME_FIRST, SURNAME) values (100, 'Mr. Tom Hill ', 'Mr.', 'Tom', 'Hill')");
    row("skill", "insert into SKILL values (100, 'Test Skill', 'O/S')");
    row("person skill", "insert into PERSON_SKILL (PERSONNEL_ID, SKILL_ID) select 10, 21 from RDB$DATABASE union all select 10, 21 from RDB$DATABASE");
    row("role", "insert into ROLES (ROLE_ID, ROLE_DESCRIPTION) values (100, 'Test Role')");
    row("project role", "insert into PROJECT_ROLE (PRJ_ID, ROLE_ID, DAILY_RATE) values (1, 20, 1)");
    row("person in role", "insert into PROJECT_ROLE_PERSON (PRJ_ID, ROLE_ID, PERSONNEL_ID) values (1, 20, 10)");
    row("product type", "insert into PRODUCT_TYPE values (100, 'Test Type', 'Informal')");
    row("product", "insert into PRODUCT (PRODUCT_ID, PRODUCT_DESCRIPTION, PRODUCT_TYPE_ID, PRJ_ID) values (100, 'Plan', 30, 1)");
    row("issue", "insert into ISSUE (ISSUE_ID, ISSUE_TYPE, ISSUE_DESCRIPTION, DATE_RAISED, PRJ_ID, RAISED_BY_ROLE_ID, RAISED_BY_PERSONNEL_ID, ISSUE_STATUS) values (100, 'Issue', 'First', current_date, 1, 20, 10, 'Open')");
    row("risk", "insert into RISK (RISK_ID, RISK_DESCRIPTION, DATE_RAISED, PRJ_ID, RAISED_BY_ROLE_ID, RAISED_BY_PERSONNEL_ID, RISK_STATUS) select 100 + rdb$relation_id, 'Same', current_date, 1, 20, 10, 'Open' from RDB$RELATIONS rows 2");
    row("change request", "insert into CHANGE_REQUEST (CR_ID, CR_DESCRIPTION, DATE_RAISED, PRJ_ID, RAISED_BY_ROLE_ID, RAISED_BY_PERSONNEL_ID) values (100, 'Change', current_date, 1, 20, 10)");
    row("cr issue", "insert into CHANGE_REQUEST_ISSUE (CR_ID, ISSUE_ID) select 60, 50 from RDB$RELATIONS rows 2");
    row("cr product", "insert into CHANGE_REQUEST_PRODUCT (CR_ID, PRODUCT_ID, PRJ_ID, COMPLETED_BY_ROLE_ID, COMPLETED_BY_PERSONNEL_ID) select 60, 40, 1, 20, 10 from RDB$RELATIONS rows 2");
    row("cr resource", "insert into CHANGE_REQUEST_RESOURCE (CR_ID, ROLE_ID, PRJ_ID, RESOURCE_DAYS, COMPLETED_BY_ROLE_ID, COMPLETED_BY_PERSONNEL_ID) select 60, 20, 1, 3, 20, 10 from RDB$RELATIONS rows 2");
    row("quality review", "insert into QUALITY_REVIEW (QR_ID, PRJ_ID, PRODUCT_ID, SCHEDULED_REVIEW_DATE) values (100, 1, 40, '2026-02-01')");
    row("reviewer", "insert into QUALITY_REVIEW_INVOLVEMENT (QR_ID, PRJ_ID, INVOLVEMENT_ROLE_ID, INVOLVEMENT_PERSONNEL_ID) select 70, 1, 20, 10 from RDB$RELATIONS rows 2");
    row("system user", "insert into SYSTEM_USER (USER_ID, USER_NAME, FORENAME_FIRST, SURNAME) select 100 + rdb$relation_id, 'SAME', 'A', 'B' from RDB$RELATIONS rows 2");
}

void SchemaTest::duplicatesRaiseUniqueViolation()
{
    QFETCH(QString, sql);
    Session s(m_db->attachment());
    QCOMPARE(s.failure(sql, fb::isc::uniqueKeyViolation), fb::isc::uniqueKeyViolation);
}

void SchemaTest::referencedRowsCannotBeDeleted_data()
{
    QTest::addColumn<QString>("sql");
    auto row = [](const char *name, const char *sql) { QTest::newRow(name) << QString::fromLatin1(sql); };
    row("project", "delete from PROJECT where PRJ_ID = 1");
    row("person", "delete from PERSONNEL where PERSONNEL_ID = 10");
    row("role", "delete from ROLES where ROLE_ID = 20");
    row("project role", "delete from PROJECT_ROLE where PRJ_ID = 1 and ROLE_ID = 20");
    row("product type", "delete from PRODUCT_TYPE where PRODUCT_TYPE_ID = 30");
    row("product", "delete from PRODUCT where PRODUCT_ID = 40");
}

void SchemaTest::referencedRowsCannotBeDeleted()
{
    QFETCH(QString, sql);
    Session s(m_db->attachment());
    QCOMPARE(s.failure(sql, fb::isc::foreignKeyViolation), fb::isc::foreignKeyViolation);
}

void SchemaTest::deleteSucceedsOnceDependentsAreGone()
{
    Session s(m_db->attachment());
    s.exec(QStringLiteral("insert into PERSON_SKILL (PERSONNEL_ID, SKILL_ID) values (10, 21)"));
    QCOMPARE(s.failure(QStringLiteral("delete from SKILL where SKILL_ID = 21"), fb::isc::foreignKeyViolation),
             fb::isc::foreignKeyViolation);
    s.exec(QStringLiteral("delete from PERSON_SKILL where PERSONNEL_ID = 10 and SKILL_ID = 21"));
    s.exec(QStringLiteral("delete from SKILL where SKILL_ID = 21"));
    // Nothing cascades: the person is untouched.
    QCOMPARE(s.scalar(QStringLiteral("select count(*) from PERSONNEL where PERSONNEL_ID = 10")).toInt(), 1);

    s.exec(QStringLiteral("delete from QUALITY_REVIEW where QR_ID = 70"));
    s.exec(QStringLiteral("delete from PRODUCT where PRODUCT_ID = 40"));
    QCOMPARE(s.scalar(QStringLiteral("select count(*) from PRODUCT")).toInt(), 0);
}

void SchemaTest::issueNumbersPerProject()
{
    Session s(m_db->attachment(), fb::TransactionOptions::readCommittedNoWait());
    auto number = [&s](int id) {
        return s.scalar(QStringLiteral("select ISSUE_NBR from ISSUE where ISSUE_ID = %1").arg(id)).toInt();
    };
    s.exec(issueInsert(200, 1, QStringLiteral("Second")));
    s.exec(issueInsert(201, 1, QStringLiteral("Third")));
    s.exec(issueInsert(202, 2, QStringLiteral("Other project")));
    // Numbers grow within a project (a refused insert may have used one) and
    // every project counts from 1.
    QCOMPARE(number(50), 1);
    QVERIFY(number(200) > number(50));
    QCOMPARE(number(201), number(200) + 1);
    QCOMPARE(number(202), 1);
    // A typed number is kept, and later numbers go past it.
    s.exec(issueInsert(203, 1, QStringLiteral("Typed"), QStringLiteral("100")));
    s.exec(issueInsert(204, 1, QStringLiteral("After typed")));
    QCOMPARE(number(203), 100);
    QCOMPARE(number(204), 101);
}

void SchemaTest::typedNumberTakenIsRefused()
{
    Session s(m_db->attachment());
    try {
        s.exec(issueInsert(210, 1, QStringLiteral("Clash"), QStringLiteral("1")));
        QFAIL("a number in use was accepted");
    } catch (const fb::Error &e) {
        QVERIFY(e.message().contains(QStringLiteral("Issue No.1 is already in use in this project")));
    }
}

void SchemaTest::concurrentInsertsNeverWait()
{
    // Two clients insert into the same log and neither commits: the second
    // neither waits nor fails, and the numbers differ.
    fb::Attachment other = m_db->connect();
    {
        Session a(m_db->attachment(), fb::TransactionOptions::readCommittedNoWait());
        Session b(other, fb::TransactionOptions::readCommittedNoWait());
        a.exec(issueInsert(220, 1, QStringLiteral("From A")));
        b.exec(issueInsert(221, 1, QStringLiteral("From B")));
        const int na = a.scalar(QStringLiteral("select ISSUE_NBR from ISSUE where ISSUE_ID = 220")).toInt();
        const int nb = b.scalar(QStringLiteral("select ISSUE_NBR from ISSUE where ISSUE_ID = 221")).toInt();
        QVERIFY(na > 0 && nb > 0);
        QVERIFY(na != nb);
        // Risks number the same way, independently of issues.
        a.exec(QStringLiteral("insert into RISK (RISK_ID, RISK_DESCRIPTION, DATE_RAISED, PRJ_ID, RAISED_BY_ROLE_ID, "
                              "RAISED_BY_PERSONNEL_ID, RISK_STATUS) values (222, 'R', current_date, 2, 20, 10, 'Open')"));
        QCOMPARE(a.scalar(QStringLiteral("select RISK_NBR from RISK where RISK_ID = 222")).toInt(), 1);
    }
    other.detach();
}

void SchemaTest::linkRowsUpdateInPlace()
{
    Session s(m_db->attachment());
    s.exec(QStringLiteral("insert into SKILL values (230, 'Other Skill', 'O/S')"));
    s.exec(QStringLiteral("insert into PERSON_SKILL (PERSONNEL_ID, SKILL_ID) values (10, 21)"));
    s.exec(QStringLiteral("update PERSON_SKILL set SKILL_ID = 230 where PERSONNEL_ID = 10 and SKILL_ID = 21"));
    QCOMPARE(s.scalar(QStringLiteral("select SKILL_ID from PERSON_SKILL where PERSONNEL_ID = 10")).toInt(), 230);
    QVERIFY(s.scalar(QStringLiteral("select CREATED_BY from PERSON_SKILL where PERSONNEL_ID = 10")).toString() == QStringLiteral("SYSDBA"));
    QVERIFY(!s.scalar(QStringLiteral("select UPDATE_DATE from PERSON_SKILL where PERSONNEL_ID = 10")).isNull());

    s.exec(QStringLiteral("insert into CHANGE_REQUEST_PRODUCT (CR_ID, PRODUCT_ID, PRJ_ID, IMPACT, COMPLETED_BY_ROLE_ID, "
                          "COMPLETED_BY_PERSONNEL_ID) values (60, 40, 1, x'7B5C727466317D', 20, 10)"));
    QCOMPARE(s.scalar(QStringLiteral("select cast(IMPACT as varchar(20) character set octets) from CHANGE_REQUEST_PRODUCT")).toByteArray(),
             QByteArray("{\\rtf1}"));
}

void SchemaTest::auditColumnsSetByDatabase()
{
    Session s(m_db->attachment());
    // Whatever the statement sends, the database stamps its own values.
    s.exec(QStringLiteral("insert into PROJECT (PRJ_ID, PRJ_NAME, START_DATE, PRJ_STATUS, CREATE_DATE, CREATED_BY, "
                          "UPDATED_BY) values (240, 'Audited', current_date, 'x', '2000-01-01', 'FORGED', 'FORGED')"));
    QCOMPARE(s.scalar(QStringLiteral("select CREATED_BY from PROJECT where PRJ_ID = 240")).toString(), QStringLiteral("SYSDBA"));
    QCOMPARE(s.scalar(QStringLiteral("select CREATE_DATE from PROJECT where PRJ_ID = 240")).toDate(), QDate::currentDate());
    QVERIFY(s.scalar(QStringLiteral("select UPDATED_BY from PROJECT where PRJ_ID = 240")).isNull());
    s.exec(QStringLiteral("update PROJECT set PRJ_REF = 'r', CREATED_BY = 'FORGED' where PRJ_ID = 240"));
    QCOMPARE(s.scalar(QStringLiteral("select CREATED_BY from PROJECT where PRJ_ID = 240")).toString(), QStringLiteral("SYSDBA"));
    QCOMPARE(s.scalar(QStringLiteral("select UPDATED_BY from PROJECT where PRJ_ID = 240")).toString(), QStringLiteral("SYSDBA"));
    QVERIFY(!s.scalar(QStringLiteral("select UPDATE_TIME from PROJECT where PRJ_ID = 240")).isNull());
}

void SchemaTest::everyAuditedTableIsStamped()
{
    // The audit triggers are made from the catalogue; none may be missed.
    Session s(m_db->attachment());
    QCOMPARE(s.scalar(QStringLiteral(
                 "select count(*) from RDB$RELATION_FIELDS f where f.RDB$FIELD_NAME = 'CREATED_BY' and not exists "
                 "(select 1 from RDB$TRIGGERS t where t.RDB$RELATION_NAME = f.RDB$RELATION_NAME "
                 "and t.RDB$TRIGGER_NAME starting with 'AU_' and t.RDB$TRIGGER_INACTIVE = 0)")).toInt(), 0);
    QCOMPARE(s.scalar(QStringLiteral("select count(*) from RDB$RELATION_FIELDS where RDB$FIELD_NAME = 'CREATED_BY'")).toInt(), 15);
}

void SchemaTest::keysAreNeverReused()
{
    fb::Attachment other = m_db->connect();
    int rolledBack = 0;
    {
        Session a(m_db->attachment(), fb::TransactionOptions::readCommittedNoWait());
        rolledBack = a.uniqueId();
    } // rolled back
    Session b(other, fb::TransactionOptions::readCommittedNoWait());
    const int next = b.uniqueId();
    QVERIFY(rolledBack > 0);
    QVERIFY(next > rolledBack);
}

void SchemaTest::tooLongStringFailsWhole()
{
    Session s(m_db->attachment());
    const QString tooLong(81, QLatin1Char('x'));
    try {
        s.exec(QStringLiteral("insert into PROJECT (PRJ_ID, PRJ_NAME, START_DATE, PRJ_STATUS) values (250, '%1', current_date, 'x')").arg(tooLong));
        QFAIL("an over-long name was stored");
    } catch (const fb::Error &e) {
        QVERIFY(e.message().contains(QStringLiteral("truncation"), Qt::CaseInsensitive));
    }
    QCOMPARE(s.scalar(QStringLiteral("select count(*) from PROJECT where PRJ_ID = 250")).toInt(), 0);
}

void SchemaTest::anyAccountMayUseTheDatabase()
{
    const QString user = QStringLiteral("CVL_SCHEMA_%1").arg(QCoreApplication::applicationPid());
    fb::SecurityService service(test::TestDatabase::serverHost(), test::TestDatabase::adminUser(),
                                test::TestDatabase::adminPassword());
    fb::UserAccount account;
    account.userName = user;
    account.password = QStringLiteral("pw1");
    service.addUser(account);
    auto cleanup = qScopeGuard([&] { service.deleteUser(user); });

    fb::Attachment att = fb::Attachment::attach(m_db->connectionString(), user, QStringLiteral("pw1"));
    {
        Session s(att, fb::TransactionOptions::readCommittedNoWait());
        QVERIFY(s.uniqueId() > 0);
        s.exec(issueInsert(260, 1, QStringLiteral("By another account")));
        QCOMPARE(s.scalar(QStringLiteral("select CREATED_BY from ISSUE where ISSUE_ID = 260")).toString(), user);
        QVERIFY(s.scalar(QStringLiteral("select ISSUE_NBR from ISSUE where ISSUE_ID = 260")).toInt() > 0);
        s.exec(QStringLiteral("update PERSONNEL set APPOINTMENT = 'x' where PERSONNEL_ID = 10"));
        s.exec(QStringLiteral("delete from CHANGE_REQUEST_ISSUE"));
    }
    att.detach();
}

QTEST_GUILESS_MAIN(SchemaTest)
#include "tst_schema.moc"
