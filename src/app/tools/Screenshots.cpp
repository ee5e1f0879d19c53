// Takes pictures of the program's windows on a small made-up database: the
// splash, the login window, the main window on each of its nine panes and
// the about window, as PNG files in the folder given (default
// "screenshots"). The database is created for the run and dropped after.
//
//   corvadel-screenshots [folder]
//
// Runs on any platform plugin; scripts/screenshots runs it under Xvfb.

#include "app/About/FrmAbout.h"
#include "app/Artwork.h"
#include "app/Login/FrmLogin.h"
#include "app/Main/FrmMain.h"
#include "app/Main/NavigationTree.h"
#include "app/MessagePrompt.h"
#include "app/Panes/ListPanes.h"
#include "app/Splash/SplashForm.h"
#include "app/Startup.h"
#include "controls/DataGrid.h"
#include "corvadel_config.h"
#include "data/DataModule.h"
#include "data/fb/Attachment.h"
#include "data/fb/Script.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QElapsedTimer>
#include <QToolButton>

#include <cstdio>

using namespace corvadel;

namespace {

// Fixed keys above what the generator hands out for the starting reference
// data; the generator is moved past them at the end.
const char *const Seed = R"sql(
insert into PROJECT (PRJ_ID, PRJ_REF, PRJ_NAME, START_DATE, END_DATE, PRJ_STATUS, PRJ_CAP_BUDGET,
  PRJ_REV_BUDGET, PRJ_CAP_SPEND_TO_DATE, PRJ_REV_SPEND_TO_DATE)
  values (5001, 'FIN-0412', 'Ledger Consolidation', '2024-02-05', '2025-03-28', 'In Progress',
  180000, 42000, 96250.5, 18400);
insert into PROJECT (PRJ_ID, PRJ_REF, PRJ_NAME, START_DATE, END_DATE, PRJ_STATUS, PRJ_CAP_BUDGET,
  PRJ_REV_BUDGET, PRJ_CAP_SPEND_TO_DATE, PRJ_REV_SPEND_TO_DATE)
  values (5002, 'OPS-0077', 'Warehouse Scanner Rollout', '2024-06-17', null, 'Not Started',
  64000, 12000, 0, 0);
insert into PROJECT (PRJ_ID, PRJ_REF, PRJ_NAME, START_DATE, END_DATE, PRJ_STATUS)
  values (5003, 'HR-0019', 'Timesheet Portal', '2023-09-11', '2024-04-30', 'Completed');

insert into PERSONNEL (PERSONNEL_ID, PERSON_NAME, TITLE, FORENAME_FIRST, SURNAME, INITIALS, APPOINTMENT,
  DEPARTMENT, TEL_NBR, MOBILE_NBR, FAX_NBR, PAGER_NBR, EMAIL_ADDR)
  values (5101, 'Ms Priya Raman', 'Ms', 'Priya', 'Raman', 'PR', 'Programme Manager', 'IT Services',
  '0161 496 0101', '07700 900101', '0161 496 0199', null, 'p.raman@example.org');
insert into PERSONNEL (PERSONNEL_ID, PERSON_NAME, TITLE, FORENAME_FIRST, SURNAME, INITIALS, APPOINTMENT,
  DEPARTMENT, TEL_NBR, MOBILE_NBR, EMAIL_ADDR)
  values (5102, 'Mr Tomasz Wilk', 'Mr', 'Tomasz', 'Wilk', 'TW', 'Senior Developer', 'IT Services',
  '0161 496 0102', '07700 900102', 't.wilk@example.org');
insert into PERSONNEL (PERSONNEL_ID, PERSON_NAME, TITLE, FORENAME_FIRST, SURNAME, INITIALS, APPOINTMENT,
  DEPARTMENT, TEL_NBR, EMAIL_ADDR)
  values (5103, 'Dr Helen Okafor', 'Dr', 'Helen', 'Okafor', 'HO', 'Finance Director', 'Finance',
  '0161 496 0103', 'h.okafor@example.org');
insert into PERSONNEL (PERSONNEL_ID, PERSON_NAME, TITLE, FORENAME_FIRST, SURNAME, INITIALS, APPOINTMENT,
  DEPARTMENT, TEL_NBR, PAGER_NBR, EMAIL_ADDR)
  values (5104, 'Mrs Ann Lister', 'Mrs', 'Ann', 'Lister', 'AL', 'Test Analyst', 'Quality',
  '0161 496 0104', '04459 1104', 'a.lister@example.org');

insert into PROJECT_ROLE (PRJ_ID, ROLE_ID, DAILY_RATE)
  select 5001, ROLE_ID, 650 from ROLES where ROLE_DESCRIPTION = 'Project Manager';
insert into PROJECT_ROLE (PRJ_ID, ROLE_ID, DAILY_RATE)
  select 5001, ROLE_ID, 480 from ROLES where ROLE_DESCRIPTION = 'Developer';
insert into PROJECT_ROLE (PRJ_ID, ROLE_ID, DAILY_RATE)
  select 5001, ROLE_ID, 420.5 from ROLES where ROLE_DESCRIPTION = 'Tester';
insert into PROJECT_ROLE (PRJ_ID, ROLE_ID, DAILY_RATE)
  select 5001, ROLE_ID, 0 from ROLES where ROLE_DESCRIPTION = 'Project Executive';
insert into PROJECT_ROLE_PERSON (PRJ_ID, ROLE_ID, PERSONNEL_ID, SCHEDULED_START_DATE, ACTUAL_START_DATE)
  select 5001, ROLE_ID, 5102, '2024-02-05', '2024-02-12' from ROLES where ROLE_DESCRIPTION = 'Developer';
insert into PROJECT_ROLE_PERSON (PRJ_ID, ROLE_ID, PERSONNEL_ID, SCHEDULED_START_DATE, ACTUAL_START_DATE, END_DATE)
  select 5001, ROLE_ID, 5101, '2024-02-05', '2024-02-05', '2024-05-31' from ROLES where ROLE_DESCRIPTION = 'Developer';
insert into PROJECT_ROLE_PERSON (PRJ_ID, ROLE_ID, PERSONNEL_ID, SCHEDULED_START_DATE)
  select 5001, ROLE_ID, 5101, '2024-02-05' from ROLES where ROLE_DESCRIPTION = 'Project Manager';
insert into PROJECT_ROLE_PERSON (PRJ_ID, ROLE_ID, PERSONNEL_ID, SCHEDULED_START_DATE)
  select 5001, ROLE_ID, 5104, '2024-04-01' from ROLES where ROLE_DESCRIPTION = 'Tester';
insert into PROJECT_ROLE_PERSON (PRJ_ID, ROLE_ID, PERSONNEL_ID)
  select 5001, ROLE_ID, 5103 from ROLES where ROLE_DESCRIPTION = 'Project Executive';

insert into PRODUCT (PRODUCT_ID, PRODUCT_DESCRIPTION, PRODUCT_TYPE_ID, PRJ_ID, ROLE_ID, OWNER_PERSONNEL_ID, LOCATION)
  select 5201, 'Consolidation Business Case', PRODUCT_TYPE_ID, 5001,
    (select ROLE_ID from ROLES where ROLE_DESCRIPTION = 'Project Executive'), 5103, 'Finance share: /cases/ledger'
  from PRODUCT_TYPE where PRODUCT_TYPE_DESCRIPTION = 'Business Case';
insert into PRODUCT (PRODUCT_ID, PRODUCT_DESCRIPTION, PRODUCT_TYPE_ID, PRJ_ID, ROLE_ID, OWNER_PERSONNEL_ID, LOCATION)
  select 5202, 'Posting Engine Design', PRODUCT_TYPE_ID, 5001,
    (select ROLE_ID from ROLES where ROLE_DESCRIPTION = 'Developer'), 5102, 'docs/design/posting.odt'
  from PRODUCT_TYPE where PRODUCT_TYPE_DESCRIPTION = 'Design Document';
insert into PRODUCT (PRODUCT_ID, PRODUCT_DESCRIPTION, PRODUCT_TYPE_ID, PRJ_ID, ROLE_ID, OWNER_PERSONNEL_ID, LOCATION)
  select 5203, 'Month-end Test Plan', PRODUCT_TYPE_ID, 5001,
    (select ROLE_ID from ROLES where ROLE_DESCRIPTION = 'Tester'), 5104, 'docs/test/month-end.ods'
  from PRODUCT_TYPE where PRODUCT_TYPE_DESCRIPTION = 'Test Plan';

insert into ISSUE (ISSUE_ID, ISSUE_TYPE, ISSUE_DESCRIPTION, DATE_RAISED, PRJ_ID, RAISED_BY_ROLE_ID,
  RAISED_BY_PERSONNEL_ID, OWNER_ROLE_ID, OWNER_PERSONNEL_ID, ISSUE_STATUS)
  select 5301, 'Problem', 'Old ledger export truncates account codes', '2024-03-14', 5001, ROLE_ID, 5102,
    ROLE_ID, 5102, 'Open' from ROLES where ROLE_DESCRIPTION = 'Developer';
insert into ISSUE (ISSUE_ID, ISSUE_TYPE, ISSUE_DESCRIPTION, DATE_RAISED, PRJ_ID, RAISED_BY_ROLE_ID,
  RAISED_BY_PERSONNEL_ID, OWNER_ROLE_ID, OWNER_PERSONNEL_ID, ISSUE_STATUS)
  select 5302, 'Request for Change', 'Add VAT summary to the month-end pack', '2024-04-02', 5001, ROLE_ID, 5101,
    ROLE_ID, 5101, 'Under Review' from ROLES where ROLE_DESCRIPTION = 'Project Manager';
insert into ISSUE (ISSUE_ID, ISSUE_TYPE, ISSUE_DESCRIPTION, DATE_RAISED, PRJ_ID, RAISED_BY_ROLE_ID,
  RAISED_BY_PERSONNEL_ID, ISSUE_STATUS)
  select 5303, 'Query', 'Which cost centres close early in March?', '2024-04-19', 5001, ROLE_ID, 5104,
    'Closed' from ROLES where ROLE_DESCRIPTION = 'Tester';

insert into RISK (RISK_ID, RISK_DESCRIPTION, DATE_RAISED, PRJ_ID, RAISED_BY_ROLE_ID, RAISED_BY_PERSONNEL_ID,
  OWNER_ROLE_ID, OWNER_PERSONNEL_ID, RISK_STATUS)
  select 5401, 'Year-end freeze delays the cut-over', '2024-02-20', 5001, ROLE_ID, 5101, ROLE_ID, 5101, 'Open'
  from ROLES where ROLE_DESCRIPTION = 'Project Manager';
insert into RISK (RISK_ID, RISK_DESCRIPTION, DATE_RAISED, PRJ_ID, RAISED_BY_ROLE_ID, RAISED_BY_PERSONNEL_ID,
  OWNER_ROLE_ID, OWNER_PERSONNEL_ID, RISK_STATUS)
  select 5402, 'Key developer on leave during testing', '2024-03-01', 5001, ROLE_ID, 5101, ROLE_ID, 5102, 'Closed'
  from ROLES where ROLE_DESCRIPTION = 'Developer';

insert into CHANGE_REQUEST (CR_ID, CR_DESCRIPTION, DATE_RAISED, PRJ_ID, RAISED_BY_ROLE_ID, RAISED_BY_PERSONNEL_ID,
  PRIORITY, CR_STATUS, OWNER_ROLE_ID, OWNER_PERSONNEL_ID)
  select 5501, 'VAT summary page in month-end pack', '2024-04-05', 5001, ROLE_ID, 5101, 'Medium',
    'Awaiting Review', ROLE_ID, 5101 from ROLES where ROLE_DESCRIPTION = 'Project Manager';
insert into CHANGE_REQUEST (CR_ID, CR_DESCRIPTION, DATE_RAISED, PRJ_ID, RAISED_BY_ROLE_ID, RAISED_BY_PERSONNEL_ID,
  PRIORITY, CR_STATUS, OWNER_ROLE_ID, OWNER_PERSONNEL_ID)
  select 5502, 'Keep ten-digit account codes', '2024-03-18', 5001, ROLE_ID, 5102, 'High',
    'Approved', ROLE_ID, 5102 from ROLES where ROLE_DESCRIPTION = 'Developer';

insert into QUALITY_REVIEW (QR_ID, PRJ_ID, PRODUCT_ID, SCHEDULED_REVIEW_DATE, FACILITATED_BY_ROLE_ID,
  FACILITATED_BY_PERSONNEL_ID, VERSION_FOR_REVIEW, SIGNED_OFF_VERSION, SIGN_OFF_DATE, QR_STATUS, OWNER_ROLE_ID,
  OWNER_PERSONNEL_ID)
  select 5601, 5001, 5202, '2024-05-09', ROLE_ID, 5101, '0.3', '1.0', '2024-05-20', 'Signed Off', ROLE_ID, 5101
  from ROLES where ROLE_DESCRIPTION = 'Project Manager';
insert into QUALITY_REVIEW (QR_ID, PRJ_ID, PRODUCT_ID, SCHEDULED_REVIEW_DATE, FACILITATED_BY_ROLE_ID,
  FACILITATED_BY_PERSONNEL_ID, VERSION_FOR_REVIEW, QR_STATUS, OWNER_ROLE_ID, OWNER_PERSONNEL_ID)
  select 5602, 5001, 5203, '2024-06-13', ROLE_ID, 5104, '0.9', 'Planned', ROLE_ID, 5104
  from ROLES where ROLE_DESCRIPTION = 'Tester';

alter sequence GEN_UNIQUE_ID restart with 10000;
)sql";

QString readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    return QString::fromUtf8(file.readAll());
}

// Walks through the windows as a user would, one step per turn of whatever
// event loop runs (the login and about windows run their own).
class Photographer : public QObject
{
public:
    Photographer(app::FrmMain &main, const QString &folder) : m_main(main), m_folder(folder)
    {
        connect(&m_tick, &QTimer::timeout, this, &Photographer::step);
        m_tick.start(50);
        m_deadline.start();
    }

    int failures() const { return m_failures; }

private:
    void save(QWidget *widget, const QString &name)
    {
        QApplication::processEvents();
        const QString path = QDir(m_folder).filePath(name + QStringLiteral(".png"));
        if (!widget->grab().save(path)) {
            std::fprintf(stderr, "could not write %s\n", qPrintable(path));
            ++m_failures;
            return;
        }
        std::printf("%s\n", qPrintable(path));
    }

    void fail(const char *what)
    {
        std::fprintf(stderr, "screenshots: %s\n", what);
        ++m_failures;
        m_state = State::Done;
        QApplication::exit(1);
    }

    void step()
    {
        if (m_deadline.elapsed() > 60000)
            return fail("timed out");
        QWidget *modal = QApplication::activeModalWidget();
        switch (m_state) {
        case State::Login:
            // Without a window manager nothing gives the main window the
            // focus that makes it active (and so opens the login).
            if (!modal && !m_main.isActiveWindow())
                m_main.activateWindow();
            if (auto *login = qobject_cast<app::FrmLogin *>(modal)) {
                m_state = State::Panes;
                QTest::keyClicks(login->findChild<QLineEdit *>(QStringLiteral("EditUserName")), QStringLiteral("sysdba"));
                QTest::keyClicks(login->findChild<QLineEdit *>(QStringLiteral("EditPassword")),
                                 QString::fromUtf8(config::adminPassword));
                save(login, QStringLiteral("01-login"));
                login->findChild<QPushButton *>(QStringLiteral("Button1"))->click();
            }
            break;
        case State::Panes:
            if (modal)
                return fail("a message box stood in the way after the login");
            if (!m_main.isLoggedIn())
                break;
            m_state = State::About;
            photographPanes();
            // Opened from a turn of its own: a timer is not run again while
            // its handler is still running, and the about window's event
            // loop would otherwise run inside this one.
            QTimer::singleShot(0, &m_main, [this] {
                m_main.findChild<QAction *>(QStringLiteral("MenuAboutCorvadel"))->trigger();
                QApplication::quit();
            });
            break;
        case State::About:
            if (auto *about = qobject_cast<app::FrmAbout *>(modal)) {
                m_state = State::Done;
                save(about, QStringLiteral("12-about"));
                about->accept();
            }
            break;
        case State::Done:
            break;
        }
    }

    void photographPanes()
    {
        // The first project is the one with the most to show.
        for (int code = 0; code < app::PaneCount; ++code) {
            const app::PaneInfo &info = app::paneTable()[std::size_t(code)];
            m_main.findChild<QToolButton *>(QLatin1String(info.button))->click();
            if (code == 2) {
                // A role with people in it, and the lower grid below it.
                auto *roles = m_main.findChild<controls::DataGrid *>(QStringLiteral("DBGridRoles"));
                if (roles && roles->model()->rowCount() > 1)
                    roles->selectRow(1);
            }
            save(&m_main, QStringLiteral("%1-main-%2").arg(code + 2, 2, 10, QLatin1Char('0'))
                              .arg(QLatin1String(info.pane)));
        }
        // The Active Project pane's second page.
        m_main.findChild<QToolButton *>(QStringLiteral("ToolbarButtonActiveProject"))->click();
        m_main.findChild<QTabWidget *>(QStringLiteral("PageControl1"))->setCurrentIndex(1);
        save(&m_main, QStringLiteral("11-main-FrameActiveProject-Properties"));
        m_main.findChild<QTabWidget *>(QStringLiteral("PageControl1"))->setCurrentIndex(0);
    }

    enum class State { Login, Panes, About, Done };

    app::FrmMain &m_main;
    QString m_folder;
    QTimer m_tick;
    QElapsedTimer m_deadline;
    State m_state = State::Login;
    int m_failures = 0;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    const QString folder = application.arguments().value(1, QStringLiteral("screenshots"));
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(folder));
        return 1;
    }
    QApplication::setApplicationDisplayName(QStringLiteral("Ardenmoor Corvadel"));
    QApplication::setWindowIcon(app::artwork::programIcon());

    const QString admin = QString::fromUtf8(config::adminUser);
    const QString password = QString::fromUtf8(config::adminPassword);
    const QString database = QStringLiteral("%1:/tmp/corvadel-screenshots-%2.fdb")
                                 .arg(QString::fromUtf8(config::server))
                                 .arg(QCoreApplication::applicationPid());
    int failures = 0;
    try {
        fb::Attachment creator = fb::Attachment::create(database, admin, password, 8192, false);
        try {
            fb::executeScript(creator, readFile(QStringLiteral(CORVADEL_SCHEMA_FILE)));
            fb::executeScript(creator, QString::fromUtf8(Seed));
            creator.detach();
        } catch (...) {
            creator.dropDatabase();
            throw;
        }

        {
            app::SplashForm splash;
            splash.showNow();
            splash.grab().save(QDir(folder).filePath(QStringLiteral("00-splash.png")));
            std::printf("%s\n", qPrintable(QDir(folder).filePath(QStringLiteral("00-splash.png"))));
        }

        {
            app::MessagePrompt prompt;
            data::TDModBase module({database, admin, password, QString::fromUtf8(config::server)}, prompt);
            app::addDataSets(module);
            app::FrmMain main(module);
            main.resize(1180, 720);
            Photographer photographer(main, folder);
            main.show();
            const int code = application.exec();
            failures = photographer.failures() + (code != 0);
        }
        fb::Attachment::attach(database, admin, password).dropDatabase();
    } catch (const std::exception &error) {
        std::fprintf(stderr, "screenshots: %s\n", error.what());
        try {
            fb::Attachment::attach(database, admin, password).dropDatabase();
        } catch (const std::exception &) {
        }
        return 1;
    }
    return failures == 0 ? 0 : 1;
}
