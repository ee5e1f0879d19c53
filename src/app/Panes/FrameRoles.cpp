#include "app/Panes/ListPanes.h"

#include "app/Widgets/BoundedSplitter.h"
#include "controls/DataGrid.h"

#include <QVBoxLayout>

namespace corvadel::app {

FrameRoles::FrameRoles(data::TDModBase &module, QWidget *parent)
    : ListPane("FrameRoles", QStringLiteral("Project Roles"), QStringLiteral("FrmProjectRole"), parent)
{
    m_splitter = new BoundedSplitter(Qt::Vertical, 0.53, 0.2, 0.8, this);
    m_splitter->setObjectName(QStringLiteral("SplitterRoles"));
    content()->addWidget(m_splitter, 1);

    m_roles = addGrid(module, "DSProjectRole", "DBGridRoles",
                      {column("ROLE_DESCRIPTION"), column("QA_ROLE"), column("MGT_ROLE"), column("BUS_ROLE"),
                       column("IT_ROLE"), column("DAILY_RATE"), filler()},
                      m_splitter);
    // Not read-only: the delete-row keystroke deletes the current role.
    m_roles->setAllowDelete(true);

    m_people = addGrid(module, "DSProjectRolePerson", "DBGridRolePeople",
                       {column("PERSON_NAME"), column("SCHEDULED_START_DATE"), column("ACTUAL_START_DATE"),
                        column("END_DATE"), filler()},
                       m_splitter);
    m_people->setWholeRowSelection(false);
    QPalette white = m_people->palette();
    white.setColor(QPalette::Base, Qt::white);
    m_people->setPalette(white);

    m_splitter->addWidget(m_roles);
    m_splitter->addWidget(m_people);
}

} // namespace corvadel::app
