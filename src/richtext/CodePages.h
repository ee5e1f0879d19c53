#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QString>

namespace corvadel::richtext::detail {

inline constexpr int kCodePageUtf8 = 65001;
inline constexpr int kCodePageWindowsLatin = 1252;

// The code page an RTF \fcharsetN names, or 0 when the charset does not pin
// one down (ANSI and "default" charsets mean the document's \ansicpg).
int codePageForCharset(int charset);

// Turns the bytes of RTF text (\'hh escapes and raw 8-bit text) into
// characters. Single-byte pages come from built-in tables; the East Asian
// double-byte pages go through the C library's iconv where it exists.
// Unknown pages are read as Windows Latin, so text is never dropped.
class CodePageDecoder
{
public:
    CodePageDecoder() = default;
    CodePageDecoder(const CodePageDecoder &) = delete;
    CodePageDecoder &operator=(const CodePageDecoder &) = delete;
    ~CodePageDecoder();

    QString decode(QByteArrayView bytes, int codePage);

private:
    QString decodeMultiByte(QByteArrayView bytes, int codePage);

    // iconv descriptors by code page, opened on first use; a failed open is
    // remembered as nullptr so it is not retried for every run of text.
    QHash<int, void *> m_converters;
};

} // namespace corvadel::richtext::detail
