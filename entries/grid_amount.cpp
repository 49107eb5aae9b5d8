#include "entries/grid_amount.h"

#include "common/numbers.h"
#include "common/text.h"

#include <iterator>

namespace vt {

QString GridAmount::exactText() const {
    Raw v = m_e8;
    const bool negative = v < 0;
    // The digits are written from the right into a buffer that holds any amount: at least
    // nine of them (one before the point, eight after), a sign, and the point.
    char16_t buffer[64];
    char16_t* const end = buffer + std::size(buffer);
    char16_t* p = end;
    int written = 0;
    do {
        const int digit = static_cast<int>(v % 10);
        *--p = char16_t(u'0' + (digit < 0 ? -digit : digit));
        v /= 10;
        if (++written == 8)
            *--p = u'.';
    } while (v != 0 || written < 9);
    if (negative)
        *--p = u'-';
    return QString(reinterpret_cast<const QChar*>(p), end - p);
}

QString GridAmount::text() const { return roundDecimalText(exactText(), isWholeCents() ? 2 : 3); }

QString GridAmount::twoDecimals() const { return roundDecimalText(exactText(), 2); }

std::optional<long long> valeurThousandths(const QString& textIn) {
    const QString text = trim(textIn);
    if (text.isEmpty())
        return 0;
    qsizetype i = 0;
    bool negative = false;
    if (text[0] == u'-' || text[0] == u'+') {
        negative = text[0] == u'-';
        ++i;
    }
    long long whole = 0, fraction = 0;
    int wholeDigits = 0, fractionDigits = 0;
    bool separator = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u',' || c == u'.') {
            if (separator)
                return std::nullopt;
            separator = true;
        } else if (c >= u'0' && c <= u'9') {
            const int d = c.unicode() - u'0';
            if (separator) {
                if (++fractionDigits > 3) {
                    if (d != 0) // a fourth decimal that is not 0 is not a thousandth
                        return std::nullopt;
                    continue;
                }
                fraction = fraction * 10 + d;
            } else {
                ++wholeDigits;
                whole = whole * 10 + d;
                if (whole > MaxGridUnitThousandths / 1000)
                    return std::nullopt;
            }
        } else {
            return std::nullopt;
        }
    }
    if (wholeDigits + fractionDigits == 0)
        return std::nullopt;
    for (int k = fractionDigits; k < 3; ++k)
        fraction *= 10;
    const long long milli = whole * 1000 + fraction;
    if (milli > MaxGridUnitThousandths)
        return std::nullopt;
    return negative ? -milli : milli;
}

} // namespace vt
