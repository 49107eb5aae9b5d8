// The number texts are written in buffers, each text built once. These tests hold the
// string-building definition the program used before and check that both give the same
// texts, character for character, over many values: zeros of both signs, negatives,
// halves at every rounding place, values around each power of ten, huge and tiny ones,
// the float neighbours of decimal prices, NaN and infinities.
#include "common/numbers.h"

#include "tests/support/random_doubles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <vector>

using namespace vt;

namespace {

QString refPositional(double x, int sig) {
    if (!std::isfinite(x))
        return QStringLiteral("0");
    if (x == 0)
        return QStringLiteral("0");
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", sig - 1, x);
    QString t = QString::fromLatin1(buf);
    bool negative = t.startsWith(u'-');
    if (negative)
        t.remove(0, 1);
    qsizetype e = t.indexOf(u'e');
    int exponent = t.mid(e + 1).toInt();
    QString mantissa = t.left(e);
    mantissa.remove(u'.');
    QString intPart, fracPart;
    if (exponent >= 0) {
        if (mantissa.size() <= exponent + 1) {
            intPart = mantissa + QString(exponent + 1 - mantissa.size(), u'0');
        } else {
            intPart = mantissa.left(exponent + 1);
            fracPart = mantissa.mid(exponent + 1);
        }
    } else {
        intPart = QStringLiteral("0");
        fracPart = QString(-exponent - 1, u'0') + mantissa;
    }
    while (fracPart.endsWith(u'0'))
        fracPart.chop(1);
    QString out = intPart;
    if (!fracPart.isEmpty())
        out += u'.' + fracPart;
    bool allZero = true;
    for (QChar c : out)
        if (c != u'0' && c != u'.')
            allZero = false;
    if (allZero)
        return QStringLiteral("0");
    return negative ? u'-' + out : out;
}

QString refRound(const QString& digitsIn, int decimals) {
    QString digits = digitsIn.trimmed();
    digits.replace(u',', u'.');
    bool negative = digits.startsWith(u'-');
    if (negative)
        digits.remove(0, 1);
    qsizetype dot = digits.indexOf(u'.');
    QString intPart = dot < 0 ? digits : digits.left(dot);
    QString frac = dot < 0 ? QString() : digits.mid(dot + 1);
    if (intPart.isEmpty())
        intPart = QStringLiteral("0");
    bool roundUp = frac.size() > decimals && frac[decimals] >= u'5';
    frac = frac.left(decimals).leftJustified(decimals, u'0');
    QString all = intPart + frac;
    // The carry: nines become zeros up to the first other character, or a new leading 1.
    for (qsizetype i = all.size() - 1; roundUp; --i) {
        roundUp = false;
        if (i < 0)
            all.prepend(u'1');
        else if (all[i] != u'9')
            all[i] = QChar(all[i].unicode() + 1);
        else
            roundUp = (all[i] = u'0', true);
    }
    QString ip = all.left(all.size() - decimals);
    QString fp = all.right(decimals);
    while (ip.size() > 1 && ip.startsWith(u'0'))
        ip.remove(0, 1);
    QString out = decimals > 0 ? ip + u',' + fp : ip;
    bool zero = true;
    for (QChar c : all)
        if (c != u'0')
            zero = false;
    return (negative && !zero) ? u'-' + out : out;
}

QString refUnitText(float v) {
    const QString t = refPositional(double(v * 1000.0f), 7);
    return refRound(refPositional(double(v), 7), t.endsWith(u'0') ? 2 : 3);
}

QString refFormatAmount(double cents) {
    const QString t = refPositional(cents * 10.0, 15);
    return refRound(refPositional(cents / 100.0, 15), t.endsWith(u'0') ? 2 : 3);
}

// Values a price, an amount or a coordinate may hold, and the edges of the doubles.
std::vector<double> values() {
    std::vector<double> v = {0.0,
                             -0.0,
                             std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity(),
                             -std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::max(),
                             std::numeric_limits<double>::lowest(),
                             std::numeric_limits<double>::min(),
                             std::numeric_limits<double>::denorm_min(),
                             double(std::numeric_limits<float>::max()),
                             double(std::numeric_limits<float>::min()),
                             1e300, -1e300, 1e30, 1e-30, 2147483647.0, -2147483648.0,
                             9999999.0, 99999999.5, 480506.0, 1234567.125, 0.1, 0.2, 0.3};
    // Halves at each rounding place, and their neighbours, of both signs.
    for (double half : {0.5, 0.05, 0.005, 0.0005, 0.00005, 1.5, 2.5, 1.005, 1.0005, 2.675,
                        77.5, 0.125, 0.0625, 999.9995, 9.995, 99.995, 0.9995})
        for (double x : {half, std::nextafter(half, 0.0), std::nextafter(half, 10.0)}) {
            v.push_back(x);
            v.push_back(-x);
        }
    // Around every power of ten, where the digits move.
    for (int e = -30; e <= 30; ++e) {
        const double p = std::pow(10.0, e);
        for (double x : {p, std::nextafter(p, 0.0), std::nextafter(p, 1e300), 9.99999 * p,
                         1.23456789012345 * p, 5 * p})
            v.push_back(e % 2 ? x : -x);
    }
    // Prices in cents and thousandths, and random values of many magnitudes.
    for (int c = -300; c <= 30000; c += 7)
        v.push_back(c / 100.0);
    for (int m = 0; m <= 20000; m += 13)
        v.push_back(m / 1000.0);
    vt::testing::addRandomDoubles(v, 1211, 4000, -40, 40, 2000);
    return v;
}

} // namespace

TEST(NumbersReference, PlainDigitsAreTheFormerPositionalDigits) {
    for (double x : values()) {
        ASSERT_EQ(plainDigits(x), refPositional(x, 15)) << x;
        const float f = static_cast<float>(x);
        ASSERT_EQ(plainDigits(f), refPositional(double(f), 7)) << f;
        ASSERT_EQ(numberText(x), refPositional(x, 15).replace(u'.', u',')) << x;
    }
}

TEST(NumbersReference, RoundedMasksAreTheFormerRoundings) {
    for (double x : values()) {
        const float f = static_cast<float>(x);
        ASSERT_EQ(format2(x), refRound(refPositional(x, 15), 2)) << x;
        ASSERT_EQ(format3(x), refRound(refPositional(x, 15), 3)) << x;
        ASSERT_EQ(format2(f), refRound(refPositional(double(f), 7), 2)) << f;
        ASSERT_EQ(format3(f), refRound(refPositional(double(f), 7), 3)) << f;
        ASSERT_EQ(unitText(f), refUnitText(f)) << f;
        ASSERT_EQ(formatAmount(x), refFormatAmount(x)) << x;
    }
}

TEST(NumbersReference, RoundingAnyTextIsTheFormerRounding) {
    // Texts as the callers give them, and texts no caller gives: blanks around, commas,
    // signs, letters, several points, characters beyond ASCII.
    const char* const texts[] = {
        "", " ", "-", "0", "-0", "-0.000", "0.0005", "-0.0005", "0.0004999", "9.9995", "-9.9995",
        "999.995", "999.9949", ".5", "-.5", "5.", "12,345", " 12.345 ", "\t-1.2355\n", "1.2.3",
        "1,2,3", "abc", "1a5", "12.34a", "12.3:", "+1.005", "--1.5", "99999999999999999999.9995",
        "0000012.5", "00.00", "1e5", "1.23e-5", "١٢٣", "12.3\u00a0", "\u00a012.3", "12\u20ac"};
    for (const char* t : texts)
        for (int decimals : {0, 1, 2, 3, 4}) {
            const QString text = QString::fromUtf8(t);
            EXPECT_EQ(roundDecimalText(text, decimals), refRound(text, decimals))
                << t << " / " << decimals;
        }
    // Every text of up to five characters over the characters that matter to the rounding.
    const QString alphabet = QStringLiteral("09.,5- 4");
    std::vector<QString> all{QString()};
    for (int len = 1; len <= 5; ++len) {
        std::vector<QString> next;
        for (const QString& s : all)
            if (s.size() == len - 1)
                for (QChar c : alphabet)
                    next.push_back(s + c);
        all.insert(all.end(), next.begin(), next.end());
    }
    for (const QString& text : all)
        for (int decimals : {0, 2, 3})
            ASSERT_EQ(roundDecimalText(text, decimals), refRound(text, decimals))
                << qPrintable(text) << " / " << decimals;
}
