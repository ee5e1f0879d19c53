#include "DocumentDigest.h"
#include "richtext/RichText.h"

#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

using corvadel::richtext::test::digest;
namespace richtext = corvadel::richtext;

// RTF as other clients and word processors write it, read into documents:
// text and its encodings, formats, lists, and input that is broken or hostile.
class TestRichTextReader : public QObject
{
    Q_OBJECT

private slots:
    void text_data();
    void text();
    void formatting_data();
    void formatting();
    void lists_data();
    void lists();
    void brokenInput_data();
    void brokenInput();
    void clampsAbsurdNumbers();
    void plainTextFallback_data();
    void plainTextFallback();
    void readReplacesTheDocument();
};

static QString readDigest(const QByteArray &rtf)
{
    QTextDocument doc;
    richtext::read(rtf, doc);
    return digest(doc);
}

void TestRichTextReader::text_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");

    // Unicode escapes and the fallback characters that follow them.
    QTest::newRow("\\u with one fallback") << QByteArray(R"({\rtf1 caf\u233?s})") << u"cafés"_qs;
    QTest::newRow("\\uc0 has no fallback") << QByteArray(R"({\rtf1\uc0 \u945\u946 x})") << u"αβx"_qs;
    QTest::newRow("\\uc2 skips two hex bytes") << QByteArray(R"({\rtf1\uc2 \u20320\'c4\'e3!})") << u"你!"_qs;
    QTest::newRow("fallback may be a control word")
        << QByteArray(R"({\rtf1 \u8220\ldblquote x})") << u"“x"_qs;
    QTest::newRow("\\uc belongs to its group")
        << QByteArray(R"({\rtf1{\uc2 \u945 ab}\u946 cd})") << u"αβd"_qs;
    QTest::newRow("fallback ends with the group")
        << QByteArray(R"({\rtf1 {\uc5\u945 ab}cd})") << u"αcd"_qs;
    QTest::newRow("negative \\u") << QByteArray(R"({\rtf1 \u-24691?})") << u"龍"_qs;
    QTest::newRow("surrogate pair") << QByteArray(R"({\rtf1 \u-10179?\u-8704?})") << u"😀"_qs;
    QTest::newRow("lone surrogate") << QByteArray(R"({\rtf1 a\u-10179?b})") << u"a\uFFFDb"_qs;
    QTest::newRow("zero-width no-break space is text, not a byte-order mark")
        << QByteArray(R"({\rtf1 a\u-257?b})") << u"a\uFEFFb"_qs;
    QTest::newRow("code point past 16 bits") << QByteArray(R"({\rtf1 \u128512?})") << u"😀"_qs;

    // Bytes in the code page of the document or of the font.
    QTest::newRow("Windows Latin") << QByteArray(R"({\rtf1\ansi\ansicpg1252 \'93q\'94 \'80 \'e9})")
                                   << u"“q” € é"_qs;
    QTest::newRow("Cyrillic by \\ansicpg")
        << QByteArray(R"({\rtf1\ansi\ansicpg1251 \'cf\'f0\'e8\'e2\'e5\'f2})") << u"Привет"_qs;
    QTest::newRow("Greek by font charset")
        << QByteArray(R"({\rtf1\ansi{\fonttbl{\f0 Arial;}{\f1\fcharset161 Arial Greek;}})"
                      R"(\f1 \'c1\'e8\'de\'ed\'e1\f0  \'e9})")
        << u"Αθήνα é"_qs;
    QTest::newRow("Central European by font charset")
        << QByteArray(R"({\rtf1{\fonttbl{\f0\fcharset238 Arial CE;}}\f0 \'8a\'e1\'b9\'9e})") << u"Šáąž"_qs;
    QTest::newRow("Turkish by font charset")
        << QByteArray(R"({\rtf1{\fonttbl{\f0\fcharset162 Arial TUR;}}\f0 \'fe\'dd\'f0})") << u"şİğ"_qs;
    QTest::newRow("Baltic by font charset")
        << QByteArray(R"({\rtf1{\fonttbl{\f0\fcharset186 Arial Baltic;}}\f0 \'e0\'e8\'eb\'f0})") << u"ąčėš"_qs;
    QTest::newRow("Hebrew by \\ansicpg") << QByteArray(R"({\rtf1\ansi\ansicpg1255 \'f9\'ec\'e5\'ed})")
                                        << u"שלום"_qs;
    QTest::newRow("default font's charset")
        << QByteArray(R"({\rtf1\deff1{\fonttbl{\f0 Arial;}{\f1\fcharset204 Arial Cyr;}}\'cf\'f0\'e8})") << u"При"_qs;
    QTest::newRow("Shift-JIS, trail byte as escaped backslash")
        << QByteArray(R"({\rtf1\ansi\ansicpg932 \'82\'a0\'95\\})") << u"あ表"_qs;
    QTest::newRow("GBK by font charset")
        << QByteArray(R"({\rtf1{\fonttbl{\f0\fcharset134 SimSun;}}\f0 \'c4\'e3\'ba\'c3})") << u"你好"_qs;
    QTest::newRow("Mac Roman") << QByteArray(R"({\rtf1\mac \'8e})") << u"é"_qs;
    QTest::newRow("UTF-8 code page") << QByteArray(R"({\rtf1\ansi\ansicpg65001 \'c3\'a9})") << u"é"_qs;
    QTest::newRow("unknown code page reads as Windows Latin")
        << QByteArray(R"({\rtf1\ansi\ansicpg12345 \'e9})") << u"é"_qs;

    // Symbols, breaks and what is not text.
    QTest::newRow("escaped syntax") << QByteArray(R"({\rtf1 \{a\}\\b})") << u"{a}\\b"_qs;
    QTest::newRow("named characters")
        << QByteArray(R"({\rtf1 \~\-\_\emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote})")
        << u"\u00A0\u00AD\u2011—–•‘’“”"_qs;
    QTest::newRow("tab and line") << QByteArray(R"({\rtf1 a\tab b\line c})") << u"a\tb\u2028c"_qs;
    QTest::newRow("paragraphs, trailing \\par") << QByteArray(R"({\rtf1 a\par b\par})") << u"a\nb"_qs;
    QTest::newRow("empty last paragraph") << QByteArray(R"({\rtf1 a\par\par})") << u"a\n"_qs;
    QTest::newRow("backslash before a line end is \\par") << QByteArray("{\\rtf1 a\\\nb}") << u"a\nb"_qs;
    QTest::newRow("line ends are not text") << QByteArray("{\\rtf1 a\r\nb\n}") << u"ab"_qs;
    QTest::newRow("destinations that are not text")
        << QByteArray(R"({\rtf1{\fonttbl{\f0 Arial;}}{\colortbl;\red1\green2\blue3;}{\stylesheet{\s0 Normal;}})"
                      R"({\info{\title T}{\author A}}{\*\generator G;}{\*\newdest junk}{\pict\pngblip 89504e47})"
                      R"({\header H}{\footnote N}{\*\bkmkstart b}visible})")
        << u"visible"_qs;
    QTest::newRow("unknown words are ignored, not their text")
        << QByteArray(R"({\rtf1 \newfangled42 text})") << u"text"_qs;
    QTest::newRow("\\* without a word") << QByteArray(R"({\rtf1 {\* text}after})") << u"after"_qs;
    QTest::newRow("field shows its result")
        << QByteArray(R"({\rtf1 see {\field{\*\fldinst HYPERLINK "http://x"}{\fldrslt here}}.})") << u"see here."_qs;
    QTest::newRow("binary data may hold braces")
        << QByteArray(R"({\rtf1 a{\pict\bin6 }}}{{\}b})") << u"ab"_qs;
    QTest::newRow("binary data in the body") << QByteArray(R"({\rtf1 a\bin3 xyzb})") << u"ab"_qs;
    QTest::newRow("hidden text") << QByteArray(R"({\rtf1 shown{\v  hidden} too})") << u"shown too"_qs;
    QTest::newRow("list numbers are not text")
        << QByteArray(R"({\rtf1 {\listtext 1.\tab}{\pntext \'b7\tab}item})") << u"item"_qs;
    QTest::newRow("table cells and rows")
        << QByteArray(R"({\rtf1 \trowd\cellx1000\cellx2000\pard\intbl a\cell b\cell\row\pard after\par})")
        << u"a\tb\nafter"_qs;
    QTest::newRow("page break inside and after a paragraph")
        << QByteArray(R"({\rtf1 one\page two\par\page three})") << u"one\ntwo\nthree"_qs;
    QTest::newRow("nothing after the document's group") << QByteArray(R"({\rtf1 a}b{c})") << u"a"_qs;
}

void TestRichTextReader::text()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    // The raw text, so that no-break spaces and line breaks stay visible.
    QTextDocument doc;
    richtext::read(rtf, doc);
    QCOMPARE(doc.toRawText().replace(QChar::ParagraphSeparator, u'\n'), text);
}

void TestRichTextReader::formatting_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");

    QTest::newRow("character properties and their off forms")
        << QByteArray(R"({\rtf1 \b b\b0 \i i\i0 \ul u\ul0 \strike s\strike0 \ul x\ulnone y\uldb d\ulwave w})")
        << "P align=left\n  \"b\" w=700\n  \"i\" i\n  \"u\" u=1\n  \"s\" s\n  \"x\" u=1\n  \"y\"\n  \"d\" u=1\n"
           "  \"w\" u=" + QString::number(QTextCharFormat::WaveUnderline) + "\n";
    QTest::newRow("groups restore, \\plain resets")
        << QByteArray(R"({\rtf1 \b a{\i b}c\plain d})")
        << "P align=left\n  \"a\" w=700\n  \"b\" w=700 i\n  \"c\" w=700\n  \"d\"\n";
    QTest::newRow("faces and sizes")
        << QByteArray(R"({\rtf1{\fonttbl{\f0\fswiss Arial;}{\f1\fmodern\fcharset0 Courier New{\*\falt Courier};}})"
                      R"(\f1\fs28 mono\f0\fs15 small\f7 unknown\fs0 same})")
        << "P align=left\n  \"mono\" family=\"Courier New\" pt=14\n  \"small\" family=\"Arial\" pt=7.5\n"
           "  \"unknownsame\" pt=7.5\n";
    QTest::newRow("font table without entry groups")
        << QByteArray(R"({\rtf1{\fonttbl\f0\fswiss Helvetica;\f1\froman Times;}\f1 t})")
        << "P align=left\n  \"t\" family=\"Times\"\n";
    QTest::newRow("colours")
        << QByteArray(R"({\rtf1{\colortbl;\red255\green0\blue0;\red0\green0\blue255;})"
                      R"(\cf1 red\cf2\highlight1 blue on red\cf0\highlight0 none\cb2 back\chcbpat1 shade\cf9 far})")
        << "P align=left\n  \"red\" fg=#ff0000\n  \"blue on red\" fg=#0000ff bg=#ff0000\n  \"none\"\n"
           "  \"back\" bg=#0000ff\n  \"shadefar\" bg=#ff0000\n";
    QTest::newRow("colour table without the automatic entry")
        << QByteArray(R"({\rtf1{\colortbl\red0\green0\blue0;\red255\green0\blue0;}\cf1 red\cf0 black})")
        << "P align=left\n  \"red\" fg=#ff0000\n  \"black\" fg=#000000\n";
    QTest::newRow("alignment and indents")
        << QByteArray(R"({\rtf1 \qc c\par\qr r\par\qj j\par\pard\li720\ri360\fi-360 i\par\pard\fi720 f\par})")
        << "P align=center\n  \"c\"\nP align=right\n  \"r\"\nP align=justify\n  \"j\"\n"
           "P align=left left=48 right=24 first=-24\n  \"i\"\nP align=left first=48\n  \"f\"\n";
    QTest::newRow("paragraph properties count at the paragraph mark")
        << QByteArray(R"({\rtf1 \pard a\qc\par b})") << "P align=center\n  \"a\"\nP align=center\n  \"b\"\n";
    QTest::newRow("\\pard resets the paragraph")
        << QByteArray(R"({\rtf1 \qc\li720 a\par\pard b\par})")
        << "P align=center left=48\n  \"a\"\nP align=left\n  \"b\"\n";
}

void TestRichTextReader::formatting()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QCOMPARE(readDigest(rtf), expected);
}

// A list table as word processors write one: list 10 numbers "1." with
// "a)" below it; list 20 has bullets that differ by level; list 30 shows no
// number at all.
static const QByteArray kListTables = QByteArray(
    R"({\*\listtable)"
    R"({\list\listtemplateid1{\listlevel\levelnfc0\levelstartat1{\leveltext\'02\'00.;}{\levelnumbers\'01;}\fi-360\li720})"
    R"({\listlevel\levelnfc4\levelstartat1{\leveltext\'02\'01);}{\levelnumbers\'01;}\fi-360\li1440}{\listname ;}\listid10})"
    R"({\list\listtemplateid2{\listlevel\levelnfc23{\leveltext\'01\u8226 ?;}{\levelnumbers;}})"
    R"({\listlevel\levelnfc23{\leveltext\'01o;}{\levelnumbers;}})"
    R"({\listlevel\levelnfc23{\leveltext\'01\u-3929 ?;}{\levelnumbers;}}\listid20})"
    R"({\list\listtemplateid3{\listlevel\levelnfc255{\leveltext\'00;}{\levelnumbers;}}\listid30}})"
    R"({\listoverridetable{\listoverride\listid10\listoverridecount0\ls1})"
    R"({\listoverride\listid20\listoverridecount0\ls2}{\listoverride\listid30\listoverridecount0\ls3}})");

void TestRichTextReader::lists_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("expected");

    QTest::newRow("numbers, and lower levels restart")
        << "{\\rtf1" + kListTables
            + R"(\pard\ls1\ilvl0\li720\fi-360 one\par\ls1\ilvl1\li1440 a\par b\par\ls1\ilvl0\li720 two\par)"
              R"(\ls1\ilvl1\li1440 again\par})"
        << "P align=left list=L1 decimal indent=1 item=\"1.\"\n  \"one\"\n"
           "P align=left list=L2 lower-alpha indent=2 item=\"a)\"\n  \"a\"\n"
           "P align=left list=L2 lower-alpha indent=2 item=\"b)\"\n  \"b\"\n"
           "P align=left list=L1 decimal indent=1 item=\"2.\"\n  \"two\"\n"
           "P align=left list=L3 lower-alpha indent=2 item=\"a)\"\n  \"again\"\n";
    QTest::newRow("bullet glyphs")
        << "{\\rtf1" + kListTables + R"(\pard\ls2\ilvl0 disc\par\ls2\ilvl1 circle\par\ls2\ilvl2 square\par})"
        << "P align=left list=L1 disc indent=1\n  \"disc\"\n"
           "P align=left list=L2 circle indent=2\n  \"circle\"\n"
           "P align=left list=L3 square indent=3\n  \"square\"\n";
    QTest::newRow("numbering goes on after other paragraphs")
        << "{\\rtf1" + kListTables + R"(\pard\ls1 one\par\pard between\par\pard\ls1 two\par})"
        << "P align=left list=L1 decimal indent=1 item=\"1.\"\n  \"one\"\nP align=left\n  \"between\"\n"
           "P align=left list=L1 decimal indent=1 item=\"2.\"\n  \"two\"\n";
    QTest::newRow("indents beyond the list's own")
        << "{\\rtf1" + kListTables + R"(\pard\ls1\li1080\fi-360 deeper\par\pard\ls1\li720\fi360 first\par})"
        << "P align=left left=24 list=L1 decimal indent=1 item=\"1.\"\n  \"deeper\"\n"
           "P align=left first=24 list=L1 decimal indent=1 item=\"2.\"\n  \"first\"\n";
    QTest::newRow("level without a number is no list")
        << "{\\rtf1" + kListTables + R"(\pard\ls3 plain\par})" << "P align=left\n  \"plain\"\n";
    QTest::newRow("item of an unknown list is still an item")
        << QByteArray(R"({\rtf1 \pard\ls7\ilvl1 orphan\par})") << "P align=left list=L1 disc indent=2\n  \"orphan\"\n";
    QTest::newRow("old-style numbering as rich-edit controls write it")
        << QByteArray(R"({\rtf1{\fonttbl{\f0 Arial;}{\f1\fcharset2 Symbol;}})"
                      R"(\pard{\pntext\f0 1.\tab}{\*\pn\pnlvlbody\pnf0\pnindent0\pnstart1\pndec{\pntxta.}})"
                      R"(\fi-360\li720 One\par{\pntext\f0 2.\tab}Two\par\pard Normal\par)"
                      R"({\pntext\f1\'b7\tab}{\*\pn\pnlvlblt\pnf1\pnindent0{\pntxtb\'b7}}\fi-360\li720 Bullet\par})")
        << "P align=left list=L1 decimal indent=1 item=\"1.\"\n  \"One\"\n"
           "P align=left list=L1 decimal indent=1 item=\"2.\"\n  \"Two\"\n"
           "P align=left\n  \"Normal\"\n"
           "P align=left list=L2 disc indent=1\n  \"Bullet\"\n";
    QTest::newRow("old-style numbering restarts after a plain paragraph")
        << QByteArray(R"({\rtf1 {\*\pn\pnlvlbody\pndec}a\par\pard b\par{\*\pn\pnlvlbody\pndec}c\par})")
        << "P align=left list=L1 decimal indent=1 item=\"1\"\n  \"a\"\nP align=left\n  \"b\"\n"
           "P align=left list=L2 decimal indent=1 item=\"1\"\n  \"c\"\n";
    QTest::newRow("old-style letters with text around")
        << QByteArray(R"({\rtf1 {\*\pn\pnlvl2\pnlcltr{\pntxtb (}{\pntxta )}}x\par y\par})")
        << "P align=left list=L1 lower-alpha indent=2 item=\"(a)\"\n  \"x\"\n"
           "P align=left list=L1 lower-alpha indent=2 item=\"(b)\"\n  \"y\"\n";
    QTest::newRow("old-style continuation paragraph")
        << QByteArray(R"({\rtf1 {\*\pn\pnlvlbody\pnucrm{\pntxta .}}x\par{\*\pn\pnlvlcont}more\par})")
        << "P align=left list=L1 upper-roman indent=1 item=\"I.\"\n  \"x\"\nP align=left\n  \"more\"\n";
}

void TestRichTextReader::lists()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, expected);
    QCOMPARE(readDigest(rtf), expected);
}

void TestRichTextReader::brokenInput_data()
{
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("text");

    const qsizetype many = 100000;
    QTest::newRow("truncated inside a group") << QByteArray(R"({\rtf1 abc{\b def)") << u"abcdef"_qs;
    QTest::newRow("truncated after \\par") << QByteArray(R"({\rtf1 abc\par)") << u"abc"_qs;
    QTest::newRow("truncated escape") << QByteArray(R"({\rtf1 abc\')") << u"abc"_qs;
    QTest::newRow("truncated hex") << QByteArray(R"({\rtf1 abc\'4)") << u"abc"_qs;
    QTest::newRow("truncated backslash") << QByteArray("{\\rtf1 abc\\") << u"abc"_qs;
    QTest::newRow("tables nested in the list table")
        << QByteArray(R"({\rtf1{\*\listtable{\list{\listlevel{\leveltext\'01{\*\listtable{\list\listid2}})"
                      R"({\fonttbl{\f0 X;}}x;}}\listid1}}{\listoverridetable{\listoverride\listid1\ls1}}\ls1 item})")
        << u"item"_qs;
    QTest::newRow("truncated header") << QByteArray("{\\rtf") << QString();
    QTest::newRow("truncated font table")
        << QByteArray(R"({\rtf1{\fonttbl{\f0\fcharset204 Ari)") << QString();
    QTest::newRow("extra closing braces") << QByteArray(R"({\rtf1 a}}}}b)") << u"a"_qs;
    QTest::newRow("NUL bytes") << QByteArray("{\\rtf1 a\0b}", 11) << u"ab"_qs;
    QTest::newRow("\\bin longer than the input") << QByteArray(R"({\rtf1 a\bin999999999 bc})") << u"a"_qs;
    QTest::newRow("negative \\bin") << QByteArray(R"({\rtf1 a\bin-5 bc})") << u"abc"_qs;
    QTest::newRow("stray \\' runs") << "{\\rtf1 " + QByteArray("\\'").repeated(many) + "x}" << u"x"_qs;
    QTest::newRow("deep nesting")
        << "{\\rtf1 " + QByteArray("{").repeated(many) + "deep" + QByteArray("}").repeated(many) + " end}"
        << u"deep end"_qs;
    QTest::newRow("deep nesting never closed") << "{\\rtf1 " + QByteArray("{\\b ").repeated(many) + "x" << u"x"_qs;
    QTest::newRow("deep nesting in a skipped destination")
        << "{\\rtf1 {\\*\\x " + QByteArray("{").repeated(many) + QByteArray("}").repeated(many) + "}ok}" << u"ok"_qs;
    QTest::newRow("font table flood")
        << [&] {
               QByteArray rtf = "{\\rtf1{\\fonttbl";
               for (int i = 0; i < many; ++i)
                   rtf += "{\\f" + QByteArray::number(i) + " F" + QByteArray::number(i) + ";}";
               return rtf + "}\\f99999 x}";
           }()
        << u"x"_qs;
    QTest::newRow("colour table flood")
        << "{\\rtf1{\\colortbl" + QByteArray("\\red1;").repeated(many) + "}\\cf99999 x}" << u"x"_qs;
    QTest::newRow("list table flood")
        << "{\\rtf1{\\*\\listtable" + QByteArray("{\\list{\\listlevel{\\leveltext\\'01x;}}\\listid1}").repeated(many)
            + "}{\\listoverridetable" + QByteArray("{\\listoverride\\listid1\\ls1}").repeated(many)
            + "}\\ls1 x}"
        << u"x"_qs;
    // Longer than one list may grow: the items go on in further lists.
    const qsizetype items = 20000;
    QTest::newRow("list item flood")
        << "{\\rtf1 " + QByteArray("\\ls1\\ilvl8 \\par ").repeated(items) + "x}" << QString(items, u'\n') + u'x';
    QTest::newRow("endless digits")
        << "{\\rtf1 \\fs" + QByteArray("9").repeated(many) + " x\\u-" + QByteArray("9").repeated(many) + " y}"
        << u"x\uFFFD"_qs;
}

void TestRichTextReader::brokenInput()
{
    QFETCH(QByteArray, rtf);
    QFETCH(QString, text);
    QTextDocument doc;
    richtext::read(rtf, doc);
    QCOMPARE(doc.toPlainText(), text);
    // Whatever was read is a document the writer and reader agree on.
    QTextDocument again;
    richtext::read(richtext::write(doc), again);
    QCOMPARE(digest(again), digest(doc));
}

void TestRichTextReader::clampsAbsurdNumbers()
{
    QTextDocument doc;
    richtext::read(R"({\rtf1 \fs99999999999 \li99999999999\fi-99999999999\ri-5 big\par})", doc);
    const QTextBlock block = doc.begin();
    QCOMPARE(block.begin().fragment().charFormat().fontPointSize(), 1638.0);
    QCOMPARE(block.blockFormat().leftMargin(), 31680 / 15.0);
    QCOMPARE(block.blockFormat().textIndent(), -31680 / 15.0);
    QCOMPARE(block.blockFormat().rightMargin(), 0.0);
}

void TestRichTextReader::plainTextFallback_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<bool>("rtf");
    QTest::addColumn<QString>("text");

    QTest::newRow("UTF-8") << QByteArray("Grüße 😀\nzweite Zeile") << false << u"Grüße 😀\nzweite Zeile"_qs;
    QTest::newRow("Windows Latin") << QByteArray("caf\xe9 \x80 5 \xbd") << false << u"café € 5 ½"_qs;
    QTest::newRow("CRLF and CR") << QByteArray("a\r\nb\rc\n") << false << u"a\nb\nc\n"_qs;
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBFtext") << false << u"text"_qs;
    QTest::newRow("characters a document cannot store")
        << QByteArray("a\x01" "b\tc\x1b\x7f d\uFFFC\uFDD0e") << false << u"ab\tc de"_qs;
    QTest::newRow("RTF after a byte-order mark and blank lines")
        << QByteArray("\xEF\xBB\xBF \r\n{\\rtf1 x}") << true << u"x"_qs;
    QTest::newRow("almost RTF") << QByteArray("{\\rt x}") << false << u"{\\rt x}"_qs;
    QTest::newRow("RTF later in the text") << QByteArray("note: {\\rtf1 x}") << false << u"note: {\\rtf1 x}"_qs;
    QTest::newRow("empty") << QByteArray() << false << QString();
}

void TestRichTextReader::plainTextFallback()
{
    QFETCH(QByteArray, stored);
    QFETCH(bool, rtf);
    QFETCH(QString, text);

    QCOMPARE(richtext::isRtf(stored), rtf);
    QCOMPARE(richtext::plainText(stored), text);
    QTextDocument doc;
    richtext::read(stored, doc);
    QCOMPARE(doc.toPlainText(), text);
}

void TestRichTextReader::readReplacesTheDocument()
{
    QTextDocument doc;
    doc.setHtml(QStringLiteral("<ul><li><b>old</b> text</li></ul>"));
    richtext::read(R"({\rtf1 new})", doc);
    QCOMPARE(digest(doc), u"P align=left\n  \"new\"\n"_qs);
    // A freshly loaded text is not an edit: nothing to save, nothing to undo.
    QVERIFY(!doc.isModified());
    QVERIFY(!doc.isUndoAvailable());
    QVERIFY(doc.isUndoRedoEnabled());
}

QTEST_MAIN(TestRichTextReader)
#include "tst_richtext_reader.moc"
