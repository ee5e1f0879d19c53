#include "reports/Sheet.h"

#include "reports/DocumentPrinter.h"
#include "reports/PrintUi.h"
#include "reports/RecordSource.h"
#include "reports/SheetLayout.h"

#include <QPageSize>
#include <QPrinter>

#include <algorithm>

namespace corvadel::reports {

namespace {

// Opens the close-when-done sources for one run and, however the run ends,
// leaves detail sources following their masters' current records and closes
// what it was asked to close.
class SourceSession
{
public:
    explicit SourceSession(const std::vector<std::unique_ptr<Pipeline>> &pipelines)
        : m_pipelines(pipelines)
    {
        for (const auto &pipeline : m_pipelines) {
            RecordSource &source = pipeline->source();
            if (pipeline->closeWhenDone() && !source.isOpen())
                source.open();
        }
        for (const auto &pipeline : m_pipelines)
            pipeline->rewind();
    }

    ~SourceSession()
    {
        if (m_finished)
            return;
        try {
            finish();
        } catch (...) {
            // Already unwinding from the run's own failure, which is the one to report.
        }
    }

    void finish()
    {
        m_finished = true;
        for (const auto &pipeline : m_pipelines) {
            pipeline->setRow(-1);
            if (!pipeline->followedMaster())
                continue;
            pipeline->clearFollowedMaster();
            const Pipeline *master = pipeline->master();
            if (pipeline->source().isOpen() && master->source().isOpen())
                pipeline->source().followMaster(master->source(), master->source().currentRow());
        }
        for (const auto &pipeline : m_pipelines) {
            if (pipeline->closeWhenDone() && pipeline->source().isOpen())
                pipeline->source().close();
        }
    }

private:
    const std::vector<std::unique_ptr<Pipeline>> &m_pipelines;
    bool m_finished = false;
};

} // namespace

Sheet::Sheet()
    : m_ui(std::make_shared<WidgetPrintUi>())
{
}

Sheet::~Sheet() = default;

QPageLayout Sheet::pageLayout() const
{
    return QPageLayout(QPageSize(QPageSize::Letter), m_orientation,
                       QMarginsF(kMarginMm, kMarginMm, kMarginMm, kMarginMm), QPageLayout::Millimeter);
}

QSizeF Sheet::textSizeMm() const
{
    const QSizeF paper = pageLayout().fullRect(QPageLayout::Millimeter).size();
    return QSizeF(paper.width() - 2 * kMarginMm, paper.height() - 2 * kMarginMm);
}

Pipeline &Sheet::addPipeline(RecordSource &source)
{
    m_pipelines.push_back(std::make_unique<Pipeline>(source));
    return *m_pipelines.back();
}

void Sheet::setPrintUi(std::shared_ptr<PrintUi> ui)
{
    m_ui = ui ? std::move(ui) : std::make_shared<WidgetPrintUi>();
}

RenderedDocument Sheet::render(bool *noData)
{
    if (m_beforePrint)
        m_beforePrint();
    SourceSession session(m_pipelines);
    const bool empty = m_main && m_main->isEmpty();
    if (noData)
        *noData = empty;
    RenderedDocument document =
        SheetLayout(*this).run(empty && m_noData == NoDataBehaviour::MessageAndBlankPage);
    session.finish();
    return document;
}

RunOutcome Sheet::print(QWidget *parent)
{
    bool noData = false;
    const RenderedDocument document = render(&noData);
    if (noData && m_noData == NoDataBehaviour::MessageAndBlankPage)
        m_ui->noDataFound(parent);

    RunOutcome outcome;
    if (m_device == Device::Printer) {
        outcome = printDocument(document, 1, parent);
    } else {
        m_ui->preview(
            document, [this, &document](int currentPage, QWidget *window) { printDocument(document, currentPage, window); },
            parent);
        outcome.status = RunOutcome::Status::Previewed;
    }
    outcome.pageCount = document.pageCount();
    outcome.noData = noData;
    return outcome;
}

RunOutcome Sheet::printDocument(const RenderedDocument &document, int currentPage, QWidget *parent)
{
    RunOutcome outcome;
    outcome.pageCount = document.pageCount();
    QPrinter printer(QPrinter::HighResolution);
    preparePrinter(printer, document);
    if (!m_ui->choosePrinter(printer, document.pageCount(), currentPage, parent)) {
        outcome.status = RunOutcome::Status::Cancelled;
        return outcome;
    }
    // The layout is made for this paper; the dialog's choice of printer or
    // file stays, its paper does not.
    preparePrinter(printer, document);
    const std::unique_ptr<PrintProgress> progress = m_ui->startProgress(document.pageCount(), parent);
    switch (reports::printDocument(document, printer, currentPage, progress.get())) {
    case PrintResult::Printed:
        outcome.status = RunOutcome::Status::Printed;
        break;
    case PrintResult::Cancelled:
        outcome.status = RunOutcome::Status::Cancelled;
        break;
    case PrintResult::Failed:
        outcome.status = RunOutcome::Status::Failed;
        break;
    }
    return outcome;
}

} // namespace corvadel::reports
