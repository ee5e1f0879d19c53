// Statements against the real server: parameters by name, values of every
// type the program stores going in and coming back unchanged, and the
// server's own refusals reaching the caller.
#include "data/fb/Attachment.h"
#include "data/fb/Blob.h"
#include "data/fb/Error.h"
#include "data/fb/Script.h"
#include "data/fb/Statement.h"
#include "data/fb/Transaction.h"
#include "support/TestDatabase.h"

#include <QTest>

#include <memory>

using namespace corvadel::fb;
using corvadel::test::TestDatabase;

class TestStatement : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void roundTrip_data();
    void roundTrip();
    void parametersStartNullAndClear();
    void repeatedNameSetsEveryPosition();
    void parameterNamesAreListedOnce();
    void unconvertibleValueIsRefused_data();
    void unconvertibleValueIsRefused();
    void tooLongStringIsRefusedWhole_data();
    void tooLongStringIsRefusedWhole();
    void procedureOutputsAreReadable();
    void singletonSelectSaysWhetherItFoundARow();
    void columnsDescribeTheSelect();
    void affectedRowsCountsChangedRows();

private:
    int nextId() { return ++m_lastId; }
    int rowCount(Transaction &transaction, int id);

    std::unique_ptr<TestDatabase> m_db;
    int m_lastId = 0;
};

void TestStatement::initTestCase()
{
    CORVADEL_REQUIRE_SERVER();
    m_db = std::make_unique<TestDatabase>();
    executeScript(m_db->attachment(), QStringLiteral(
        "create table VALS (ID integer not null primary key, I integer, SM smallint, BI bigint,"
        " N numeric(9,2), F double precision, S varchar(20), C char(3), D date, T time,"
        " TS timestamp, BO boolean);\n"
        "set term ^ ;\n"
        "create procedure TWICE (X integer) returns (Y integer, LABEL varchar(10)) as\n"
        "begin Y = X * 2; LABEL = 'twice'; end^\n"
        "set term ; ^\n"));
}

void TestStatement::cleanupTestCase()
{
    m_db.reset();
}

int TestStatement::rowCount(Transaction &transaction, int id)
{
    Statement count(m_db->attachment(), transaction, QStringLiteral("select count(*) from VALS where ID = :ID"));
    count.setValue(QStringLiteral("ID"), id);
    count.execute(transaction);
    return count.value(0).toInt();
}

void TestStatement::roundTrip_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QVariant>("expected");

    const QString maxMultibyte = QString(20, QChar()).fill(QChar(0x0416)); // 20 two-byte characters
    QString astral;
    for (int i = 0; i < 20; ++i)
        astral += QString::fromUcs4(U"\U0001D11E"); // four bytes each in UTF-8

    QTest::newRow("integer") << "I" << QVariant(-2147483647 - 1) << QVariant(-2147483647 - 1);
    QTest::newRow("integer from text") << "I" << QVariant(QStringLiteral(" 17 ")) << QVariant(17);
    QTest::newRow("integer NULL") << "I" << QVariant() << QVariant();
    QTest::newRow("smallint") << "SM" << QVariant(-32768) << QVariant(-32768);
    QTest::newRow("bigint beyond double precision")
        << "BI" << QVariant(qlonglong(9007199254740993LL)) << QVariant(qlonglong(9007199254740993LL));
    QTest::newRow("numeric from double") << "N" << QVariant(1234567.89) << QVariant(1234567.89);
    QTest::newRow("numeric from integer") << "N" << QVariant(-7) << QVariant(-7.0);
    QTest::newRow("numeric from text") << "N" << QVariant(QStringLiteral("12.30")) << QVariant(12.3);
    QTest::newRow("double") << "F" << QVariant(3.141592653589793) << QVariant(3.141592653589793);
    QTest::newRow("double NULL") << "F" << QVariant(QMetaType::fromType<double>()) << QVariant();
    QTest::newRow("string non-Latin")
        << "S" << QVariant(QStringLiteral("Grüße Καλημέρα 日本"))
        << QVariant(QStringLiteral("Grüße Καλημέρα 日本"));
    QTest::newRow("string of 20 two-byte characters") << "S" << QVariant(maxMultibyte) << QVariant(maxMultibyte);
    QTest::newRow("string of 20 four-byte characters") << "S" << QVariant(astral) << QVariant(astral);
    QTest::newRow("empty string is not NULL") << "S" << QVariant(QString("")) << QVariant(QString(""));
    QTest::newRow("null string is NULL") << "S" << QVariant(QString()) << QVariant();
    QTest::newRow("string from number") << "S" << QVariant(42) << QVariant(QStringLiteral("42"));
    QTest::newRow("char keeps its padding") << "C" << QVariant(QStringLiteral("No")) << QVariant(QStringLiteral("No "));
    QTest::newRow("char of multibyte text") << "C" << QVariant(QStringLiteral("Ñé")) << QVariant(QStringLiteral("Ñé "));
    QTest::newRow("char full") << "C" << QVariant(QStringLiteral("Yes")) << QVariant(QStringLiteral("Yes"));
    QTest::newRow("date") << "D" << QVariant(QDate(2024, 2, 29)) << QVariant(QDate(2024, 2, 29));
    QTest::newRow("earliest date") << "D" << QVariant(QDate(1, 1, 1)) << QVariant(QDate(1, 1, 1));
    QTest::newRow("latest date") << "D" << QVariant(QDate(9999, 12, 31)) << QVariant(QDate(9999, 12, 31));
    QTest::newRow("date from ISO text") << "D" << QVariant(QStringLiteral("2023-07-01")) << QVariant(QDate(2023, 7, 1));
    QTest::newRow("invalid date is NULL") << "D" << QVariant(QDate()) << QVariant();
    QTest::newRow("time") << "T" << QVariant(QTime(23, 59, 59, 999)) << QVariant(QTime(23, 59, 59, 999));
    QTest::newRow("midnight") << "T" << QVariant(QTime(0, 0)) << QVariant(QTime(0, 0));
    QTest::newRow("timestamp")
        << "TS" << QVariant(QDateTime(QDate(2023, 10, 29), QTime(14, 30, 15, 250)))
        << QVariant(QDateTime(QDate(2023, 10, 29), QTime(14, 30, 15, 250)));
    QTest::newRow("timestamp from date")
        << "TS" << QVariant(QDate(2020, 1, 31)) << QVariant(QDateTime(QDate(2020, 1, 31), QTime(0, 0)));
    QTest::newRow("boolean") << "BO" << QVariant(true) << QVariant(true);
    QTest::newRow("boolean false") << "BO" << QVariant(false) << QVariant(false);
}

void TestStatement::roundTrip()
{
    QFETCH(QString, column);
    QFETCH(QVariant, value);
    QFETCH(QVariant, expected);

    Attachment &att = m_db->attachment();
    Transaction transaction(att);
    transaction.start();
    const int id = nextId();

    Statement insert(att, transaction, QStringLiteral("insert into VALS (ID, %1) values (:ID, :V)").arg(column));
    insert.setValue(QStringLiteral("ID"), id);
    insert.setValue(QStringLiteral("V"), value);
    insert.execute(transaction);
    transaction.commit();

    // Read back in a fresh transaction on a fresh attachment: nothing cached.
    Attachment other = m_db->connect();
    Transaction reading(other);
    reading.start();
    Statement select(other, reading, QStringLiteral("select %1 from VALS where ID = :ID").arg(column));
    select.setValue(QStringLiteral("ID"), id);
    select.openCursor(reading);
    QVERIFY(select.fetch());
    const QVariant actual = select.value(0);
    QCOMPARE(select.isNull(0), expected.isNull());
    if (expected.isNull()) {
        QVERIFY(!actual.isValid());
    } else {
        QCOMPARE(actual.metaType(), expected.metaType());
        QCOMPARE(actual, expected);
    }
    QVERIFY(!select.fetch());
    QVERIFY(!select.isCursorOpen());
}

void TestStatement::parametersStartNullAndClear()
{
    Attachment &att = m_db->attachment();
    Transaction transaction(att);
    transaction.start();
    Statement select(att, transaction, QStringLiteral("select cast(:A as integer), cast(:B as varchar(5)) from rdb$database"));

    select.execute(transaction);
    QVERIFY(select.hasRow());
    QVERIFY(select.isNull(0));
    QVERIFY(select.isNull(1));

    select.setValue(QStringLiteral("A"), 5);
    select.setValue(QStringLiteral("B"), QStringLiteral("x"));
    select.execute(transaction);
    QCOMPARE(select.value(0), QVariant(5));
    QCOMPARE(select.value(1), QVariant(QStringLiteral("x")));

    select.clearParameters();
    select.execute(transaction);
    QVERIFY(select.isNull(0));
    QVERIFY(select.isNull(1));
}

void TestStatement::repeatedNameSetsEveryPosition()
{
    Attachment &att = m_db->attachment();
    Transaction transaction(att);
    transaction.start();
    Statement select(att, transaction, QStringLiteral(
        "select cast(:A as integer) + cast(:B as integer) + cast(:a as integer) from rdb$database"));
    QCOMPARE(select.parameterCount(), 3);

    select.setValue(QStringLiteral("a"), 20);
    select.setValue(QStringLiteral("B"), 2);
    select.execute(transaction);
    QCOMPARE(select.value(0), QVariant(42));

    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, select.setValue(QStringLiteral("C"), 1));
}

void TestStatement::parameterNamesAreListedOnce()
{
    Attachment &att = m_db->attachment();
    Transaction transaction(att);
    transaction.start();
    Statement update(att, transaction, QStringLiteral(
        "update VALS set I = :I, S = :S where ID = :ID and (I = :OLD_I or ID = :ID)"));
    QCOMPARE(update.parameterNames(), (QStringList{"I", "S", "ID", "OLD_I"}));
    QVERIFY(update.hasParameter(QStringLiteral("old_i")));
    QVERIFY(!update.hasParameter(QStringLiteral("OLD_S")));
    QCOMPARE(update.parameterCount(), 5);
}

void TestStatement::unconvertibleValueIsRefused_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<long>("code");

    QTest::newRow("text into integer") << "I" << QVariant(QStringLiteral("twelve")) << isc::conversionError;
    QTest::newRow("integer overflow") << "I" << QVariant(qlonglong(1) << 40) << isc::numericOutOfRange;
    QTest::newRow("double overflow") << "I" << QVariant(3e10) << isc::numericOutOfRange;
    QTest::newRow("smallint overflow") << "SM" << QVariant(40000) << isc::numericOutOfRange;
    QTest::newRow("numeric overflow") << "BI" << QVariant(1e30) << isc::numericOutOfRange;
    QTest::newRow("text into date") << "D" << QVariant(QStringLiteral("yesterday")) << isc::conversionError;
    QTest::newRow("text into time") << "T" << QVariant(QStringLiteral("25:61")) << isc::conversionError;
}

void TestStatement::unconvertibleValueIsRefused()
{
    QFETCH(QString, column);
    QFETCH(QVariant, value);
    QFETCH(long, code);

    Attachment &att = m_db->attachment();
    Transaction transaction(att);
    transaction.start();
    Statement insert(att, transaction, QStringLiteral("insert into VALS (ID, %1) values (:ID, :V)").arg(column));
    try {
        insert.setValue(QStringLiteral("V"), value);
        QFAIL("the value was accepted");
    } catch (const Error &error) {
        QVERIFY2(error.hasCode(code), qPrintable(error.message()));
        QVERIFY(!error.message().isEmpty());
    }
}

void TestStatement::tooLongStringIsRefusedWhole_data()
{
    QTest::addColumn<QString>("tooLong");

    QTest::newRow("one character over") << QString(21, u'x');
    QTest::newRow("multibyte, one character over") << QString(21, QChar(0x0416));
    QTest::newRow("far beyond the column's buffer") << QString(500, u'y');
    QTest::newRow("beyond the largest message") << QString(40000, u'z');
}

void TestStatement::tooLongStringIsRefusedWhole()
{
    QFETCH(QString, tooLong);

    Attachment &att = m_db->attachment();
    Transaction transaction(att);
    transaction.start();
    const int id = nextId();
    Statement insert(att, transaction, QStringLiteral("insert into VALS (ID, I, S) values (:ID, :I, :S)"));
    insert.setValue(QStringLiteral("ID"), id);
    insert.setValue(QStringLiteral("I"), 77);
    try {
        insert.setValue(QStringLiteral("S"), tooLong);
        insert.execute(transaction);
        QFAIL("the server accepted a string longer than its column");
    } catch (const Error &error) {
        QVERIFY2(error.hasCode(isc::stringTruncation), qPrintable(error.message()));
        QVERIFY2(error.hasCode(isc::arithmeticException), qPrintable(error.message()));
    }
    QCOMPARE(rowCount(transaction, id), 0);

    // The statement is still whole: the values set before the long one
    // survive, and a fitting string goes in.
    insert.setValue(QStringLiteral("S"), QString(20, u'k'));
    insert.execute(transaction);
    Statement select(att, transaction, QStringLiteral("select I, S from VALS where ID = :ID"));
    select.setValue(QStringLiteral("ID"), id);
    select.execute(transaction);
    QVERIFY(select.hasRow());
    QCOMPARE(select.value(0), QVariant(77));
    QCOMPARE(select.value(1), QVariant(QString(20, u'k')));
    transaction.rollback();
}

void TestStatement::procedureOutputsAreReadable()
{
    Attachment &att = m_db->attachment();
    Transaction transaction(att);
    transaction.start();
    Statement call(att, transaction, QStringLiteral("execute procedure TWICE(:X)"));
    QCOMPARE(call.columnCount(), 2);
    QCOMPARE(call.column(0).name, QStringLiteral("Y"));

    // Prepared once, executed again with a new value.
    for (int x : {21, -5}) {
        call.setValue(QStringLiteral("X"), x);
        call.execute(transaction);
        QVERIFY(call.hasRow());
        QCOMPARE(call.value(QStringLiteral("Y")), QVariant(2 * x));
        QCOMPARE(call.value(1), QVariant(QStringLiteral("twice")));
    }
}

void TestStatement::singletonSelectSaysWhetherItFoundARow()
{
    Attachment &att = m_db->attachment();
    Transaction transaction(att);
    transaction.start();
    const int id = nextId();
    Statement insert(att, transaction, QStringLiteral("insert into VALS (ID, I) values (:ID, 5)"));
    insert.setValue(QStringLiteral("ID"), id);
    insert.execute(transaction);

    Statement select(att, transaction, QStringLiteral("select I from VALS where ID = :ID"));
    select.setValue(QStringLiteral("ID"), id);
    select.execute(transaction);
    QVERIFY(select.hasRow());
    QCOMPARE(select.value(0), QVariant(5));

    select.setValue(QStringLiteral("ID"), -1);
    select.execute(transaction);
    QVERIFY(!select.hasRow());
    QVERIFY_THROWS_EXCEPTION(std::logic_error, select.value(0));
}

void TestStatement::columnsDescribeTheSelect()
{
    Attachment &att = m_db->attachment();
    Transaction transaction(att);
    transaction.start();
    Statement select(att, transaction, QStringLiteral(
        "select v.ID as KEY_ALIAS, v.S, v.C, v.N, 1 + 1 as SUM_OF from VALS v"));
    QCOMPARE(select.columnCount(), 5);

    const Column &key = select.column(0);
    QCOMPARE(key.name, QStringLiteral("KEY_ALIAS"));
    QCOMPARE(key.field, QStringLiteral("ID"));
    QCOMPARE(key.relation, QStringLiteral("VALS"));
    QCOMPARE(key.type, unsigned(SQL_LONG));
    QVERIFY(!key.nullable);

    const Column &text = select.column(1);
    QCOMPARE(text.type, unsigned(SQL_VARYING));
    QCOMPARE(text.charLength, 20u);
    QCOMPARE(text.length, 80u); // UTF8: four bytes a character
    QVERIFY(!text.fixedLength);

    QCOMPARE(select.column(2).type, unsigned(SQL_VARYING)); // CHAR comes as VARCHAR
    QVERIFY(select.column(2).fixedLength);
    QCOMPARE(select.column(3).scale, -2);
    QCOMPARE(metaTypeOf(select.column(3)), QMetaType::fromType<double>());
    QVERIFY(select.column(4).relation.isEmpty());

    QCOMPARE(select.columnIndex(QStringLiteral("key_alias")), 0);
    QCOMPARE(select.columnIndex(QStringLiteral("SUM_OF")), 4);
    QCOMPARE(select.columnIndex(QStringLiteral("ID")), -1);
    QVERIFY(select.rowBufferSize() >= select.column(4).offset + select.column(4).length);
}

void TestStatement::affectedRowsCountsChangedRows()
{
    Attachment &att = m_db->attachment();
    Transaction transaction(att);
    transaction.start();
    Statement insert(att, transaction, QStringLiteral("insert into VALS (ID, I) values (:ID, -99)"));
    for (int i = 0; i < 3; ++i) {
        insert.setValue(QStringLiteral("ID"), nextId());
        insert.execute(transaction);
        QCOMPARE(insert.affectedRows(), 1);
    }
    Statement update(att, transaction, QStringLiteral("update VALS set I = -98 where I = :I"));
    update.setValue(QStringLiteral("I"), -99);
    update.execute(transaction);
    QCOMPARE(update.affectedRows(), 3);
    update.execute(transaction);
    QCOMPARE(update.affectedRows(), 0);
    transaction.rollback();
}

QTEST_GUILESS_MAIN(TestStatement)
#include "tst_statement.moc"
