#pragma once

#include <QIcon>
#include <QPixmap>

namespace corvadel::app::artwork {

// The program's pictures, drawn rather than loaded, so they scale with the
// screen and need no files at run time.

// The maker's mark: a rounded tile with the program's emblem.
QPixmap logo(int size);
// The banner under the logo on the splash window: the product's name on a
// strip, width by height.
QPixmap banner(int width, int height);
// The window and task-bar icon.
QIcon programIcon();

// The images of the main window's toolbar: one consistent set of flat
// glyphs on a 24-pixel grid.
enum class Glyph {
    New,
    AllProjects,
    ActiveProject,
    ProjectRoles,
    Products,
    Risks,
    Issues,
    QualityReviews,
    ChangeRequests,
    Personnel,
    UserAdmin,
    Maintenance,
    Reports,
};
QIcon toolbarIcon(Glyph glyph);

} // namespace corvadel::app::artwork
