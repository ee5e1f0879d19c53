// Blobs against the real server: contents of any size come back byte for
// byte, whichever way they went in, and are written in the transaction that
// stores them.
#include "data/fb/Attachment.h"
#include "data/fb/Blob.h"
#include "data/fb/Error.h"
#include "data/fb/Script.h"
#include "data/fb/Statement.h"
#include "data/fb/Transaction.h"
#include "support/TestDatabase.h"

#include <QRandomGenerator>
#include <QTest>

#include <memory>

using namespace corvadel::fb;
using corvadel::test::TestDatabase;

class TestBlob : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void roundTrip_data();
    void roundTrip();
    void textGoesInAsUtf8();
    void nullBlobIsNull();
    void blobIsWrittenInTheExecutingTransaction();
    void everyExecutionStoresItsOwnCopy();

private:
    QByteArray stored(int id, const QString &column);
    int nextId() { return ++m_lastId; }

    std::unique_ptr<TestDatabase> m_db;
    int m_lastId = 0;
};

namespace {

QByteArray randomBytes(qsizetype size)
{
    QByteArray data(size, Qt::Uninitialized);
    QRandomGenerator generator(20240229);
    for (qsizetype i = 0; i < size; ++i)
        data[i] = char(generator.bounded(256));
    return data;
}

const QString utf8Sample = QStringLiteral("Grüße, Καλημέρα, 日本語, \U0001D11E — line\nnext line\n");

} // namespace

void TestBlob::initTestCase()
{
    CORVADEL_REQUIRE_SERVER();
    m_db = std::make_unique<TestDatabase>();
    executeScript(m_db->attachment(), QStringLiteral(
        "create table DOCS (ID integer not null primary key,"
        " TXT blob sub_type text character set UTF8, BIN blob sub_type binary);"));
}

void TestBlob::cleanupTestCase()
{
    m_db.reset();
}

QByteArray TestBlob::stored(int id, const QString &column)
{
    Attachment att = m_db->connect();
    Transaction transaction(att);
    transaction.start();
    Statement select(att, transaction, QStringLiteral("select %1 from DOCS where ID = :ID").arg(column));
    select.setValue(QStringLiteral("ID"), id);
    select.execute(transaction);
    if (!select.hasRow() || select.isNull(0))
        return QByteArray();
    const QVariant value = select.value(0);
    if (value.metaType() != QMetaType::fromType<BlobId>())
        return QByteArray("not a blob id");
    return readBlob(att, transaction, value.value<BlobId>().id);
}

void TestBlob::roundTrip_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("writtenFirst"); // writeBlob, then the id as parameter

    const QByteArray text = utf8Sample.toUtf8();
    QByteArray bigText;
    while (bigText.size() < 3 * 1024 * 1024)
        bigText += text;

    QTest::newRow("UTF-8 text") << "TXT" << text << false;
    QTest::newRow("UTF-8 text, written first") << "TXT" << text << true;
    QTest::newRow("empty") << "BIN" << QByteArray("") << false;
    QTest::newRow("one whole segment") << "BIN" << randomBytes(65535) << false;
    QTest::newRow("one byte past a segment") << "BIN" << randomBytes(65536) << true;
    QTest::newRow("several megabytes of bytes") << "BIN" << randomBytes(5 * 1024 * 1024 + 17) << false;
    QTest::newRow("several megabytes of bytes, written first")
        << "BIN" << randomBytes(4 * 1024 * 1024 + 3) << true;
    QTest::newRow("megabytes of UTF-8 text") << "TXT" << bigText << false;
}

void TestBlob::roundTrip()
{
    QFETCH(QString, column);
    QFETCH(QByteArray, data);
    QFETCH(bool, writtenFirst);

    Attachment &att = m_db->attachment();
    Transaction transaction(att);
    transaction.start();
    const int id = nextId();
    Statement insert(att, transaction, QStringLiteral("insert into DOCS (ID, %1) values (:ID, :B)").arg(column));
    insert.setValue(QStringLiteral("ID"), id);
    if (writtenFirst)
        insert.setValue(QStringLiteral("B"), QVariant::fromValue(BlobId{writeBlob(att, transaction, data)}));
    else
        insert.setValue(QStringLiteral("B"), data);
    insert.execute(transaction);
    transaction.commit();

    const QByteArray back = stored(id, column);
    QCOMPARE(back.size(), data.size());
    QVERIFY(back == data);
    QVERIFY(!back.isNull());
}

void TestBlob::textGoesInAsUtf8()
{
    Attachment &att = m_db->attachment();
    Transaction transaction(att);
    transaction.start();
    const int id = nextId();
    Statement insert(att, transaction, QStringLiteral("insert into DOCS (ID, TXT) values (:ID, :B)"));
    insert.setValue(QStringLiteral("ID"), id);
    insert.setValue(QStringLiteral("B"), utf8Sample);
    insert.execute(transaction);

    // The server reads the text as text: its character length, not bytes.
    Statement length(att, transaction, QStringLiteral("select char_length(TXT) from DOCS where ID = :ID"));
    length.setValue(QStringLiteral("ID"), id);
    length.execute(transaction);
    QCOMPARE(length.value(0).toLongLong(), qlonglong(utf8Sample.toUcs4().size()));
    transaction.commit();

    QCOMPARE(QString::fromUtf8(stored(id, QStringLiteral("TXT"))), utf8Sample);
}

void TestBlob::nullBlobIsNull()
{
    Attachment &att = m_db->attachment();
    Transaction transaction(att);
    transaction.start();
    const int id = nextId();
    Statement insert(att, transaction, QStringLiteral("insert into DOCS (ID, TXT, BIN) values (:ID, :T, :B)"));
    insert.setValue(QStringLiteral("ID"), id);
    insert.setValue(QStringLiteral("T"), QVariant());
    insert.setValue(QStringLiteral("B"), QByteArray());
    insert.execute(transaction);

    Statement select(att, transaction, QStringLiteral("select TXT, BIN from DOCS where ID = :ID"));
    select.setValue(QStringLiteral("ID"), id);
    select.execute(transaction);
    QVERIFY(select.isNull(0));
    QVERIFY(select.isNull(1));
    QVERIFY(!select.value(0).isValid());
    transaction.rollback();
}

void TestBlob::blobIsWrittenInTheExecutingTransaction()
{
    Attachment &att = m_db->attachment();
    Transaction preparing(att);
    preparing.start();
    Statement insert(att, preparing, QStringLiteral("insert into DOCS (ID, TXT) values (:ID, :B)"));
    const int id = nextId();
    insert.setValue(QStringLiteral("ID"), id);
    insert.setValue(QStringLiteral("B"), QByteArray("stored by the other one"));

    Transaction executing(att);
    executing.start();
    insert.execute(executing);
    executing.commit();
    preparing.rollback(); // must not take the blob with it

    QCOMPARE(stored(id, QStringLiteral("TXT")), QByteArray("stored by the other one"));
}

void TestBlob::everyExecutionStoresItsOwnCopy()
{
    // The blob set once is written again by each execution: the second one
    // must not lean on the blob of the first, which is rolled back.
    Attachment &att = m_db->attachment();
    Transaction first(att);
    first.start();
    Statement insert(att, first, QStringLiteral("insert into DOCS (ID, BIN) values (:ID, :B)"));
    insert.setValue(QStringLiteral("B"), QByteArray("same content"));
    insert.setValue(QStringLiteral("ID"), nextId());
    insert.execute(first);
    first.rollback();

    Transaction second(att);
    second.start();
    const int id = nextId();
    insert.setValue(QStringLiteral("ID"), id);
    insert.execute(second);
    second.commit();

    QCOMPARE(stored(id, QStringLiteral("BIN")), QByteArray("same content"));
}

QTEST_GUILESS_MAIN(TestBlob)
#include "tst_blob.moc"
