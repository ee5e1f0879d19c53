#include "DocumentDigest.h"
#include "richtext/RichText.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>

#include <memory>

using corvadel::richtext::test::digest;
namespace richtext = corvadel::richtext;

// RTF written by real word processors from the sources in fixtures/sources
// (see fixtures/README.md). Both processors were given the same source, so
// the same expectations hold for both files.
class TestRichTextFixtures : public QObject
{
    Q_OBJECT

private slots:
    void formatting_data();
    void formatting();
    void lists_data();
    void lists();
    void tableAndPicture_data();
    void tableAndPicture();
    void rewrittenFixturesReadBack_data();
    void rewrittenFixturesReadBack();

private:
    static void addProcessorRows();
};

static QByteArray fixture(const QString &name)
{
    QFile file(QStringLiteral(CORVADEL_RICHTEXT_FIXTURES "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", qPrintable(file.fileName()));
    return file.readAll();
}

static std::unique_ptr<QTextDocument> load(const QString &name)
{
    auto doc = std::make_unique<QTextDocument>();
    richtext::read(fixture(name), *doc);
    return doc;
}

static QStringList nonEmptyParagraphs(const QTextDocument &doc)
{
    QStringList out;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (!block.text().isEmpty())
            out << block.text();
    }
    return out;
}

static QTextBlock blockStartingWith(const QTextDocument &doc, const QString &text)
{
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (block.text().startsWith(text))
            return block;
    }
    return {};
}

// The format of the run holding exactly `text`.
static QTextCharFormat runFormat(const QTextDocument &doc, const QString &text)
{
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().text() == text)
                return it.fragment().charFormat();
        }
    }
    qWarning("no run \"%s\"", qPrintable(text));
    return {};
}

void TestRichTextFixtures::addProcessorRows()
{
    QTest::addColumn<QString>("processor");
    QTest::newRow("LibreOffice") << "libreoffice";
    QTest::newRow("AbiWord") << "abiword";
}

void TestRichTextFixtures::formatting_data()
{
    addProcessorRows();
}

void TestRichTextFixtures::formatting()
{
    QFETCH(QString, processor);
    const auto doc = load(processor + "-formatting.rtf");

    QCOMPARE(nonEmptyParagraphs(*doc),
             QStringList({
                 u"Plain, bold, italic, underlined, struck and bold italic."_qs,
                 u"Courier New 14 and twenty points."_qs,
                 u"Red text and yellow highlight."_qs,
                 u"Centred paragraph"_qs,
                 u"Right-aligned paragraph"_qs,
                 u"Justified paragraph with enough words to wrap across more than a single line of the page "
                 u"when it is laid out by the word processor."_qs,
                 u"Indented one inch on the left"_qs,
                 u"First line indented half an inch"_qs,
                 u"Greek: Καλημέρα κόσμε. Cyrillic: Привет, мир. CJK: 你好，世界. 日本語のテキスト."_qs,
                 u"Braces {like these}, a back\\slash and a euro sign €."_qs,
                 u"Line one\u2028line two after a break"_qs,
             }));

    const QTextCharFormat plain = runFormat(*doc, u"Plain, "_qs);
    QCOMPARE(plain.fontWeight(), int(QFont::Normal));
    QVERIFY(!plain.fontItalic() && !plain.fontUnderline() && !plain.fontStrikeOut());
    QCOMPARE(runFormat(*doc, u"bold"_qs).fontWeight(), int(QFont::Bold));
    QVERIFY(runFormat(*doc, u"italic"_qs).fontItalic());
    QVERIFY(runFormat(*doc, u"underlined"_qs).fontUnderline());
    QVERIFY(runFormat(*doc, u"struck"_qs).fontStrikeOut());
    const QTextCharFormat both = runFormat(*doc, u"bold italic"_qs);
    QVERIFY(both.fontWeight() == QFont::Bold && both.fontItalic());

    const QTextCharFormat mono = runFormat(*doc, u"Courier New 14"_qs);
    QCOMPARE(mono.property(QTextFormat::FontFamilies).toStringList().value(0), u"Courier New"_qs);
    QCOMPARE(mono.fontPointSize(), 14.0);
    QCOMPARE(runFormat(*doc, u"twenty points"_qs).fontPointSize(), 20.0);

    const QTextCharFormat red = runFormat(*doc, u"Red text"_qs);
    QCOMPARE(red.foreground().color(), QColor(Qt::red));
    QVERIFY(!red.hasProperty(QTextFormat::BackgroundBrush));
    QCOMPARE(runFormat(*doc, u"yellow highlight"_qs).background().color(), QColor(Qt::yellow));

    QCOMPARE(blockStartingWith(*doc, u"Centred"_qs).blockFormat().alignment(), Qt::AlignHCenter);
    QCOMPARE(blockStartingWith(*doc, u"Right-aligned"_qs).blockFormat().alignment(), Qt::AlignRight);
    QCOMPARE(blockStartingWith(*doc, u"Justified"_qs).blockFormat().alignment(), Qt::AlignJustify);
    QCOMPARE(blockStartingWith(*doc, u"Plain"_qs).blockFormat().alignment(), Qt::AlignLeft);
    QCOMPARE(blockStartingWith(*doc, u"Indented one inch"_qs).blockFormat().leftMargin(), 96.0);
    QCOMPARE(blockStartingWith(*doc, u"First line"_qs).blockFormat().textIndent(), 48.0);
}

void TestRichTextFixtures::lists_data()
{
    QTest::addColumn<QString>("processor");
    // AbiWord's HTML import numbers every ordered list with digits.
    QTest::addColumn<QStringList>("letters");
    QTest::addColumn<QStringList>("romans");
    QTest::addColumn<QTextListFormat::Style>("letterStyle");
    QTest::addColumn<QTextListFormat::Style>("romanStyle");
    QTest::newRow("LibreOffice") << "libreoffice" << QStringList{"a.", "b."} << QStringList{"I.", "II."}
                                 << QTextListFormat::ListLowerAlpha << QTextListFormat::ListUpperRoman;
    QTest::newRow("AbiWord") << "abiword" << QStringList{"1.", "2."} << QStringList{"1.", "2."}
                             << QTextListFormat::ListDecimal << QTextListFormat::ListDecimal;
}

void TestRichTextFixtures::lists()
{
    QFETCH(QString, processor);
    QFETCH(QStringList, letters);
    QFETCH(QStringList, romans);
    QFETCH(QTextListFormat::Style, letterStyle);
    QFETCH(QTextListFormat::Style, romanStyle);
    const auto doc = load(processor + "-lists.rtf");

    const auto listOf = [&](const QString &text) { return blockStartingWith(*doc, text).textList(); };
    const auto itemOf = [&](const QString &text) {
        const QTextBlock block = blockStartingWith(*doc, text);
        return block.textList() ? block.textList()->itemText(block) : QString();
    };

    for (const QString &text : {u"Bullets:"_qs, u"Numbers:"_qs, u"Letters:"_qs, u"Roman:"_qs, u"After the lists."_qs})
        QVERIFY2(!listOf(text), qPrintable(text));

    QTextList *bullets = listOf(u"First bullet"_qs);
    QVERIFY(bullets);
    QCOMPARE(bullets->format().style(), QTextListFormat::ListDisc);
    QCOMPARE(bullets->format().indent(), 1);
    QCOMPARE(listOf(u"Second bullet"_qs), bullets);
    QCOMPARE(listOf(u"Third bullet"_qs), bullets);   // after the nested item, the same list goes on
    QTextList *nested = listOf(u"Nested bullet"_qs);
    QVERIFY(nested && nested != bullets);
    QCOMPARE(nested->format().indent(), 2);
    QCOMPARE(nested->format().style(), QTextListFormat::ListDisc);

    QTextList *numbers = listOf(u"One"_qs);
    QVERIFY(numbers && numbers != bullets);
    QCOMPARE(numbers->format().style(), QTextListFormat::ListDecimal);
    QCOMPARE(QStringList({itemOf(u"One"_qs), itemOf(u"Two"_qs), itemOf(u"Three"_qs)}),
             QStringList({"1.", "2.", "3."}));

    QCOMPARE(listOf(u"Alpha"_qs)->format().style(), letterStyle);
    QCOMPARE(QStringList({itemOf(u"Alpha"_qs), itemOf(u"Beta"_qs)}), letters);
    QCOMPARE(listOf(u"Primus"_qs)->format().style(), romanStyle);
    QCOMPARE(QStringList({itemOf(u"Primus"_qs), itemOf(u"Secundus"_qs)}), romans);
    QVERIFY(listOf(u"Alpha"_qs) != numbers && listOf(u"Primus"_qs) != listOf(u"Alpha"_qs));

    // The list draws the indentation: no margin is left over on the items.
    QCOMPARE(blockStartingWith(*doc, u"First bullet"_qs).blockFormat().leftMargin(), 0.0);
    QCOMPARE(blockStartingWith(*doc, u"One"_qs).blockFormat().textIndent(), 0.0);
}

void TestRichTextFixtures::tableAndPicture_data()
{
    addProcessorRows();
}

void TestRichTextFixtures::tableAndPicture()
{
    // Neither tables nor pictures are kept, but every word around and in
    // them is, and no picture data turns into text.
    QFETCH(QString, processor);
    const auto doc = load(processor + "-table-and-picture.rtf");
    QCOMPARE(nonEmptyParagraphs(*doc), QStringList({
                                           u"Before the table."_qs,
                                           u"Risk\tOwner"_qs,
                                           u"Late delivery\tAna Müller"_qs,
                                           u"Between table and picture."_qs,
                                           u"After the picture."_qs,
                                       }));
}

void TestRichTextFixtures::rewrittenFixturesReadBack_data()
{
    QTest::addColumn<QString>("name");
    const QStringList names = QDir(QStringLiteral(CORVADEL_RICHTEXT_FIXTURES)).entryList({"*.rtf"}, QDir::Files);
    QVERIFY(names.size() >= 6);
    for (const QString &name : names)
        QTest::newRow(qPrintable(name)) << name;
}

void TestRichTextFixtures::rewrittenFixturesReadBack()
{
    // What a user opens from another client and saves unchanged must read
    // back the same.
    QFETCH(QString, name);
    const auto doc = load(name);
    QTextDocument back;
    richtext::read(richtext::write(*doc), back);
    QCOMPARE(digest(back), digest(*doc));
}

QTEST_MAIN(TestRichTextFixtures)
#include "tst_richtext_fixtures.moc"
