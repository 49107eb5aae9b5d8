// The number readings and writings on any text and any Double or Single a damaged
// record can hold (NaN, infinities, huge values): no crash, and the texts stay sane.
#include "common/dates.h"
#include "common/numbers.h"
#include "common/text.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {
void checkNumberText(const QString& t) {
    if (t.isEmpty() || t.contains(u'e') || t.contains(u'E') || t.contains(u' '))
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString text = vt::decodeText(bytes);
    (void)vt::val(text);
    (void)vt::cellNumber(text);
    (void)vt::nombreValue(text);
    (void)vt::localeNumber(text);
    (void)vt::roundTypedAmount(text);
    (void)vt::parseShortDate(text);
    (void)vt::parseLongDate(text);
    (void)vt::yearFromTypedText(text);
    (void)vt::applyMask(text, text.left(12));
    const vt::TypedNumber typed = vt::parseTyped(text);
    if (typed.isNumber() && !std::isfinite(typed.value))
        std::abort();

    double d = 0;
    float f = 0;
    if (size >= 8)
        std::memcpy(&d, data, 8);
    if (size >= 4)
        std::memcpy(&f, data, 4);
    checkNumberText(vt::numberText(d));
    checkNumberText(vt::numberText(f));
    checkNumberText(vt::format2(d));
    checkNumberText(vt::format3(f));
    checkNumberText(vt::unitText(f));
    checkNumberText(vt::formatAmount(d));
    checkNumberText(vt::typedUnitText(d));
    (void)vt::strNumber(d);
    (void)vt::applyMask(d, QStringLiteral("@@@@@@@.@@"));
    const auto i = vt::cint(d);
    const auto l = vt::clng(d);
    if (i && (!std::isfinite(d) || std::fabs(d - *i) > 0.5))
        std::abort();
    if (l && (!std::isfinite(d) || std::fabs(d - *l) > 0.5))
        std::abort();
    if (std::isfinite(d) && std::fabs(d) < 1e15) {
        // A plain positional text reads back as the number it writes.
        const QString digits = vt::plainDigits(d);
        if (std::fabs(vt::val(digits) - d) > std::fabs(d) * 1e-14 + 1e-300)
            std::abort();
    }
    return 0;
}
