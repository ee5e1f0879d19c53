// How field values turn into the text grids and fields show.

#include "data/DisplayFormat.h"
#include "data/FieldDef.h"

#include <QDate>
#include <QLocale>
#include <QTest>

using namespace corvadel::data;

class FieldFormatTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom)); }
    void money_data();
    void money();
    void dates_data();
    void dates();
    void emptyShowsNothing();
};

void FieldFormatTest::money_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("text");
    const QString rate = QStringLiteral("£######0.00");
    QTest::newRow("whole") << 450.0 << rate << QStringLiteral("£450.00");
    QTest::newRow("no grouping") << 1234567.5 << rate << QStringLiteral("£1234567.50");
    QTest::newRow("rounds to two places") << 12.345678 << rate << QStringLiteral("£12.35");
    QTest::newRow("below one keeps a digit") << 0.5 << rate << QStringLiteral("£0.50");
    QTest::newRow("zero") << 0.0 << rate << QStringLiteral("£0.00");
    QTest::newRow("negative puts the sign first") << -250.0 << rate << QStringLiteral("-£250.00");
    QTest::newRow("rounded to zero has no sign") << -0.001 << rate << QStringLiteral("£0.00");
    const QString sheet = QStringLiteral("£#,0.00;-£#,0.00");
    QTest::newRow("grouped") << 1234567.891 << sheet << QStringLiteral("£1,234,567.89");
    QTest::newRow("negative section") << -1250.0 << sheet << QStringLiteral("-£1,250.00");
    QTest::newRow("dollars") << 999.999 << QStringLiteral("$#,0.00;-$#,0.00") << QStringLiteral("$1,000.00");
}

void FieldFormatTest::money()
{
    QFETCH(double, value);
    QFETCH(QString, picture);
    QFETCH(QString, text);
    QCOMPARE(formatFloat(value, picture), text);
    FieldDef rate = format(floatField(QStringLiteral("DAILY_RATE")), picture);
    QCOMPARE(displayText(rate, value), text);
}

void FieldFormatTest::dates_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("text");
    QTest::newRow("abbreviated month") << QStringLiteral("dd mmm yyyy") << QStringLiteral("05 Mar 2026");
    QTest::newRow("full month") << QStringLiteral("dd mmmm yyyy") << QStringLiteral("05 March 2026");
    QTest::newRow("numeric") << QStringLiteral("dd/mm/yy") << QStringLiteral("05/03/26");
}

void FieldFormatTest::dates()
{
    QFETCH(QString, picture);
    QFETCH(QString, text);
    QCOMPARE(formatDate(QDate(2026, 3, 5), picture), text);
    QCOMPARE(displayText(dateField(QStringLiteral("START_DATE"), {}, picture), QDate(2026, 3, 5)), text);
}

void FieldFormatTest::emptyShowsNothing()
{
    QCOMPARE(displayText(currencyField(QStringLiteral("PRJ_CAP_BUDGET")), QVariant()), QString());
    QCOMPARE(displayText(dateField(QStringLiteral("END_DATE"), {}, QStringLiteral("dd mmmm yyyy")), QVariant()), QString());
    QCOMPARE(displayText(integerField(QStringLiteral("ISSUE_NBR")), QVariant()), QString());
    // The platform's currency format for money fields without a picture.
    QCOMPARE(displayText(currencyField(QStringLiteral("PRJ_CAP_BUDGET")), 1000.0), QLocale().toCurrencyString(1000.0));
}

QTEST_GUILESS_MAIN(FieldFormatTest)
#include "tst_fieldformat.moc"
