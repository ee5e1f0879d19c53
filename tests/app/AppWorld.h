#pragma once

// The program's main window over a fresh database with a few projects in it,
// logged in through the real login window. Keys are fixed (800000 and up,
// above what the unique-key procedure hands out in a test) so tests can
// name them.

#include "ModalScript.h"
#include "support/TestDatabase.h"

#include "app/Login/FrmLogin.h"
#include "app/Main/FrmMain.h"
#include "app/MessagePrompt.h"
#include "data/DataModule.h"
#include "data/fb/Script.h"
#include "data/fb/Statement.h"
#include "data/fb/Transaction.h"
#include "records/DataSets.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace corvadel::test {

namespace key {
constexpr int Apollo = 800001;     // roles, people, products, three issues, a risk, a CR and a QR
constexpr int Borealis = 800002;   // nothing in it
constexpr int Cygnus = 800003;     // one issue of its own
constexpr int Ann = 800011;
constexpr int Tom = 800012;
constexpr int Lead = 800021;       // staffed by Ann on Apollo
constexpr int Analyst = 800022;    // on Apollo, nobody in it
} // namespace key

inline const char *appSeed()
{
    return R"(
insert into PROJECT (PRJ_ID, PRJ_NAME, PRJ_REF, START_DATE, PRJ_STATUS, PRJ_CAP_BUDGET, PRJ_CAP_SPEND_TO_DATE)
  values (800001, 'Apollo', 'AP-1', '2024-01-08', 'In Progress', 1000, 250);
insert into PROJECT (PRJ_ID, PRJ_NAME, START_DATE, PRJ_STATUS) values (800002, 'Borealis', '2024-02-01', 'Not Started');
insert into PROJECT (PRJ_ID, PRJ_NAME, START_DATE, PRJ_STATUS) values (800003, 'Cygnus', '2024-03-01', 'Not Started');
insert into PERSONNEL (PERSONNEL_ID, PERSON_NAME, TITLE, FORENAME_FIRST, SURNAME, EMAIL_ADDR)
  values (800011, 'Dr Ann Lee', 'Dr', 'Ann', 'Lee', 'ann@example.org');
insert into PERSONNEL (PERSONNEL_ID, PERSON_NAME, TITLE, FORENAME_FIRST, SURNAME)
  values (800012, 'Mr Tom Hill', 'Mr', 'Tom', 'Hill');
insert into ROLES values (800021, 'Test Lead', 'Yes', 'No', 'No', 'Yes');
insert into ROLES values (800022, 'Test Analyst', 'Yes', 'No', 'No', 'No');
insert into PROJECT_ROLE (PRJ_ID, ROLE_ID, DAILY_RATE) values (800001, 800021, 250);
insert into PROJECT_ROLE (PRJ_ID, ROLE_ID, DAILY_RATE) values (800001, 800022, 400);
insert into PROJECT_ROLE_PERSON (PRJ_ID, ROLE_ID, PERSONNEL_ID) values (800001, 800021, 800011);
insert into PRODUCT_TYPE values (800031, 'Test Script', 'Formal');
insert into PRODUCT (PRODUCT_ID, PRODUCT_DESCRIPTION, PRODUCT_TYPE_ID, PRJ_ID) values (800041, 'Master Plan', 800031, 800001);
insert into ISSUE (ISSUE_ID, ISSUE_TYPE, ISSUE_DESCRIPTION, DATE_RAISED, PRJ_ID, RAISED_BY_ROLE_ID, RAISED_BY_PERSONNEL_ID, ISSUE_STATUS)
  values (800051, 'Issue', 'Slow build', '2024-01-10', 800001, 800021, 800011, 'Open');
insert into ISSUE (ISSUE_ID, ISSUE_TYPE, ISSUE_DESCRIPTION, DATE_RAISED, PRJ_ID, RAISED_BY_ROLE_ID, RAISED_BY_PERSONNEL_ID, ISSUE_STATUS)
  values (800052, 'Issue', 'Flaky tests', '2024-01-11', 800001, 800021, 800011, 'Open');
insert into ISSUE (ISSUE_ID, ISSUE_TYPE, ISSUE_DESCRIPTION, DATE_RAISED, PRJ_ID, RAISED_BY_ROLE_ID, RAISED_BY_PERSONNEL_ID, ISSUE_STATUS)
  values (800053, 'Query', 'Licence count', '2024-01-12', 800001, 800021, 800011, 'Closed');
insert into ISSUE (ISSUE_ID, ISSUE_TYPE, ISSUE_DESCRIPTION, DATE_RAISED, PRJ_ID, RAISED_BY_ROLE_ID, RAISED_BY_PERSONNEL_ID, ISSUE_STATUS)
  values (800054, 'Issue', 'Cygnus scope', '2024-03-02', 800003, 800021, 800011, 'Open');
insert into RISK (RISK_ID, RISK_DESCRIPTION, DATE_RAISED, PRJ_ID, RAISED_BY_ROLE_ID, RAISED_BY_PERSONNEL_ID, RISK_STATUS)
  values (800061, 'Supplier late', '2024-01-15', 800001, 800021, 800011, 'Open');
insert into CHANGE_REQUEST (CR_ID, CR_DESCRIPTION, DATE_RAISED, PRJ_ID, RAISED_BY_ROLE_ID, RAISED_BY_PERSONNEL_ID, CR_STATUS)
  values (800071, 'Faster build', '2024-01-20', 800001, 800021, 800011, 'Awaiting Review');
insert into QUALITY_REVIEW (QR_ID, PRJ_ID, PRODUCT_ID, SCHEDULED_REVIEW_DATE) values (800081, 800001, 800041, '2024-02-10');
commit;
)";
}

inline void execute(fb::Attachment &att, const QString &sql)
{
    fb::Transaction t(att);
    t.start();
    fb::Statement s(att, t, sql);
    s.execute(t);
    t.commit();
}

inline QVariant scalar(fb::Attachment &att, const QString &sql)
{
    fb::Transaction t(att);
    t.start();
    fb::Statement s(att, t, sql);
    s.openCursor(t);
    const QVariant v = s.fetch() ? s.value(0) : QVariant();
    s.closeCursor();
    t.commit();
    return v;
}

inline data::ConnectionSettings settingsFor(const TestDatabase &db)
{
    return {db.connectionString(), TestDatabase::adminUser(), TestDatabase::adminPassword(),
            TestDatabase::serverHost()};
}

// Answers the login window: types the name and password as a user would
// and presses "Login".
inline void typeLogin(ModalScript &script, const QString &user, const QString &password)
{
    script.on<app::FrmLogin>(QStringLiteral("FrmLogin"), [user, password](app::FrmLogin *login) {
        QTest::keyClicks(login->findChild<QLineEdit *>(QStringLiteral("EditUserName")), user);
        QTest::keyClicks(login->findChild<QLineEdit *>(QStringLiteral("EditPassword")), password);
        login->findChild<QPushButton *>(QStringLiteral("Button1"))->click();
    });
}

// A database with the seed, the data module with every dataset (closed) and
// the main window, not yet shown.
struct AppWorld
{
    explicit AppWorld(const QString &seed = QString::fromLatin1(appSeed())) : db(TestDatabase::withSchema())
    {
        if (!seed.isEmpty())
            fb::executeScript(db.attachment(), seed);
        db.attachment().detach();
        start();
    }

    // What start-up does: the data module, closed, and the main window.
    void start()
    {
        module = std::make_unique<data::TDModBase>(settingsFor(db), prompt);
        records::addAllDataSets(*module);
        main = std::make_unique<app::FrmMain>(*module);
    }

    // The program ends (the data module commits what is left) and starts
    // again on the same database.
    void restart()
    {
        main.reset();
        module.reset();
        start();
    }

    // Shows the main window; its activation opens the login window, which
    // is answered as the administrator. True once logged in.
    bool showAndLogin()
    {
        ModalScript script;
        typeLogin(script, QStringLiteral("sysdba"), TestDatabase::adminPassword());
        main->show();
        main->activateWindow();
        return QTest::qWaitFor([&] { return main->isLoggedIn() && !QApplication::activeModalWidget(); }, 20000);
    }

    data::Dataset &ds(const QString &name) const { return *module->dataSet(name); }

    fb::Attachment connect() const { return db.connect(); }

    TestDatabase db;
    app::MessagePrompt prompt;
    std::unique_ptr<data::TDModBase> module;   // goes before the database
    std::unique_ptr<app::FrmMain> main;        // goes before the data module
};

} // namespace corvadel::test
