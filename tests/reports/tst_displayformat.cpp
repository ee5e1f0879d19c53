#include "reports/DisplayFormat.h"

#include <QDateTime>
#include <QTest>

using namespace corvadel::reports;

class TestDisplayFormat : public QObject
{
    Q_OBJECT

private slots:
    void number_data();
    void number();
    void date_data();
    void date();
    void value_data();
    void value();
};

void TestDisplayFormat::number_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("expected");

    const QString pounds = QStringLiteral("£#,0.00;-£#,0.00");
    const QString dollars = QStringLiteral("$#,0.00;-$#,0.00");
    QTest::newRow("grouped") << 1234567.891 << pounds << QStringLiteral("£1,234,567.89");
    QTest::newRow("negative section") << -250.0 << pounds << QStringLiteral("-£250.00");
    QTest::newRow("below one keeps the zero") << 0.5 << pounds << QStringLiteral("£0.50");
    QTest::newRow("zero") << 0.0 << dollars << QStringLiteral("$0.00");
    QTest::newRow("rounds half up") << 2.345 << dollars << QStringLiteral("$2.35");
    QTest::newRow("rounding carries into thousands") << 999.999 << dollars << QStringLiteral("$1,000.00");
    QTest::newRow("negative rounding to zero is not negative") << -0.001 << dollars << QStringLiteral("$0.00");
    QTest::newRow("negative thousands") << -1000.0 << dollars << QStringLiteral("-$1,000.00");
    QTest::newRow("no negative section takes a minus") << -3.5 << QStringLiteral("0.0") << QStringLiteral("-3.5");
    QTest::newRow("zero section") << 0.0 << QStringLiteral("#,0.00;(#,0.00);nil") << QStringLiteral("nil");
    QTest::newRow("bracketed negative") << -12.0 << QStringLiteral("#,0.00;(#,0.00)") << QStringLiteral("(12.00)");
    QTest::newRow("optional decimals") << 3.1 << QStringLiteral("0.##") << QStringLiteral("3.1");
    QTest::newRow("quoted literal") << 7.0 << QStringLiteral("0 \"days\"") << QStringLiteral("7 days");
    QTest::newRow("no grouping without comma") << 12345.0 << QStringLiteral("0") << QStringLiteral("12345");
}

void TestDisplayFormat::number()
{
    QFETCH(double, value);
    QFETCH(QString, pattern);
    QFETCH(QString, expected);
    QCOMPARE(format::number(value, pattern), expected);
}

void TestDisplayFormat::date_data()
{
    QTest::addColumn<QDate>("value");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("expected");

    QTest::newRow("short month") << QDate(2024, 3, 5) << QStringLiteral("dd mmm yyyy") << QStringLiteral("05 Mar 2024");
    QTest::newRow("long month") << QDate(2024, 9, 21) << QStringLiteral("dd mmmm yyyy")
                                << QStringLiteral("21 September 2024");
    QTest::newRow("numeric") << QDate(1999, 12, 31) << QStringLiteral("d/m/yy") << QStringLiteral("31/12/99");
    QTest::newRow("invalid date is blank") << QDate() << QStringLiteral("dd mmm yyyy") << QString();
}

void TestDisplayFormat::date()
{
    QFETCH(QDate, value);
    QFETCH(QString, pattern);
    QFETCH(QString, expected);
    QCOMPARE(format::date(value, pattern), expected);
}

void TestDisplayFormat::value_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("expected");

    const QString pounds = QStringLiteral("£#,0.00;-£#,0.00");
    QTest::newRow("double") << QVariant(1250.0) << pounds << QStringLiteral("£1,250.00");
    QTest::newRow("integer") << QVariant(-40) << pounds << QStringLiteral("-£40.00");
    QTest::newRow("numeric text") << QVariant(QStringLiteral("12.5")) << pounds << QStringLiteral("£12.50");
    QTest::newRow("other text stays") << QVariant(QStringLiteral("n/a")) << pounds << QStringLiteral("n/a");
    QTest::newRow("null is blank") << QVariant() << pounds << QString();
    QTest::newRow("date") << QVariant(QDate(2023, 1, 2)) << QStringLiteral("dd mmm yyyy")
                          << QStringLiteral("02 Jan 2023");
    QTest::newRow("no pattern") << QVariant(3) << QString() << QStringLiteral("3");
}

void TestDisplayFormat::value()
{
    QFETCH(QVariant, value);
    QFETCH(QString, pattern);
    QFETCH(QString, expected);
    QCOMPARE(format::value(value, pattern), expected);
}

QTEST_GUILESS_MAIN(TestDisplayFormat)
#include "tst_displayformat.moc"
