// Reading ISC codes out of status vectors: every cluster kind must be
// stepped over by its own width, or later codes are lost or invented.
#include "data/fb/Error.h"

#include <firebird/Interface.h>

#include <QTest>

#include <vector>

using namespace corvadel::fb;

Q_DECLARE_METATYPE(std::vector<long>)

class TestFbError : public QObject
{
    Q_OBJECT

private slots:
    void codes_data();
    void codes();
    void clientBuiltErrorHasLibraryMessage();
};

namespace {
const char text[] = "T";
const intptr_t textArg = reinterpret_cast<intptr_t>(text);
} // namespace

void TestFbError::codes_data()
{
    QTest::addColumn<std::vector<intptr_t>>("vector");
    QTest::addColumn<std::vector<long>>("expected");

    QTest::newRow("empty") << std::vector<intptr_t>{isc_arg_end} << std::vector<long>{};
    QTest::newRow("codes after string arguments")
        << std::vector<intptr_t>{isc_arg_gds, isc::uniqueKeyViolation, isc_arg_string, textArg,
                                 isc_arg_string, textArg, isc_arg_end}
        << std::vector<long>{isc::uniqueKeyViolation};
    QTest::newRow("numbers count as codes")
        << std::vector<intptr_t>{isc_arg_gds, isc::lockConflict, isc_arg_gds, isc::concurrentTransaction,
                                 isc_arg_number, 1234, isc_arg_end}
        << std::vector<long>{isc::lockConflict, isc::concurrentTransaction, 1234};
    QTest::newRow("counted string takes two values")
        << std::vector<intptr_t>{isc_arg_gds, isc::deadlock, isc_arg_cstring, 1, textArg,
                                 isc_arg_gds, isc::updateConflict, isc_arg_end}
        << std::vector<long>{isc::deadlock, isc::updateConflict};
    QTest::newRow("SQL state and OS error skipped")
        << std::vector<intptr_t>{isc_arg_gds, isc::connectionLost, isc_arg_sql_state, textArg,
                                 isc_arg_unix, 111, isc_arg_gds, isc::networkError, isc_arg_end}
        << std::vector<long>{isc::connectionLost, isc::networkError};
}

void TestFbError::codes()
{
    QFETCH(std::vector<intptr_t>, vector);
    QFETCH(std::vector<long>, expected);

    QCOMPARE(statusCodes(vector.data()), expected);
}

void TestFbError::clientBuiltErrorHasLibraryMessage()
{
    const Error error = Error::fromCodes({isc::arithmeticException, isc::numericOutOfRange});
    QVERIFY(error.hasCode(isc::numericOutOfRange));
    QVERIFY(!error.hasCode(isc::stringTruncation));
    // The library's own text, not a number or an empty string.
    QVERIFY2(error.message().contains(QStringLiteral("out of range")), qPrintable(error.message()));
    QCOMPARE(QString::fromStdString(error.what()), error.message());
}

QTEST_GUILESS_MAIN(TestFbError)
#include "tst_fberror.moc"
