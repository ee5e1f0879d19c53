#pragma once

#include "CodePages.h"
#include "RtfLists.h"

#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextList>

#include <optional>

class QTextDocument;

namespace corvadel::richtext::detail {

struct RtfToken;

// Reads RTF into a QTextDocument: the text with its character formats,
// paragraph alignment and indents, and bulleted and numbered lists. Whatever
// else the RTF holds (pictures, tables' layout, styles, headers) is passed
// over, keeping any body text it contains.
//
// One reader reads one document; read() appends to the document's cursor
// position, so the caller clears the document first.
class RtfReader
{
public:
    explicit RtfReader(QTextDocument &doc);

    void read(QByteArrayView rtf);

private:
    enum class Destination : quint8 {
        Body,
        Skip,
        FontTable,
        ColorTable,
        ListTable,
        ListDefinition,
        ListLevel,
        LevelText,
        OverrideTable,
        Override,
        LegacyNumbering,    // {\*\pn ...}
        LegacyTextBefore,   // {\pntxtb ...}
        LegacyTextAfter,    // {\pntxta ...}
    };

    struct CharState
    {
        bool bold = false;
        bool italic = false;
        bool strike = false;
        bool hidden = false;
        QTextCharFormat::UnderlineStyle underline = QTextCharFormat::NoUnderline;
        int font = -1;         // \fN as written, -1 until one is given
        int halfPoints = 0;    // \fsN, 0 until one is given
        int foreground = -1;   // colour table indices
        int background = -1;
        bool operator==(const CharState &) const = default;
    };

    // Old-style numbering (\pn...), which belongs to the paragraph.
    struct LegacyNumbering
    {
        bool active = false;
        QTextListFormat::Style style = QTextListFormat::ListDecimal;
        int level = 1;
        QString textBefore;
        QString textAfter;
    };

    struct ParaState
    {
        Qt::Alignment alignment = Qt::AlignLeft;
        int leftTwips = 0;
        int rightTwips = 0;
        int firstLineTwips = 0;
        int listOverride = 0;   // \lsN, 0 for none
        int listLevel = 0;      // \ilvlN
        LegacyNumbering numbering;
    };

    struct GroupState
    {
        Destination destination = Destination::Body;
        CharState chars;
        ParaState para;
        int unicodeSkip = 1;   // \ucN
    };

    struct FontEntry
    {
        QString name;
        int codePage = 0;   // 0: the document's
    };

    struct ListDefinition
    {
        QList<RtfListLevel> levels;
    };

    void handleToken(const RtfToken &token);
    void openGroup();
    void closeGroup();
    void endDestination(const GroupState &closed);
    void handleControlWord(QByteArrayView name, bool hasParam, int param);
    void handleControlSymbol(char symbol);
    void handleDestinationWord(int word, bool starred);

    GroupState &top() { return m_stack.last(); }
    bool inBody() const { return m_stack.last().destination == Destination::Body; }

    // Text arrives as bytes (decoded by the code page in force) or as
    // characters (\uN and the named symbols); both end in emitText().
    void appendByte(char byte);
    void flushBytes();
    int currentCodePage() const;
    void emitText(QStringView text);
    void emitBodyText(QStringView text);

    // The document side.
    void flushRun();
    void ensureBlock();
    void endParagraph();
    void softBreak();
    void finish();
    void applyParagraphFormat();
    std::optional<QTextListFormat> listFormatFor(const ParaState &para) const;
    QTextCharFormat charFormat(const CharState &chars) const;

    void commitFont();
    void commitColor();

    QTextCursor m_cursor;   // at the end of the document being built
    CodePageDecoder m_decoder;

    QList<GroupState> m_stack;
    // Counted as wide as the input can be long: a blob of nothing but '{'
    // must not overflow them.
    qsizetype m_flattenedDepth = 0;   // groups past kMaxGroupDepth, sharing the top state
    qsizetype m_skipDepth = 0;        // groups nested inside a skipped destination
    bool m_starPending = false; // \* seen, its destination word not yet
    int m_pendingSkip = 0;      // fallback characters after \uN still to skip
    bool m_done = false;

    int m_ansiCodePage = kCodePageWindowsLatin;
    int m_defaultFont = -1;

    QByteArray m_bytes;   // undecoded text bytes

    QHash<int, FontEntry> m_fonts;
    int m_fontEntry = -1;   // the font table entry being read
    FontEntry m_fontEntryData;
    QList<QColor> m_colors;
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colorGiven = false;

    QHash<int, ListDefinition> m_listDefinitions;   // by \listid
    ListDefinition m_listDefinition;                // the one being read
    int m_listDefinitionId = 0;
    bool m_listDefinitionIdGiven = false;
    QHash<int, int> m_overrides;                    // \lsN to \listid
    int m_overrideList = 0;
    int m_overrideIndex = 0;

    // Lists of the document so far, so that later paragraphs join them:
    // by (\ls, \ilvl) for list-table lists, by level for old-style numbering.
    // Guarded: the document deletes a list when its last block leaves it.
    QHash<quint64, QPointer<QTextList>> m_lists;
    QHash<int, QPointer<QTextList>> m_legacyLists;

    // The paragraph being built.
    QString m_run;
    CharState m_runChars;
    bool m_pendingBlock = false;   // a paragraph ended; the next content starts a block
    bool m_blockHasText = false;
    bool m_pendingCellTab = false;
};

} // namespace corvadel::richtext::detail
