// How long a long sheet takes: laying it out (data read, pages cut, page
// count known) and printing it to a PDF file. Run with
// QT_QPA_PLATFORM=offscreen; prints the median of several runs.

#include "reports/MemoryRecordSource.h"
#include "reports/PrintUi.h"
#include "reports/Sheet.h"
#include "reports/SheetFrame.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace corvadel::reports;

namespace {

// A roles list like the reference sheets: a description, four flags as
// check boxes, a money figure and a short rich-text note per record.
void fill(MemoryRecordSource &source, int rows)
{
    const QStringList flags{QStringLiteral("Yes"), QStringLiteral("No"), QString()};
    for (int i = 0; i < rows; ++i) {
        source.addRow({QStringLiteral("Role %1").arg(i + 1), flags[i % 3], flags[(i + 1) % 3], flags[(i + 2) % 3],
                       QStringLiteral("Yes"), 250.0 + i,
                       QStringLiteral("Notes on role %1.\nSecond line of the note.").arg(i + 1).toUtf8()});
    }
}

void declare(Sheet &sheet, Pipeline &main)
{
    SheetFrame frame(sheet, QStringLiteral("Roles"));
    frame.addHeading(QStringLiteral("Role"), 0, 70);
    const char *heads[] = {"QA", "Mgt.", "Bus.", "IT"};
    for (int i = 0; i < 4; ++i)
        frame.addHeading(QLatin1String(heads[i]), 75 + i * 15, 12, Qt::AlignHCenter);
    frame.addHeading(QStringLiteral("Daily Rate"), 140, 30, Qt::AlignRight);

    Band &detail = sheet.detail();
    detail.setHeight(12);
    detail.add<DataText>(QRectF(0, 0, 70, 5), main, QStringLiteral("ROLE_DESCRIPTION"));
    const char *fields[] = {"QA_ROLE", "MGT_ROLE", "BUS_ROLE", "IT_ROLE"};
    for (int i = 0; i < 4; ++i) {
        CheckBox &box = detail.add<CheckBox>(QRectF(78 + i * 15, 0, 5, 5), &main, QLatin1String(fields[i]));
        box.setTrueText(QStringLiteral("Yes"));
        box.setFalseText(QStringLiteral("No"));
    }
    DataText &rate = detail.add<DataText>(QRectF(140, 0, 30, 5), main, QStringLiteral("DAILY_RATE"));
    rate.setDisplayFormat(QStringLiteral("$#,0.00;-$#,0.00"));
    rate.setAlignment(Qt::AlignRight);
    detail.add<DataRichText>(QRectF(5, 6, 180, 5), main, QStringLiteral("NOTES"));
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList fields{QStringLiteral("ROLE_DESCRIPTION"), QStringLiteral("QA_ROLE"), QStringLiteral("MGT_ROLE"),
                             QStringLiteral("BUS_ROLE"), QStringLiteral("IT_ROLE"), QStringLiteral("DAILY_RATE"),
                             QStringLiteral("NOTES")};
    const int wantedPages = 50;

    // Find the number of records that fills the wanted pages.
    int rows = 1000;
    for (int attempt = 0; attempt < 6; ++attempt) {
        MemoryRecordSource source(fields);
        fill(source, rows);
        Sheet sheet;
        Pipeline &main = sheet.addPipeline(source);
        sheet.setMainPipeline(&main);
        declare(sheet, main);
        const int pages = sheet.render().pageCount();
        if (pages == wantedPages)
            break;
        rows = std::max(1, rows * wantedPages / pages - (pages > wantedPages ? 1 : 0));
    }

    QTemporaryDir dir;
    // CORVADEL_KEEP_SHEETS=1 keeps the PDF files for a look.
    dir.setAutoRemove(qEnvironmentVariableIsEmpty("CORVADEL_KEEP_SHEETS"));
    const int runs = 5;
    std::vector<double> layoutMs;
    std::vector<double> printMs;
    int pageCount = 0;
    for (int run = 0; run < runs; ++run) {
        MemoryRecordSource source(fields);
        fill(source, rows);
        Sheet sheet;
        Pipeline &main = sheet.addPipeline(source);
        sheet.setMainPipeline(&main);
        declare(sheet, main);
        auto ui = std::make_shared<HeadlessPrintUi>();
        ui->setOutputFile(dir.filePath(QStringLiteral("bench%1.pdf").arg(run)));
        sheet.setPrintUi(ui);

        QElapsedTimer timer;
        timer.start();
        const RenderedDocument document = sheet.render();
        layoutMs.push_back(timer.nsecsElapsed() / 1e6);
        timer.restart();
        sheet.printDocument(document, 1, nullptr);
        printMs.push_back(timer.nsecsElapsed() / 1e6);
        pageCount = document.pageCount();
    }
    std::printf("sheet: %d records, %d pages\n", rows, pageCount);
    std::printf("layout (data, pages, page count): median %.1f ms of %d runs\n", median(layoutMs), runs);
    std::printf("print to PDF:                     median %.1f ms of %d runs\n", median(printMs), runs);
    std::printf("total per sheet:                  %.1f ms\n", median(layoutMs) + median(printMs));
    if (!dir.autoRemove())
        std::printf("PDF files kept in %s\n", qPrintable(dir.path()));
    return 0;
}
