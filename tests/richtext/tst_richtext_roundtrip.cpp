#include "DocumentDigest.h"
#include "richtext/RichText.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

using corvadel::richtext::test::digest;
namespace richtext = corvadel::richtext;

// Whatever the editor can hold in the codec's subset must come back from
// write() and read() as the same document.
class TestRichTextRoundTrip : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void underlineStyles();
    void blockIndentBecomesMargin();
    void listContinuesAcrossOtherParagraphs();
    void fuzzFindings_data();
    void fuzzFindings();

private:
    static QString readBack(const QTextDocument &doc, QByteArray *written = nullptr);
};

QString TestRichTextRoundTrip::readBack(const QTextDocument &doc, QByteArray *written)
{
    const QByteArray rtf = richtext::write(doc);
    if (written)
        *written = rtf;
    QTextDocument back;
    richtext::read(rtf, back);
    return digest(back);
}

void TestRichTextRoundTrip::roundTrip_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("plain");
    // Something the original's digest must show, so that a row whose input
    // lost the feature on the way in cannot pass by comparing nothing.
    QTest::addColumn<QString>("shows");

    QTest::newRow("styles") << "<p>plain <b>bold</b> <i>italic</i> <u>under</u> <s>struck</s> "
                               "<b><i><u><s>all four</s></u></i></b></p>"
                            << QString() << "\"all four\" w=700 i u=1 s";
    QTest::newRow("faces and sizes")
        << "<p><span style=\"font-family:'Courier New'; font-size:14pt\">mono</span> "
           "<span style=\"font-size:7.5pt\">small</span> <span style=\"font-family:'DejaVu Sans'\">sans</span> "
           "<span style=\"font-size:36pt\">big</span></p>"
        << QString() << "pt=7.5";
    QTest::newRow("colours")
        << "<p><span style=\"color:#c00000\">red</span> <span style=\"background-color:#ffff00\">marked</span> "
           "<span style=\"color:#0000ff; background-color:#e0e0e0\">both</span> "
           "<span style=\"color:#c00000\">red again</span></p>"
        << QString() << "fg=#0000ff bg=#e0e0e0";
    QTest::newRow("alignment")
        << "<p align=\"left\">left</p><p align=\"center\">centre</p><p align=\"right\">right</p>"
           "<p align=\"justify\">justified</p>"
        << QString() << "align=justify";
    QTest::newRow("indents")
        << "<p style=\"margin-left:48px; margin-right:30px; text-indent:-24px\">hanging</p>"
           "<p style=\"text-indent:36px\">first line</p><p style=\"margin-left:100px\">deep</p>"
        << QString() << "left=48 right=30 first=-24";
    QTest::newRow("bullets")
        << "<ul><li>one</li><li>two</li></ul><p>between</p>"
           "<ul style=\"list-style-type:circle\"><li>circle</li></ul>"
           "<ul style=\"list-style-type:square\"><li>square</li></ul>"
        << QString() << "square indent=1";
    QTest::newRow("numbers")
        << "<ol><li>one</li><li>two</li><li>three</li></ol><ol type=\"a\"><li>a</li><li>b</li></ol>"
           "<ol type=\"A\"><li>A</li></ol><ol type=\"i\"><li>i</li><li>ii</li></ol><ol type=\"I\"><li>I</li></ol>"
        << QString() << "item=\"ii.\"";
    QTest::newRow("nested lists")
        << "<ul><li>top<ul><li>inner one</li><li>inner two</li></ul></li><li>top again"
           "<ol><li>numbered inside</li></ol></li></ul>"
        << QString() << "decimal indent=2";
    QTest::newRow("formatted list items")
        << "<ol><li><b>bold</b> item with <i>style</i></li><li style=\"text-align:center\">centred item</li>"
           "<li style=\"margin-left:20px\">indented item</li></ol>"
        << QString() << "align=center list=L1";
    QTest::newRow("Greek Cyrillic CJK")
        << "<p>Ελληνικά κείμενα — Русский текст — 中文文本 日本語のテキスト 한국어 텍스트</p>"
        << QString() << "Русский";
    QTest::newRow("emoji")
        << "<p>Done ✅ thumbs 👍🏽 flag 🇬🇧 and 𝄞</p>" << QString() << "👍🏽";
    QTest::newRow("RTF syntax as text")
        << "<p>{braces} back\\slash \\par {\\rtf1 \\b fake} ; semicolon \\'41 \\u65?</p>" << QString()
        << "{\\\\rtf1";
    QTest::newRow("empty") << QString() << QString() << "P align=left";
    QTest::newRow("empty paragraphs") << QString() << "first\n\n\nafter three\n" << "after three";
    QTest::newRow("tabs and line breaks") << QString() << "a\tb\t\tc\u2028second line" << "\\u0009";
    QTest::newRow("only spaces") << QString() << "   \n \t " << "\"   \"";
}

void TestRichTextRoundTrip::roundTrip()
{
    QFETCH(QString, html);
    QFETCH(QString, plain);
    QFETCH(QString, shows);

    QTextDocument doc;
    if (!html.isEmpty())
        doc.setHtml(html);
    else
        doc.setPlainText(plain);
    const QString original = digest(doc);
    QVERIFY2(original.contains(shows), qPrintable(original));

    QByteArray written;
    QCOMPARE(readBack(doc, &written), original);

    // Seven-bit output: every stored text survives any column character set.
    for (char c : std::as_const(written))
        QVERIFY2(static_cast<unsigned char>(c) < 0x80, written.constData());
}

void TestRichTextRoundTrip::underlineStyles()
{
    const QList<QTextCharFormat::UnderlineStyle> styles = {
        QTextCharFormat::SingleUnderline, QTextCharFormat::DashUnderline, QTextCharFormat::DotLine,
        QTextCharFormat::DashDotLine,     QTextCharFormat::DashDotDotLine, QTextCharFormat::WaveUnderline,
    };
    QTextDocument doc;
    QTextCursor cursor(&doc);
    for (QTextCharFormat::UnderlineStyle style : styles) {
        QTextCharFormat format;
        format.setUnderlineStyle(style);
        cursor.insertText(QStringLiteral("style %1 ").arg(int(style)), format);
    }
    const QString original = digest(doc);
    QVERIFY2(original.contains(QStringLiteral("u=%1").arg(int(QTextCharFormat::WaveUnderline))),
             qPrintable(original));
    QCOMPARE(readBack(doc), original);
}

void TestRichTextRoundTrip::blockIndentBecomesMargin()
{
    // The editor may indent with whole indentation steps; RTF only knows a
    // left indent, so the steps come back as the margin they amount to.
    QTextDocument doc;
    QTextCursor cursor(&doc);
    QTextBlockFormat format;
    format.setIndent(2);
    format.setLeftMargin(10);
    cursor.setBlockFormat(format);
    cursor.insertText(QStringLiteral("indented"));

    QTextDocument back;
    richtext::read(richtext::write(doc), back);
    const QTextBlockFormat read = back.begin().blockFormat();
    QCOMPARE(read.indent(), 0);
    QCOMPARE(read.leftMargin(), 10 + 2 * doc.indentWidth());
}

void TestRichTextRoundTrip::listContinuesAcrossOtherParagraphs()
{
    // One list whose items are separated by an ordinary paragraph keeps
    // counting after it, as the editor shows it.
    QTextDocument doc;
    QTextCursor cursor(&doc);
    QTextList *list = cursor.createList(QTextListFormat::ListDecimal);
    cursor.insertText(QStringLiteral("first"));
    cursor.insertBlock(QTextBlockFormat());
    cursor.insertText(QStringLiteral("not an item"));
    cursor.insertBlock(QTextBlockFormat());
    list->add(cursor.block());
    cursor.insertText(QStringLiteral("second"));

    const QString original = digest(doc);
    QVERIFY2(original.contains(QStringLiteral("item=\"2.\"")), qPrintable(original));
    QCOMPARE(readBack(doc), original);
}

void TestRichTextRoundTrip::fuzzFindings_data()
{
    // Inputs on which the fuzz target once found a fault, kept as found.
    QTest::addColumn<QString>("path");
    const QDir dir(QStringLiteral(CORVADEL_FUZZ_REGRESSIONS));
    const QStringList names = dir.entryList(QDir::Files);
    QVERIFY(!names.isEmpty());
    for (const QString &name : names)
        QTest::newRow(qPrintable(name)) << dir.filePath(name);
}

void TestRichTextRoundTrip::fuzzFindings()
{
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray input = file.readAll();
    QCOMPARE(corvadel::richtext::test::roundTripProblem(input), QString());
    if (!richtext::isRtf(input))
        QCOMPARE(corvadel::richtext::test::roundTripProblem("{\\rtf1 " + input), QString());
}

QTEST_MAIN(TestRichTextRoundTrip)
#include "tst_richtext_roundtrip.moc"
