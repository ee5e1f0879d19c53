#include "reports/MemoryRecordSource.h"
#include "reports/Sheet.h"
#include "reports/SheetFrame.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace corvadel::reports;

// The real windows of the "Screen" device, driven by object name as a user
// would drive them.
class TestPreview : public QObject
{
    Q_OBJECT

private slots:
    void stepsThroughPagesAndCloses();
    void noDataMessageThenBlankPage();

private:
    // Runs `action` on the top-level window named `name` as soon as it shows
    // (the windows are modal, so this is how a test gets to act in them).
    void whenShown(const QString &name, std::function<void(QWidget *)> action);
};

void TestPreview::whenShown(const QString &name, std::function<void(QWidget *)> action)
{
    auto *timer = new QTimer(this);
    timer->setInterval(20);
    connect(timer, &QTimer::timeout, this, [timer, name, action] {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == name && widget->isVisible()) {
                timer->stop();
                timer->deleteLater();
                action(widget);
                return;
            }
        }
    });
    timer->start();
}

namespace {

void buildSheet(Sheet &sheet, MemoryRecordSource &source, int pages)
{
    for (int i = 1; i <= pages; ++i)
        source.addRow({QStringLiteral("Record%1").arg(i)});
    Pipeline &main = sheet.addPipeline(source);
    sheet.setMainPipeline(&main);
    SheetFrame frame(sheet, QStringLiteral("Skills"));
    sheet.detail().setHeight(200);
    sheet.detail().setKeepTogether(true); // one record per page
    sheet.detail().add<DataText>(QRectF(0, 0, 80, 5), main, QStringLiteral("NAME"));
}

QString pageLabel(QWidget *window)
{
    return window->findChild<QLabel *>(QStringLiteral("PreviewPageLabel"))->text();
}

void trigger(QWidget *window, const char *action)
{
    QAction *found = window->findChild<QAction *>(QLatin1String(action));
    QVERIFY2(found, action);
    found->trigger();
}

} // namespace

void TestPreview::stepsThroughPagesAndCloses()
{
    MemoryRecordSource source({QStringLiteral("NAME")});
    Sheet sheet;
    buildSheet(sheet, source, 3);
    sheet.setDevice(Device::Screen);

    QStringList labels;
    QList<QPrintPreviewWidget::ZoomMode> zooms;
    qreal zoomFactor = 0;
    bool printDialogShown = false;
    whenShown(QStringLiteral("ReportPreview"), [&](QWidget *window) {
        auto *view = window->findChild<QPrintPreviewWidget *>(QStringLiteral("PreviewPages"));
        labels << pageLabel(window);
        for (const char *step : {"PreviewNext", "PreviewLast", "PreviewNext", "PreviewPrior", "PreviewFirst"}) {
            trigger(window, step);
            labels << pageLabel(window);
        }
        trigger(window, "PreviewPageWidth");
        zooms << view->zoomMode();
        trigger(window, "PreviewWholePage");
        zooms << view->zoomMode();
        trigger(window, "Preview100");
        zoomFactor = view->zoomFactor();
        // Print goes through the print dialog; cancelling it prints nothing
        // and returns to the preview.
        whenShown(QStringLiteral("ReportPrintDialog"), [&](QWidget *dialog) {
            printDialogShown = true;
            static_cast<QDialog *>(dialog)->reject();
        });
        trigger(window, "PreviewPrint");
        QVERIFY(window->isVisible());
        trigger(window, "PreviewClose");
    });
    const RunOutcome outcome = sheet.print();

    QCOMPARE(outcome.status, RunOutcome::Status::Previewed);
    QCOMPARE(outcome.pageCount, 3);
    QCOMPARE(labels, QStringList({QStringLiteral("Page 1 of 3"), QStringLiteral("Page 2 of 3"),
                                  QStringLiteral("Page 3 of 3"), QStringLiteral("Page 3 of 3"),
                                  QStringLiteral("Page 2 of 3"), QStringLiteral("Page 1 of 3")}));
    QCOMPARE(zooms, QList<QPrintPreviewWidget::ZoomMode>({QPrintPreviewWidget::FitToWidth,
                                                          QPrintPreviewWidget::FitInView}));
    QCOMPARE(zoomFactor, 1.0);
    QVERIFY(printDialogShown);
    for (QWidget *widget : QApplication::topLevelWidgets())
        QVERIFY2(!widget->isVisible(), qPrintable(widget->objectName()));
}

void TestPreview::noDataMessageThenBlankPage()
{
    MemoryRecordSource source({QStringLiteral("NAME")});
    Sheet sheet;
    buildSheet(sheet, source, 0);
    sheet.setNoDataBehaviour(NoDataBehaviour::MessageAndBlankPage);
    sheet.setDevice(Device::Screen);

    QString title;
    QString text;
    QString previewLabel;
    whenShown(QStringLiteral("NoDataMessage"), [&](QWidget *widget) {
        auto *box = static_cast<QMessageBox *>(widget);
        title = box->windowTitle();
        text = box->text();
        whenShown(QStringLiteral("ReportPreview"), [&](QWidget *window) {
            previewLabel = pageLabel(window);
            trigger(window, "PreviewClose");
        });
        const auto buttons = box->buttons();
        QCOMPARE(buttons.size(), 1);
        QVERIFY(box->button(QMessageBox::Ok));
        QCOMPARE(box->button(QMessageBox::Ok)->text().remove(u'&'), QStringLiteral("OK"));
        QTest::mouseClick(buttons.first(), Qt::LeftButton);
    });
    const RunOutcome outcome = sheet.print();

    QCOMPARE(title, QStringLiteral("No Data Found"));
    QCOMPARE(text, QStringLiteral("No data found for this report."));
    QCOMPARE(previewLabel, QStringLiteral("Page 1 of 1"));
    QVERIFY(outcome.noData);
    QCOMPARE(outcome.pageCount, 1);
}

QTEST_MAIN(TestPreview)
#include "tst_preview.moc"
