#include "numbers.h"

#include <cfenv>
#include <cmath>
#include <cstdio>
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

// Positional digits of a finite value written with `sig` significant digits.
QString positional(double x, int sig) {
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

QString roundDecimalText(const QString& digitsIn, int decimals) {
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
    if (roundUp) {
        qsizetype i = all.size() - 1;
        while (i >= 0) {
            if (all[i] == u'9') {
                all[i] = u'0';
                --i;
            } else {
                all[i] = QChar(all[i].unicode() + 1);
                break;
            }
        }
        if (i < 0)
            all.prepend(u'1');
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

QString format2(double x) { return roundDecimalText(plainDigits(x), 2); }
QString format2(float x) { return roundDecimalText(plainDigits(x), 2); }
QString format3(double x) { return roundDecimalText(plainDigits(x), 3); }
QString format3(float x) { return roundDecimalText(plainDigits(x), 3); }

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
QString rightAlign(const QString& text, int width) { return applyMask(text, QString(width, u'@')); }

QString unitText(float unitValue) {
    float p = unitValue * 1000.0f;
    QString t = numberText(p);
    return t.endsWith(u'0') ? format2(unitValue) : format3(unitValue);
}

QString typedUnitText(double typedValue) {
    QString t = numberText(typedValue * 1000.0);
    return t.endsWith(u'0') ? format2(typedValue) : format3(typedValue);
}

QString formatAmount(double cents) {
    QString t = numberText(cents * 10.0);
    return t.endsWith(u'0') ? format2(cents / 100.0) : format3(cents / 100.0);
}

} // namespace vt
