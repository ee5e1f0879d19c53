#include "reports/PreviewWindow.h"

#include "reports/DocumentPrinter.h"
#include "reports/RenderedDocument.h"
#include "reports/Units.h"

#include <QAction>
#include <QLabel>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QToolBar>
#include <QVBoxLayout>

namespace corvadel::reports {

PreviewWindow::PreviewWindow(const RenderedDocument &document, PreviewPrint print, QWidget *parent)
    : QDialog(parent)
    , m_document(document)
    , m_print(std::move(print))
    , m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    setObjectName(QStringLiteral("ReportPreview"));
    setWindowTitle(tr("Print Preview - %1").arg(document.name()));
    preparePrinter(*m_printer, document);

    auto *toolbar = new QToolBar(this);
    auto addAction = [&](const QString &name, const QString &text, auto slot) {
        QAction *action = toolbar->addAction(text);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    addAction(QStringLiteral("PreviewFirst"), tr("First"), [this] { showPage(1); });
    addAction(QStringLiteral("PreviewPrior"), tr("Prior"), [this] { showPage(currentPage() - 1); });
    addAction(QStringLiteral("PreviewNext"), tr("Next"), [this] { showPage(currentPage() + 1); });
    addAction(QStringLiteral("PreviewLast"), tr("Last"), [this] { showPage(pageCount()); });
    toolbar->addSeparator();
    addAction(QStringLiteral("PreviewWholePage"), tr("Whole Page"), [this] { m_view->fitInView(); });
    addAction(QStringLiteral("PreviewPageWidth"), tr("Page Width"), [this] { m_view->fitToWidth(); });
    addAction(QStringLiteral("Preview100"), tr("100 %"), [this] {
        m_view->setZoomMode(QPrintPreviewWidget::CustomZoom);
        m_view->setZoomFactor(1.0);
    });
    toolbar->addSeparator();
    addAction(QStringLiteral("PreviewPrint"), tr("Print..."), [this] {
        if (m_print)
            m_print(currentPage(), this);
    });
    addAction(QStringLiteral("PreviewClose"), tr("Close"), [this] { accept(); });
    m_pageLabel = new QLabel(this);
    m_pageLabel->setObjectName(QStringLiteral("PreviewPageLabel"));
    toolbar->addSeparator();
    toolbar->addWidget(m_pageLabel);

    m_view = new QPrintPreviewWidget(m_printer.get(), this);
    m_view->setObjectName(QStringLiteral("PreviewPages"));
    m_view->setViewMode(QPrintPreviewWidget::SinglePageView);
    connect(m_view, &QPrintPreviewWidget::paintRequested, this, &PreviewWindow::paintPages);
    connect(m_view, &QPrintPreviewWidget::previewChanged, this, &PreviewWindow::updatePageLabel);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(toolbar);
    layout->addWidget(m_view, 1);
    resize(900, 1000);
    // Lay the pages out now, so the page count is known before the window shows.
    m_view->updatePreview();
    m_view->fitInView();
    updatePageLabel();
}

PreviewWindow::~PreviewWindow() = default;

int PreviewWindow::currentPage() const
{
    return m_view->currentPage();
}

int PreviewWindow::pageCount() const
{
    return m_view->pageCount();
}

void PreviewWindow::paintPages(QPrinter *printer)
{
    QPainter painter(printer);
    const qreal scale = printer->resolution() / kLayoutDpi;
    for (int i = 0; i < m_document.pageCount(); ++i) {
        if (i > 0)
            printer->newPage();
        m_document.paintPage(painter, i, scale);
    }
}

void PreviewWindow::showPage(int page)
{
    m_view->setCurrentPage(std::clamp(page, 1, std::max(1, pageCount())));
    updatePageLabel();
}

void PreviewWindow::updatePageLabel()
{
    m_pageLabel->setText(tr("Page %1 of %2").arg(currentPage()).arg(pageCount()));
}

} // namespace corvadel::reports
