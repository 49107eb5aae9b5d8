#include "entries/grid_amount.h"

#include "common/numbers.h"
#include "common/text.h"

namespace vt {

QString GridAmount::exactText() const {
    Raw v = m_e8;
    const bool negative = v < 0;
    if (negative)
        v = -v;
    QString digits;
    do {
        digits.prepend(QChar(u'0' + static_cast<int>(v % 10)));
        v /= 10;
    } while (v != 0);
    if (digits.size() < 9)
        digits = digits.rightJustified(9, u'0');
    digits.insert(digits.size() - 8, u'.');
    return negative ? u'-' + digits : digits;
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
