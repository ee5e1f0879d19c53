#include "listpane/IssuePane.h"

#include "app/Main/FrmMain.h"
#include "app/Main/PaneTable.h"
#include "controls/DataGrid.h"
#include "support/BenchModule.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <stdexcept>

namespace corvadel::bench {

namespace {

int issuePaneCode()
{
    const auto &table = app::paneTable();
    for (int code = 0; code < app::PaneCount; ++code)
        if (QLatin1String(table[std::size_t(code)].pane) == QLatin1String("FrameIssueList"))
            return code;
    throw std::logic_error("the main window has no Issues pane");
}

// Types the administrator's credentials into the login window when it is
// up, and presses Login.
void answerLogin()
{
    QWidget *window = QApplication::activeModalWidget();
    if (!window || window->objectName() != QLatin1String("FrmLogin"))
        return;
    auto *user = window->findChild<QLineEdit *>(QStringLiteral("EditUserName"));
    auto *password = window->findChild<QLineEdit *>(QStringLiteral("EditPassword"));
    auto *login = window->findChild<QPushButton *>(QStringLiteral("Button1"));
    if (!user || !password || !login)
        throw std::logic_error("the login window lacks its fields");
    user->setText(adminUser());
    password->setText(adminPassword());
    login->click();
}

} // namespace

IssuePane::IssuePane(BenchModule &bench) : m_main(std::make_unique<app::FrmMain>(bench.module()))
{
    QTimer answer;
    answer.setInterval(5);
    QObject::connect(&answer, &QTimer::timeout, &answerLogin);
    answer.start();
    m_main->resize(1024, 700);
    m_main->show();
    m_main->activateWindow();
    Stopwatch limit;
    while (!m_main->isLoggedIn() || QApplication::activeModalWidget()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        if (QWidget *w = QApplication::activeModalWidget(); w && w->objectName() == QLatin1String("LoginFailed"))
            throw std::runtime_error("the login failed");
        if (limit.seconds() > 60)
            throw std::runtime_error("no login within 60 s");
    }
    answer.stop();
    m_main->showPane(issuePaneCode());
    m_grid = m_main->findChild<controls::DataGrid *>(QStringLiteral("DBGridIssues"));
    if (!m_grid || !m_grid->isVisible())
        throw std::logic_error("the Issues pane shows no issue grid");
}

IssuePane::~IssuePane() = default;

} // namespace corvadel::bench
