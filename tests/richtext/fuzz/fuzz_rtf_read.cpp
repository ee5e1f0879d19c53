// libFuzzer target for the rich-text codec. Besides crashes, hangs and
// memory errors it checks the codec's promise: whatever the reader makes of
// an input, the writer saves as seven-bit RTF that reads back the same.

#include "DocumentDigest.h"
#include "richtext/RichText.h"

#include <QGuiApplication>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace richtext = corvadel::richtext;

namespace {

void checkRoundTrip(const QByteArray &input)
{
    const QString problem = corvadel::richtext::test::roundTripProblem(input);
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Documents need fonts, fonts need a GUI application; it lives as long
    // as the process.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_rtf_read";
    static char *argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    checkRoundTrip(input);
    // Most mutations break the header; read those bytes as RTF as well, so
    // the reader's paths get the input rather than the plain-text fallback.
    if (!richtext::isRtf(input))
        checkRoundTrip("{\\rtf1 " + input);
    (void)richtext::plainText(input);
    return 0;
}
