#include "PdfProbe.h"

#include "reports/MemoryRecordSource.h"
#include "reports/PrintUi.h"
#include "reports/Sheet.h"
#include "reports/SheetFrame.h"

#include <QRegularExpression>
#include <QTextDocument>
#include <QTemporaryDir>
#include <QTest>

using namespace corvadel::reports;

namespace {

QString numbered(const QString &prefix, int n)
{
    return prefix + QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0'));
}

// A sheet printed to a PDF file through the headless dialogs.
struct Printed
{
    QString pdf;
    RunOutcome outcome;
    std::shared_ptr<HeadlessPrintUi> ui;
};

} // namespace

class TestSheets : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void frameOnEveryPage_data();
    void frameOnEveryPage();
    void onceOnlyAndPerPageBands();
    void longRichTextPushesFollowersOntoNextPage();
    void emptySubSheetLetsFollowersMoveUp_data();
    void emptySubSheetLetsFollowersMoveUp();
    void keptTogetherSubSheetMovesToNextPage();
    void checkBox_data();
    void checkBox();
    void noData_data();
    void noData();
    void nestedMasterDetail();
    void runLeavesSourcesAsFound();
    void displayFormatsOnTheSheet();
    void richTextLoaderHook();
    void frameReadsStoredRtf();
    void printDialogChoices_data();
    void printDialogChoices();
    void printCancelled();
    void previewPrintsThroughTheDialog();

private:
    Printed run(Sheet &sheet, Device device = Device::Printer, std::shared_ptr<HeadlessPrintUi> ui = nullptr);
    QString nextPdf();

    QTemporaryDir m_dir;
    int m_files = 0;
};

void TestSheets::initTestCase()
{
    if (!pdfprobe::toolsAvailable())
        QSKIP("pdftotext/pdfinfo (poppler-utils) are needed to read the printed sheets back");
    QVERIFY(m_dir.isValid());
    // CORVADEL_KEEP_SHEETS=1 keeps the printed sheets for a look.
    m_dir.setAutoRemove(qEnvironmentVariableIsEmpty("CORVADEL_KEEP_SHEETS"));
    if (!m_dir.autoRemove())
        qInfo() << "sheets kept in" << m_dir.path();
}

QString TestSheets::nextPdf()
{
    return m_dir.filePath(QStringLiteral("sheet%1.pdf").arg(++m_files));
}

Printed TestSheets::run(Sheet &sheet, Device device, std::shared_ptr<HeadlessPrintUi> ui)
{
    Printed printed;
    printed.pdf = nextPdf();
    printed.ui = ui ? ui : std::make_shared<HeadlessPrintUi>();
    printed.ui->setOutputFile(printed.pdf);
    sheet.setPrintUi(printed.ui);
    sheet.setDevice(device);
    printed.outcome = sheet.print();
    return printed;
}

// A list sheet of many rows: each page carries the frame with its own page
// number and the count of all pages, and no row is lost or doubled at a break.
void TestSheets::frameOnEveryPage_data()
{
    QTest::addColumn<QPageLayout::Orientation>("orientation");
    QTest::addColumn<QSizeF>("paper");
    QTest::newRow("portrait") << QPageLayout::Portrait << QSizeF(612, 792);
    QTest::newRow("landscape") << QPageLayout::Landscape << QSizeF(792, 612);
}

void TestSheets::frameOnEveryPage()
{
    QFETCH(QPageLayout::Orientation, orientation);
    QFETCH(QSizeF, paper);

    MemoryRecordSource skills({QStringLiteral("SKILL_DESCRIPTION"), QStringLiteral("SKILL_CATEGORY")});
    const int rows = 150;
    for (int i = 1; i <= rows; ++i)
        skills.addRow({numbered(QStringLiteral("Skill"), i), QStringLiteral("Technical")});

    Sheet sheet;
    sheet.setOrientation(orientation);
    Pipeline &main = sheet.addPipeline(skills);
    sheet.setMainPipeline(&main);
    SheetFrame frame(sheet, QStringLiteral("Skills"));
    frame.addHeading(QStringLiteral("Skill"), 0, 90);
    frame.addHeading(QStringLiteral("Category"), 100, 60);
    sheet.detail().setHeight(5);
    sheet.detail().add<DataText>(QRectF(0, 0, 90, 5), main, QStringLiteral("SKILL_DESCRIPTION"));
    sheet.detail().add<DataText>(QRectF(100, 0, 60, 5), main, QStringLiteral("SKILL_CATEGORY"));

    const Printed printed = run(sheet);
    QCOMPARE(printed.outcome.status, RunOutcome::Status::Printed);
    const int pages = pdfprobe::pageCount(printed.pdf);
    QCOMPARE(pages, printed.outcome.pageCount);
    QVERIFY2(pages >= 3, qPrintable(QString::number(pages)));
    const QSizeF size = pdfprobe::pageSize(printed.pdf);
    QCOMPARE(qRound(size.width()), qRound(paper.width()));
    QCOMPARE(qRound(size.height()), qRound(paper.height()));

    const std::vector<pdfprobe::Word> words = pdfprobe::words(printed.pdf);
    for (int page = 1; page <= pages; ++page) {
        const QString text = pdfprobe::text(printed.pdf, page);
        QVERIFY2(text.contains(QStringLiteral("Corvadel - Skills")), qPrintable(text));
        QVERIFY2(text.contains(QRegularExpression(QStringLiteral("Page %1 of %2\\b").arg(page).arg(pages))),
                 qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Printed:")));
        QVERIFY(text.contains(QRegularExpression(QStringLiteral("Skill\\s+Category"))));
    }
    // Every row once, in order, and never below the footer's rule.
    int page = 1;
    double y = -1;
    for (int i = 1; i <= rows; ++i) {
        const QString name = numbered(QStringLiteral("Skill"), i);
        QCOMPARE(pdfprobe::countOf(words, name), 1);
        const pdfprobe::Word *word = pdfprobe::find(words, name, page, y);
        QVERIFY2(word, qPrintable(name + QStringLiteral(" out of order")));
        const pdfprobe::Word *pageWord = pdfprobe::find(words, QStringLiteral("Page"), word->page, 0);
        QVERIFY(pageWord && pageWord->page == word->page);
        QVERIFY2(word->y < pageWord->y, qPrintable(name + QStringLiteral(" runs into the footer")));
        page = word->page;
        y = word->y;
    }
    // The frame stands within 6.35 mm (18 pt) margins of the page in use: the
    // title at the left margin, the print date-time ending at the right one.
    const double margin = 18;
    const pdfprobe::Word *title = pdfprobe::find(words, QStringLiteral("Corvadel"));
    QVERIFY(title);
    QVERIFY2(qAbs(title->x - margin) < 1.5, qPrintable(QString::number(title->x)));
    double rightmost = 0;
    for (const pdfprobe::Word &word : words) {
        if (word.page == 1)
            rightmost = std::max(rightmost, word.right);
    }
    QVERIFY2(qAbs(rightmost - (paper.width() - margin)) < 1.5, qPrintable(QString::number(rightmost)));
}

// Title once at the start, column header and footer around each page's
// rows, summary once after the last row.
void TestSheets::onceOnlyAndPerPageBands()
{
    MemoryRecordSource source({QStringLiteral("NAME")});
    for (int i = 1; i <= 110; ++i)
        source.addRow({numbered(QStringLiteral("Row"), i)});
    Sheet sheet;
    Pipeline &main = sheet.addPipeline(source);
    sheet.setMainPipeline(&main);
    SheetFrame frame(sheet, QStringLiteral("Skills"));
    sheet.title().add<Label>(QRectF(0, 0, 60, 6), QStringLiteral("ListTitle"));
    sheet.columnHeader().add<Label>(QRectF(0, 0, 60, 6), QStringLiteral("ColHead"));
    sheet.columnFooter().add<Label>(QRectF(0, 0, 60, 6), QStringLiteral("ColFoot"));
    sheet.summary().add<Label>(QRectF(0, 0, 60, 6), QStringLiteral("SummaryEnd"));
    sheet.summary().add<DataText>(QRectF(100, 0, 60, 6), main, QStringLiteral("NAME"));
    sheet.detail().add<DataText>(QRectF(0, 0, 60, 5), main, QStringLiteral("NAME"));

    const Printed printed = run(sheet);
    const int pages = pdfprobe::pageCount(printed.pdf);
    QVERIFY(pages >= 3);
    const std::vector<pdfprobe::Word> words = pdfprobe::words(printed.pdf);
    QCOMPARE(pdfprobe::countOf(words, QStringLiteral("ListTitle")), 1);
    QCOMPARE(pdfprobe::find(words, QStringLiteral("ListTitle"))->page, 1);
    QCOMPARE(pdfprobe::countOf(words, QStringLiteral("ColHead")), pages);
    QCOMPARE(pdfprobe::countOf(words, QStringLiteral("ColFoot")), pages);
    for (int page = 1; page <= pages; ++page) {
        double firstRow = 1e9;
        double lastRow = -1;
        for (const pdfprobe::Word &word : words) {
            const bool detailColumn = word.x < 100; // the summary's copy stands further right
            if (word.page == page && detailColumn && word.text.startsWith(QStringLiteral("Row"))) {
                firstRow = std::min(firstRow, word.y);
                lastRow = std::max(lastRow, word.y);
            }
        }
        QVERIFY(lastRow >= 0);
        QVERIFY(pdfprobe::find(words, QStringLiteral("ColHead"), page, 0)->y < firstRow);
        const pdfprobe::Word *foot = pdfprobe::find(words, QStringLiteral("ColFoot"), page, 0);
        QCOMPARE(foot->page, page);
        QVERIFY(foot->y > lastRow);
        if (page == 1)
            QVERIFY(pdfprobe::find(words, QStringLiteral("ListTitle"))->y < pdfprobe::find(words, QStringLiteral("ColHead"))->y);
    }
    const pdfprobe::Word *summary = pdfprobe::find(words, QStringLiteral("SummaryEnd"));
    QCOMPARE(pdfprobe::countOf(words, QStringLiteral("SummaryEnd")), 1);
    QCOMPARE(summary->page, pages);
    QVERIFY(summary->y > pdfprobe::find(words, QStringLiteral("ColFoot"), pages, 0)->y);
    // The summary sees the last record.
    QCOMPARE(pdfprobe::countOf(words, QStringLiteral("Row110")), 2);
}

// A long description pushes the region stacked below it down and onto the
// next page; nothing overlaps and no line is lost at the break.
void TestSheets::longRichTextPushesFollowersOntoNextPage()
{
    QStringList lines;
    for (int i = 1; i <= 90; ++i)
        lines << numbered(QStringLiteral("Line"), i);
    MemoryRecordSource issue({QStringLiteral("PRJ_NAME"), QStringLiteral("PRJ_STATUS"), QStringLiteral("DETAIL"),
                              QStringLiteral("OUTCOME")});
    issue.addRow({QStringLiteral("Harbour"), QStringLiteral("Active"), lines.join(u'\n').toUtf8(),
                  QStringLiteral("OutcomeText")});
    issue.setCurrentRow(0);

    Sheet sheet;
    Pipeline &main = sheet.addPipeline(issue);
    main.setRange(Range::CurrentRecord);
    sheet.setMainPipeline(&main);
    SheetFrame frame(sheet, QStringLiteral("Issue"));
    frame.identifyProject(main);

    Band &detail = sheet.detail();
    detail.setHeight(40);
    Region &description = detail.add<Region>(QRectF(0, 0, 190, 12));
    description.add<Label>(QRectF(0, 0, 60, 5), QStringLiteral("Detailed Description:")).setBold(true);
    description.add<DataRichText>(QRectF(0, 6, 190, 6), main, QStringLiteral("DETAIL"));
    Region &outcome = detail.add<Region>(QRectF(0, 14, 190, 12));
    outcome.stackBelow(description);
    outcome.add<Label>(QRectF(0, 0, 60, 5), QStringLiteral("Outcome:")).setBold(true);
    outcome.add<DataRichText>(QRectF(0, 6, 190, 6), main, QStringLiteral("OUTCOME"));

    const Printed printed = run(sheet);
    const int pages = pdfprobe::pageCount(printed.pdf);
    QCOMPARE(pages, 2);
    QCOMPARE(printed.outcome.pageCount, 2);
    const std::vector<pdfprobe::Word> words = pdfprobe::words(printed.pdf);
    int page = 1;
    double y = -1;
    for (const QString &line : lines) {
        QCOMPARE(pdfprobe::countOf(words, line), 1);
        const pdfprobe::Word *word = pdfprobe::find(words, line, page, y);
        QVERIFY2(word, qPrintable(line));
        page = word->page;
        y = word->y;
    }
    QCOMPARE(page, 2);
    const pdfprobe::Word *heading = pdfprobe::find(words, QStringLiteral("Outcome:"));
    QVERIFY(heading);
    QCOMPARE(heading->page, 2);
    QVERIFY2(heading->y > y, "the region stacked below the description overlaps it");
    const pdfprobe::Word *text = pdfprobe::find(words, QStringLiteral("OutcomeText"));
    QVERIFY(text && text->page == 2 && text->y > heading->y);
    for (int p = 1; p <= pages; ++p) {
        const QString pageText = pdfprobe::text(printed.pdf, p);
        QVERIFY(pageText.contains(QStringLiteral("Corvadel - Issue")));
        QVERIFY(pageText.contains(QRegularExpression(QStringLiteral("Project:\\s+Harbour"))));
        QVERIFY(pageText.contains(QRegularExpression(QStringLiteral("Status:\\s+Active"))));
        QVERIFY(pageText.contains(QStringLiteral("Page %1 of 2").arg(p)));
    }
}

// A sub-sheet declared 40 mm tall takes only what its title and rows need,
// and the section stacked below it follows.
void TestSheets::emptySubSheetLetsFollowersMoveUp_data()
{
    QTest::addColumn<int>("children");
    QTest::newRow("no related issues") << 0;
    QTest::newRow("three related issues") << 3;
}

void TestSheets::emptySubSheetLetsFollowersMoveUp()
{
    QFETCH(int, children);
    MemoryRecordSource request({QStringLiteral("CR_ID")});
    request.addRow({7});
    request.setCurrentRow(0);
    MemoryRecordSource issues({QStringLiteral("CR_ID"), QStringLiteral("ISSUE_DESCRIPTION")});
    for (int i = 1; i <= children; ++i)
        issues.addRow({7, numbered(QStringLiteral("Issue"), i)});
    issues.addRow({8, QStringLiteral("Elsewhere")});
    issues.setMasterLink(QStringLiteral("CR_ID"), QStringLiteral("CR_ID"));

    Sheet sheet;
    Pipeline &main = sheet.addPipeline(request);
    main.setRange(Range::CurrentRecord);
    sheet.setMainPipeline(&main);
    Pipeline &lines = sheet.addPipeline(issues);
    lines.setMaster(&main);
    SheetFrame frame(sheet, QStringLiteral("Change Request"));

    const qreal titleMm = 7;
    const qreal rowMm = 6;
    const qreal gapMm = 3;
    Band &detail = sheet.detail();
    SubSheet &related = detail.add<SubSheet>(QRectF(0, 0, 190, 40), &lines);
    related.title().setHeight(titleMm);
    related.title().add<Label>(QRectF(0, 0, 60, 5), QStringLiteral("RelatedIssues")).setBold(true);
    related.detail().setHeight(rowMm);
    related.detail().add<DataText>(QRectF(10, 0, 100, 5), lines, QStringLiteral("ISSUE_DESCRIPTION"));
    Region &benefits = detail.add<Region>(QRectF(0, 40 + gapMm, 190, 6));
    benefits.stackBelow(related);
    benefits.add<Label>(QRectF(0, 0, 40, 5), QStringLiteral("Benefits:"));

    const Printed printed = run(sheet);
    const std::vector<pdfprobe::Word> words = pdfprobe::words(printed.pdf);
    const pdfprobe::Word *title = pdfprobe::find(words, QStringLiteral("RelatedIssues"));
    const pdfprobe::Word *follower = pdfprobe::find(words, QStringLiteral("Benefits:"));
    QVERIFY(title && follower);
    QVERIFY(!pdfprobe::find(words, QStringLiteral("Elsewhere")));
    QCOMPARE(pdfprobe::countOf(words, QStringLiteral("Issue001")), children > 0 ? 1 : 0);
    const double mmPerPoint = 25.4 / 72;
    const double distanceMm = (follower->y - title->y) * mmPerPoint;
    const double expectedMm = titleMm + children * rowMm + gapMm;
    QVERIFY2(qAbs(distanceMm - expectedMm) < 1.0,
             qPrintable(QStringLiteral("%1 mm apart, expected %2").arg(distanceMm).arg(expectedMm)));
}

// Kept together, a sub-sheet that fits on a page but not below what precedes
// it starts the next page instead of being split.
void TestSheets::keptTogetherSubSheetMovesToNextPage()
{
    for (bool keep : {false, true}) {
        MemoryRecordSource roles({QStringLiteral("ROLE_ID"), QStringLiteral("ROLE_DESCRIPTION")});
        MemoryRecordSource people({QStringLiteral("ROLE_ID"), QStringLiteral("PERSON_NAME")});
        for (int role = 1; role <= 3; ++role) {
            roles.addRow({role, numbered(QStringLiteral("Role"), role)});
            for (int p = 1; p <= 18; ++p)
                people.addRow({role, numbered(QStringLiteral("R%1Person").arg(role), p)});
        }
        people.setMasterLink(QStringLiteral("ROLE_ID"), QStringLiteral("ROLE_ID"));

        Sheet sheet;
        Pipeline &main = sheet.addPipeline(roles);
        sheet.setMainPipeline(&main);
        Pipeline &staff = sheet.addPipeline(people);
        staff.setMaster(&main);
        SheetFrame frame(sheet, QStringLiteral("Project Roles"));
        SubSheet &role = sheet.detail().add<SubSheet>(QRectF(0, 0, 190, 10), &staff);
        role.setKeepTogether(keep);
        role.title().setHeight(8);
        role.title().add<DataText>(QRectF(0, 0, 100, 6), main, QStringLiteral("ROLE_DESCRIPTION"));
        role.detail().setHeight(5);
        role.detail().add<DataText>(QRectF(10, 0, 100, 5), staff, QStringLiteral("PERSON_NAME"));

        const Printed printed = run(sheet);
        const std::vector<pdfprobe::Word> words = pdfprobe::words(printed.pdf);
        // Each role takes 8 + 18 * 5 = 98 mm: two fit on a page, the third does not.
        const pdfprobe::Word *third = pdfprobe::find(words, QStringLiteral("Role003"));
        const pdfprobe::Word *firstOfThird = pdfprobe::find(words, QStringLiteral("R3Person001"));
        const pdfprobe::Word *lastOfThird = pdfprobe::find(words, QStringLiteral("R3Person018"));
        QVERIFY(third && firstOfThird && lastOfThird);
        if (keep) {
            QCOMPARE(third->page, 2);
            QCOMPARE(firstOfThird->page, 2);
        } else {
            QCOMPARE(third->page, 1);
        }
        QCOMPARE(lastOfThird->page, 2);
    }
}

// The check-box rule, read back from the glyph each case prints:
// ☐ empty box, ☑ ticked box, ☒ crossed box, ✓ tick, ✗ cross.
void TestSheets::checkBox_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("bound"); // false: the element has no pipeline
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("trueText");
    QTest::addColumn<QString>("falseText");
    QTest::addColumn<CheckStyle>("style");
    QTest::addColumn<QString>("glyph");

    const QString flag = QStringLiteral("QA_ROLE");
    const QString yes = QStringLiteral("Yes");
    const QString no = QStringLiteral("No");
    const QString box = QStringLiteral("☐");
    const auto dflt = CheckStyle::CheckmarkAndBox;
    // The sheets' own settings: true text "Yes", false text "No".
    QTest::newRow("Yes") << QVariant(yes) << true << flag << yes << no << dflt << QStringLiteral("☑");
    QTest::newRow("yes in lower case") << QVariant(QStringLiteral("yes")) << true << flag << yes << no << dflt << box;
    QTest::newRow("YES") << QVariant(QStringLiteral("YES")) << true << flag << yes << no << dflt << box;
    QTest::newRow("Yes with a trailing space") << QVariant(QStringLiteral("Yes ")) << true << flag << yes << no << dflt
                                               << box;
    QTest::newRow("No") << QVariant(no) << true << flag << yes << no << dflt << box;
    QTest::newRow("empty") << QVariant(QString()) << true << flag << yes << no << dflt << box;
    QTest::newRow("NULL") << QVariant() << true << flag << yes << no << dflt << box;
    QTest::newRow("unreadable field") << QVariant(yes) << true << QStringLiteral("NO_SUCH_FIELD") << yes << no << dflt
                                      << box;
    QTest::newRow("no pipeline") << QVariant(yes) << false << flag << yes << no << dflt << box;
    // The four styles.
    QTest::newRow("X and Box, checked") << QVariant(yes) << true << flag << yes << no << CheckStyle::XAndBox
                                        << QStringLiteral("☒");
    QTest::newRow("X and Box, unchecked") << QVariant(no) << true << flag << yes << no << CheckStyle::XAndBox << box;
    QTest::newRow("Checkmark only, checked") << QVariant(yes) << true << flag << yes << no << CheckStyle::CheckmarkOnly
                                             << QStringLiteral("✓");
    QTest::newRow("Checkmark only, unchecked") << QVariant(no) << true << flag << yes << no
                                               << CheckStyle::CheckmarkOnly << QString();
    QTest::newRow("X only, checked") << QVariant(yes) << true << flag << yes << no << CheckStyle::XOnly
                                     << QStringLiteral("✗");
    QTest::newRow("X only, unchecked") << QVariant(no) << true << flag << yes << no << CheckStyle::XOnly << QString();
    // Without a true text the false text decides; without either, emptiness.
    QTest::newRow("false text only, other value") << QVariant(QStringLiteral("Maybe")) << true << flag << QString()
                                                  << no << dflt << QStringLiteral("☑");
    QTest::newRow("false text only, NULL differs") << QVariant() << true << flag << QString() << no << dflt
                                                   << QStringLiteral("☑");
    QTest::newRow("false text only, equal") << QVariant(no) << true << flag << QString() << no << dflt << box;
    QTest::newRow("false text only, unreadable") << QVariant() << true << QStringLiteral("NO_SUCH_FIELD") << QString()
                                                 << no << dflt << box;
    QTest::newRow("neither, some text") << QVariant(QStringLiteral("x")) << true << flag << QString() << QString()
                                        << dflt << QStringLiteral("☑");
    QTest::newRow("neither, empty") << QVariant(QString()) << true << flag << QString() << QString() << dflt << box;
    QTest::newRow("default texts, True") << QVariant(QStringLiteral("True")) << true << flag << QStringLiteral("True")
                                         << QStringLiteral("False") << dflt << QStringLiteral("☑");
}

void TestSheets::checkBox()
{
    QFETCH(QVariant, value);
    QFETCH(bool, bound);
    QFETCH(QString, field);
    QFETCH(QString, trueText);
    QFETCH(QString, falseText);
    QFETCH(CheckStyle, style);
    QFETCH(QString, glyph);

    MemoryRecordSource roles({QStringLiteral("ROLE_DESCRIPTION"), QStringLiteral("QA_ROLE")});
    roles.addRow({QStringLiteral("Tester"), value});
    Sheet sheet;
    Pipeline &main = sheet.addPipeline(roles);
    sheet.setMainPipeline(&main);
    sheet.detail().setHeight(8);
    sheet.detail().add<DataText>(QRectF(0, 0, 40, 6), main, QStringLiteral("ROLE_DESCRIPTION"));
    CheckBox &check = sheet.detail().add<CheckBox>(QRectF(50, 0, 0, 0), bound ? &main : nullptr, field);
    check.setTrueText(trueText);
    check.setFalseText(falseText);
    check.setStyle(style);

    const Printed printed = run(sheet);
    const QString glyphs = QStringLiteral("☐☑☒✓✗");
    QString drawn;
    bool rowPrinted = false;
    for (const pdfprobe::Word &word : pdfprobe::words(printed.pdf)) {
        rowPrinted = rowPrinted || word.text == QStringLiteral("Tester");
        if (word.text.size() == 1 && glyphs.contains(word.text))
            drawn += word.text;
    }
    QVERIFY(rowPrinted);
    QCOMPARE(drawn, glyph);
}

void TestSheets::noData_data()
{
    QTest::addColumn<NoDataBehaviour>("behaviour");
    QTest::addColumn<Device>("device");
    QTest::newRow("message, printer") << NoDataBehaviour::MessageAndBlankPage << Device::Printer;
    QTest::newRow("message, screen") << NoDataBehaviour::MessageAndBlankPage << Device::Screen;
    QTest::newRow("frame, printer") << NoDataBehaviour::Frame << Device::Printer;
}

void TestSheets::noData()
{
    QFETCH(NoDataBehaviour, behaviour);
    QFETCH(Device, device);

    MemoryRecordSource issues({QStringLiteral("ISSUE_NBR"), QStringLiteral("PRJ_NAME")});
    issues.addRow({1, QStringLiteral("Harbour")});
    issues.setCurrentRow(-1); // the project has no issues: nothing is current
    Sheet sheet;
    Pipeline &main = sheet.addPipeline(issues);
    main.setRange(Range::CurrentRecord);
    sheet.setMainPipeline(&main);
    sheet.setNoDataBehaviour(behaviour);
    SheetFrame frame(sheet, QStringLiteral("Issue"));
    frame.identifyProject(main);
    sheet.detail().add<Label>(QRectF(0, 0, 40, 5), QStringLiteral("IssueNo."));

    const Printed printed = run(sheet, device);
    QVERIFY(printed.outcome.noData);
    QCOMPARE(pdfprobe::pageCount(printed.pdf), 1);
    const QString text = pdfprobe::text(printed.pdf).trimmed();
    QVERIFY(!text.contains(QStringLiteral("IssueNo.")));
    if (behaviour == NoDataBehaviour::MessageAndBlankPage) {
        QCOMPARE(printed.ui->noDataMessages(), 1);
        QVERIFY2(text.isEmpty(), qPrintable(text));
    } else {
        QCOMPARE(printed.ui->noDataMessages(), 0);
        QVERIFY(text.contains(QStringLiteral("Corvadel - Issue")));
        QVERIFY(text.contains(QStringLiteral("Page 1 of 1")));
        QVERIFY(text.contains(QStringLiteral("Printed:")));
    }
}

// Projects, their roles, each role's people: every nested list prints the
// children of its own master record, and a role without people prints its
// heading with no lines.
void TestSheets::nestedMasterDetail()
{
    MemoryRecordSource projects({QStringLiteral("PRJ_ID"), QStringLiteral("PRJ_NAME")});
    projects.addRow({1, QStringLiteral("Harbour")});
    projects.addRow({2, QStringLiteral("Lighthouse")});
    projects.setCurrentRow(0); // the user stands on the first project; the run ends on the second
    MemoryRecordSource roles({QStringLiteral("ROLE_ID"), QStringLiteral("PRJ_ID"), QStringLiteral("ROLE_DESCRIPTION")});
    roles.addRow({10, 1, QStringLiteral("HarbourPilot")});
    roles.addRow({11, 1, QStringLiteral("HarbourClerk")});
    roles.addRow({20, 2, QStringLiteral("LighthouseKeeper")});
    roles.setMasterLink(QStringLiteral("PRJ_ID"), QStringLiteral("PRJ_ID"));
    MemoryRecordSource people({QStringLiteral("ROLE_ID"), QStringLiteral("PERSON_NAME")});
    people.addRow({10, QStringLiteral("AnnPilot")});
    people.addRow({10, QStringLiteral("BobPilot")});
    people.addRow({20, QStringLiteral("CyKeeper")});
    people.setMasterLink(QStringLiteral("ROLE_ID"), QStringLiteral("ROLE_ID"));
    people.setFetchBlock(1);

    Sheet sheet;
    sheet.setOrientation(QPageLayout::Landscape);
    Pipeline &main = sheet.addPipeline(projects);
    sheet.setMainPipeline(&main);
    Pipeline &rolePipe = sheet.addPipeline(roles);
    rolePipe.setMaster(&main);
    Pipeline &personPipe = sheet.addPipeline(people);
    personPipe.setMaster(&rolePipe);
    SheetFrame frame(sheet, QStringLiteral("Project Roles"));

    Band &detail = sheet.detail();
    detail.add<DataText>(QRectF(0, 0, 80, 6), main, QStringLiteral("PRJ_NAME"));
    SubSheet &roleSheet = detail.add<SubSheet>(QRectF(5, 7, 200, 10), &rolePipe);
    roleSheet.detail().setHeight(6);
    roleSheet.detail().add<DataText>(QRectF(0, 0, 80, 5), rolePipe, QStringLiteral("ROLE_DESCRIPTION"));
    SubSheet &personSheet = roleSheet.detail().add<SubSheet>(QRectF(10, 6, 150, 5), &personPipe);
    personSheet.title().setHeight(5);
    personSheet.title().add<Label>(QRectF(0, 0, 50, 5), QStringLiteral("PersonInRole"));
    personSheet.detail().setHeight(5);
    personSheet.detail().add<DataText>(QRectF(5, 0, 80, 5), personPipe, QStringLiteral("PERSON_NAME"));

    const Printed printed = run(sheet);
    QCOMPARE(printed.outcome.status, RunOutcome::Status::Printed);
    // Read the body top to bottom: each line belongs under the last heading seen.
    QString project;
    QString role;
    QStringList seen;
    const QMap<QString, QString> roleOf{{QStringLiteral("AnnPilot"), QStringLiteral("HarbourPilot")},
                                        {QStringLiteral("BobPilot"), QStringLiteral("HarbourPilot")},
                                        {QStringLiteral("CyKeeper"), QStringLiteral("LighthouseKeeper")}};
    for (const pdfprobe::Word &word : pdfprobe::words(printed.pdf)) {
        if (word.text == QStringLiteral("Harbour") || word.text == QStringLiteral("Lighthouse")) {
            project = word.text;
            role.clear();
        } else if (word.text.endsWith(QStringLiteral("Pilot")) && word.text.startsWith(QStringLiteral("Harbour"))) {
            QCOMPARE(project, QStringLiteral("Harbour"));
            role = word.text;
        } else if (word.text == QStringLiteral("HarbourClerk")) {
            QCOMPARE(project, QStringLiteral("Harbour"));
            role = word.text;
        } else if (word.text == QStringLiteral("LighthouseKeeper")) {
            QCOMPARE(project, QStringLiteral("Lighthouse"));
            role = word.text;
        } else if (roleOf.contains(word.text)) {
            QCOMPARE(role, roleOf.value(word.text));
        } else {
            continue;
        }
        seen << word.text;
    }
    QCOMPARE(seen, QStringList({QStringLiteral("Harbour"), QStringLiteral("HarbourPilot"), QStringLiteral("AnnPilot"),
                                QStringLiteral("BobPilot"), QStringLiteral("HarbourClerk"),
                                QStringLiteral("Lighthouse"), QStringLiteral("LighthouseKeeper"),
                                QStringLiteral("CyKeeper")}));
    // Every role prints its people heading, also the clerk who has nobody.
    QCOMPARE(pdfprobe::countOf(pdfprobe::words(printed.pdf), QStringLiteral("PersonInRole")), 3);
    // Afterwards the detail sources follow the records the user stands on again.
    QCOMPARE(projects.currentRow(), 0);
    QCOMPARE(roles.count(), 2);
    QCOMPARE(roles.value(0, QStringLiteral("ROLE_DESCRIPTION"))->toString(), QStringLiteral("HarbourPilot"));
    QCOMPARE(people.value(0, QStringLiteral("PERSON_NAME"))->toString(), QStringLiteral("AnnPilot"));
}

// A run prints from its own row and never moves the source's current record;
// it opens and closes only the sources marked close-when-done.
void TestSheets::runLeavesSourcesAsFound()
{
    MemoryRecordSource risks({QStringLiteral("RISK_DESCRIPTION")});
    for (int i = 1; i <= 5; ++i)
        risks.addRow({numbered(QStringLiteral("Risk"), i)});
    risks.setCurrentRow(3);
    risks.close();
    MemoryRecordSource lookups({QStringLiteral("NAME")});
    for (int i = 1; i <= 7; ++i)
        lookups.addRow({numbered(QStringLiteral("Lookup"), i)});
    lookups.setCurrentRow(2);
    lookups.setFetchBlock(2);

    Sheet sheet;
    Pipeline &main = sheet.addPipeline(risks);
    main.setRange(Range::CurrentRecord);
    main.setCloseWhenDone(true);
    sheet.setMainPipeline(&main);
    Pipeline &list = sheet.addPipeline(lookups);
    bool openBeforeRun = true;
    bool openWhilePrinting = false;
    sheet.setBeforePrint([&] { openBeforeRun = risks.isOpen(); });
    sheet.detail().add<DataText>(QRectF(0, 0, 80, 5), main, QStringLiteral("RISK_DESCRIPTION"));
    sheet.detail().add<CalcVariable>(QRectF(100, 0, 50, 5), [&] {
        openWhilePrinting = risks.isOpen();
        return QStringLiteral("Calculated");
    });
    SubSheet &all = sheet.detail().add<SubSheet>(QRectF(0, 8, 100, 5), &list);
    all.detail().setHeight(5);
    all.detail().add<DataText>(QRectF(0, 0, 80, 5), list, QStringLiteral("NAME"));

    for (int pass = 1; pass <= 2; ++pass) {
        const Printed printed = run(sheet);
        const QString text = pdfprobe::text(printed.pdf);
        QVERIFY2(text.contains(QStringLiteral("Risk004")), qPrintable(text));
        QCOMPARE(text.count(QStringLiteral("Risk0")), 1);
        QVERIFY(text.contains(QStringLiteral("Calculated")));
        for (int i = 1; i <= 7; ++i)
            QVERIFY(text.contains(numbered(QStringLiteral("Lookup"), i)));
        QVERIFY(!openBeforeRun);
        QVERIFY(openWhilePrinting);
        QVERIFY(!risks.isOpen());
        // Besides the runs' own, the test closed it first and opens it after each run.
        QCOMPARE(risks.openCount(), 2 * pass - 1);
        QCOMPARE(risks.closeCount(), 2 * pass);
        risks.open();
        QCOMPARE(risks.currentRow(), 3);
        risks.close();
        QVERIFY(lookups.isOpen());
        QCOMPARE(lookups.openCount(), 0);
        QCOMPARE(lookups.closeCount(), 0);
        QCOMPARE(lookups.currentRow(), 2);
    }
}

void TestSheets::displayFormatsOnTheSheet()
{
    MemoryRecordSource project({QStringLiteral("PRJ_CAP_BUDGET"), QStringLiteral("PRJ_CAP_SPEND"),
                                QStringLiteral("END_DATE")});
    project.addRow({1234567.891, -250.0, QDate(2024, 9, 21)});
    project.setCurrentRow(0);
    Sheet sheet;
    Pipeline &main = sheet.addPipeline(project);
    main.setRange(Range::CurrentRecord);
    sheet.setMainPipeline(&main);
    auto &budget = sheet.detail().add<DataText>(QRectF(0, 0, 40, 5), main, QStringLiteral("PRJ_CAP_BUDGET"));
    budget.setDisplayFormat(QStringLiteral("£#,0.00;-£#,0.00"));
    budget.setAlignment(Qt::AlignRight);
    auto &spend = sheet.detail().add<DataText>(QRectF(50, 0, 40, 5), main, QStringLiteral("PRJ_CAP_SPEND"));
    spend.setDisplayFormat(QStringLiteral("$#,0.00;-$#,0.00"));
    auto &end = sheet.detail().add<DataText>(QRectF(100, 0, 60, 5), main, QStringLiteral("END_DATE"));
    end.setDisplayFormat(QStringLiteral("dd mmmm yyyy"));

    const QString text = pdfprobe::text(run(sheet).pdf);
    QVERIFY2(text.contains(QStringLiteral("£1,234,567.89")), qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("-$250.00")));
    QVERIFY(text.contains(QStringLiteral("21 September 2024")));
}

// Rich text reaches the page through the loader the sheet is given (the
// rich-text codec in the application); a memo the loader cannot read still
// prints as the text it holds.
void TestSheets::richTextLoaderHook()
{
    MemoryRecordSource risk({QStringLiteral("IMPACT"), QStringLiteral("LIKELIHOOD")});
    risk.addRow({QByteArray("<p>Severe <b>flooding</b></p>"), QByteArray("{broken")});
    Sheet sheet;
    Pipeline &main = sheet.addPipeline(risk);
    sheet.setMainPipeline(&main);
    sheet.detail().add<DataRichText>(QRectF(0, 0, 150, 5), main, QStringLiteral("IMPACT"));
    sheet.detail().add<DataRichText>(QRectF(0, 10, 150, 5), main, QStringLiteral("LIKELIHOOD"));
    QList<QByteArray> handed;
    sheet.setRichTextLoader([&](const QByteArray &bytes, QTextDocument &doc) {
        handed << bytes;
        if (bytes.startsWith('{'))
            throw std::runtime_error("not a document");
        doc.setHtml(QString::fromUtf8(bytes));
    });

    const QString text = pdfprobe::text(run(sheet).pdf);
    QCOMPARE(handed, QList<QByteArray>({"<p>Severe <b>flooding</b></p>", "{broken"}));
    QVERIFY2(text.contains(QStringLiteral("Severe flooding")), qPrintable(text));
    QVERIFY(!text.contains(QStringLiteral("<b>")));
    QVERIFY(text.contains(QStringLiteral("{broken")));
}

// Record sheets read the stored RTF of other clients through the codec: the
// reader sees the text, not the markup.
void TestSheets::frameReadsStoredRtf()
{
    MemoryRecordSource issue({QStringLiteral("ISSUE_DETAILED_DESCRIPTION")});
    issue.addRow({QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Pump \\b failed\\b0  twice\\par}")});
    Sheet sheet;
    SheetFrame frame(sheet, QStringLiteral("Issue"));
    Pipeline &main = sheet.addPipeline(issue);
    sheet.setMainPipeline(&main);
    sheet.detail().add<DataRichText>(QRectF(0, 0, 150, 5), main, QStringLiteral("ISSUE_DETAILED_DESCRIPTION"));

    const QString text = pdfprobe::text(run(sheet).pdf);
    QVERIFY2(text.contains(QStringLiteral("Pump failed twice")), qPrintable(text));
    QVERIFY(!text.contains(QStringLiteral("rtf1")));
    QVERIFY(!text.contains(QStringLiteral("Arial")));
}

// Page ranges as typed into the print dialog, and copies the PDF printer
// leaves to the application.
void TestSheets::printDialogChoices_data()
{
    QTest::addColumn<QString>("ranges");
    QTest::addColumn<int>("copies");
    QTest::addColumn<bool>("collate");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("all") << QString() << 1 << true << QList<int>{1, 2, 3, 4};
    QTest::newRow("list and range") << QStringLiteral("1,3-4") << 1 << true << QList<int>{1, 3, 4};
    QTest::newRow("range past the end") << QStringLiteral("2,4-12") << 1 << true << QList<int>{2, 4};
    QTest::newRow("two copies collated") << QStringLiteral("1-2") << 2 << true << QList<int>{1, 2, 1, 2};
    QTest::newRow("two copies uncollated") << QStringLiteral("1-2") << 2 << false << QList<int>{1, 1, 2, 2};
}

namespace {

// A list sheet of exactly `pages` pages: one record per page, each band
// kept together and taller than half a page.
void buildPagedSheet(Sheet &sheet, MemoryRecordSource &source, int pages)
{
    for (int i = 1; i <= pages; ++i)
        source.addRow({numbered(QStringLiteral("Record"), i)});
    Pipeline &main = sheet.addPipeline(source);
    sheet.setMainPipeline(&main);
    SheetFrame frame(sheet, QStringLiteral("Skills"));
    sheet.detail().setHeight(150);
    sheet.detail().setKeepTogether(true);
    sheet.detail().add<DataText>(QRectF(0, 0, 80, 5), main, QStringLiteral("NAME"));
}

} // namespace

void TestSheets::printDialogChoices()
{
    QFETCH(QString, ranges);
    QFETCH(int, copies);
    QFETCH(bool, collate);
    QFETCH(QList<int>, expected);

    MemoryRecordSource source({QStringLiteral("NAME")});
    Sheet sheet;
    buildPagedSheet(sheet, source, 4);
    auto ui = std::make_shared<HeadlessPrintUi>();
    ui->setPageRanges(ranges);
    ui->setCopies(copies, collate);
    const Printed printed = run(sheet, Device::Printer, ui);
    QCOMPARE(printed.outcome.pageCount, 4);
    QCOMPARE(ui->printDialogs(), 1);
    QCOMPARE(pdfprobe::pageCount(printed.pdf), int(expected.size()));
    for (int i = 0; i < expected.size(); ++i) {
        const QString text = pdfprobe::text(printed.pdf, i + 1);
        QVERIFY2(text.contains(numbered(QStringLiteral("Record"), expected[i])), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Page %1 of 4").arg(expected[i])));
    }
}

void TestSheets::printCancelled()
{
    MemoryRecordSource source({QStringLiteral("NAME")});
    Sheet sheet;
    buildPagedSheet(sheet, source, 3);

    auto refused = std::make_shared<HeadlessPrintUi>();
    refused->setAcceptPrintDialog(false);
    const Printed notPrinted = run(sheet, Device::Printer, refused);
    QCOMPARE(notPrinted.outcome.status, RunOutcome::Status::Cancelled);
    QCOMPARE(refused->printDialogs(), 1);
    QVERIFY(!QFile::exists(notPrinted.pdf));

    auto stopped = std::make_shared<HeadlessPrintUi>();
    stopped->setCancelAfterPage(1);
    const Printed abandoned = run(sheet, Device::Printer, stopped);
    QCOMPARE(abandoned.outcome.status, RunOutcome::Status::Cancelled);
    QCOMPARE(stopped->pagesReported(), 1);
}

void TestSheets::previewPrintsThroughTheDialog()
{
    MemoryRecordSource source({QStringLiteral("NAME")});
    Sheet sheet;
    buildPagedSheet(sheet, source, 2);
    auto ui = std::make_shared<HeadlessPrintUi>();
    ui->setPrintFromPreview(true);
    const Printed printed = run(sheet, Device::Screen, ui);
    QCOMPARE(printed.outcome.status, RunOutcome::Status::Previewed);
    QCOMPARE(ui->previews(), 1);
    QCOMPARE(ui->printDialogs(), 1);
    QCOMPARE(pdfprobe::pageCount(printed.pdf), 2);
}

QTEST_MAIN(TestSheets)
#include "tst_sheets.moc"
