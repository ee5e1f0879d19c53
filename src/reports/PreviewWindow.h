#pragma once

#include "reports/PrintUi.h"

#include <QDialog>

#include <memory>

class QLabel;
class QPrintPreviewWidget;
class QPrinter;

namespace corvadel::reports {

class RenderedDocument;

// The "Screen" device: shows a laid-out sheet page by page. Object names:
// the window "ReportPreview"; its actions "PreviewFirst", "PreviewPrior",
// "PreviewNext", "PreviewLast", "PreviewWholePage", "PreviewPageWidth",
// "Preview100", "PreviewPrint", "PreviewClose"; the page view
// "PreviewPages" and the page indicator "PreviewPageLabel".
class PreviewWindow : public QDialog
{
    Q_OBJECT

public:
    PreviewWindow(const RenderedDocument &document, PreviewPrint print, QWidget *parent = nullptr);
    ~PreviewWindow() override;

    int currentPage() const;
    int pageCount() const;

private:
    void paintPages(QPrinter *printer);
    void showPage(int page);
    void updatePageLabel();

    const RenderedDocument &m_document;
    PreviewPrint m_print;
    std::unique_ptr<QPrinter> m_printer;
    QPrintPreviewWidget *m_view = nullptr;
    QLabel *m_pageLabel = nullptr;
};

} // namespace corvadel::reports
