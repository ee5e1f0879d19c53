#pragma once

#include <vector>

class QPrinter;

namespace corvadel::reports {

class PrintProgress;
class RenderedDocument;

enum class PrintResult { Printed, Cancelled, Failed };

// Puts the document's paper, orientation, margins and name on the printer,
// before the print dialog shows them.
void preparePrinter(QPrinter &printer, const RenderedDocument &document);

// The pages (1-based) in the order they go to the printer, after the page
// range the dialog chose (all, current page, or ranges such as "1,3,5-12")
// and the copies the printer does not make itself, collated or not.
std::vector<int> printSequence(const QPrinter &printer, int pageCount, int currentPage);

PrintResult printDocument(const RenderedDocument &document, QPrinter &printer, int currentPage,
                          PrintProgress *progress);

} // namespace corvadel::reports
