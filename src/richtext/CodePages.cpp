#include "CodePages.h"

#include "CodePageTables.h"

#if __has_include(<iconv.h>)
#include <iconv.h>
#include <cerrno>
#define CORVADEL_HAVE_ICONV 1
#endif

namespace corvadel::richtext::detail {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

const char *multiByteName(int codePage)
{
    switch (codePage) {
    case 932: return "CP932";
    case 936: return "CP936";
    case 949: return "CP949";
    case 950: return "CP950";
    case 1361: return "JOHAB";
    default: return nullptr;
    }
}

} // namespace

int codePageForCharset(int charset)
{
    switch (charset) {
    case 2: return 1252;   // symbol fonts: keep the byte values visible
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 130: return 1361;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 254: return 437;
    case 255: return 850;
    default: return 0;
    }
}

CodePageDecoder::~CodePageDecoder()
{
#ifdef CORVADEL_HAVE_ICONV
    for (void *cd : std::as_const(m_converters)) {
        if (cd)
            iconv_close(static_cast<iconv_t>(cd));
    }
#endif
}

QString CodePageDecoder::decode(QByteArrayView bytes, int codePage)
{
    if (codePage == kCodePageUtf8)
        return QString::fromUtf8(bytes);
    if (multiByteName(codePage))
        return decodeMultiByte(bytes, codePage);

    const char16_t *upper = singleByteUpperHalf(codePage);
    if (!upper)
        upper = singleByteUpperHalf(kCodePageWindowsLatin);
    QString out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out.append(b < 0x80 ? QChar(b) : QChar(upper[b - 0x80]));
    }
    return out;
}

QString CodePageDecoder::decodeMultiByte(QByteArrayView bytes, int codePage)
{
#ifdef CORVADEL_HAVE_ICONV
    auto it = m_converters.find(codePage);
    if (it == m_converters.end()) {
        iconv_t cd = iconv_open("UTF-16LE", multiByteName(codePage));
        it = m_converters.insert(codePage, cd == iconv_t(-1) ? nullptr : static_cast<void *>(cd));
    }
    if (*it) {
        auto cd = static_cast<iconv_t>(*it);
        iconv(cd, nullptr, nullptr, nullptr, nullptr);   // back to the initial shift state
        QString out;
        // Every input byte yields at most one UTF-16 unit in these encodings.
        QByteArray buffer(bytes.size() * 2 + 4, Qt::Uninitialized);
        char *in = const_cast<char *>(bytes.data());
        size_t inLeft = size_t(bytes.size());
        while (inLeft > 0) {
            char *outPtr = buffer.data();
            size_t outLeft = size_t(buffer.size());
            const size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
            const qsizetype produced = buffer.size() - qsizetype(outLeft);
            out.append(QStringView(reinterpret_cast<const char16_t *>(buffer.constData()), produced / 2));
            if (rc != size_t(-1))
                break;
            if (errno == E2BIG)
                continue;
            // An invalid or truncated sequence: mark it and go on after its
            // first byte, as a word processor would show a stray byte.
            out.append(QChar(kReplacement));
            ++in;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
        return out;
    }
#endif
    // Without a converter we can still keep the ASCII part of the run.
    QString out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out.append(b < 0x80 ? QChar(b) : QChar(kReplacement));
    }
    return out;
}

} // namespace corvadel::richtext::detail
