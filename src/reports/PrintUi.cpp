#include "reports/PrintUi.h"

#include "reports/DocumentPrinter.h"
#include "reports/PreviewWindow.h"
#include "reports/RenderedDocument.h"

#include <QApplication>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>

namespace corvadel::reports {

namespace {

class DialogProgress : public PrintProgress
{
public:
    DialogProgress(int total, QWidget *parent)
        : m_dialog(QObject::tr("Printing..."), QObject::tr("Cancel"), 0, total, parent)
    {
        m_dialog.setObjectName(QStringLiteral("ReportProgress"));
        m_dialog.setWindowTitle(QObject::tr("Printing"));
        m_dialog.setWindowModality(Qt::ApplicationModal);
        m_dialog.setMinimumDuration(0);
        m_dialog.setValue(0);
    }

    bool pagePrinted(int done, int total) override
    {
        m_dialog.setLabelText(QObject::tr("Printed page %1 of %2").arg(done).arg(total));
        m_dialog.setValue(done);
        // Let the Cancel button be pressed between pages.
        QApplication::processEvents();
        return !m_dialog.wasCanceled();
    }

private:
    QProgressDialog m_dialog;
};

class CountingProgress : public PrintProgress
{
public:
    CountingProgress(int cancelAfter, int &reported)
        : m_cancelAfter(cancelAfter)
        , m_reported(reported)
    {
    }

    bool pagePrinted(int done, int) override
    {
        m_reported = done;
        return m_cancelAfter <= 0 || done < m_cancelAfter;
    }

private:
    int m_cancelAfter;
    int &m_reported;
};

} // namespace

bool WidgetPrintUi::choosePrinter(QPrinter &printer, int pageCount, int currentPage, QWidget *parent)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("ReportPrintDialog"));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange
                      | QAbstractPrintDialog::PrintCollateCopies | QAbstractPrintDialog::PrintCurrentPage
                      | QAbstractPrintDialog::PrintShowPageSize);
    dialog.setMinMax(1, std::max(1, pageCount));
    Q_UNUSED(currentPage);
    return dialog.exec() == QDialog::Accepted;
}

std::unique_ptr<PrintProgress> WidgetPrintUi::startProgress(int pageCount, QWidget *parent)
{
    return std::make_unique<DialogProgress>(pageCount, parent);
}

void WidgetPrintUi::noDataFound(QWidget *parent)
{
    QMessageBox box(QMessageBox::Information, QStringLiteral("No Data Found"),
                    QStringLiteral("No data found for this report."), QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("NoDataMessage"));
    box.exec();
}

void WidgetPrintUi::preview(const RenderedDocument &document, const PreviewPrint &print, QWidget *parent)
{
    PreviewWindow window(document, print, parent);
    window.exec();
}

bool HeadlessPrintUi::choosePrinter(QPrinter &printer, int pageCount, int, QWidget *)
{
    ++m_printDialogs;
    m_lastPageCount = pageCount;
    if (!m_accept)
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(m_outputFile);
    if (!m_ranges.isEmpty()) {
        printer.setPrintRange(QPrinter::PageRange);
        printer.setPageRanges(QPageRanges::fromString(m_ranges));
    }
    printer.setCopyCount(m_copies);
    printer.setCollateCopies(m_collate);
    return true;
}

std::unique_ptr<PrintProgress> HeadlessPrintUi::startProgress(int, QWidget *)
{
    m_pagesReported = 0;
    return std::make_unique<CountingProgress>(m_cancelAfter, m_pagesReported);
}

void HeadlessPrintUi::noDataFound(QWidget *)
{
    ++m_noDataMessages;
}

void HeadlessPrintUi::preview(const RenderedDocument &document, const PreviewPrint &print, QWidget *)
{
    ++m_previews;
    m_lastPageCount = document.pageCount();
    if (m_printFromPreview) {
        print(1, nullptr);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer, document);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(m_outputFile);
    printDocument(document, printer, 1, nullptr);
}

} // namespace corvadel::reports
