#pragma once

#include "app/Artwork.h"

#include <QString>
#include <QStringList>

#include <array>

namespace corvadel::app {

// One row of the main window's pane table, keyed by pane code 0-8: the pane
// button on the toolbar, the list pane, the navigator's data source, the
// tree path selected when the pane shows and the New menu entry the New
// button runs while that pane's node is selected.
struct PaneInfo
{
    const char *button;        // object name of the toolbar button
    const char *hint;          // its tool tip
    artwork::Glyph glyph;
    const char *pane;          // class and object name of the list pane
    const char *dataSource;    // what the record navigator steps through
    const char *treePath;
    const char *newEntry;      // object name of the New menu entry
};

inline constexpr int PaneCount = 9;

inline const std::array<PaneInfo, PaneCount> &paneTable()
{
    using artwork::Glyph;
    static const std::array<PaneInfo, PaneCount> table = {{
        {"ToolbarButtonProjects", "All Projects", Glyph::AllProjects, "FrameProjectList", "DSProject",
         "Projects", "NewProject"},
        {"ToolbarButtonActiveProject", "Active Project", Glyph::ActiveProject, "FrameActiveProject", "DSProject",
         "My Active Project\\Active Project", "NewProject"},
        {"ToolbarButtonProjectRoles", "Project Roles", Glyph::ProjectRoles, "FrameRoles", "DSProjectRole",
         "My Active Project\\Project Roles", "NewRole"},
        {"ToolbarButtonProducts", "Project Products", Glyph::Products, "FrameProducts", "DSProduct",
         "My Active Project\\Products", "NewProduct"},
        {"ToolbarButtonRisks", "Risks", Glyph::Risks, "FrameRiskList", "DSRisk", "My Active Project\\Risks",
         "NewRisk"},
        {"ToolbarButtonIssues", "Issues", Glyph::Issues, "FrameIssueList", "DSIssue", "My Active Project\\Issues",
         "NewIssue"},
        {"ToolbarButtonQualityReviews", "Quality Reviews", Glyph::QualityReviews, "FrameQualityReviews",
         "DSQualityReview", "My Active Project\\Quality Reviews", "NewQualityReview"},
        {"ToolbarButtonChangeRequests", "Change Requests", Glyph::ChangeRequests, "FrameChangeRequests",
         "DSChangeRequest", "My Active Project\\Change Requests", "NewChangeRequest"},
        {"ToolbarButtonPersonnel", "Personnel", Glyph::Personnel, "FramePersonnel", "DSPersonnel",
         "My Personnel\\Personnel", "NewPersonnel"},
    }};
    return table;
}

// One entry of the New menu: the dataset put into insert state and the
// editor window opened on the new record.
struct NewEntry
{
    const char *name;          // object name of the menu entry
    const char *caption;       // & marks the access key
    const char *dataSet;
    const char *window;
    bool separatorBefore;
};

inline const std::array<NewEntry, 8> &newEntries()
{
    static const std::array<NewEntry, 8> entries = {{
        {"NewProject", "&Project", "IBDSProject", "FrmProject", false},
        {"NewRole", "Project &Role", "IBDSProjectRole", "FrmProjectRole", false},
        {"NewProduct", "Pr&oduct", "IBDSProduct", "FrmProduct", false},
        {"NewRisk", "R&isk", "IBDSRisk", "FrmRisk", false},
        {"NewIssue", "I&ssue", "IBDSIssue", "FrmIssue", false},
        {"NewQualityReview", "&Quality Review", "IBDSQualityReview", "FrmQualityReview", false},
        {"NewChangeRequest", "&Change Request", "IBDSChangeRequest", "FrmChangeRequest", false},
        {"NewPersonnel", "Perso&nnel", "IBDSPersonnel", "FrmPersonnel", true},
    }};
    return entries;
}

// The Maintenance menu: caption and the reference-data window it opens.
struct MaintenanceEntry
{
    const char *caption;
    const char *window;
};

inline const std::array<MaintenanceEntry, 3> &maintenanceEntries()
{
    static const std::array<MaintenanceEntry, 3> entries = {{
        {"Skills", "FrmSkills"},
        {"Roles", "FrmRole"},
        {"Product Types", "FrmProductType"},
    }};
    return entries;
}

} // namespace corvadel::app
