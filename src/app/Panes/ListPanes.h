#pragma once

#include "app/Panes/ListPane.h"

namespace corvadel::controls {
class DataGrid;
class DataText;
} // namespace corvadel::controls

class QTabWidget;

namespace corvadel::app {

class BoundedSplitter;

// The nine list panes of the main window. Each binds to the data module's
// data sources when it is created and needs nothing more.

class FrameProjectList : public ListPane
{
    Q_OBJECT
public:
    FrameProjectList(data::TDModBase &module, QWidget *parent = nullptr);
    controls::DataGrid *grid() const { return m_grid; }
private:
    controls::DataGrid *m_grid;
};

class FrameActiveProject : public ListPane
{
    Q_OBJECT
public:
    FrameActiveProject(data::TDModBase &module, QWidget *parent = nullptr);
    QTabWidget *pages() const { return m_pages; }
private:
    QTabWidget *m_pages;
};

// Two grids: the active project's roles above (the one editable grid of the
// panes: Ctrl+Delete deletes a role), the people in the current role below.
class FrameRoles : public ListPane
{
    Q_OBJECT
public:
    FrameRoles(data::TDModBase &module, QWidget *parent = nullptr);
    controls::DataGrid *rolesGrid() const { return m_roles; }
    controls::DataGrid *peopleGrid() const { return m_people; }
    BoundedSplitter *splitter() const { return m_splitter; }
private:
    controls::DataGrid *m_roles;
    controls::DataGrid *m_people;
    BoundedSplitter *m_splitter;
};

class FrameProducts : public ListPane
{
    Q_OBJECT
public:
    FrameProducts(data::TDModBase &module, QWidget *parent = nullptr);
};

class FrameIssueList : public ListPane
{
    Q_OBJECT
public:
    FrameIssueList(data::TDModBase &module, QWidget *parent = nullptr);
};

class FrameRiskList : public ListPane
{
    Q_OBJECT
public:
    FrameRiskList(data::TDModBase &module, QWidget *parent = nullptr);
};

class FrameChangeRequests : public ListPane
{
    Q_OBJECT
public:
    FrameChangeRequests(data::TDModBase &module, QWidget *parent = nullptr);
};

class FrameQualityReviews : public ListPane
{
    Q_OBJECT
public:
    FrameQualityReviews(data::TDModBase &module, QWidget *parent = nullptr);
};

class FramePersonnel : public ListPane
{
    Q_OBJECT
public:
    FramePersonnel(data::TDModBase &module, QWidget *parent = nullptr);
};

} // namespace corvadel::app
