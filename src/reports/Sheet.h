#pragma once

#include "reports/Elements.h"
#include "reports/Layout.h"
#include "reports/Pipeline.h"
#include "reports/RenderedDocument.h"

#include <QPageLayout>

#include <functional>
#include <memory>
#include <vector>

class QWidget;

namespace corvadel::reports {

class PrintUi;
class RecordSource;

enum class Device { Printer, Screen };

// What a sheet does when its main pipeline has no record: print its frame
// (header, footer and the once-only bands) without detail, or tell the user
// "No data found for this report." and give one blank page.
enum class NoDataBehaviour { Frame, MessageAndBlankPage };

struct RunOutcome
{
    enum class Status { Printed, Previewed, Cancelled, Failed };
    Status status = Status::Failed;
    int pageCount = 0;
    bool noData = false;
};

// A banded sheet on US Letter paper with 6.35 mm margins. The bands, in page
// order: header and footer on every page; title once at the start, then the
// column header on every page; one detail band per record of the main
// pipeline's range; the column footer below each page's detail; summary once
// at the end. Content that does not fit continues on the next page.
//
// A sheet is declared once (bands, elements, pipelines) and run any number
// of times; the record sources it reads belong to its owner. In outline, an
// editor window's sheet:
//
//   Sheet sheet;                                   // portrait Letter
//   Pipeline &main = sheet.addPipeline(issueQuery);
//   main.setRange(Range::CurrentRecord);
//   main.setCloseWhenDone(true);
//   sheet.setMainPipeline(&main);
//   sheet.setNoDataBehaviour(NoDataBehaviour::MessageAndBlankPage);
//   SheetFrame frame(sheet, "Issue");              // header and footer
//   frame.identifyProject(main);
//   Band &detail = sheet.detail();
//   Region &description = detail.add<Region>(QRectF(0, 10, 203, 12));
//   description.add<DataRichText>(QRectF(0, 6, 203, 6), main, "ISSUE_DETAILED_DESCRIPTION");
//   Region &outcome = detail.add<Region>(QRectF(0, 24, 203, 12));
//   outcome.stackBelow(description);
//   ...
//   sheet.setDevice(Device::Screen);
//   sheet.print(window);
class Sheet
{
public:
    static constexpr qreal kMarginMm = 6.35;

    Sheet();
    ~Sheet();
    Sheet(const Sheet &) = delete;
    Sheet &operator=(const Sheet &) = delete;

    void setOrientation(QPageLayout::Orientation orientation) { m_orientation = orientation; }
    QPageLayout::Orientation orientation() const { return m_orientation; }
    QPageLayout pageLayout() const;
    // The area inside the margins, in millimetres: what bands are laid out in.
    QSizeF textSizeMm() const;
    QString documentName() const { return QStringLiteral("Report"); }

    // Pipelines are owned by the sheet; their record sources are not.
    Pipeline &addPipeline(RecordSource &source);
    void setMainPipeline(Pipeline *pipeline) { m_main = pipeline; }
    Pipeline *mainPipeline() const { return m_main; }

    Band &header() { return m_header; }
    Band &title() { return m_title; }
    Band &columnHeader() { return m_columnHeader; }
    Band &detail() { return m_detail; }
    Band &columnFooter() { return m_columnFooter; }
    Band &summary() { return m_summary; }
    Band &footer() { return m_footer; }

    void setNoDataBehaviour(NoDataBehaviour behaviour) { m_noData = behaviour; }
    NoDataBehaviour noDataBehaviour() const { return m_noData; }

    // Called at the start of every run, before any source is opened.
    void setBeforePrint(std::function<void()> callback) { m_beforePrint = std::move(callback); }
    void setRichTextLoader(RichTextLoader loader) { m_loader = std::move(loader); }

    void setDevice(Device device) { m_device = device; }
    Device device() const { return m_device; }

    // The dialogs a run shows. By default the real ones (WidgetPrintUi).
    void setPrintUi(std::shared_ptr<PrintUi> ui);
    PrintUi &printUi() const { return *m_ui; }

    // Runs the sheet on the device last set: lays it out, then prints it
    // through the print dialog or shows it in the preview window.
    RunOutcome print(QWidget *parent = nullptr);

    // The data side of a run: the before-print callback, opening the
    // close-when-done sources, laying out every page, closing them again.
    RenderedDocument render(bool *noData = nullptr);

    // Prints a laid-out document through the print dialog and the progress
    // window; the preview's print command comes here too.
    RunOutcome printDocument(const RenderedDocument &document, int currentPage, QWidget *parent);

private:
    friend class SheetLayout;

    QPageLayout::Orientation m_orientation = QPageLayout::Portrait;
    std::vector<std::unique_ptr<Pipeline>> m_pipelines;
    Pipeline *m_main = nullptr;
    Band m_header;
    Band m_title;
    Band m_columnHeader;
    Band m_detail;
    Band m_columnFooter;
    Band m_summary;
    Band m_footer;
    NoDataBehaviour m_noData = NoDataBehaviour::Frame;
    std::function<void()> m_beforePrint;
    RichTextLoader m_loader;
    Device m_device = Device::Screen;
    std::shared_ptr<PrintUi> m_ui;
};

} // namespace corvadel::reports
