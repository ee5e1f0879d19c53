// The rewrite of named parameters to positional markers: a pure function,
// checked against text where a naive search for ':' goes wrong.
#include "data/fb/NamedParameters.h"

#include <QTest>

using corvadel::fb::rewriteNamedParameters;

class TestNamedParameters : public QObject
{
    Q_OBJECT

private slots:
    void rewrite_data();
    void rewrite();
};

void TestNamedParameters::rewrite_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QStringList>("names");

    QTest::newRow("two names")
        << "select * from T where A = :A and B = :B"
        << "select * from T where A = ? and B = ?" << QStringList{"A", "B"};
    QTest::newRow("one name at several positions")
        << "select * from T where A = :X or B = :X"
        << "select * from T where A = ? or B = ?" << QStringList{"X", "X"};
    QTest::newRow("OLD_ prefix is part of the name")
        << "update T set A = :A where A = :OLD_A"
        << "update T set A = ? where A = ?" << QStringList{"A", "OLD_A"};
    QTest::newRow("digits, underscore and dollar")
        << "values (:P1$X,:_Q)" << "values (?,?)" << QStringList{"P1$X", "_Q"};
    QTest::newRow("spelling kept")
        << "where prj_id = :prj_id" << "where prj_id = ?" << QStringList{"prj_id"};
    QTest::newRow("string literal")
        << "select ':NOT', '12:30:00' from T where A = :A"
        << "select ':NOT', '12:30:00' from T where A = ?" << QStringList{"A"};
    QTest::newRow("doubled quote inside a literal")
        << "where A = 'it''s :NOT' and B = :B"
        << "where A = 'it''s :NOT' and B = ?" << QStringList{"B"};
    QTest::newRow("q-quoted literal holding a quote")
        << "where A = q'{it's :NOT}' and B = :B"
        << "where A = q'{it's :NOT}' and B = ?" << QStringList{"B"};
    QTest::newRow("quoted identifier")
        << "select \"COL:X\" from T where A = :A"
        << "select \"COL:X\" from T where A = ?" << QStringList{"A"};
    QTest::newRow("line comment")
        << "select A -- :NOT, 'unbalanced\nfrom T where A = :A"
        << "select A -- :NOT, 'unbalanced\nfrom T where A = ?" << QStringList{"A"};
    QTest::newRow("block comment over lines")
        << "select /* :NOT\n:NOT2 ' */ A from T where A = :A"
        << "select /* :NOT\n:NOT2 ' */ A from T where A = ?" << QStringList{"A"};
    QTest::newRow("positional marker kept as unnamed")
        << "where A = ? and B = :B" << "where A = ? and B = ?" << QStringList{"", "B"};
    QTest::newRow("colon without a name")
        << "select 1 : 2, ':' from T" << "select 1 : 2, ':' from T" << QStringList{};
    QTest::newRow("unterminated literal runs to the end")
        << "select 'abc :X" << "select 'abc :X" << QStringList{};
    QTest::newRow("identifier ending in q before a literal")
        << "where seq'(' = :A and x = ')'" << "where seq'(' = ? and x = ')'" << QStringList{"A"};
}

void TestNamedParameters::rewrite()
{
    QFETCH(QString, sql);
    QFETCH(QString, expected);
    QFETCH(QStringList, names);

    QStringList found{"stale"};
    QCOMPARE(rewriteNamedParameters(sql, &found), expected);
    QCOMPARE(found, names);
}

QTEST_GUILESS_MAIN(TestNamedParameters)
#include "tst_namedparameters.moc"
