#include "numbers.h"

#include <QVarLengthArray>

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <type_traits>
#include <limits>

namespace vt {
namespace {

// Reads [sign] digits [. digits] from position i of s. Returns the number of digits read.
int readNumber(const QString& s, qsizetype i, double& out) {
    bool negative = false;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
        negative = s[i] == u'-';
        ++i;
    }
    QString digits;
    int count = 0;
    while (i < s.size() && s[i].isDigit() && s[i].unicode() < 128) {
        digits.append(s[i++]);
        ++count;
    }
    if (i < s.size() && s[i] == u'.') {
        digits.append(u'.');
        ++i;
        while (i < s.size() && s[i].isDigit() && s[i].unicode() < 128) {
            digits.append(s[i++]);
            ++count;
        }
    }
    if (count == 0) {
        out = 0;
        return 0;
    }
    if (digits.startsWith(u'.'))
        digits.prepend(u'0');
    out = digits.toDouble();
    if (negative)
        out = -out;
    return count;
}

// Positional digits of a value, kept in a buffer until a text is needed.
struct Digits {
    char text[400]; // at most 309 integer digits or 323 leading fractional zeros, and 17 more
    int size = 0;
    QString toString() const { return QString::fromLatin1(text, size); }
    bool endsWithZero() const { return size > 0 && text[size - 1] == '0'; }
};

// The digits of a finite value written with `sig` significant digits: the value's "%e"
// form with its mantissa moved by the exponent, trailing fractional zeros dropped; "0"
// for zero and for a value that is not finite.
void positional(double x, int sig, Digits& out) {
    out.size = 0;
    if (!std::isfinite(x) || x == 0) {
        out.text[out.size++] = '0';
        return;
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", sig - 1, x);
    const char* p = buf;
    const bool negative = *p == '-';
    if (negative)
        ++p;
    char mantissa[64];
    int m = 0;
    for (; *p && *p != 'e'; ++p)
        if (*p != '.')
            mantissa[m++] = *p;
    const int exponent = *p == 'e' ? std::atoi(p + 1) : 0;

    char* o = out.text;
    int n = 0;
    if (negative)
        o[n++] = '-';
    const int digitsStart = n;
    if (exponent >= 0) {
        const int intDigits = exponent + 1;
        for (int i = 0; i < intDigits; ++i)
            o[n++] = i < m ? mantissa[i] : '0';
        int fracEnd = m;
        while (fracEnd > intDigits && mantissa[fracEnd - 1] == '0')
            --fracEnd;
        if (fracEnd > intDigits) {
            o[n++] = '.';
            for (int i = intDigits; i < fracEnd; ++i)
                o[n++] = mantissa[i];
        }
    } else {
        int fracEnd = m;
        while (fracEnd > 0 && mantissa[fracEnd - 1] == '0')
            --fracEnd;
        o[n++] = '0';
        if (fracEnd > 0) {
            o[n++] = '.';
            for (int i = 0; i < -exponent - 1; ++i)
                o[n++] = '0';
            for (int i = 0; i < fracEnd; ++i)
                o[n++] = mantissa[i];
        }
    }
    bool allZero = true;
    for (int i = digitsStart; i < n; ++i)
        if (o[i] != '0' && o[i] != '.')
            allZero = false;
    if (allZero) {
        out.size = 0;
        o[out.size++] = '0';
        return;
    }
    out.size = n;
}

QString positional(double x, int sig) {
    Digits d;
    positional(x, sig, d);
    return d.toString();
}

QString withComma(QString s) {
    s.replace(u'.', u',');
    return s;
}

QString signed_(const QString& digits) {
    return digits.startsWith(u'-') ? digits : u' ' + digits;
}

} // namespace

double val(const QString& s) {
    QString compact = s;
    compact.remove(u' ');
    double out = 0;
    readNumber(compact, 0, out);
    return out;
}

double cellNumber(const QString& s) {
    qsizetype i = 0;
    while (i < s.size() && s[i] == u' ')
        ++i;
    double out = 0;
    readNumber(s, i, out);
    return out;
}

float nombreValue(const QString& s) {
    QString t = s;
    for (qsizetype i = 4; i < t.size(); ++i)
        if (t[i] == u',')
            t[i] = u'.';
    return static_cast<float>(cellNumber(t));
}

TypedNumber parseTyped(const QString& s) {
    QString t = s.trimmed();
    if (t.isEmpty())
        return {TypedNumber::Empty, 0};
    qsizetype i = 0;
    bool negative = false;
    if (t[0] == u'+' || t[0] == u'-') {
        negative = t[0] == u'-';
        i = 1;
    }
    QString digits;
    int count = 0, separators = 0;
    for (; i < t.size(); ++i) {
        QChar c = t[i];
        if (c.unicode() >= u'0' && c.unicode() <= u'9') {
            digits.append(c);
            ++count;
        } else if (c == u',' || c == u'.') {
            if (++separators > 1)
                return {TypedNumber::Invalid, 0};
            digits.append(u'.');
        } else {
            return {TypedNumber::Invalid, 0};
        }
    }
    if (count == 0)
        return {TypedNumber::Invalid, 0};
    if (digits.startsWith(u'.'))
        digits.prepend(u'0');
    if (digits.endsWith(u'.'))
        digits.chop(1);
    bool ok = false;
    double v = digits.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return {TypedNumber::Invalid, 0};
    return {TypedNumber::Number, negative ? -v : v};
}

std::optional<double> localeNumber(const QString& s) {
    TypedNumber t = parseTyped(s);
    if (t.isEmpty())
        return 0.0;
    if (t.isInvalid())
        return std::nullopt;
    return t.value;
}

double intFloor(double x) { return std::floor(x); }
double fix(double x) { return std::trunc(x); }
long long idiv(long long a, long long b) { return b == 0 ? 0 : a / b; }
long long imod(long long a, long long b) { return b == 0 ? 0 : a % b; }

namespace {
std::optional<double> nearestEven(double x) {
    if (!std::isfinite(x))
        return std::nullopt;
    int old = std::fegetround();
    std::fesetround(FE_TONEAREST);
    double r = std::nearbyint(x);
    std::fesetround(old);
    return r;
}
} // namespace

std::optional<int16_t> cint(double x) {
    auto r = nearestEven(x);
    if (!r || *r < -32768.0 || *r > 32767.0)
        return std::nullopt;
    return static_cast<int16_t>(*r);
}

std::optional<int32_t> clng(double x) {
    auto r = nearestEven(x);
    if (!r || *r < -2147483648.0 || *r > 2147483647.0)
        return std::nullopt;
    return static_cast<int32_t>(*r);
}

std::optional<float> roundTypedAmount(const QString& text) {
    TypedNumber t = parseTyped(text);
    if (t.isEmpty())
        return 0.0f;
    if (t.isInvalid())
        return std::nullopt;
    QString typed = text.trimmed();
    typed.replace(u',', u'.');
    if (typed.startsWith(u'+'))
        typed.remove(0, 1);
    if (typed.startsWith(u'.') || typed.startsWith(QStringLiteral("-.")))
        typed.insert(typed.indexOf(u'.'), u'0');
    QString rounded = roundDecimalText(typed, 2);
    rounded.replace(u',', u'.');
    // The amount is stored as a Single: a value beyond its range does not fit the field.
    const double v = rounded.toDouble();
    if (!(std::fabs(v) <= std::numeric_limits<float>::max()))
        return std::nullopt;
    return static_cast<float>(v);
}

QString plainDigits(float x) { return positional(static_cast<double>(x), 7); }
QString plainDigits(double x) { return positional(x, 15); }
QString plainDigits(long long x) { return QString::number(x); }

QString strNumber(float x) { return signed_(plainDigits(x)); }
QString strNumber(double x) { return signed_(plainDigits(x)); }
QString strNumber(long long x) { return signed_(plainDigits(x)); }

QString numberText(float x) { return withComma(plainDigits(x)); }
QString numberText(double x) { return withComma(plainDigits(x)); }
QString numberText(long long x) { return plainDigits(x); }

namespace {

// Rounds `text` to `decimals` places, halves away from zero, and writes it with the decimal
// comma. The characters are taken as they stand (blanks around the text dropped, "," read
// as ".", a carry running through the digits) and the text is built once.
template <class Char> QString roundDigits(const Char* text, qsizetype size, int decimals) {
    decimals = std::max(decimals, 0);
    const auto ch = [&](qsizetype i) { return char16_t(std::make_unsigned_t<Char>(text[i])); };
    qsizetype b = 0, e = size;
    while (b < e && QChar(ch(b)).isSpace())
        ++b;
    while (e > b && QChar(ch(e - 1)).isSpace())
        --e;
    const bool negative = b < e && ch(b) == u'-';
    if (negative)
        ++b;
    const auto at = [&](qsizetype i) { return ch(i) == u',' ? u'.' : ch(i); };
    qsizetype dot = -1;
    for (qsizetype i = b; i < e && dot < 0; ++i)
        if (at(i) == u'.')
            dot = i;
    const qsizetype intEnd = dot < 0 ? e : dot;
    const qsizetype fracBegin = dot < 0 ? e : dot + 1;
    const qsizetype fracSize = e - fracBegin;

    // The integer digits (or "0"), then exactly `decimals` fraction digits.
    QVarLengthArray<char16_t, 64> all;
    if (intEnd == b)
        all.append(u'0');
    for (qsizetype i = b; i < intEnd; ++i)
        all.append(at(i));
    for (qsizetype i = 0; i < decimals; ++i)
        all.append(i < fracSize ? at(fracBegin + i) : u'0');
    if (fracSize > decimals && at(fracBegin + decimals) >= u'5') {
        qsizetype i = all.size() - 1;
        while (i >= 0) {
            if (all[i] == u'9') {
                all[i] = u'0';
                --i;
            } else {
                all[i] = char16_t(all[i] + 1);
                break;
            }
        }
        if (i < 0)
            all.insert(all.begin(), u'1');
    }
    const qsizetype intDigits = all.size() - decimals;
    qsizetype first = 0;
    while (intDigits - first > 1 && all[first] == u'0')
        ++first;
    bool zero = true;
    for (char16_t c : all)
        if (c != u'0')
            zero = false;
    QString out;
    out.reserve(all.size() + 2);
    if (negative && !zero)
        out.append(u'-');
    out.append(reinterpret_cast<const QChar*>(all.constData()) + first, intDigits - first);
    if (decimals > 0) {
        out.append(u',');
        out.append(reinterpret_cast<const QChar*>(all.constData()) + intDigits, decimals);
    }
    return out;
}

QString roundDigits(const Digits& d, int decimals) { return roundDigits(d.text, d.size, decimals); }

// Two decimals when the digits of `thousandths` end with a 0, else three, of `value`.
QString unitDigits(double thousandths, int thousandthsSig, double value, int valueSig) {
    Digits d;
    positional(thousandths, thousandthsSig, d);
    const int decimals = d.endsWithZero() ? 2 : 3;
    positional(value, valueSig, d);
    return roundDigits(d, decimals);
}

} // namespace

QString roundDecimalText(const QString& digitsIn, int decimals) {
    return roundDigits(digitsIn.utf16(), digitsIn.size(), decimals);
}

namespace {
QString rounded(double x, int sig, int decimals) {
    Digits d;
    positional(x, sig, d);
    return roundDigits(d, decimals);
}
} // namespace

QString format2(double x) { return rounded(x, 15, 2); }
QString format2(float x) { return rounded(double(x), 7, 2); }
QString format3(double x) { return rounded(x, 15, 3); }
QString format3(float x) { return rounded(double(x), 7, 3); }

QString applyMask(const QString& text, const QString& mask) {
    QString out = mask;
    qsizetype t = text.size() - 1;
    for (qsizetype m = mask.size() - 1; m >= 0; --m) {
        if (mask[m] != u'@')
            continue;
        out[m] = t >= 0 ? text[t--] : QChar(u' ');
    }
    if (t >= 0)
        out.prepend(text.left(t + 1));
    return out;
}
QString applyMask(double value, const QString& mask) { return applyMask(numberText(value), mask); }
QString applyMask(float value, const QString& mask) { return applyMask(numberText(value), mask); }
QString applyMask(long long value, const QString& mask) {
    return applyMask(numberText(value), mask);
}
// The text right-justified in `width` characters with spaces; a longer text is kept whole.
QString rightAlign(const QString& text, int width) { return text.rightJustified(width, u' '); }

// Two decimals when the thousandths' digits end with a 0 (the decimal comma changes no digit).
QString unitText(float unitValue) {
    const float p = unitValue * 1000.0f;
    return unitDigits(double(p), 7, double(unitValue), 7);
}

QString typedUnitText(double typedValue) { return unitDigits(typedValue * 1000.0, 15, typedValue, 15); }

QString formatAmount(double cents) { return unitDigits(cents * 10.0, 15, cents / 100.0, 15); }

} // namespace vt
