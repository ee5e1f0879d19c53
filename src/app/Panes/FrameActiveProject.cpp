#include "app/Panes/ListPanes.h"

#include "controls/DataText.h"
#include "data/DataModule.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QTabWidget>

namespace corvadel::app {

namespace {

// The read-only fields sit on the greyed background of the window, so that
// nothing looks as if it could be typed into.
controls::DataText *field(data::DataSource *source, const char *name, QWidget *parent)
{
    auto *text = new controls::DataText(source, QLatin1String(name), parent);
    QPalette grey = text->palette();
    grey.setColor(QPalette::Base, grey.color(QPalette::Window));
    text->setPalette(grey);
    text->setFocusPolicy(Qt::ClickFocus);
    return text;
}

QLabel *label(const char *text, QWidget *buddy, QWidget *parent)
{
    auto *l = new QLabel(QLatin1String(text), parent);
    l->setBuddy(buddy);
    return l;
}

// "Created by:" or "Updated by:" followed on one line by who, date and time.
void auditLine(QGridLayout *grid, int row, const char *caption, data::DataSource *source, const char *by,
               const char *date, const char *time, QWidget *parent)
{
    controls::DataText *who = field(source, by, parent);
    grid->addWidget(label(caption, who, parent), row, 0);
    auto *line = new QHBoxLayout;
    line->addWidget(who, 2);
    line->addWidget(field(source, date, parent), 1);
    line->addWidget(field(source, time, parent), 1);
    grid->addLayout(line, row, 1);
}

} // namespace

FrameActiveProject::FrameActiveProject(data::TDModBase &module, QWidget *parent)
    : ListPane("FrameActiveProject", QStringLiteral("Active Project"), QString(), parent)
{
    data::DataSource *project = module.dataSource(QStringLiteral("DSProject"));

    auto *body = new QWidget(this);
    body->setObjectName(QStringLiteral("PanelActiveProject"));
    content()->addWidget(body, 1);

    auto *fields = new QGridLayout;
    fields->setColumnStretch(1, 1);
    const std::pair<const char *, const char *> rows[] = {
        {"Project Id:", "PRJ_ID"},     {"Project Name:", "PRJ_NAME"}, {"Project Ref:", "PRJ_REF"},
        {"Start Date:", "START_DATE"}, {"End Date:", "END_DATE"},     {"Status:", "PRJ_STATUS"},
    };
    int row = 0;
    for (const auto &[caption, name] : rows) {
        controls::DataText *text = field(project, name, body);
        fields->addWidget(label(caption, text, body), row, 0);
        fields->addWidget(text, row, 1);
        ++row;
    }

    m_pages = new QTabWidget(body);
    m_pages->setObjectName(QStringLiteral("PageControl1"));

    auto *budget = new QWidget;
    budget->setObjectName(QStringLiteral("TabSheetBudget"));
    auto *money = new QGridLayout(budget);
    const std::pair<const char *, const char *> capital[] = {
        {"Capital Budget:", "PRJ_CAP_BUDGET"},
        {"Capital Spend to Date:", "PRJ_CAP_SPEND_TO_DATE"},
        {"Capital Remaining Spend:", "CapRemainingSpend"},
    };
    const std::pair<const char *, const char *> revenue[] = {
        {"Revenue Budget:", "PRJ_REV_BUDGET"},
        {"Revenue Spend to Date:", "PRJ_REV_SPEND_TO_DATE"},
        {"Revenue Remaining Spend:", "RevRemainingSpend"},
    };
    for (int i = 0; i < 3; ++i) {
        controls::DataText *left = field(project, capital[i].second, budget);
        money->addWidget(label(capital[i].first, left, budget), i, 0);
        money->addWidget(left, i, 1);
        controls::DataText *right = field(project, revenue[i].second, budget);
        money->addWidget(label(revenue[i].first, right, budget), i, 3);
        money->addWidget(right, i, 4);
    }
    money->setColumnMinimumWidth(2, 24);
    money->setColumnStretch(1, 1);
    money->setColumnStretch(4, 1);
    money->setRowStretch(3, 1);
    m_pages->addTab(budget, QStringLiteral("Budget"));

    auto *properties = new QWidget;
    properties->setObjectName(QStringLiteral("TabSheetProperties"));
    auto *audit = new QGridLayout(properties);
    auditLine(audit, 0, "Created by:", project, "CREATED_BY", "CREATE_DATE", "CREATE_TIME", properties);
    auditLine(audit, 1, "Updated by:", project, "UPDATED_BY", "UPDATE_DATE", "UPDATE_TIME", properties);
    audit->setColumnStretch(1, 1);
    audit->setRowStretch(2, 1);
    m_pages->addTab(properties, QStringLiteral("Properties"));
    m_pages->setCurrentIndex(0);

    auto *layout = new QVBoxLayout(body);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addLayout(fields);
    layout->addSpacing(8);
    layout->addWidget(m_pages, 1);
}

} // namespace corvadel::app
