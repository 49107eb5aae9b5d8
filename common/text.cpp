#include "text.h"

#include "errors.h"

#include <array>

namespace vt {
namespace {

// Windows-1252 bytes 0x80 to 0x9F; the unassigned ones keep their C1 code point.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int byteFor(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == c)
            return 0x80 + i;
    return -1;
}

QChar charFor(unsigned char b) {
    if (b == 0)
        return QChar(u' ');
    if (b >= 0x80 && b <= 0x9F)
        return QChar(kHigh[b - 0x80]);
    return QChar(char16_t(b));
}

} // namespace

QString decodeText(QByteArrayView bytes) {
    QString out;
    out.reserve(bytes.size());
    for (char b : bytes)
        out.append(charFor(static_cast<unsigned char>(b)));
    return out;
}

QByteArray encodeText(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) {
        int b = byteFor(c.unicode());
        if (b < 0)
            throw EncodingError(
                QStringLiteral("Le caractère « %1 » ne peut pas être enregistré.")
                    .arg(firstNonCp1252(text)));
        out.append(static_cast<char>(b));
    }
    return out;
}

QByteArray encodeText(const QString& text, int width) {
    QByteArray out = encodeText(text.left(width));
    if (out.size() < width)
        out.append(QByteArray(width - out.size(), ' '));
    return out;
}

bool isCp1252(const QString& text) { return firstNonCp1252(text).isEmpty(); }

QString firstNonCp1252(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i)
        if (byteFor(text[i].unicode()) < 0) {
            // A character outside the basic plane is two UTF-16 units: both are shown.
            const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() &&
                              text[i + 1].isLowSurrogate();
            return text.mid(i, pair ? 2 : 1);
        }
    return QString();
}

QStringView trimView(QStringView s) {
    qsizetype b = 0, e = s.size();
    while (b < e && s[b] == u' ')
        ++b;
    while (e > b && s[e - 1] == u' ')
        --e;
    return s.sliced(b, e - b);
}

QString trim(const QString& s) {
    const QStringView t = trimView(s);
    return t.isEmpty() ? s.mid(s.size(), 0) : s.mid(t.data() - s.constData(), t.size());
}

bool isBlank(const QString& s) { return trim(s).isEmpty(); }

QString upperCase(const QString& s) {
    QString out = s;
    for (qsizetype i = 0; i < out.size(); ++i) {
        QChar up = out[i].toUpper();
        if (up != out[i] && byteFor(up.unicode()) >= 0)
            out[i] = up;
    }
    return out;
}

QString Left(const QString& s, int n) { return n <= 0 ? QString() : s.left(n); }
QString Right(const QString& s, int n) { return n <= 0 ? QString() : s.right(n); }
QString Mid(const QString& s, int position, int n) {
    if (position < 1)
        position = 1;
    return s.mid(position - 1, n);
}
QString Space(int n) { return n <= 0 ? QString() : QString(n, u' '); }
QString padRight(const QString& s, int width) { return s.left(width).leftJustified(width, u' '); }

} // namespace vt
