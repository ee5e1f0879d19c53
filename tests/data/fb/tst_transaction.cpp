// Transactions against the real server: isolation as asked for, several at
// once on one attachment, waiting and not waiting on locks, the retaining
// commit and rollback, and the error codes of refused changes.
#include "data/fb/Attachment.h"
#include "data/fb/Error.h"
#include "data/fb/Script.h"
#include "data/fb/Statement.h"
#include "data/fb/Transaction.h"
#include "support/TestDatabase.h"

#include <QTest>
#include <QThread>

#include <future>
#include <memory>
#include <optional>

using namespace corvadel::fb;
using corvadel::test::TestDatabase;

Q_DECLARE_METATYPE(corvadel::fb::TransactionOptions)

namespace {

TransactionOptions readCommittedWait()
{
    TransactionOptions options;
    options.readCommitted = true;
    options.recVersion = true;
    return options;
}

int scalar(Attachment &att, Transaction &transaction, const QString &sql)
{
    Statement statement(att, transaction, sql);
    statement.execute(transaction);
    return statement.value(0).toInt();
}

void exec(Attachment &att, Transaction &transaction, const QString &sql)
{
    Statement statement(att, transaction, sql);
    statement.execute(transaction);
}

} // namespace

class TestTransaction : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void isolationFollowsOptions_data();
    void isolationFollowsOptions();
    void readOnlyRefusesWrites();
    void transactionsOfOneAttachmentAreIndependent();
    void noWaitFailsAtOnceOnLockConflict_data();
    void noWaitFailsAtOnceOnLockConflict();
    void waitingTransactionWaitsForTheOther_data();
    void waitingTransactionWaitsForTheOther();
    void cursorSurvivesRetainingEnd_data();
    void cursorSurvivesRetainingEnd();
    void rollbackRetainingUndoesAndStaysActive();
    void destroyedTransactionRollsBack();
    void violationsReportTheirCodes_data();
    void violationsReportTheirCodes();
    void wrongPasswordIsRefused();
    void detachWithActiveTransactionFails();
    void handlesOutliveTheirAttachment();

private:
    std::unique_ptr<TestDatabase> m_db;
};

void TestTransaction::initTestCase()
{
    CORVADEL_REQUIRE_SERVER();
    m_db = std::make_unique<TestDatabase>();
    executeScript(m_db->attachment(), QStringLiteral(
        "create table ITEMS (ID integer not null primary key, NAME varchar(40));\n"
        "create table NAMED (ID integer not null primary key, NAME varchar(40),"
        " constraint NAMED_NAME unique (NAME));\n"
        "create table INDEXED (ID integer not null, CODE varchar(10));\n"
        "create unique index INDEXED_CODE on INDEXED (CODE);\n"
        "create table PARENT (ID integer not null primary key);\n"
        "create table CHILD (ID integer not null primary key,"
        " PARENT_ID integer references PARENT (ID));\n"
        "create table BIG (ID integer not null primary key, PAD varchar(200));\n"
        "set term ^ ;\n"
        "execute block as declare i integer = 0; begin\n"
        "  while (i < 3000) do begin\n"
        "    insert into BIG (ID, PAD) values (:i, lpad('', 200, 'x')); i = i + 1;\n"
        "  end\n"
        "end^\n"
        "set term ; ^\n"));
}

void TestTransaction::init()
{
    // Each test starts from one committed row in ITEMS.
    Transaction transaction(m_db->attachment());
    transaction.start();
    exec(m_db->attachment(), transaction, QStringLiteral("delete from ITEMS"));
    exec(m_db->attachment(), transaction, QStringLiteral("insert into ITEMS (ID, NAME) values (1, 'first')"));
    transaction.commit();
}

void TestTransaction::cleanupTestCase()
{
    m_db.reset();
}

void TestTransaction::isolationFollowsOptions_data()
{
    QTest::addColumn<TransactionOptions>("options");
    QTest::addColumn<bool>("seesLaterCommit");

    QTest::newRow("server default: snapshot") << TransactionOptions::serverDefault() << false;
    QTest::newRow("read committed, no wait") << TransactionOptions::readCommittedNoWait() << true;
    QTest::newRow("read committed, wait") << readCommittedWait() << true;
}

void TestTransaction::isolationFollowsOptions()
{
    QFETCH(TransactionOptions, options);
    QFETCH(bool, seesLaterCommit);

    Attachment &att = m_db->attachment();
    Transaction reader(att, options);
    reader.start();
    const QString count = QStringLiteral("select count(*) from ITEMS");
    QCOMPARE(scalar(att, reader, count), 1);

    Transaction writer(att);
    writer.start();
    exec(att, writer, QStringLiteral("insert into ITEMS (ID, NAME) values (2, 'second')"));
    QCOMPARE(scalar(att, reader, count), 1); // never sees uncommitted work
    writer.commit();

    QCOMPARE(scalar(att, reader, count), seesLaterCommit ? 2 : 1);
}

void TestTransaction::readOnlyRefusesWrites()
{
    TransactionOptions options;
    options.readOnly = true;
    Transaction transaction(m_db->attachment(), options);
    transaction.start();
    QVERIFY_THROWS_EXCEPTION(Error, exec(m_db->attachment(), transaction,
                                         QStringLiteral("update ITEMS set NAME = 'x'")));
    QCOMPARE(scalar(m_db->attachment(), transaction, QStringLiteral("select count(*) from ITEMS")), 1);
}

void TestTransaction::transactionsOfOneAttachmentAreIndependent()
{
    Attachment &att = m_db->attachment();
    Transaction first(att, TransactionOptions::readCommittedNoWait());
    Transaction second(att, TransactionOptions::readCommittedNoWait());
    first.start();
    second.start();
    QVERIFY(first.handle() != second.handle());

    exec(att, first, QStringLiteral("insert into ITEMS (ID, NAME) values (10, 'first''s')"));
    exec(att, second, QStringLiteral("insert into ITEMS (ID, NAME) values (20, 'second''s')"));
    second.rollback();
    first.commit();
    QVERIFY(!first.isActive());
    QVERIFY(!second.isActive());

    Transaction check(att);
    check.start();
    QCOMPARE(scalar(att, check, QStringLiteral("select count(*) from ITEMS where ID = 10")), 1);
    QCOMPARE(scalar(att, check, QStringLiteral("select count(*) from ITEMS where ID = 20")), 0);

    // A transaction can be started again after it ended.
    first.start();
    QVERIFY(first.isActive());
}

void TestTransaction::noWaitFailsAtOnceOnLockConflict_data()
{
    QTest::addColumn<bool>("sameAttachment");
    QTest::newRow("other transaction on the same attachment") << true;
    QTest::newRow("other transaction on another attachment") << false;
}

void TestTransaction::noWaitFailsAtOnceOnLockConflict()
{
    QFETCH(bool, sameAttachment);

    Attachment &att = m_db->attachment();
    Transaction holder(att);
    holder.start();
    exec(att, holder, QStringLiteral("update ITEMS set NAME = 'held' where ID = 1"));

    std::optional<Attachment> otherAttachment;
    if (!sameAttachment)
        otherAttachment.emplace(m_db->connect());
    Attachment &mine = sameAttachment ? att : *otherAttachment;
    Transaction noWait(mine, TransactionOptions::readCommittedNoWait());
    noWait.start();
    Statement update(mine, noWait, QStringLiteral("update ITEMS set NAME = :NAME where ID = 1"));
    update.setValue(QStringLiteral("NAME"), QStringLiteral("mine"));
    // Returning at all proves it did not wait: the holder can only end after
    // this call, on this thread.
    try {
        update.execute(noWait);
        QFAIL("the update of a row locked by another transaction succeeded");
    } catch (const Error &error) {
        QVERIFY2(error.isLockConflict(), qPrintable(error.message()));
        // The server's vector: deadlock, update conflict, concurrent
        // transaction; the later codes must be found too.
        QVERIFY2(error.hasCode(isc::updateConflict), qPrintable(error.message()));
        QVERIFY2(error.hasCode(isc::concurrentTransaction), qPrintable(error.message()));
    }

    // The failure leaves the transaction usable: once the lock is gone the
    // same statement goes through.
    QVERIFY(noWait.isActive());
    holder.rollback();
    update.execute(noWait);
    noWait.commit();
    Transaction check(att);
    check.start();
    QCOMPARE(scalar(att, check, QStringLiteral("select count(*) from ITEMS where NAME = 'mine'")), 1);
}

void TestTransaction::waitingTransactionWaitsForTheOther_data()
{
    QTest::addColumn<TransactionOptions>("waiterOptions");
    QTest::addColumn<bool>("otherCommits");
    QTest::addColumn<long>("expectedCode"); // 0: the waiter's update succeeds

    QTest::newRow("server default, other commits: update conflict")
        << TransactionOptions::serverDefault() << true << isc::updateConflict;
    QTest::newRow("server default, other rolls back: update succeeds")
        << TransactionOptions::serverDefault() << false << 0L;
    // Firebird 3 does not retry a read-committed update after the wait.
    QTest::newRow("read committed wait, other commits: update conflict")
        << readCommittedWait() << true << isc::updateConflict;
    QTest::newRow("read committed wait, other rolls back: update succeeds")
        << readCommittedWait() << false << 0L;
}

void TestTransaction::waitingTransactionWaitsForTheOther()
{
    QFETCH(TransactionOptions, waiterOptions);
    QFETCH(bool, otherCommits);
    QFETCH(long, expectedCode);

    Attachment holderAttachment = m_db->connect();
    Transaction holder(holderAttachment);
    holder.start();
    exec(holderAttachment, holder, QStringLiteral("update ITEMS set NAME = 'holder' where ID = 1"));

    // The waiter runs on its own attachment in a thread of its own, tells
    // which attachment it is, then blocks in its update.
    struct Outcome
    {
        std::vector<long> codes;
        QString message;
    };
    std::promise<qint64> attachmentId;
    std::future<qint64> attachmentIdKnown = attachmentId.get_future();
    std::future<Outcome> waiter = std::async(std::launch::async, [&]() -> Outcome {
        bool told = false;
        try {
            Attachment att = m_db->connect();
            Transaction transaction(att, waiterOptions);
            transaction.start();
            Statement who(att, transaction, QStringLiteral("select current_connection from rdb$database"));
            who.execute(transaction);
            attachmentId.set_value(who.value(0).toLongLong());
            told = true;
            exec(att, transaction, QStringLiteral("update ITEMS set NAME = 'waiter' where ID = 1"));
            transaction.commit();
            return {};
        } catch (const Error &error) {
            if (!told)
                attachmentId.set_exception(std::current_exception());
            return {error.codes(), error.message()};
        }
    });

    // Wait until the server shows the waiter's update as running, i.e.
    // blocked on the row lock; a waiter that does not wait ends instead.
    const qint64 waiterId = attachmentIdKnown.get();
    bool blocked = false;
    while (!blocked) {
        if (waiter.wait_for(std::chrono::seconds(0)) == std::future_status::ready)
            QFAIL(qPrintable(QStringLiteral("the waiter did not wait: ") + waiter.get().message));
        Transaction look(m_db->attachment());
        look.start();
        Statement monitor(m_db->attachment(), look, QStringLiteral(
            "select count(*) from MON$STATEMENTS where MON$ATTACHMENT_ID = :ID and MON$STATE = 1"
            " and MON$SQL_TEXT containing 'update ITEMS'"));
        monitor.setValue(QStringLiteral("ID"), waiterId);
        monitor.execute(look);
        blocked = monitor.value(0).toInt() > 0;
        look.commit();
        if (!blocked)
            QThread::msleep(10);
    }

    if (otherCommits)
        holder.commit();
    else
        holder.rollback();
    const Outcome outcome = waiter.get();

    if (expectedCode == 0) {
        QVERIFY2(outcome.codes.empty(), qPrintable(outcome.message));
    } else {
        QVERIFY2(std::find(outcome.codes.begin(), outcome.codes.end(), expectedCode) != outcome.codes.end(),
                 qPrintable(outcome.message));
    }
    Transaction check(m_db->attachment());
    check.start();
    Statement name(m_db->attachment(), check, QStringLiteral("select NAME from ITEMS where ID = 1"));
    name.execute(check);
    QCOMPARE(name.value(0).toString(), expectedCode == 0 ? QStringLiteral("waiter") : QStringLiteral("holder"));
}

void TestTransaction::cursorSurvivesRetainingEnd_data()
{
    QTest::addColumn<QString>("end");
    QTest::addColumn<bool>("keepsFetching");

    QTest::newRow("commitRetaining") << "commitRetaining" << true;
    QTest::newRow("rollbackRetaining") << "rollbackRetaining" << true;
    // The control: a plain commit does close the cursor, so the rows above
    // were not all prefetched before the commit.
    QTest::newRow("commit") << "commit" << false;
}

void TestTransaction::cursorSurvivesRetainingEnd()
{
    QFETCH(QString, end);
    QFETCH(bool, keepsFetching);

    Attachment &att = m_db->attachment();
    Transaction transaction(att);
    transaction.start();
    Statement select(att, transaction, QStringLiteral("select ID, PAD from BIG order by ID"));
    select.openCursor(transaction);
    for (int i = 0; i < 5; ++i)
        QVERIFY(select.fetch());

    if (end == u"commitRetaining")
        transaction.commitRetaining();
    else if (end == u"rollbackRetaining")
        transaction.rollbackRetaining();
    else
        transaction.commit();

    int fetched = 5;
    try {
        while (select.fetch()) {
            QCOMPARE(select.value(0), QVariant(fetched));
            ++fetched;
        }
    } catch (const Error &error) {
        QVERIFY2(!keepsFetching, qPrintable(error.message()));
        return;
    }
    QVERIFY2(keepsFetching, "the cursor went on fetching after a plain commit");
    QCOMPARE(fetched, 3000);
    QVERIFY(transaction.isActive());
}

void TestTransaction::rollbackRetainingUndoesAndStaysActive()
{
    Attachment &att = m_db->attachment();
    Transaction transaction(att);
    transaction.start();
    exec(att, transaction, QStringLiteral("insert into ITEMS (ID, NAME) values (2, 'undone')"));
    transaction.rollbackRetaining();
    QVERIFY(transaction.isActive());
    QCOMPARE(scalar(att, transaction, QStringLiteral("select count(*) from ITEMS")), 1);

    exec(att, transaction, QStringLiteral("insert into ITEMS (ID, NAME) values (3, 'kept')"));
    transaction.commitRetaining();
    QVERIFY(transaction.isActive());

    Attachment other = m_db->connect();
    Transaction check(other);
    check.start();
    QCOMPARE(scalar(other, check, QStringLiteral("select count(*) from ITEMS")), 2);
    QCOMPARE(scalar(other, check, QStringLiteral("select count(*) from ITEMS where ID = 3")), 1);
}

void TestTransaction::destroyedTransactionRollsBack()
{
    Attachment &att = m_db->attachment();
    {
        Transaction transaction(att);
        transaction.start();
        exec(att, transaction, QStringLiteral("insert into ITEMS (ID, NAME) values (2, 'lost')"));
        Transaction moved(std::move(transaction)); // the move carries the work along
        QVERIFY(!transaction.isActive());
        QVERIFY(moved.isActive());
    }
    Transaction check(att);
    check.start();
    QCOMPARE(scalar(att, check, QStringLiteral("select count(*) from ITEMS")), 1);
}

void TestTransaction::violationsReportTheirCodes_data()
{
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QString>("refused");
    QTest::addColumn<long>("code");

    QTest::newRow("primary key")
        << QStringList{} << "insert into ITEMS (ID, NAME) values (1, 'again')" << isc::uniqueKeyViolation;
    QTest::newRow("unique constraint")
        << QStringList{"insert into NAMED (ID, NAME) values (1, 'same')"}
        << "insert into NAMED (ID, NAME) values (2, 'same')" << isc::uniqueKeyViolation;
    QTest::newRow("bare unique index")
        << QStringList{"insert into INDEXED (ID, CODE) values (1, 'A')"}
        << "insert into INDEXED (ID, CODE) values (2, 'A')" << isc::uniqueIndexViolation;
    QTest::newRow("foreign key: missing parent")
        << QStringList{} << "insert into CHILD (ID, PARENT_ID) values (1, 404)" << isc::foreignKeyViolation;
    QTest::newRow("foreign key: parent still referred to")
        << QStringList{"insert into PARENT (ID) values (7)", "insert into CHILD (ID, PARENT_ID) values (1, 7)"}
        << "delete from PARENT where ID = 7" << isc::foreignKeyViolation;
}

void TestTransaction::violationsReportTheirCodes()
{
    QFETCH(QStringList, setup);
    QFETCH(QString, refused);
    QFETCH(long, code);

    Attachment &att = m_db->attachment();
    Transaction transaction(att, TransactionOptions::readCommittedNoWait());
    transaction.start();
    for (const QString &sql : setup)
        exec(att, transaction, sql);
    try {
        exec(att, transaction, refused);
        QFAIL("the server accepted the change");
    } catch (const Error &error) {
        QVERIFY2(error.hasCode(code), qPrintable(error.message()));
    }
    transaction.rollback();
}

void TestTransaction::wrongPasswordIsRefused()
{
    try {
        Attachment::attach(m_db->connectionString(), TestDatabase::adminUser(), QStringLiteral("not-the-password"));
        QFAIL("attached with a wrong password");
    } catch (const Error &error) {
        QVERIFY2(error.hasCode(isc::loginFailed), qPrintable(error.message()));
    }
}

void TestTransaction::detachWithActiveTransactionFails()
{
    Attachment att = m_db->connect();
    QVERIFY(att.isConnected());
    Transaction transaction(att);
    transaction.start();
    exec(att, transaction, QStringLiteral("insert into ITEMS (ID, NAME) values (2, 'open')"));

    QVERIFY_THROWS_EXCEPTION(Error, att.detach());
    QVERIFY(!att.isConnected());
    // The transaction object is still safe to use and to destroy, and says
    // why it cannot commit.
    try {
        transaction.commit();
        QFAIL("committed on a closed connection");
    } catch (const Error &error) {
        QVERIFY2(error.isConnectionLoss(), qPrintable(error.message()));
    }

    Transaction check(m_db->attachment());
    check.start();
    QCOMPARE(scalar(m_db->attachment(), check, QStringLiteral("select count(*) from ITEMS")), 1);
}

void TestTransaction::handlesOutliveTheirAttachment()
{
    std::optional<Statement> statement;
    std::optional<Transaction> transaction;
    {
        Attachment att = m_db->connect();
        transaction.emplace(att);
        transaction->start();
        statement.emplace(att, *transaction, QStringLiteral("select ID from BIG"));
        statement->openCursor(*transaction);
        QVERIFY(statement->fetch());
        transaction->commitRetaining();
        // att goes here with the transaction active: the connection closes.
    }
    QVERIFY_THROWS_EXCEPTION(Error, statement->execute(*transaction));
    statement.reset();
    transaction.reset();
}

QTEST_GUILESS_MAIN(TestTransaction)
#include "tst_transaction.moc"
