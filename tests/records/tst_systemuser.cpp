// The system users and their server accounts, against the real server's
// security service: a posted user writes the account of its name, a deleted
// user removes it. Every account a test creates has a name unique to this
// run and is removed again, also when the test fails.

#include "RecordsWorld.h"

#include "data/Errors.h"
#include "data/fb/Attachment.h"
#include "data/fb/Error.h"
#include "data/fb/SecurityService.h"
#include "records/SystemUser/SystemUserDataSets.h"

#include <QtTest>

using namespace corvadel;
using namespace corvadel::data;
using test::World;

namespace {

QString accountName(const char *suffix)
{
    return QStringLiteral("CVLSU%1%2").arg(QCoreApplication::applicationPid()).arg(QLatin1String(suffix));
}

fb::SecurityService service()
{
    return fb::SecurityService(test::TestDatabase::serverHost(), test::TestDatabase::adminUser(),
                               test::TestDatabase::adminPassword());
}

bool canAttach(World &w, const QString &user, const QString &password)
{
    try {
        fb::Attachment a = fb::Attachment::attach(w.db.connectionString(), user, password);
        a.detach();
        return true;
    } catch (const fb::Error &) {
        return false;
    }
}

bool accountExists(const QString &user)
{
    try {
        service().displayUser(user);
        return true;
    } catch (const fb::Error &e) {
        if (!e.hasCode(fb::isc::userNameNotFound))
            throw;
        return false;
    }
}

void set(Dataset &ds, const char *field, const QVariant &value)
{
    ds.fieldByName(QLatin1String(field))->setValue(value);
}

// Starts a user row as the user window's New does and saves it as its Save
// does: the password typed goes along.
void addUser(World &w, const QString &name, const QString &password)
{
    Dataset &users = w.ds(QStringLiteral("IBDSSystemUser"));
    users.insert();
    set(users, "USER_NAME", name);
    set(users, "FORENAME_FIRST", QStringLiteral("Ada"));
    set(users, "FORENAME_SECOND", QStringLiteral("May"));
    set(users, "SURNAME", QStringLiteral("Byron"));
    set(users, "SYSTEMS_MANAGER", QStringLiteral("No "));
    w.module->newPassword = password;
    w.module->SaveRefDataGroup();
}

void addUserAccount(const QString &name)
{
    fb::UserAccount account;
    account.userName = name;
    account.password = QStringLiteral("Pw-%1").arg(name);
    service().addUser(account);
}

} // namespace

class SystemUserTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { CORVADEL_REQUIRE_SERVER(); }
    void cleanup();

    void newUserCreatesAccount();
    void placeholderPasswordIsNeverSent_data();
    void placeholderPasswordIsNeverSent();
    void renameFailsToModifyAccount();
    void blankInNameRefusesAccount();
    void deleteRemovesRememberedAccount_data();
    void deleteRemovesRememberedAccount();
    void loginCountWritesNamesToAccount();
    void abandonedNewUserLeavesNoAddPending_data();
    void abandonedNewUserLeavesNoAddPending();
};

void SystemUserTest::cleanup()
{
    for (const char *suffix : {"A", "B", "R", "L"}) {
        try {
            service().deleteUser(accountName(suffix));
        } catch (const std::exception &) {
        }
    }
}

void SystemUserTest::newUserCreatesAccount()
{
    World w;
    const QString name = accountName("A");
    QCOMPARE(w.module->serviceUserName, test::TestDatabase::adminUser());
    Dataset &users = w.ds(QStringLiteral("IBDSSystemUser"));
    users.insert();
    QVERIFY(w.module->newUser);
    const int id = users.fieldByName(QStringLiteral("USER_ID"))->asInteger();
    QVERIFY(id > 0);
    users.cancel();
    addUser(w, name, QStringLiteral("Pw-%1").arg(id));

    QCOMPARE(users.state(), DataSetState::Browse);
    QVERIFY(!w.module->newUser);
    QVERIFY(!w.module->pendingChanges(Group::RefData));
    QCOMPARE(w.module->serviceUserName, name);
    const int rowId = users.fieldByName(QStringLiteral("USER_ID"))->asInteger();
    const fb::UserAccount account = service().displayUser(name);
    QCOMPARE(account.userId, std::optional<int>(rowId));
    QCOMPARE(account.groupId, std::optional<int>(0));
    QCOMPARE(account.firstName, std::optional<QString>(QStringLiteral("Ada")));
    QCOMPARE(account.middleName, std::optional<QString>(QStringLiteral("May")));
    QCOMPARE(account.lastName, std::optional<QString>(QStringLiteral("Byron")));
    QVERIFY(canAttach(w, name, QStringLiteral("Pw-%1").arg(id)));
    QVERIFY(!canAttach(w, name, QStringLiteral("Password")));
}

void SystemUserTest::placeholderPasswordIsNeverSent_data()
{
    QTest::addColumn<QString>("newPassword");
    QTest::newRow("the boxes' starting text") << "Password";
    QTest::newRow("empty") << "";
}

void SystemUserTest::placeholderPasswordIsNeverSent()
{
    QFETCH(QString, newPassword);
    World w;
    const QString name = accountName("B");
    addUser(w, name, QStringLiteral("First-pw1"));
    QVERIFY(canAttach(w, name, QStringLiteral("First-pw1")));

    Dataset &users = w.ds(QStringLiteral("IBDSSystemUser"));
    users.edit();
    set(users, "SURNAME", QStringLiteral("King"));
    w.module->newPassword = newPassword;
    w.module->SaveRefDataGroup();

    QCOMPARE(service().displayUser(name).lastName, std::optional<QString>(QStringLiteral("King")));
    QVERIFY(canAttach(w, name, QStringLiteral("First-pw1")));
    QVERIFY(!canAttach(w, name, QStringLiteral("Password")));
}

void SystemUserTest::renameFailsToModifyAccount()
{
    World w;
    const QString name = accountName("A");
    const QString renamed = accountName("R");
    addUser(w, name, QStringLiteral("Pw-rename1"));
    Dataset &users = w.ds(QStringLiteral("IBDSSystemUser"));
    users.edit();
    set(users, "USER_NAME", renamed);
    w.module->newPassword = QStringLiteral("Password");
    try {
        w.module->SaveRefDataGroup();
        QFAIL("the account of a renamed user was modified");
    } catch (const fb::Error &e) {
        QVERIFY(e.hasCode(fb::isc::userNameNotFound));
    }
    // The row was posted; the save stopped before its commit.
    QCOMPARE(users.state(), DataSetState::Browse);
    QCOMPARE(users.fieldByName(QStringLiteral("USER_NAME"))->asString(), renamed);
    QVERIFY(w.module->pendingChanges(Group::RefData));
    QCOMPARE(test::scalar(w.db.attachment(),
                          QStringLiteral("select count(*) from SYSTEM_USER where USER_NAME = '%1'").arg(renamed)), 0);
    QVERIFY(!accountExists(renamed));
    QVERIFY(accountExists(name));
    QVERIFY(!w.module->newUser);
}

void SystemUserTest::blankInNameRefusesAccount()
{
    World w;
    const QString name = accountName("A") + QStringLiteral(" X");
    Dataset &users = w.ds(QStringLiteral("IBDSSystemUser"));
    try {
        addUser(w, name, QStringLiteral("Pw-blank1"));
        QFAIL("an account name with a blank was accepted");
    } catch (const fb::Error &) {
    }
    // The row is posted all the same; the flag stays up so the next post
    // tries the add again.
    QCOMPARE(users.state(), DataSetState::Browse);
    QCOMPARE(users.fieldByName(QStringLiteral("USER_NAME"))->asString(), name);
    QVERIFY(w.module->newUser);
}

void SystemUserTest::deleteRemovesRememberedAccount_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("Yes") << true;
    QTest::newRow("No") << false;
}

void SystemUserTest::deleteRemovesRememberedAccount()
{
    QFETCH(bool, yes);
    World w;
    const QString name = accountName("A");
    addUser(w, name, QStringLiteral("Pw-delete1"));
    // Another user is written since, so only the remembered name can lead the
    // deletion to the right account.
    addUser(w, accountName("B"), QStringLiteral("Pw-delete2"));
    QCOMPARE(w.module->serviceUserName, accountName("B"));
    Dataset &users = w.ds(QStringLiteral("IBDSSystemUser"));
    QVERIFY(users.locate(QStringLiteral("USER_NAME"), name));
    const int rows = users.recordCount();
    w.module->deletingUserName = QStringLiteral("NOBODY");

    w.prompt.answer(yes);
    if (yes) {
        users.deleteRecord();
    } else {
        QVERIFY_THROWS_EXCEPTION(Abort, users.deleteRecord());
    }
    QCOMPARE(w.prompt.confirmations, QStringList{QStringLiteral("Are you sure you want to delete %1 ?").arg(name)});
    QCOMPARE(users.recordCount(), yes ? rows - 1 : rows);
    QCOMPARE(accountExists(name), !yes);
    QVERIFY(accountExists(accountName("B")));
    QCOMPARE(w.module->deletingUserName, yes ? name : QStringLiteral("NOBODY"));
    QCOMPARE(w.module->serviceUserName, yes ? name : accountName("B"));
    QVERIFY(!w.module->newUser);
}

void SystemUserTest::loginCountWritesNamesToAccount()
{
    const QString name = accountName("L");
    // An account whose names differ from the user's row.
    fb::UserAccount account;
    account.userName = name;
    account.password = QStringLiteral("Pw-login1");
    account.firstName = QStringLiteral("Old");
    account.lastName = QStringLiteral("Name");
    service().addUser(account);
    World w(QStringLiteral(
        "insert into SYSTEM_USER (USER_ID, USER_NAME, FORENAME_FIRST, SURNAME, NBR_LOGINS, SYSTEMS_MANAGER) "
        "values (900081, '%1', 'Grace', 'Hopper', 4, 'Yes');\ncommit;\n").arg(name));

    // What the login does for a user with a row: count and save.
    Dataset &users = w.ds(QStringLiteral("IBDSSystemUser"));
    QVERIFY(users.locate(QStringLiteral("USER_NAME"), name));
    users.edit();
    set(users, "NBR_LOGINS", users.fieldByName(QStringLiteral("NBR_LOGINS"))->asInteger() + 1);
    set(users, "LAST_LOGIN_DATE", QDate::currentDate());
    w.module->SaveRefDataGroup();

    const fb::UserAccount written = service().displayUser(name);
    QCOMPARE(written.firstName, std::optional<QString>(QStringLiteral("Grace")));
    QCOMPARE(written.lastName, std::optional<QString>(QStringLiteral("Hopper")));
    QCOMPARE(written.userId, std::optional<int>(900081));
    // The new password is empty until a user window sets one: not sent.
    QVERIFY(canAttach(w, name, QStringLiteral("Pw-login1")));
    QCOMPARE(test::scalar(w.db.attachment(),
                          QStringLiteral("select NBR_LOGINS from SYSTEM_USER where USER_ID = 900081")), 5);
    QCOMPARE(w.module->serviceUserName, name);
}

// A new user row given up (cancelled, or posted with a refused account and
// then rolled back) must not turn the next post of an existing user into an
// attempt to add an account that already exists.
void SystemUserTest::abandonedNewUserLeavesNoAddPending_data()
{
    QTest::addColumn<bool>("postedFirst");
    QTest::newRow("cancelled before any post") << false;
    QTest::newRow("refused account, group cancelled") << true;
}

void SystemUserTest::abandonedNewUserLeavesNoAddPending()
{
    QFETCH(bool, postedFirst);
    const QString name = accountName("B");
    addUserAccount(name);
    World w(QStringLiteral(
        "insert into SYSTEM_USER (USER_ID, USER_NAME, FORENAME_FIRST, SURNAME) values (900082, '%1', 'Alan', 'Kay');\n"
        "commit;\n").arg(name));
    Dataset &users = w.ds(QStringLiteral("IBDSSystemUser"));
    users.insert();
    if (postedFirst) {
        set(users, "USER_NAME", QStringLiteral("HAS BLANK"));
        set(users, "FORENAME_FIRST", QStringLiteral("No"));
        set(users, "SURNAME", QStringLiteral("Account"));
        QVERIFY_THROWS_EXCEPTION(fb::Error, w.module->SaveRefDataGroup());
        w.module->CancelRefDataGroup();
    } else {
        users.cancel();
    }
    QVERIFY(!w.module->newUser);

    QVERIFY(users.locate(QStringLiteral("USER_NAME"), name));
    users.edit();
    set(users, "SURNAME", QStringLiteral("Turing"));
    w.module->SaveRefDataGroup();   // modifies the existing account
    QCOMPARE(service().displayUser(name).lastName, std::optional<QString>(QStringLiteral("Turing")));
}

QTEST_GUILESS_MAIN(SystemUserTest)
#include "tst_systemuser.moc"
