#pragma once

#include "reports/Layout.h"
#include "reports/RenderedDocument.h"

namespace corvadel::reports {

class Sheet;

// Lays out one run of a sheet whose sources are open: the strip of detail
// bands first, then the cut into pages, then each page's frame bands with
// the page number and the now known page count.
class SheetLayout
{
public:
    explicit SheetLayout(const Sheet &sheet);

    // blank: the single empty page of the no-data message.
    RenderedDocument run(bool blank);

private:
    const Sheet &m_sheet;
};

} // namespace corvadel::reports
