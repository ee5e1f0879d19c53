// The script runner: splitting an isql-style script into statements, and
// running one on the real server, procedure and trigger bodies included.
#include "data/fb/Attachment.h"
#include "data/fb/Error.h"
#include "data/fb/Script.h"
#include "data/fb/Statement.h"
#include "data/fb/Transaction.h"
#include "support/TestDatabase.h"

#include <QFile>
#include <QTest>

using namespace corvadel::fb;
using corvadel::test::TestDatabase;

class TestScript : public QObject
{
    Q_OBJECT

private slots:
    void split_data();
    void split();

    void runsTermBlocksAndCommits();
    void failureNamesTheLineAndKeepsEarlierDefinitions();
    void refusesWhatItCannotRun_data();
    void refusesWhatItCannotRun();
    void fixtureRunsSchemaFileAndDropsDatabase();
    void fixtureDropsLeftoversOfDeadProcesses();
    void programSchemaLoads();

private:
    static int scalar(Attachment &att, const QString &sql);
};

int TestScript::scalar(Attachment &att, const QString &sql)
{
    Transaction transaction(att);
    transaction.start();
    Statement statement(att, transaction, sql);
    statement.execute(transaction);
    return statement.value(0).toInt();
}

void TestScript::split_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("statements");
    QTest::addColumn<QList<int>>("lines");

    QTest::newRow("semicolons")
        << "create table A (X integer);\ncreate table B (Y integer);\n"
        << QStringList{"create table A (X integer)", "create table B (Y integer)"} << QList<int>{1, 2};
    QTest::newRow("SET TERM block")
        << "SET TERM ^ ;\ncreate procedure P as begin x = 1; y = 2; end^\nSET TERM ; ^\ncreate table T (x int);"
        << QStringList{"create procedure P as begin x = 1; y = 2; end", "create table T (x int)"}
        << QList<int>{2, 4};
    QTest::newRow("lower-case set term, no blank before the terminator")
        << "set term ^;\nselect 1 from X^\nset term ;^\nselect 2 from Y;"
        << QStringList{"select 1 from X", "select 2 from Y"} << QList<int>{2, 4};
    QTest::newRow("terminator of two characters")
        << "set term !! ;\nselect ';' from X!!\nset term ; !!\n"
        << QStringList{"select ';' from X"} << QList<int>{2};
    QTest::newRow("terminators inside literals and quoted names")
        << "insert into \"T;1\" values ('a;b', q'{c;d}');\n"
        << QStringList{"insert into \"T;1\" values ('a;b', q'{c;d}')"} << QList<int>{1};
    QTest::newRow("terminators inside comments")
        << "-- first; comment\n/* second;\n comment */ create table T (x int); /* ; */\n"
        << QStringList{"create table T (x int)"} << QList<int>{3};
    QTest::newRow("SET TERM inside a literal is data")
        << "insert into T values ('set term ^ ;');\ninsert into T values ('x');"
        << QStringList{"insert into T values ('set term ^ ;')", "insert into T values ('x')"}
        << QList<int>{1, 2};
    QTest::newRow("last statement without terminator")
        << "create table A (X integer);\n\ncreate table B (Y integer)\n"
        << QStringList{"create table A (X integer)", "create table B (Y integer)"} << QList<int>{1, 3};
    QTest::newRow("only comments after the last terminator")
        << "commit;\n-- the end\n/* really */\n" << QStringList{"commit"} << QList<int>{1};
}

void TestScript::split()
{
    QFETCH(QString, script);
    QFETCH(QStringList, statements);
    QFETCH(QList<int>, lines);

    const QList<ScriptStatement> split = splitScript(script);
    QStringList texts;
    QList<int> lineNumbers;
    for (const ScriptStatement &statement : split) {
        texts.append(statement.text);
        lineNumbers.append(statement.line);
    }
    QCOMPARE(texts, statements);
    QCOMPARE(lineNumbers, lines);
}

void TestScript::runsTermBlocksAndCommits()
{
    CORVADEL_REQUIRE_SERVER();
    TestDatabase db;
    executeScript(db.attachment(), QStringLiteral(
        "SET SQL DIALECT 3;\n"
        "SET AUTODDL ON;\n"
        "create sequence GEN_ITEM;\n"
        "create table ITEM (ID integer not null primary key, NAME varchar(20), NAME_LENGTH integer);\n"
        "set term ^ ;\n"
        "create trigger ITEM_BI for ITEM before insert as\n"
        "begin\n"
        "  if (new.ID is null) then new.ID = next value for GEN_ITEM;\n"
        "  new.NAME_LENGTH = char_length(new.NAME);\n"
        "end^\n"
        "create procedure ITEM_COUNT returns (N integer) as\n"
        "begin select count(*) from ITEM into :N; end^\n"
        "set term ; ^\n"
        "insert into ITEM (NAME) values ('rolled back');\n"
        "rollback;\n"
        "insert into ITEM (NAME) values ('Grüße');\n"
        "commit work;\n"
        "insert into ITEM (NAME) values ('committed at the end');\n"));

    Attachment other = db.connect();
    QCOMPARE(scalar(other, QStringLiteral("select count(*) from ITEM")), 2);
    // Characters, not bytes: the text went in as UTF-8.
    QCOMPARE(scalar(other, QStringLiteral("select NAME_LENGTH from ITEM where NAME = 'Grüße'")), 5);
    QCOMPARE(scalar(other, QStringLiteral("execute procedure ITEM_COUNT")), 2);
    // The trigger numbered the rows; the rolled-back insert used a number too.
    QCOMPARE(scalar(other, QStringLiteral("select max(ID) from ITEM")), 3);
}

void TestScript::failureNamesTheLineAndKeepsEarlierDefinitions()
{
    CORVADEL_REQUIRE_SERVER();
    TestDatabase db;
    try {
        executeScript(db.attachment(), QStringLiteral(
            "create table GOOD (ID integer);\n"
            "\n"
            "insert into GOOD (ID) values (1);\n"
            "insert into MISSING (ID) values (1);\n"
            "create table NEVER (ID integer);\n"));
        QFAIL("the script ran past a bad statement");
    } catch (const Error &error) {
        QVERIFY(!error.codes().empty());
        QVERIFY2(error.message().contains(QStringLiteral("line 4")), qPrintable(error.message()));
        QVERIFY2(error.message().contains(QStringLiteral("MISSING")), qPrintable(error.message()));
    }
    Attachment other = db.connect();
    QCOMPARE(scalar(other, QStringLiteral("select count(*) from RDB$RELATIONS where RDB$RELATION_NAME = 'GOOD'")), 1);
    QCOMPARE(scalar(other, QStringLiteral("select count(*) from RDB$RELATIONS where RDB$RELATION_NAME = 'NEVER'")), 0);
    // The insert after the last commit went with the failure.
    QCOMPARE(scalar(other, QStringLiteral("select count(*) from GOOD")), 0);
}

void TestScript::refusesWhatItCannotRun_data()
{
    QTest::addColumn<QString>("script");
    QTest::newRow("another dialect") << "set sql dialect 1;";
    QTest::newRow("create database") << "create database 'x.fdb';";
    QTest::newRow("a select") << "select 1 from rdb$database;";
}

void TestScript::refusesWhatItCannotRun()
{
    CORVADEL_REQUIRE_SERVER();
    QFETCH(QString, script);
    TestDatabase db;
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, executeScript(db.attachment(), script));
}

void TestScript::fixtureRunsSchemaFileAndDropsDatabase()
{
    CORVADEL_REQUIRE_SERVER();
    QString connection;
    {
        TestDatabase db(QStringLiteral(FIXTURE_SCHEMA_FILE));
        connection = db.connectionString();
        QVERIFY(connection.startsWith(TestDatabase::serverHost() + u':'));
        Attachment other = db.connect();
        QCOMPARE(scalar(other, QStringLiteral("select NOTE_ID from NOTE where BODY = 'seeded; with a semicolon'")), 1);
    }
    // Gone with the fixture.
    QVERIFY_THROWS_EXCEPTION(Error, Attachment::attach(connection, TestDatabase::adminUser(),
                                                       TestDatabase::adminPassword()));
}

void TestScript::fixtureDropsLeftoversOfDeadProcesses()
{
    CORVADEL_REQUIRE_SERVER();
    // No process ever has the number pid_max.
    QFile pidMax(QStringLiteral("/proc/sys/kernel/pid_max"));
    QVERIFY(pidMax.open(QIODevice::ReadOnly));
    const qint64 deadPid = pidMax.readAll().trimmed().toLongLong();
    QVERIFY(deadPid > 0);
    const auto leftover = [&](const char *tag) {
        return QStringLiteral("%1:/tmp/corvadel-test-%2-0-%3.fdb")
            .arg(TestDatabase::serverHost())
            .arg(deadPid)
            .arg(QLatin1StringView(tag));
    };
    const QString abandoned = leftover("abandoned");
    const QString attached = leftover("attached");
    Attachment::create(abandoned, TestDatabase::adminUser(), TestDatabase::adminPassword()).detach();
    Attachment holder = Attachment::create(attached, TestDatabase::adminUser(), TestDatabase::adminPassword());

    TestDatabase::dropLeftovers();

    QVERIFY_THROWS_EXCEPTION(Error, Attachment::attach(abandoned, TestDatabase::adminUser(),
                                                       TestDatabase::adminPassword()));
    // In use: left alone.
    Attachment::attach(attached, TestDatabase::adminUser(), TestDatabase::adminPassword()).detach();
    holder.dropDatabase();
}

void TestScript::programSchemaLoads()
{
    CORVADEL_REQUIRE_SERVER();
    if (!QFile::exists(QStringLiteral(CORVADEL_SCHEMA_FILE)))
        QSKIP("src/data/schema.sql is not in this tree");
    TestDatabase db = TestDatabase::withSchema();
    QVERIFY(scalar(db.attachment(), QStringLiteral(
                "select count(*) from RDB$RELATIONS where coalesce(RDB$SYSTEM_FLAG, 0) = 0"
                " and RDB$VIEW_BLR is null")) > 0);
}

QTEST_GUILESS_MAIN(TestScript)
#include "tst_script.moc"
