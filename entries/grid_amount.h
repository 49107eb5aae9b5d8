#pragma once
// Exact money for the race grids of the entry sheet.
//
// Amounts are kept as whole numbers of 1e-8 currency units, so that every rule of the
// grids is exact: a unit value has at most three decimals (thousandths), a count is a
// whole number, a deduction is a percentage (with up to three decimals) of a sum of
// thousandths. Binary floating point would turn 0,10 x 3 into 0,30000000000000004 and
// show "0,300"; here it is exactly 30 cents and shows "0,30".
#include <QString>

#include <cstdint>
#include <optional>

namespace vt {

class GridAmount {
public:
    using Raw = __int128;
    static constexpr long long PerUnit = 100000000;   // 1e-8 units in one currency unit
    static constexpr long long PerThousandth = 100000; // 1e-8 units in a thousandth
    static constexpr long long PerCent = 1000000;      // 1e-8 units in a cent

    constexpr GridAmount() = default;
    static constexpr GridAmount fromRaw(Raw e8) { return GridAmount(e8); }
    static constexpr GridAmount fromThousandths(long long milli) {
        return GridAmount(static_cast<Raw>(milli) * PerThousandth);
    }

    constexpr Raw raw() const { return m_e8; }
    // True when the amount is a whole number of cents (shown with two decimals).
    bool isWholeCents() const { return m_e8 % PerCent == 0; }
    // True when the amount is a whole number of thousandths; thousandths() is then exact.
    bool isWholeThousandths() const { return m_e8 % PerThousandth == 0; }
    // The amount in thousandths, truncated toward zero (exact when isWholeThousandths()).
    Raw thousandths() const { return m_e8 / PerThousandth; }
    // The amount in cents as a Double (what the program-wide sub-totals hold); exact for
    // every whole number of thousandths below 2^53.
    double cents() const { return static_cast<double>(m_e8) / PerCent; }

    // The exact decimal text with a decimal point and eight decimals ("-4.20000000").
    QString exactText() const;
    // The grid's amount text: two decimals when the amount is a whole number of cents,
    // otherwise three (rounded, halves away from zero); decimal comma.
    QString text() const;
    // Always two decimals, halves away from zero, decimal comma (the rings line).
    QString twoDecimals() const;

    friend constexpr GridAmount operator+(GridAmount a, GridAmount b) { return GridAmount(a.m_e8 + b.m_e8); }
    friend constexpr GridAmount operator-(GridAmount a, GridAmount b) { return GridAmount(a.m_e8 - b.m_e8); }
    GridAmount& operator+=(GridAmount o) { m_e8 += o.m_e8; return *this; }
    GridAmount& operator-=(GridAmount o) { m_e8 -= o.m_e8; return *this; }
    friend constexpr bool operator==(GridAmount a, GridAmount b) { return a.m_e8 == b.m_e8; }

private:
    constexpr explicit GridAmount(Raw e8) : m_e8(e8) {}
    Raw m_e8 = 0;
};

// The largest unit value, in thousandths, that the grids compute with (one thousand
// million currency units). Together with the 7-digit counts it keeps every sum of a
// sheet of any length well inside the 128-bit range.
constexpr long long MaxGridUnitThousandths = 1000000000000LL;

// Reads a VALEUR text (decimal comma or point, at most three decimals) as thousandths.
// A blank text is 0. nullopt when the text is not such a number or lies beyond
// MaxGridUnitThousandths.
std::optional<long long> valeurThousandths(const QString& text);

} // namespace vt
