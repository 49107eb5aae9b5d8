// Any bytes decode to a text that encodes back to the same bytes (NUL aside, read as a
// space), and the text rules never fail on what a damaged file can hold.
#include "common/text.h"
#include "common/errors.h"
#include "common/sorting.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString text = vt::decodeText(bytes);
    QByteArray expected = bytes;
    expected.replace('\0', ' ');
    if (vt::encodeText(text) != expected)
        std::abort();
    const int width = size > 0 ? data[0] % 64 : 0;
    if (vt::encodeText(text, width).size() != width)
        std::abort();
    const QString upper = vt::upperCase(text);
    if (upper.size() != text.size() || !vt::isCp1252(upper))
        std::abort();
    (void)vt::trim(text);
    (void)vt::Mid(text, width, width);
    const qsizetype half = text.size() / 2;
    const int c1 = vt::compareListText(text.left(half), text.mid(half));
    const int c2 = vt::compareListText(text.mid(half), text.left(half));
    if ((c1 < 0 && c2 <= 0) || (c1 > 0 && c2 >= 0) || (c1 == 0 && c2 != 0))
        std::abort();
    // Unicode text from a box: the check and the encoder agree.
    const QString unicode = QString::fromUtf8(bytes);
    bool threw = false;
    try {
        vt::encodeText(unicode);
    } catch (const vt::Error&) {
        threw = true;
    }
    if (threw == vt::isCp1252(unicode))
        std::abort();
    return 0;
}
