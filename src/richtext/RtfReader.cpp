#include "RtfReader.h"

#include "RtfLexer.h"
#include "RtfLimits.h"
#include "RtfMeasures.h"
#include "StorableText.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QPointer>

#include <algorithm>
#include <array>
#include <string_view>

namespace corvadel::richtext::detail {

namespace {

enum Word : int {
    // document
    W_Unknown, W_Rtf, W_Ansi, W_Mac, W_Pc, W_Pca, W_AnsiCpg, W_Deff, W_Uc, W_U,
    // destinations we read
    W_FontTable, W_ColorTable, W_ListTable, W_List, W_ListLevel, W_LevelText,
    W_OverrideTable, W_Override, W_Pn, W_PnTextBefore, W_PnTextAfter,
    // destinations whose content is not the document's text
    W_SkipDestination,
    // tables
    W_FontCharset, W_CodePage, W_Font, W_Red, W_Green, W_Blue,
    W_ListId, W_LevelNfc, W_ListOverride, W_ListLevelIndex,
    // old-style numbering
    W_PnBullet, W_PnBody, W_PnContinue, W_PnLevel, W_PnDecimal, W_PnUpperLetter,
    W_PnLowerLetter, W_PnUpperRoman, W_PnLowerRoman,
    // characters
    W_Plain, W_Bold, W_Italic, W_Underline, W_UnderlineNone, W_UnderlineDotted,
    W_UnderlineDash, W_UnderlineDashDot, W_UnderlineDashDotDot, W_UnderlineWave,
    W_Strike, W_FontSize, W_Foreground, W_Background, W_Hidden,
    // paragraphs
    W_Pard, W_AlignLeft, W_AlignRight, W_AlignCenter, W_AlignJustify,
    W_LeftIndent, W_RightIndent, W_FirstIndent,
    // breaks and special characters
    W_Par, W_Line, W_Tab, W_Cell, W_Row, W_SoftBreak, W_Char,
};

struct WordEntry
{
    std::string_view name;
    Word word;
    char16_t character = 0;   // for W_Char
};

// Sorted by name for binary search.
constexpr std::array kWords = std::to_array<WordEntry>({
    {"aftncn", W_SkipDestination},
    {"aftnsep", W_SkipDestination},
    {"aftnsepc", W_SkipDestination},
    {"annotation", W_SkipDestination},
    {"ansi", W_Ansi},
    {"ansicpg", W_AnsiCpg},
    {"atnauthor", W_SkipDestination},
    {"atndate", W_SkipDestination},
    {"atnid", W_SkipDestination},
    {"atnref", W_SkipDestination},
    {"b", W_Bold},
    {"blue", W_Blue},
    {"bullet", W_Char, 0x2022},
    {"cb", W_Background},
    {"cell", W_Cell},
    {"cf", W_Foreground},
    {"chcbpat", W_Background},
    {"colortbl", W_ColorTable},
    {"column", W_SoftBreak},
    {"cpg", W_CodePage},
    {"datafield", W_SkipDestination},
    {"deff", W_Deff},
    {"do", W_SkipDestination},
    {"docvar", W_SkipDestination},
    {"emdash", W_Char, 0x2014},
    {"emspace", W_Char, 0x2003},
    {"endash", W_Char, 0x2013},
    {"enspace", W_Char, 0x2002},
    {"f", W_Font},
    {"fcharset", W_FontCharset},
    {"fi", W_FirstIndent},
    {"filetbl", W_SkipDestination},
    {"fldinst", W_SkipDestination},
    {"fonttbl", W_FontTable},
    {"footer", W_SkipDestination},
    {"footerf", W_SkipDestination},
    {"footerl", W_SkipDestination},
    {"footerr", W_SkipDestination},
    {"footnote", W_SkipDestination},
    {"formfield", W_SkipDestination},
    {"fs", W_FontSize},
    {"ftncn", W_SkipDestination},
    {"ftnsep", W_SkipDestination},
    {"ftnsepc", W_SkipDestination},
    {"green", W_Green},
    {"header", W_SkipDestination},
    {"headerf", W_SkipDestination},
    {"headerl", W_SkipDestination},
    {"headerr", W_SkipDestination},
    {"highlight", W_Background},
    {"i", W_Italic},
    {"ilvl", W_ListLevelIndex},
    {"info", W_SkipDestination},
    {"ldblquote", W_Char, 0x201C},
    {"levelnfc", W_LevelNfc},
    {"levelnfcn", W_LevelNfc},
    {"levelnumbers", W_SkipDestination},
    {"leveltext", W_LevelText},
    {"lfolevel", W_SkipDestination},
    {"li", W_LeftIndent},
    {"line", W_Line},
    {"list", W_List},
    {"listid", W_ListId},
    {"listlevel", W_ListLevel},
    {"listname", W_SkipDestination},
    {"listoverride", W_Override},
    {"listoverridetable", W_OverrideTable},
    {"listpicture", W_SkipDestination},
    {"listtable", W_ListTable},
    {"listtext", W_SkipDestination},
    {"lquote", W_Char, 0x2018},
    {"ls", W_ListOverride},
    {"ltrmark", W_Char, 0x200E},
    {"mac", W_Mac},
    {"nestcell", W_Cell},
    {"nestrow", W_Row},
    {"nonesttables", W_SkipDestination},
    {"nonshppict", W_SkipDestination},
    {"objdata", W_SkipDestination},
    {"page", W_SoftBreak},
    {"par", W_Par},
    {"pard", W_Pard},
    {"pc", W_Pc},
    {"pca", W_Pca},
    {"pict", W_SkipDestination},
    {"plain", W_Plain},
    {"pn", W_Pn},
    {"pndec", W_PnDecimal},
    {"pnlcltr", W_PnLowerLetter},
    {"pnlcrm", W_PnLowerRoman},
    {"pnlvl", W_PnLevel},
    {"pnlvlblt", W_PnBullet},
    {"pnlvlbody", W_PnBody},
    {"pnlvlcont", W_PnContinue},
    {"pnseclvl", W_SkipDestination},
    {"pntext", W_SkipDestination},
    {"pntxta", W_PnTextAfter},
    {"pntxtb", W_PnTextBefore},
    {"pnucltr", W_PnUpperLetter},
    {"pnucrm", W_PnUpperRoman},
    {"qc", W_AlignCenter},
    {"qd", W_AlignJustify},
    {"qj", W_AlignJustify},
    {"ql", W_AlignLeft},
    {"qmspace", W_Char, 0x2005},
    {"qr", W_AlignRight},
    {"rdblquote", W_Char, 0x201D},
    {"red", W_Red},
    {"revtbl", W_SkipDestination},
    {"ri", W_RightIndent},
    {"row", W_Row},
    {"rquote", W_Char, 0x2019},
    {"rtf", W_Rtf},
    {"rtlmark", W_Char, 0x200F},
    {"rxe", W_SkipDestination},
    {"sect", W_SoftBreak},
    {"shprslt", W_SkipDestination},
    {"strike", W_Strike},
    {"striked", W_Strike},
    {"stylesheet", W_SkipDestination},
    {"tab", W_Tab},
    {"tc", W_SkipDestination},
    {"template", W_SkipDestination},
    {"txe", W_SkipDestination},
    {"u", W_U},
    {"uc", W_Uc},
    {"ul", W_Underline},
    {"uld", W_UnderlineDotted},
    {"uldash", W_UnderlineDash},
    {"uldashd", W_UnderlineDashDot},
    {"uldashdd", W_UnderlineDashDotDot},
    {"uldb", W_Underline},
    {"ulhwave", W_UnderlineWave},
    {"ulldash", W_UnderlineDash},
    {"ulnone", W_UnderlineNone},
    {"ulth", W_Underline},
    {"ulthd", W_UnderlineDotted},
    {"ulthdash", W_UnderlineDash},
    {"ulthdashd", W_UnderlineDashDot},
    {"ulthdashdd", W_UnderlineDashDotDot},
    {"ulthldash", W_UnderlineDash},
    {"ululdbwave", W_UnderlineWave},
    {"ulw", W_Underline},
    {"ulwave", W_UnderlineWave},
    {"userprops", W_SkipDestination},
    {"v", W_Hidden},
    {"xe", W_SkipDestination},
    {"zwbo", W_Char, 0x200B},
    {"zwj", W_Char, 0x200D},
    {"zwnj", W_Char, 0x200C},
});

static_assert(std::is_sorted(kWords.begin(), kWords.end(),
                             [](const WordEntry &a, const WordEntry &b) { return a.name < b.name; }));

const WordEntry *lookup(QByteArrayView name)
{
    const std::string_view key(name.data(), size_t(name.size()));
    const auto it = std::lower_bound(kWords.begin(), kWords.end(), key,
                                     [](const WordEntry &e, std::string_view k) { return e.name < k; });
    if (it == kWords.end() || it->name != key)
        return nullptr;
    return &*it;
}

// Destinations that may follow \*: the rest of the starred ones are skipped.
bool acceptsStar(int word)
{
    return word == W_Pn || word == W_ListTable || word == W_OverrideTable;
}

bool isDestinationWord(int word)
{
    return (word >= W_FontTable && word <= W_PnTextAfter) || word == W_SkipDestination;
}

int clampTwips(int twips)
{
    return qBound(-kMaxTwips, twips, kMaxTwips);
}

QString storableText(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isHighSurrogate(c)) {
            if (i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
                out.append(text[i]);
                out.append(text[++i]);
            } else {
                out.append(QChar(QChar::ReplacementCharacter));
            }
            continue;
        }
        if (QChar::isLowSurrogate(c)) {
            out.append(QChar(QChar::ReplacementCharacter));
            continue;
        }
        if (isStorableChar(c))
            out.append(QChar(c));
    }
    return out;
}

quint64 listKey(int override, int level)
{
    return (quint64(quint32(override)) << 32) | quint32(level);
}

} // namespace

RtfReader::RtfReader(QTextDocument &doc)
    : m_cursor(&doc)
{
    m_cursor.movePosition(QTextCursor::End);
}

void RtfReader::read(QByteArrayView rtf)
{
    RtfLexer lexer(rtf);
    for (;;) {
        const RtfToken token = lexer.next();
        if (token.kind == RtfToken::Kind::End || m_done)
            break;
        handleToken(token);
    }
    if (!m_done && !m_stack.isEmpty())
        finish();   // truncated: keep what was read
}

void RtfReader::handleToken(const RtfToken &token)
{
    switch (token.kind) {
    case RtfToken::Kind::GroupOpen:
        openGroup();
        return;
    case RtfToken::Kind::GroupClose:
        closeGroup();
        return;
    case RtfToken::Kind::End:
        return;
    default:
        break;
    }
    // Outside the document's group, and inside skipped destinations,
    // nothing but the group structure matters.
    if (m_stack.isEmpty() || m_skipDepth > 0 || top().destination == Destination::Skip)
        return;

    switch (token.kind) {
    case RtfToken::Kind::ControlWord:
        if (m_pendingSkip > 0) {
            --m_pendingSkip;
            return;
        }
        flushBytes();
        handleControlWord(token.text, token.hasParam, token.param);
        return;
    case RtfToken::Kind::ControlSymbol:
        if (m_pendingSkip > 0) {
            --m_pendingSkip;
            return;
        }
        handleControlSymbol(token.symbol);
        return;
    case RtfToken::Kind::HexByte:
        if (m_starPending) {
            m_starPending = false;
            top().destination = Destination::Skip;
            return;
        }
        if (m_pendingSkip > 0) {
            --m_pendingSkip;
            return;
        }
        appendByte(char(token.byte));
        return;
    case RtfToken::Kind::Text: {
        QByteArrayView bytes = token.text;
        if (m_starPending) {
            m_starPending = false;
            top().destination = Destination::Skip;
            return;
        }
        const qsizetype skipped = qMin<qsizetype>(m_pendingSkip, bytes.size());
        m_pendingSkip -= int(skipped);
        for (char c : bytes.sliced(skipped))
            appendByte(c);
        return;
    }
    default:
        return;
    }
}

void RtfReader::openGroup()
{
    m_pendingSkip = 0;
    if (m_stack.isEmpty()) {
        if (m_done)
            return;
        m_stack.append(GroupState{});
        return;
    }
    if (m_skipDepth > 0 || top().destination == Destination::Skip) {
        ++m_skipDepth;
        return;
    }
    flushBytes();
    m_starPending = false;
    if (m_stack.size() >= kMaxGroupDepth) {
        ++m_flattenedDepth;
        return;
    }
    m_stack.append(m_stack.last());
}

void RtfReader::closeGroup()
{
    m_pendingSkip = 0;
    m_starPending = false;
    if (m_stack.isEmpty())
        return;
    if (m_skipDepth > 0) {
        --m_skipDepth;
        return;
    }
    flushBytes();
    if (m_flattenedDepth > 0) {
        --m_flattenedDepth;
        return;
    }
    if (m_stack.size() == 1) {
        // The document's own group has ended; anything after it is not RTF.
        finish();
        m_stack.clear();
        m_done = true;
        return;
    }
    const GroupState closed = m_stack.takeLast();
    if (closed.destination != top().destination || closed.destination == Destination::FontTable)
        endDestination(closed);
}

void RtfReader::endDestination(const GroupState &closed)
{
    switch (closed.destination) {
    case Destination::FontTable:
        commitFont();
        return;
    case Destination::ListDefinition:
        if (m_listDefinitionIdGiven
            && (m_listDefinitions.size() < kMaxLists || m_listDefinitions.contains(m_listDefinitionId)))
            m_listDefinitions.insert(m_listDefinitionId, m_listDefinition);
        m_listDefinition = {};
        m_listDefinitionIdGiven = false;
        return;
    case Destination::Override:
        if (m_overrideIndex != 0
            && (m_overrides.size() < kMaxListOverrides || m_overrides.contains(m_overrideIndex)))
            m_overrides.insert(m_overrideIndex, m_overrideList);
        m_overrideIndex = 0;
        m_overrideList = 0;
        return;
    case Destination::LegacyNumbering:
    case Destination::LegacyTextBefore:
    case Destination::LegacyTextAfter:
        // {\*\pn ...} is a paragraph property written as a group: it outlives it.
        top().para.numbering = closed.para.numbering;
        return;
    default:
        return;
    }
}

void RtfReader::handleControlSymbol(char symbol)
{
    switch (symbol) {
    case '*':
        m_starPending = true;
        return;
    case '\\':
    case '{':
    case '}':
        appendByte(symbol);   // kept as a byte: it may end a double-byte character
        return;
    default:
        break;
    }
    flushBytes();
    switch (symbol) {
    case '~': emitText(u"\u00A0"); return;
    case '-': emitText(u"\u00AD"); return;
    case '_': emitText(u"\u2011"); return;
    case '\t': emitText(u"\t"); return;
    default: return;   // \| \: and unknown symbols carry no text
    }
}

void RtfReader::handleControlWord(QByteArrayView name, bool hasParam, int param)
{
    const WordEntry *entry = lookup(name);
    const int word = entry ? entry->word : W_Unknown;

    if (m_starPending) {
        m_starPending = false;
        if (!acceptsStar(word)) {
            top().destination = Destination::Skip;
            return;
        }
        handleDestinationWord(word, true);
        return;
    }
    if (isDestinationWord(word)) {
        handleDestinationWord(word, false);
        return;
    }

    GroupState &state = top();
    CharState &chars = state.chars;
    ParaState &para = state.para;
    const bool on = !hasParam || param != 0;

    switch (word) {
    case W_Ansi: m_ansiCodePage = 1252; return;
    case W_Mac: m_ansiCodePage = 10000; return;
    case W_Pc: m_ansiCodePage = 437; return;
    case W_Pca: m_ansiCodePage = 850; return;
    case W_AnsiCpg:
        if (hasParam && param > 0)
            m_ansiCodePage = param;
        return;
    case W_Deff:
        if (hasParam)
            m_defaultFont = param;
        return;
    case W_Uc:
        state.unicodeSkip = hasParam ? qBound(0, param, kMaxUnicodeSkip) : 1;
        return;
    case W_U: {
        if (!hasParam)
            return;
        // Sixteen-bit values are written signed; larger ones are code points.
        // (Not QString::fromUcs4: it drops U+FEFF as a byte-order mark.)
        const int value = param < 0 ? param + 0x10000 : param;
        const char32_t codePoint = (value >= 0 && value <= 0x10FFFF) ? char32_t(value) : char32_t(0xFFFD);
        if (QChar::requiresSurrogates(codePoint)) {
            const char16_t pair[2] = {QChar::highSurrogate(codePoint), QChar::lowSurrogate(codePoint)};
            emitText(QStringView(pair, 2));
        } else {
            const char16_t unit = char16_t(codePoint);
            emitText(QStringView(&unit, 1));
        }
        m_pendingSkip = state.unicodeSkip;
        return;
    }

    case W_Font:
        if (!hasParam)
            return;
        if (state.destination == Destination::FontTable) {
            commitFont();
            m_fontEntry = param;
            m_fontEntryData = {};
        } else {
            chars.font = param;
        }
        return;
    case W_FontCharset:
        if (state.destination == Destination::FontTable && hasParam)
            m_fontEntryData.codePage = codePageForCharset(param);
        return;
    case W_CodePage:
        if (state.destination == Destination::FontTable && hasParam && param > 0)
            m_fontEntryData.codePage = param;
        return;
    case W_Red:
    case W_Green:
    case W_Blue:
        if (state.destination != Destination::ColorTable)
            return;
        (word == W_Red ? m_red : word == W_Green ? m_green : m_blue) = qBound(0, hasParam ? param : 0, 255);
        m_colorGiven = true;
        return;

    case W_ListId:
        if (!hasParam)
            return;
        if (state.destination == Destination::ListDefinition) {
            m_listDefinitionId = param;
            m_listDefinitionIdGiven = true;
        } else if (state.destination == Destination::Override) {
            m_overrideList = param;
        }
        return;
    case W_LevelNfc:
        if (state.destination == Destination::ListLevel && hasParam && !m_listDefinition.levels.isEmpty())
            m_listDefinition.levels.last().numberFormat = param;
        return;
    case W_ListOverride:
        if (!hasParam)
            return;
        if (state.destination == Destination::Override)
            m_overrideIndex = param;
        else
            para.listOverride = param;
        return;
    case W_ListLevelIndex:
        para.listLevel = hasParam ? qBound(0, param, kMaxListLevels - 1) : 0;
        return;

    case W_PnBullet:
        para.numbering.active = true;
        para.numbering.style = QTextListFormat::ListDisc;
        para.numbering.level = 1;
        return;
    case W_PnBody:
        para.numbering.active = true;
        para.numbering.level = 1;
        return;
    case W_PnContinue:
        para.numbering.active = false;   // a continuation paragraph shows no number
        return;
    case W_PnLevel:
        para.numbering.active = true;
        para.numbering.level = hasParam ? qBound(1, param, kMaxListLevels) : 1;
        return;
    case W_PnDecimal: para.numbering.style = QTextListFormat::ListDecimal; return;
    case W_PnUpperLetter: para.numbering.style = QTextListFormat::ListUpperAlpha; return;
    case W_PnLowerLetter: para.numbering.style = QTextListFormat::ListLowerAlpha; return;
    case W_PnUpperRoman: para.numbering.style = QTextListFormat::ListUpperRoman; return;
    case W_PnLowerRoman: para.numbering.style = QTextListFormat::ListLowerRoman; return;

    case W_Plain: chars = CharState{}; return;
    case W_Bold: chars.bold = on; return;
    case W_Italic: chars.italic = on; return;
    case W_Strike: chars.strike = on; return;
    case W_Hidden: chars.hidden = on; return;
    case W_Underline:
        chars.underline = on ? QTextCharFormat::SingleUnderline : QTextCharFormat::NoUnderline;
        return;
    case W_UnderlineNone: chars.underline = QTextCharFormat::NoUnderline; return;
    case W_UnderlineDotted:
        chars.underline = on ? QTextCharFormat::DotLine : QTextCharFormat::NoUnderline;
        return;
    case W_UnderlineDash:
        chars.underline = on ? QTextCharFormat::DashUnderline : QTextCharFormat::NoUnderline;
        return;
    case W_UnderlineDashDot:
        chars.underline = on ? QTextCharFormat::DashDotLine : QTextCharFormat::NoUnderline;
        return;
    case W_UnderlineDashDotDot:
        chars.underline = on ? QTextCharFormat::DashDotDotLine : QTextCharFormat::NoUnderline;
        return;
    case W_UnderlineWave:
        chars.underline = on ? QTextCharFormat::WaveUnderline : QTextCharFormat::NoUnderline;
        return;
    case W_FontSize:
        // \fs alone means the default 12 pt; \fs0 and negatives are not sizes.
        if (!hasParam)
            chars.halfPoints = 24;
        else if (param > 0)
            chars.halfPoints = qMin(param, kMaxHalfPoints);
        return;
    case W_Foreground: chars.foreground = hasParam ? param : -1; return;
    case W_Background: chars.background = hasParam ? param : -1; return;

    case W_Pard: {
        para = ParaState{};
        return;
    }
    case W_AlignLeft: para.alignment = Qt::AlignLeft; return;
    case W_AlignRight: para.alignment = Qt::AlignRight; return;
    case W_AlignCenter: para.alignment = Qt::AlignHCenter; return;
    case W_AlignJustify: para.alignment = Qt::AlignJustify; return;
    case W_LeftIndent: para.leftTwips = clampTwips(hasParam ? param : 0); return;
    case W_RightIndent: para.rightTwips = clampTwips(hasParam ? param : 0); return;
    case W_FirstIndent: para.firstLineTwips = clampTwips(hasParam ? param : 0); return;

    case W_Par:
        if (inBody())
            endParagraph();
        return;
    case W_Row:
        if (inBody()) {
            m_pendingCellTab = false;
            endParagraph();
        }
        return;
    case W_SoftBreak:
        if (inBody())
            softBreak();
        return;
    case W_Cell:
        if (inBody())
            m_pendingCellTab = true;
        return;
    case W_Line: emitText(u"\u2028"); return;
    case W_Tab: emitText(u"\t"); return;
    case W_Char: {
        const char16_t c = entry->character;
        emitText(QStringView(&c, 1));
        return;
    }
    default:
        return;   // words we do not need (and \rtf, \bin)
    }
}

void RtfReader::handleDestinationWord(int word, bool starred)
{
    Q_UNUSED(starred);
    GroupState &state = top();
    const Destination current = state.destination;
    Destination next = Destination::Skip;
    // The tables belong to the document, not to anything inside them: one
    // nested in another destination is skipped rather than mixed in.
    const bool atDocumentLevel = current == Destination::Body;
    switch (word) {
    case W_FontTable:
        if (atDocumentLevel)
            next = Destination::FontTable;
        break;
    case W_ColorTable:
        if (atDocumentLevel)
            next = Destination::ColorTable;
        break;
    case W_ListTable:
        if (atDocumentLevel)
            next = Destination::ListTable;
        break;
    case W_List:
        if (current != Destination::ListTable)
            break;
        next = Destination::ListDefinition;
        m_listDefinition = {};
        m_listDefinitionIdGiven = false;
        break;
    case W_ListLevel:
        if (current != Destination::ListDefinition)
            break;
        // Past the ninth level there is nothing to record.
        if (m_listDefinition.levels.size() >= kMaxListLevels)
            break;
        next = Destination::ListLevel;
        m_listDefinition.levels.append(RtfListLevel{});
        break;
    case W_LevelText:
        if (current != Destination::ListLevel || m_listDefinition.levels.isEmpty())
            break;
        next = Destination::LevelText;
        m_listDefinition.levels.last().levelText.clear();
        m_listDefinition.levels.last().hasLevelText = true;
        break;
    case W_OverrideTable:
        if (atDocumentLevel)
            next = Destination::OverrideTable;
        break;
    case W_Override:
        if (current != Destination::OverrideTable)
            break;
        next = Destination::Override;
        m_overrideIndex = 0;
        m_overrideList = 0;
        break;
    case W_Pn:
        if (current != Destination::Body)
            break;
        next = Destination::LegacyNumbering;
        state.para.numbering = LegacyNumbering{};
        state.para.numbering.active = true;
        break;
    case W_PnTextBefore:
        if (current != Destination::LegacyNumbering)
            break;
        next = Destination::LegacyTextBefore;
        state.para.numbering.textBefore.clear();
        break;
    case W_PnTextAfter:
        if (current != Destination::LegacyNumbering)
            break;
        next = Destination::LegacyTextAfter;
        state.para.numbering.textAfter.clear();
        break;
    default:
        break;
    }
    state.destination = next;
}

void RtfReader::appendByte(char byte)
{
    m_bytes.append(byte);
}

int RtfReader::currentCodePage() const
{
    const GroupState &state = m_stack.last();
    int codePage = 0;
    if (state.destination == Destination::FontTable) {
        codePage = m_fontEntryData.codePage;
    } else {
        const int font = state.chars.font >= 0 ? state.chars.font : m_defaultFont;
        const auto it = m_fonts.constFind(font);
        if (it != m_fonts.constEnd())
            codePage = it->codePage;
    }
    return codePage > 0 ? codePage : m_ansiCodePage;
}

void RtfReader::flushBytes()
{
    if (m_bytes.isEmpty() || m_stack.isEmpty())
        return;
    const QString text = m_decoder.decode(m_bytes, currentCodePage());
    m_bytes.clear();
    emitText(text);
}

void RtfReader::emitText(QStringView text)
{
    if (m_stack.isEmpty() || text.isEmpty())
        return;
    GroupState &state = top();
    switch (state.destination) {
    case Destination::Body:
        emitBodyText(text);
        return;
    case Destination::FontTable:
        for (QChar c : text) {
            if (c == u';')
                commitFont();
            else if (m_fontEntry >= 0 && m_fontEntryData.name.size() < kMaxFontNameLength && isFontNameChar(c))
                m_fontEntryData.name.append(c);
        }
        return;
    case Destination::ColorTable:
        for (QChar c : text) {
            if (c == u';')
                commitColor();
        }
        return;
    case Destination::LevelText: {
        if (m_listDefinition.levels.isEmpty())
            return;
        QString &levelText = m_listDefinition.levels.last().levelText;
        levelText.append(text.first(qMin(text.size(), kMaxLevelTextLength - levelText.size())));
        return;
    }
    case Destination::LegacyTextBefore:
    case Destination::LegacyTextAfter: {
        QString &target = state.destination == Destination::LegacyTextBefore ? state.para.numbering.textBefore
                                                                               : state.para.numbering.textAfter;
        target = cleanAffix(QString(target).append(text));
        return;
    }
    default:
        return;
    }
}

void RtfReader::emitBodyText(QStringView text)
{
    const CharState &chars = top().chars;
    if (chars.hidden)
        return;
    ensureBlock();
    if (chars != m_runChars)
        flushRun();
    m_runChars = chars;
    if (m_pendingCellTab) {
        m_run.append(u'\t');
        m_pendingCellTab = false;
    }
    m_run.append(text);
    m_blockHasText = true;
}

void RtfReader::flushRun()
{
    if (m_run.isEmpty())
        return;
    const QString text = storableText(m_run);
    m_run.clear();
    if (!text.isEmpty())
        m_cursor.insertText(text, charFormat(m_runChars));
}

QTextCharFormat RtfReader::charFormat(const CharState &chars) const
{
    QTextCharFormat format;
    if (chars.bold)
        format.setFontWeight(QFont::Bold);
    if (chars.italic)
        format.setFontItalic(true);
    if (chars.underline != QTextCharFormat::NoUnderline)
        format.setUnderlineStyle(chars.underline);
    if (chars.strike)
        format.setFontStrikeOut(true);
    if (chars.font >= 0) {
        const auto it = m_fonts.constFind(chars.font);
        if (it != m_fonts.constEnd() && !it->name.isEmpty())
            format.setFontFamilies(QStringList{it->name});
    }
    if (chars.halfPoints > 0)
        format.setFontPointSize(chars.halfPoints / 2.0);
    if (chars.foreground >= 0 && chars.foreground < m_colors.size() && m_colors[chars.foreground].isValid())
        format.setForeground(m_colors[chars.foreground]);
    if (chars.background >= 0 && chars.background < m_colors.size() && m_colors[chars.background].isValid())
        format.setBackground(m_colors[chars.background]);
    return format;
}

void RtfReader::ensureBlock()
{
    if (!m_pendingBlock)
        return;
    m_cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    m_pendingBlock = false;
}

void RtfReader::endParagraph()
{
    flushBytes();
    ensureBlock();
    flushRun();
    applyParagraphFormat();
    m_pendingBlock = true;
    m_blockHasText = false;
    m_pendingCellTab = false;
}

void RtfReader::softBreak()
{
    // Page, column and section breaks end a paragraph only when one is open;
    // word processors usually write them right after a \par.
    if (m_blockHasText)
        endParagraph();
}

void RtfReader::finish()
{
    flushBytes();
    flushRun();
    if (!m_pendingBlock)
        applyParagraphFormat();
}

void RtfReader::applyParagraphFormat()
{
    const ParaState &para = top().para;
    const std::optional<QTextListFormat> listFormat = listFormatFor(para);

    int left = para.leftTwips;
    int first = para.firstLineTwips;
    if (listFormat) {
        // The list draws its own indentation and the hanging number; the
        // block keeps only what the paragraph adds on top of them. Word
        // processors differ in how far the number hangs, so any hang is the
        // list's; only a first line indented further is the paragraph's.
        left = qMin(left - kListLevelTwips * listFormat->indent(), kMaxTwips);
        first = qMax(first, 0);
    }
    QTextBlockFormat format;
    if (para.alignment != Qt::AlignLeft)
        format.setAlignment(para.alignment);
    if (left > 0)
        format.setLeftMargin(twipsToPixels(left));
    if (para.rightTwips > 0)
        format.setRightMargin(twipsToPixels(para.rightTwips));
    if (first != 0)
        format.setTextIndent(twipsToPixels(first));
    m_cursor.setBlockFormat(format);

    if (!listFormat) {
        // Old-style numbering starts again after a paragraph outside it.
        m_legacyLists.clear();
        return;
    }

    QPointer<QTextList> *slot = nullptr;
    if (para.listOverride != 0) {
        // An item ends the lower levels of its list: their numbers restart.
        for (int level = para.listLevel + 1; level < kMaxListLevels; ++level)
            m_lists.remove(listKey(para.listOverride, level));
        m_legacyLists.clear();
        slot = &m_lists[listKey(para.listOverride, para.listLevel)];
    } else {
        for (int level = para.numbering.level + 1; level <= kMaxListLevels; ++level)
            m_legacyLists.remove(level);
        slot = &m_legacyLists[para.numbering.level];
        if (*slot && (*slot)->format() != *listFormat)
            *slot = nullptr;
    }
    if (*slot && (*slot)->count() >= kMaxListItems)
        *slot = nullptr;
    if (*slot)
        (*slot)->add(m_cursor.block());
    else
        *slot = m_cursor.createList(*listFormat);
}

std::optional<QTextListFormat> RtfReader::listFormatFor(const ParaState &para) const
{
    if (para.listOverride != 0) {
        const auto override = m_overrides.constFind(para.listOverride);
        if (override != m_overrides.constEnd()) {
            const auto definition = m_listDefinitions.constFind(*override);
            if (definition != m_listDefinitions.constEnd() && !definition->levels.isEmpty()) {
                const int index = qMin<int>(para.listLevel, definition->levels.size() - 1);
                return listFormatForLevel(definition->levels[index], para.listLevel);
            }
        }
        // The paragraph is an item of a list whose table we could not read:
        // still show it as one.
        return listFormatForLevel(RtfListLevel{int(RtfNumberFormat::Bullet), {}, false}, para.listLevel);
    }
    if (para.numbering.active) {
        return legacyListFormat(para.numbering.style, para.numbering.textBefore, para.numbering.textAfter,
                                para.numbering.level - 1);
    }
    return std::nullopt;
}

void RtfReader::commitFont()
{
    if (m_fontEntry < 0)
        return;
    if (m_fonts.size() < kMaxFonts || m_fonts.contains(m_fontEntry)) {
        m_fontEntryData.name = m_fontEntryData.name.trimmed();
        m_fonts.insert(m_fontEntry, m_fontEntryData);
    }
    m_fontEntry = -1;
    m_fontEntryData = {};
}

void RtfReader::commitColor()
{
    if (m_colors.size() < kMaxColors)
        m_colors.append(m_colorGiven ? QColor(m_red, m_green, m_blue) : QColor());
    m_red = m_green = m_blue = 0;
    m_colorGiven = false;
}

} // namespace corvadel::richtext::detail
