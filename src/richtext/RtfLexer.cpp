#include "RtfLexer.h"

#include <limits>

namespace corvadel::richtext::detail {

namespace {

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Line ends carry no meaning in RTF and a NUL byte is never text.
bool isIgnorable(char c)
{
    return c == '\r' || c == '\n' || c == '\0';
}

} // namespace

RtfLexer::RtfLexer(QByteArrayView input)
    : m_input(input)
{
}

RtfToken RtfLexer::next()
{
    RtfToken token;
    for (;;) {
        while (m_pos < m_input.size() && isIgnorable(m_input[m_pos]))
            ++m_pos;
        if (m_pos >= m_input.size())
            return {};

        switch (m_input[m_pos]) {
        case '{':
            ++m_pos;
            token.kind = RtfToken::Kind::GroupOpen;
            return token;
        case '}':
            ++m_pos;
            token.kind = RtfToken::Kind::GroupClose;
            return token;
        case '\\':
            ++m_pos;
            if (m_pos >= m_input.size())
                return {};
            if (isLetter(m_input[m_pos]))
                return controlWord();
            if (auto symbol = controlSymbol())
                return *symbol;
            continue;
        default:
            break;
        }
        break;
    }

    const qsizetype start = m_pos;
    while (m_pos < m_input.size()) {
        const char c = m_input[m_pos];
        if (c == '{' || c == '}' || c == '\\' || isIgnorable(c))
            break;
        ++m_pos;
    }
    token.kind = RtfToken::Kind::Text;
    token.text = m_input.sliced(start, m_pos - start);
    return token;
}

RtfToken RtfLexer::controlWord()
{
    RtfToken token;
    token.kind = RtfToken::Kind::ControlWord;
    const qsizetype start = m_pos;
    while (m_pos < m_input.size() && isLetter(m_input[m_pos]))
        ++m_pos;
    token.text = m_input.sliced(start, m_pos - start);

    bool negative = false;
    if (m_pos + 1 < m_input.size() && m_input[m_pos] == '-' && isDigit(m_input[m_pos + 1])) {
        negative = true;
        ++m_pos;
    }
    if (m_pos < m_input.size() && isDigit(m_input[m_pos])) {
        // Saturate instead of overflowing; the digits are consumed either way.
        constexpr qint64 limit = std::numeric_limits<int>::max();
        qint64 value = 0;
        while (m_pos < m_input.size() && isDigit(m_input[m_pos])) {
            if (value <= limit)
                value = value * 10 + (m_input[m_pos] - '0');
            ++m_pos;
        }
        value = qMin(value, limit);
        token.hasParam = true;
        token.param = int(negative ? -value : value);
    }
    if (m_pos < m_input.size() && m_input[m_pos] == ' ')
        ++m_pos;

    if (token.text == "bin" && token.hasParam && token.param > 0)
        m_pos += qMin<qsizetype>(token.param, m_input.size() - m_pos);
    return token;
}

std::optional<RtfToken> RtfLexer::controlSymbol()
{
    RtfToken token;
    const char c = m_input[m_pos++];
    if (c == '\r' || c == '\n') {
        // A backslash before a line end is an old spelling of \par.
        token.kind = RtfToken::Kind::ControlWord;
        token.text = "par";
        return token;
    }
    if (c != '\'') {
        token.kind = RtfToken::Kind::ControlSymbol;
        token.symbol = c;
        return token;
    }

    int value = 0;
    int digits = 0;
    while (digits < 2 && m_pos < m_input.size()) {
        const int h = hexValue(m_input[m_pos]);
        if (h < 0)
            break;
        value = value * 16 + h;
        ++digits;
        ++m_pos;
    }
    if (digits == 0)
        return std::nullopt;   // "\'" without hex digits stands for nothing
    token.kind = RtfToken::Kind::HexByte;
    token.byte = static_cast<unsigned char>(value);
    return token;
}

} // namespace corvadel::richtext::detail
