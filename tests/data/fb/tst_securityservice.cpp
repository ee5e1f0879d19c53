// Server accounts through the security service, checked by what the server
// then does: an account that was added can log in, a changed password is the
// only one that works, a deleted account cannot log in any more.
#include "data/fb/Attachment.h"
#include "data/fb/Error.h"
#include "data/fb/SecurityService.h"
#include "support/TestDatabase.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QTest>

#include <functional>
#include <memory>

using namespace corvadel::fb;
using corvadel::test::TestDatabase;

Q_DECLARE_METATYPE(std::function<void(SecurityService &)>)

class TestSecurityService : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void cleanupTestCase();

    void addedAccountLogsInAndReadsBack();
    void modifyChangesOnlyWhatIsSent();
    void deletedAccountCannotLogIn();
    void addingAnExistingAccountIsRefusedByTheServer();
    void badUserNameIsRefusedBeforeTheServer_data();
    void badUserNameIsRefusedBeforeTheServer();
    void wrongAdministratorPasswordIsReported();

private:
    SecurityService service() const
    {
        return SecurityService(TestDatabase::serverHost(), TestDatabase::adminUser(), TestDatabase::adminPassword());
    }
    // A fresh account name, remembered for removal after the test.
    QString newUserName();
    bool canLogIn(const QString &user, const QString &password);

    std::unique_ptr<TestDatabase> m_db;
    QStringList m_created;
};

void TestSecurityService::initTestCase()
{
    CORVADEL_REQUIRE_SERVER();
    m_db = std::make_unique<TestDatabase>();
}

void TestSecurityService::cleanup()
{
    SecurityService admin = service();
    for (const QString &user : std::as_const(m_created)) {
        try {
            admin.deleteUser(user);
        } catch (const Error &) {
            // already gone: the test deleted it
        }
    }
    m_created.clear();
}

void TestSecurityService::cleanupTestCase()
{
    m_db.reset();
}

QString TestSecurityService::newUserName()
{
    const QString name = QStringLiteral("CVLTEST_%1_%2")
                             .arg(QCoreApplication::applicationPid())
                             .arg(QRandomGenerator::global()->bounded(1000000));
    m_created.append(name);
    return name;
}

bool TestSecurityService::canLogIn(const QString &user, const QString &password)
{
    try {
        Attachment att = Attachment::attach(m_db->connectionString(), user, password);
        return att.isConnected();
    } catch (const Error &error) {
        if (!error.hasCode(isc::loginFailed))
            throw;
        return false;
    }
}

void TestSecurityService::addedAccountLogsInAndReadsBack()
{
    const QString name = newUserName();
    UserAccount account;
    account.userName = name;
    account.password = QStringLiteral("Secret1");
    account.firstName = QStringLiteral("Jörg");
    account.middleName = QStringLiteral("");
    account.lastName = QStringLiteral("Καλός");
    account.userId = 4242;
    account.groupId = 0;
    service().addUser(account);

    // The add has finished when the call returns: the account works at once.
    QVERIFY(canLogIn(name, QStringLiteral("Secret1")));
    QVERIFY(!canLogIn(name, QStringLiteral("secret1")));

    const UserAccount shown = service().displayUser(name.toLower());
    QCOMPARE(shown.userName, name);
    QCOMPARE(shown.firstName.value_or(QString()), QStringLiteral("Jörg"));
    QCOMPARE(shown.middleName.value_or(QString()), QString());
    QCOMPARE(shown.lastName.value_or(QString()), QStringLiteral("Καλός"));
    QCOMPARE(shown.userId.value_or(-1), 4242);
    QVERIFY(!shown.password.has_value());
}

void TestSecurityService::modifyChangesOnlyWhatIsSent()
{
    const QString name = newUserName();
    service().addUser({name, 7, 0, QStringLiteral("Old-pass"), QStringLiteral("Ann"), std::nullopt,
                       QStringLiteral("Smith")});

    // Empty texts are not sent, so they change nothing.
    UserAccount change;
    change.userName = name;
    change.password = QStringLiteral("New-pass");
    change.firstName = QStringLiteral("");
    change.lastName = QStringLiteral("Jones");
    service().modifyUser(change);

    QVERIFY(!canLogIn(name, QStringLiteral("Old-pass")));
    QVERIFY(canLogIn(name, QStringLiteral("New-pass")));
    const UserAccount shown = service().displayUser(name);
    QCOMPARE(shown.firstName.value_or(QString()), QStringLiteral("Ann"));
    QCOMPARE(shown.lastName.value_or(QString()), QStringLiteral("Jones"));
    QCOMPARE(shown.userId.value_or(-1), 7);

    // An empty password is not sent either: the password stays.
    change.password = QStringLiteral("");
    change.lastName = std::nullopt;
    service().modifyUser(change);
    QVERIFY(canLogIn(name, QStringLiteral("New-pass")));
}

void TestSecurityService::deletedAccountCannotLogIn()
{
    const QString name = newUserName();
    service().addUser({name, std::nullopt, std::nullopt, QStringLiteral("Gone-soon"), std::nullopt,
                       std::nullopt, std::nullopt});
    QVERIFY(canLogIn(name, QStringLiteral("Gone-soon")));

    service().deleteUser(name);
    QVERIFY(!canLogIn(name, QStringLiteral("Gone-soon")));
    try {
        service().displayUser(name);
        QFAIL("a deleted account is still displayed");
    } catch (const Error &error) {
        QVERIFY2(error.hasCode(isc::userNameNotFound), qPrintable(error.message()));
    }
    try {
        service().deleteUser(name);
        QFAIL("a deleted account was deleted again");
    } catch (const Error &error) {
        QVERIFY2(error.hasCode(isc::userNameNotFound), qPrintable(error.message()));
    }
}

void TestSecurityService::addingAnExistingAccountIsRefusedByTheServer()
{
    const QString name = newUserName();
    const UserAccount account{name, std::nullopt, std::nullopt, QStringLiteral("First-1"),
                              std::nullopt, std::nullopt, std::nullopt};
    service().addUser(account);
    UserAccount again = account;
    again.password = QStringLiteral("Second-2");
    try {
        service().addUser(again);
        QFAIL("the server took the same account twice");
    } catch (const InvalidUserName &) {
        QFAIL("refused by the client, not the server");
    } catch (const Error &error) {
        QVERIFY2(!error.codes().empty(), qPrintable(error.message()));
    }
    QVERIFY(canLogIn(name, QStringLiteral("First-1")));
}

void TestSecurityService::badUserNameIsRefusedBeforeTheServer_data()
{
    using Call = std::function<void(SecurityService &)>;
    QTest::addColumn<Call>("call");

    const auto account = [](const QString &name) {
        return UserAccount{name, std::nullopt, std::nullopt, QStringLiteral("pw"),
                           std::nullopt, std::nullopt, std::nullopt};
    };
    QTest::newRow("add: blank inside") << Call([=](SecurityService &s) { s.addUser(account("TWO WORDS")); });
    QTest::newRow("add: trailing blank") << Call([=](SecurityService &s) { s.addUser(account("TRAILING ")); });
    QTest::newRow("add: empty") << Call([=](SecurityService &s) { s.addUser(account("")); });
    QTest::newRow("modify: blank inside") << Call([=](SecurityService &s) { s.modifyUser(account("A B")); });
    QTest::newRow("modify: empty") << Call([=](SecurityService &s) { s.modifyUser(account("")); });
    QTest::newRow("delete: empty") << Call([](SecurityService &s) { s.deleteUser(QString()); });
}

void TestSecurityService::badUserNameIsRefusedBeforeTheServer()
{
    QFETCH(std::function<void(SecurityService &)>, call);

    // A server that cannot be reached: any call that got as far as the
    // network would fail differently.
    SecurityService unreachable(QStringLiteral("nowhere.invalid"), TestDatabase::adminUser(),
                                TestDatabase::adminPassword());
    try {
        call(unreachable);
        QFAIL("the name was accepted");
    } catch (const InvalidUserName &error) {
        QVERIFY(error.codes().empty());
        QVERIFY(!error.message().isEmpty());
    }
}

void TestSecurityService::wrongAdministratorPasswordIsReported()
{
    SecurityService wrong(TestDatabase::serverHost(), TestDatabase::adminUser(), QStringLiteral("not-it"));
    try {
        wrong.displayUser(TestDatabase::adminUser());
        QFAIL("the service accepted a wrong administrator password");
    } catch (const Error &error) {
        QVERIFY2(error.hasCode(isc::loginFailed), qPrintable(error.message()));
    }
}

QTEST_GUILESS_MAIN(TestSecurityService)
#include "tst_securityservice.moc"
