#pragma once

#include <QPageRanges>
#include <QString>

#include <functional>
#include <memory>

class QPrinter;
class QWidget;

namespace corvadel::reports {

class RenderedDocument;

// Told after each printed page; returns false once the user has cancelled.
class PrintProgress
{
public:
    virtual ~PrintProgress() = default;
    virtual bool pagePrinted(int done, int total) = 0;
};

// The preview's print command: prints the previewed document through the
// print dialog, offering `currentPage` as the current page.
using PreviewPrint = std::function<void(int currentPage, QWidget *window)>;

// Everything modal a sheet run shows, behind one seam: the application uses
// WidgetPrintUi (the real dialogs); headless tests use HeadlessPrintUi.
class PrintUi
{
public:
    virtual ~PrintUi() = default;

    // The print dialog: printer, page range, copies, collation, print to
    // file. Returns false when the user cancels.
    virtual bool choosePrinter(QPrinter &printer, int pageCount, int currentPage, QWidget *parent) = 0;
    // The progress window shown while pages are printed.
    virtual std::unique_ptr<PrintProgress> startProgress(int pageCount, QWidget *parent) = 0;
    // "No Data Found": "No data found for this report." with OK.
    virtual void noDataFound(QWidget *parent) = 0;
    // The preview window; returns when it is closed.
    virtual void preview(const RenderedDocument &document, const PreviewPrint &print, QWidget *parent) = 0;
};

// The real dialogs. Object names for tests and tooling: "ReportPrintDialog",
// "ReportProgress", "NoDataMessage" and the preview's "ReportPreview".
class WidgetPrintUi : public PrintUi
{
public:
    bool choosePrinter(QPrinter &printer, int pageCount, int currentPage, QWidget *parent) override;
    std::unique_ptr<PrintProgress> startProgress(int pageCount, QWidget *parent) override;
    void noDataFound(QWidget *parent) override;
    void preview(const RenderedDocument &document, const PreviewPrint &print, QWidget *parent) override;
};

// Answers every dialog without showing one, for tests and batch output: the
// print dialog "chooses" a PDF file with the page ranges and copies set
// here; the preview writes what it would show to the same file (or, when
// asked, uses its print command); messages are counted.
class HeadlessPrintUi : public PrintUi
{
public:
    void setOutputFile(const QString &path) { m_outputFile = path; }
    void setAcceptPrintDialog(bool accept) { m_accept = accept; }
    // Page ranges as a user types them: "1,3,5-12". Empty prints all pages.
    void setPageRanges(const QString &ranges) { m_ranges = ranges; }
    void setCopies(int copies, bool collate) { m_copies = copies; m_collate = collate; }
    // The progress window's Cancel is pressed once this page is printed.
    void setCancelAfterPage(int page) { m_cancelAfter = page; }
    void setPrintFromPreview(bool print) { m_printFromPreview = print; }

    int printDialogs() const { return m_printDialogs; }
    int noDataMessages() const { return m_noDataMessages; }
    int previews() const { return m_previews; }
    int lastPageCount() const { return m_lastPageCount; }
    int pagesReported() const { return m_pagesReported; }

    bool choosePrinter(QPrinter &printer, int pageCount, int currentPage, QWidget *parent) override;
    std::unique_ptr<PrintProgress> startProgress(int pageCount, QWidget *parent) override;
    void noDataFound(QWidget *parent) override;
    void preview(const RenderedDocument &document, const PreviewPrint &print, QWidget *parent) override;

private:
    QString m_outputFile;
    bool m_accept = true;
    QString m_ranges;
    int m_copies = 1;
    bool m_collate = true;
    int m_cancelAfter = 0;
    bool m_printFromPreview = false;
    int m_printDialogs = 0;
    int m_noDataMessages = 0;
    int m_previews = 0;
    int m_lastPageCount = 0;
    int m_pagesReported = 0;
};

} // namespace corvadel::reports
