#pragma once

#include <QTreeWidget>

namespace corvadel::app {

// The main window's navigation tree: three top-level nodes built in, each
// node carrying a pane code 0-8. No icons, no editing; the selected node
// stays highlighted without the focus, and selecting a node expands it while
// collapsing the branch expanded before.
//
// A mouse click reports the selected node's pane code (nodeClicked); moving
// the selection with the keyboard only moves the selection.
class NavigationTree : public QTreeWidget
{
    Q_OBJECT

public:
    explicit NavigationTree(QWidget *parent = nullptr);

    // Selects the node named by a backslash-separated path, each level
    // compared without regard to letter case. A path naming no node leaves
    // the selection as it is; returns whether a node was found.
    bool selectPath(const QString &path);

    // The path of the selected node ("My Active Project\Issues"); empty
    // when none is selected.
    QString selectedPath() const;
    // The pane code of the selected node; -1 when none is selected.
    int selectedPaneCode() const;

    static int paneCode(const QTreeWidgetItem *item);

signals:
    void nodeClicked(int paneCode);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void expandOnly(QTreeWidgetItem *current);

    bool m_pressed = false;
    bool m_expandAfterClick = false;
};

} // namespace corvadel::app
