#include "app/Main/NavigationTree.h"

#include "controls/DataGrid.h"

#include <QHeaderView>
#include <QMouseEvent>

namespace corvadel::app {

namespace {

QTreeWidgetItem *node(const QString &text, int paneCode)
{
    auto *item = new QTreeWidgetItem(QStringList{text});
    item->setData(0, Qt::UserRole, paneCode);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

bool isSelfOrAncestorOf(const QTreeWidgetItem *candidate, const QTreeWidgetItem *item)
{
    for (; item; item = item->parent())
        if (item == candidate)
            return true;
    return false;
}

} // namespace

NavigationTree::NavigationTree(QWidget *parent) : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("TreeView1"));
    setColumnCount(1);
    header()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(QSize(0, 0));
    setAnimated(false);
    setExpandsOnDoubleClick(false);
    controls::keepSelectionVisibleWithoutFocus(this);

    addTopLevelItem(node(QStringLiteral("Projects"), 0));
    QTreeWidgetItem *project = node(QStringLiteral("My Active Project"), 1);
    project->addChildren({
        node(QStringLiteral("Active Project"), 1),
        node(QStringLiteral("Project Roles"), 2),
        node(QStringLiteral("Products"), 3),
        node(QStringLiteral("Risks"), 4),
        node(QStringLiteral("Issues"), 5),
        node(QStringLiteral("Quality Reviews"), 6),
        node(QStringLiteral("Change Requests"), 7),
    });
    addTopLevelItem(project);
    QTreeWidgetItem *personnel = node(QStringLiteral("My Personnel"), 8);
    personnel->addChild(node(QStringLiteral("Personnel"), 8));
    addTopLevelItem(personnel);

    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *current, QTreeWidgetItem *) {
        // During a click the branches change once the button is up: moving
        // rows under the pointer between press and release would make the
        // release land on another row.
        if (m_pressed)
            m_expandAfterClick = true;
        else
            expandOnly(current);
    });
}

int NavigationTree::paneCode(const QTreeWidgetItem *item)
{
    return item ? item->data(0, Qt::UserRole).toInt() : -1;
}

void NavigationTree::expandOnly(QTreeWidgetItem *current)
{
    if (!current)
        return;
    // Collapse every expanded branch that does not lead to the new node.
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem *top = topLevelItem(i);
        if (top->isExpanded() && !isSelfOrAncestorOf(top, current))
            top->setExpanded(false);
    }
    for (QTreeWidgetItem *item = current; item; item = item->parent())
        if (item->childCount() > 0)
            item->setExpanded(true);
}

bool NavigationTree::selectPath(const QString &path)
{
    QString wanted = path;
    if (!wanted.endsWith(QLatin1Char('\\')))
        wanted += QLatin1Char('\\');
    wanted = wanted.toUpper();
    const QStringList levels = wanted.split(QLatin1Char('\\'));   // the last piece is empty

    QTreeWidgetItem *found = nullptr;
    for (int level = 0; level + 1 < levels.size(); ++level) {
        const int count = found ? found->childCount() : topLevelItemCount();
        QTreeWidgetItem *match = nullptr;
        for (int i = 0; i < count && !match; ++i) {
            QTreeWidgetItem *candidate = found ? found->child(i) : topLevelItem(i);
            if (candidate->text(0).toUpper() == levels[level])
                match = candidate;
        }
        if (!match)
            return false;
        found = match;
    }
    if (!found)
        return false;
    setCurrentItem(found);
    return true;
}

QString NavigationTree::selectedPath() const
{
    QStringList parts;
    for (const QTreeWidgetItem *item = currentItem(); item; item = item->parent())
        parts.prepend(item->text(0));
    return parts.join(QLatin1Char('\\'));
}

int NavigationTree::selectedPaneCode() const
{
    return paneCode(currentItem());
}

void NavigationTree::mousePressEvent(QMouseEvent *event)
{
    m_pressed = true;
    QTreeWidget::mousePressEvent(event);
}

void NavigationTree::mouseReleaseEvent(QMouseEvent *event)
{
    QTreeWidget::mouseReleaseEvent(event);
    m_pressed = false;
    if (m_expandAfterClick) {
        m_expandAfterClick = false;
        expandOnly(currentItem());
    }
    if (event->button() == Qt::LeftButton && currentItem())
        emit nodeClicked(paneCode(currentItem()));
}

} // namespace corvadel::app
