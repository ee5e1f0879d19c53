// The login window and the login against the real server: the window as a
// user meets it, the systems-manager right, the count of logins in the user's
// SYSTEM_USER row, a failed attempt and the ways out.

#include "AppWorld.h"

#include "data/fb/Error.h"
#include "data/fb/SecurityService.h"

#include <QDate>
#include <QLabel>
#include <QtTest>

using namespace corvadel;
using namespace corvadel::test;

namespace {

const QString FailureText =
    QStringLiteral("Login was unsuccessfull, please try again or contact your System Administrator");

fb::SecurityService accounts()
{
    return fb::SecurityService(TestDatabase::serverHost(), TestDatabase::adminUser(), TestDatabase::adminPassword());
}

QString systemUserRow(int id, const QString &name, const QString &manager, const QString &logins)
{
    return QStringLiteral("insert into SYSTEM_USER (USER_ID, USER_NAME, FORENAME_FIRST, SURNAME, NBR_LOGINS, "
                          "SYSTEMS_MANAGER) values (%1, '%2', 'Test', 'User', %3, %4);\n")
        .arg(id)
        .arg(name, logins, manager.isNull() ? QStringLiteral("null") : QLatin1Char('\'') + manager + QLatin1Char('\''));
}

} // namespace

class LoginTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { CORVADEL_REQUIRE_SERVER(); }
    void cleanup();

    void windowAsTheUserSeesIt();
    void enterInEitherBoxLogsIn_data();
    void enterInEitherBoxLogsIn();
    void administratorInLowerCaseGetsTheRightAndIsNotCounted();
    void systemsManagerRightFollowsTheRow_data();
    void systemsManagerRightFollowsTheRow();
    void twoLoginsCountTwo();
    void wrongPasswordKeepsTheWindowAndTheName();
    void cancelOrCloseBoxEndsTheProgram_data();
    void cancelOrCloseBoxEndsTheProgram();

private:
    // A server account that exists for this test only.
    QString newAccount(const QString &password);
    QStringList m_accounts;
};

QString LoginTest::newAccount(const QString &password)
{
    static int counter = 0;
    const QString name = QStringLiteral("CVLAPP%1X%2").arg(QCoreApplication::applicationPid()).arg(++counter);
    fb::UserAccount account;
    account.userName = name;
    account.password = password;
    accounts().addUser(account);
    m_accounts << name;
    return name;
}

void LoginTest::cleanup()
{
    for (const QString &name : std::as_const(m_accounts)) {
        try {
            accounts().deleteUser(name);
        } catch (const fb::Error &error) {
            qWarning("could not remove the account %s: %s", qPrintable(name), qPrintable(error.message()));
        }
    }
    m_accounts.clear();
}

void LoginTest::windowAsTheUserSeesIt()
{
    AppWorld world;
    app::FrmLogin login(*world.module, {});
    login.show();

    QCOMPARE(login.windowTitle(), QStringLiteral("Ardenmoor Corvadel - Login"));
    QCOMPARE(login.findChild<QLabel *>(QStringLiteral("Label1"))->text(),
             QStringLiteral("Please enter the following details (Case Sensative) to login:"));
    QCOMPARE(login.findChild<QLabel *>(QStringLiteral("Label2"))->text(), QStringLiteral("User Name:"));
    QCOMPARE(login.findChild<QLabel *>(QStringLiteral("Label3"))->text(), QStringLiteral("Password:"));
    auto *loginButton = login.findChild<QPushButton *>(QStringLiteral("Button1"));
    QCOMPARE(loginButton->text(), QStringLiteral("Login"));
    QVERIFY(loginButton->isDefault());
    QCOMPARE(login.findChild<QPushButton *>(QStringLiteral("Button2"))->text(), QStringLiteral("Cancel"));

    // The user name box is first; every letter typed becomes its capital.
    auto *user = login.findChild<QLineEdit *>(QStringLiteral("EditUserName"));
    QCOMPARE(QApplication::focusWidget() == user || login.focusWidget() == user, true);
    QTest::keyClicks(user, QStringLiteral("jSmith_2b"));
    QCOMPARE(user->text(), QStringLiteral("JSMITH_2B"));
    user->setCursorPosition(1);
    QTest::keyClicks(user, QStringLiteral("x"));
    QCOMPARE(user->text(), QStringLiteral("JXSMITH_2B"));
    QCOMPARE(user->cursorPosition(), 2);

    // The password is kept as typed and shown as stars.
    auto *password = login.findChild<QLineEdit *>(QStringLiteral("EditPassword"));
    QTest::keyClicks(password, QStringLiteral("aB3d"));
    QCOMPARE(password->text(), QStringLiteral("aB3d"));
    QCOMPARE(password->displayText(), QStringLiteral("****"));
}

void LoginTest::enterInEitherBoxLogsIn_data()
{
    QTest::addColumn<QString>("box");
    QTest::newRow("in the user name") << QStringLiteral("EditUserName");
    QTest::newRow("in the password") << QStringLiteral("EditPassword");
}

void LoginTest::enterInEitherBoxLogsIn()
{
    QFETCH(QString, box);
    AppWorld world;
    bool connected = false;
    app::FrmLogin login(*world.module, [&] { connected = true; });
    login.show();
    QTest::keyClicks(login.findChild<QLineEdit *>(QStringLiteral("EditUserName")), QStringLiteral("sysdba"));
    QTest::keyClicks(login.findChild<QLineEdit *>(QStringLiteral("EditPassword")), TestDatabase::adminPassword());
    auto *target = login.findChild<QLineEdit *>(box);
    target->setFocus();
    QTest::keyClick(target, Qt::Key_Return);
    QVERIFY(connected);
    QVERIFY(world.module->isConnected());
    QCOMPARE(login.result(), int(QDialog::Accepted));
    QVERIFY(world.ds(QStringLiteral("IBDSProject")).isOpen());
}

void LoginTest::administratorInLowerCaseGetsTheRightAndIsNotCounted()
{
    // Even a row that says "No " leaves the administrator its right, and
    // the administrator's row is not counted.
    AppWorld world(QString::fromLatin1(appSeed()) + systemUserRow(800091, QStringLiteral("SYSDBA"), QStringLiteral("No "), QStringLiteral("5"))
                   + QStringLiteral("commit;"));
    QVERIFY(world.showAndLogin());
    QCOMPARE(world.module->loginUserName, QStringLiteral("SYSDBA"));
    QVERIFY(world.module->systemsManager);
    QVERIFY(!world.module->pendingChanges(data::Group::RefData));
    world.restart(); // the program ends: anything left uncommitted is committed now
    fb::Attachment att = world.connect();
    QCOMPARE(scalar(att, QStringLiteral("select NBR_LOGINS from SYSTEM_USER where USER_ID = 800091")).toInt(), 5);
    QVERIFY(scalar(att, QStringLiteral("select LAST_LOGIN_DATE from SYSTEM_USER where USER_ID = 800091")).isNull());
}

void LoginTest::systemsManagerRightFollowsTheRow_data()
{
    QTest::addColumn<bool>("hasRow");
    QTest::addColumn<QString>("flag");
    QTest::addColumn<bool>("right");
    QTest::newRow("Yes") << true << QStringLiteral("Yes") << true;
    QTest::newRow("No with its blank") << true << QStringLiteral("No ") << false;
    QTest::newRow("yes in another case") << true << QStringLiteral("yes") << false;
    QTest::newRow("no flag") << true << QString() << false;
    QTest::newRow("no row at all") << false << QString() << false;
}

void LoginTest::systemsManagerRightFollowsTheRow()
{
    QFETCH(bool, hasRow);
    QFETCH(QString, flag);
    QFETCH(bool, right);

    const QString password = QStringLiteral("Pw%1").arg(QCoreApplication::applicationPid());
    const QString user = newAccount(password);
    QString seed = QString::fromLatin1(appSeed());
    if (hasRow)
        seed += systemUserRow(800092, user, flag, QStringLiteral("null")) + QStringLiteral("commit;");
    AppWorld world(seed);

    ModalScript script;
    typeLogin(script, user.toLower(), password);
    world.main->show();
    world.main->activateWindow();
    QTRY_VERIFY_WITH_TIMEOUT(world.main->isLoggedIn() && !QApplication::activeModalWidget(), 20000);
    QVERIFY2(script.texts.isEmpty(), qPrintable(script.texts.join(u'|')));

    QCOMPARE(world.module->loginUserName, user);
    QCOMPARE(world.module->systemsManager, right);
    // The count was saved: the RefData group is committed and its flag down.
    QVERIFY(!world.module->pendingChanges(data::Group::RefData));
    fb::Attachment att = world.connect();
    if (hasRow) {
        QCOMPARE(scalar(att, QStringLiteral("select NBR_LOGINS from SYSTEM_USER where USER_ID = 800092")).toInt(), 1);
        QCOMPARE(scalar(att, QStringLiteral("select LAST_LOGIN_DATE from SYSTEM_USER where USER_ID = 800092")).toDate(),
                 QDate::currentDate());
        // The row was written with the user's own account.
        QCOMPARE(scalar(att, QStringLiteral("select UPDATED_BY from SYSTEM_USER where USER_ID = 800092")).toString(),
                 user);
    } else {
        QCOMPARE(scalar(att, QStringLiteral("select count(*) from SYSTEM_USER")).toInt(), 0);
    }
}

void LoginTest::twoLoginsCountTwo()
{
    const QString password = QStringLiteral("Two%1").arg(QCoreApplication::applicationPid());
    const QString user = newAccount(password);
    AppWorld world(QString::fromLatin1(appSeed()) + systemUserRow(800093, user, QStringLiteral("No "), QStringLiteral("3"))
                   + QStringLiteral("commit;"));
    for (int run = 0; run < 2; ++run) {
        if (run > 0)
            world.restart();
        ModalScript script;
        typeLogin(script, user, password);
        world.main->show();
        world.main->activateWindow();
        QTRY_VERIFY_WITH_TIMEOUT(world.main->isLoggedIn() && !QApplication::activeModalWidget(), 20000);
        QVERIFY(!world.module->systemsManager);
    }
    fb::Attachment att = world.connect();
    QCOMPARE(scalar(att, QStringLiteral("select NBR_LOGINS from SYSTEM_USER where USER_ID = 800093")).toInt(), 5);
    QCOMPARE(scalar(att, QStringLiteral("select LAST_LOGIN_DATE from SYSTEM_USER where USER_ID = 800093")).toDate(),
             QDate::currentDate());
}

void LoginTest::wrongPasswordKeepsTheWindowAndTheName()
{
    AppWorld world;
    QString nameAfterFailure;
    bool stillShown = false;
    ModalScript script;
    typeLogin(script, QStringLiteral("sysdba"), QStringLiteral("not-the-password"));
    script.answer(QStringLiteral("OK"));
    script.on<app::FrmLogin>(QStringLiteral("FrmLogin"), [&](app::FrmLogin *login) {
        nameAfterFailure = login->findChild<QLineEdit *>(QStringLiteral("EditUserName"))->text();
        stillShown = login->isVisible();
        login->findChild<QPushButton *>(QStringLiteral("Button2"))->click();
    });
    world.main->show();
    world.main->activateWindow();
    QTRY_VERIFY_WITH_TIMEOUT(script.done(), 20000);

    QCOMPARE(script.texts, QStringList{FailureText});
    QCOMPARE(script.icons.front(), QMessageBox::Warning);
    QVERIFY(stillShown);
    QCOMPARE(nameAfterFailure, QStringLiteral("SYSDBA"));
    // Cancel after the failure ends the program: the main window closes.
    QTRY_VERIFY(!world.main->isVisible());
    QVERIFY(!world.main->isLoggedIn());
    QVERIFY(!world.module->isConnected());
}

void LoginTest::cancelOrCloseBoxEndsTheProgram_data()
{
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("Cancel") << false;
    QTest::newRow("close box") << true;
}

void LoginTest::cancelOrCloseBoxEndsTheProgram()
{
    QFETCH(bool, closeBox);
    AppWorld world;
    QPointer<app::FrmLogin> window;
    ModalScript script;
    script.on<app::FrmLogin>(QStringLiteral("FrmLogin"), [&](app::FrmLogin *login) {
        window = login;
        if (closeBox)
            login->close();
        else
            login->findChild<QPushButton *>(QStringLiteral("Button2"))->click();
    });
    world.main->show();
    world.main->activateWindow();
    QTRY_VERIFY_WITH_TIMEOUT(script.done() && !world.main->isVisible(), 20000);
    QVERIFY(!world.main->isLoggedIn());
    // The login window was destroyed once it had closed.
    QTRY_VERIFY(window.isNull());
}

QTEST_MAIN(LoginTest)
#include "tst_login.moc"
