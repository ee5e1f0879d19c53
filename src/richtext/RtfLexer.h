#pragma once

#include <QByteArrayView>

#include <optional>

namespace corvadel::richtext::detail {

struct RtfToken
{
    enum class Kind {
        End,
        GroupOpen,
        GroupClose,
        ControlWord,   // \name or \nameN; text holds the name
        ControlSymbol, // \ followed by one non-letter, e.g. \~ \* \{
        HexByte,       // \'hh
        Text,          // a run of plain bytes; text holds them
    };

    Kind kind = Kind::End;
    QByteArrayView text;
    int param = 0;
    bool hasParam = false;
    char symbol = 0;
    unsigned char byte = 0;
};

// Splits RTF into tokens. It never fails: whatever it cannot make sense of
// it skips, and every call to next() consumes at least one byte until End.
// Binary data after \binN is skipped here, so the reader never sees it.
class RtfLexer
{
public:
    explicit RtfLexer(QByteArrayView input);

    RtfToken next();

private:
    RtfToken controlWord();
    std::optional<RtfToken> controlSymbol();   // nothing for a stray \'

    QByteArrayView m_input;
    qsizetype m_pos = 0;
};

} // namespace corvadel::richtext::detail
