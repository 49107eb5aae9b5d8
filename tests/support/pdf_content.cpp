#include "tests/support/pdf_content.h"

#include "common/text.h"

#include <QtEndian>

#include <optional>

namespace vt::testing {

namespace {

// The body of object `n`: from "n 0 obj" to its "endobj" (empty when there is none).
QByteArray objectBody(const QByteArray& file, int n) {
    const QByteArray head = QByteArray::number(n) + " 0 obj";
    qsizetype at = file.startsWith(head) ? 0 : file.indexOf('\n' + head);
    if (at < 0)
        return {};
    at = file.indexOf("obj", at) + 3;
    const qsizetype end = file.indexOf("endobj", at);
    return end < 0 ? QByteArray() : file.mid(at, end - at);
}

// The numbers n of the "n 0 R" references in `text`, in order.
QList<int> references(const QByteArray& text) {
    QList<int> out;
    const QList<QByteArray> words = text.simplified().split(' ');
    for (qsizetype i = 0; i + 2 < words.size(); ++i) {
        bool isNumber = false;
        const int n = words[i].toInt(&isNumber);
        if (isNumber && words[i + 1] == "0" && words[i + 2].startsWith('R'))
            out.append(n);
    }
    return out;
}

// The value after `key` in a dictionary: the text up to the next key or its end.
QByteArray entry(const QByteArray& dictionary, const QByteArray& key) {
    const qsizetype at = dictionary.indexOf(key + ' ');
    if (at < 0)
        return {};
    const qsizetype from = at + key.size() + 1;
    qsizetype end = dictionary.indexOf('/', from);
    const qsizetype close = dictionary.indexOf(">>", from);
    if (end < 0 || (close >= 0 && close < end))
        end = close;
    return dictionary.mid(from, end < 0 ? -1 : end - from).trimmed();
}

// The data of a stream object, inflated when its dictionary says /FlateDecode.
std::optional<QByteArray> streamData(const QByteArray& body) {
    const qsizetype start = body.indexOf("stream");
    if (start < 0)
        return std::nullopt;
    const QByteArray dictionary = body.left(start);
    qsizetype data = start + 6;
    if (body.mid(data, 2) == "\r\n")
        data += 2;
    else if (body.mid(data, 1) == "\n")
        data += 1;
    bool isNumber = false;
    const int length = entry(dictionary, "/Length").toInt(&isNumber);
    if (!isNumber || data + length > body.size())
        return std::nullopt;
    const QByteArray raw = body.mid(data, length);
    if (!dictionary.contains("/FlateDecode") || raw.isEmpty())
        return raw;
    // qUncompress reads a zlib stream after a 4-byte size of its own (a first guess: it
    // grows its buffer as the data needs).
    QByteArray sized(4, '\0');
    qToBigEndian<quint32>(quint32(raw.size() * 8), sized.data());
    const QByteArray inflated = qUncompress(sized + raw);
    if (inflated.isEmpty())
        return std::nullopt;
    return inflated;
}

// A literal string from just after its "(": the escapes undone, to the matching ")".
std::optional<QByteArray> literalString(const QByteArray& c, qsizetype& i) {
    QByteArray out;
    int depth = 1;
    while (i < c.size()) {
        const char ch = c[i++];
        if (ch == '\\') {
            if (i >= c.size())
                return std::nullopt;
            const char e = c[i++];
            static const QByteArray named = "nrtbf", meant = "\n\r\t\b\f";
            if (named.contains(e)) {
                out += meant[named.indexOf(e)];
            } else if (e == '\r' || e == '\n') { // a line continued
                if (e == '\r' && i < c.size() && c[i] == '\n')
                    ++i;
            } else if (e >= '0' && e <= '7') {
                int code = e - '0';
                for (int digits = 1; digits < 3 && i < c.size() && c[i] >= '0' && c[i] <= '7';
                     ++digits)
                    code = code * 8 + (c[i++] - '0');
                out += char(code);
            } else {
                out += e; // "\(", "\)", "\\"; any other escaped character stands alone
            }
        } else if (ch == '(') {
            ++depth;
            out += ch;
        } else if (ch == ')') {
            if (--depth == 0)
                return out;
            out += ch;
        } else if (ch == '\r') {
            out += '\n';
            if (i < c.size() && c[i] == '\n')
                ++i;
        } else {
            out += ch;
        }
    }
    return std::nullopt;
}

bool isSpace(char c) {
    return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}
bool isDelimiter(char c) {
    return isSpace(c) || QByteArray("()<>[]{}/%").contains(c);
}

struct Operand {
    enum Kind { Number, Name, String } kind;
    double number = 0;
    QByteArray bytes;
};

struct GraphicsState {
    QRectF clip;
    double size = 0;
};

} // namespace

QList<QByteArray> pdfPageContents(const QByteArray& file, QString* error) {
    QList<QByteArray> pages;
    const qsizetype tree = file.indexOf("/Type /Pages");
    if (tree < 0) {
        *error = QStringLiteral("no page tree");
        return pages;
    }
    const qsizetype kids = file.indexOf("/Kids [", tree);
    const qsizetype kidsEnd = file.indexOf(']', kids);
    if (kids < 0 || kidsEnd < 0) {
        *error = QStringLiteral("no list of pages");
        return pages;
    }
    for (int page : references(file.mid(kids + 7, kidsEnd - kids - 7))) {
        const QList<int> contents = references(entry(objectBody(file, page), "/Contents"));
        const std::optional<QByteArray> data =
            contents.size() == 1 ? streamData(objectBody(file, contents[0])) : std::nullopt;
        if (!data) {
            *error = QStringLiteral("page object %1: no content stream that can be read").arg(page);
            return pages;
        }
        pages.append(*data);
    }
    return pages;
}

QList<PdfShownText> pdfShownTexts(const QByteArray& c, QString* error) {
    QList<PdfShownText> shown;
    QList<Operand> operands;
    QList<GraphicsState> saved;
    GraphicsState state;
    QRectF path;
    bool clipNext = false;
    auto fail = [&](const QString& what, qsizetype at) {
        *error = QStringLiteral("%1 at byte %2 of: %3")
                     .arg(what)
                     .arg(at)
                     .arg(QString::fromLatin1(c.mid(qMax<qsizetype>(0, at - 40), 80)));
        return shown;
    };
    auto numbers = [&operands](int n) {
        if (operands.size() != n)
            return false;
        for (const Operand& o : operands)
            if (o.kind != Operand::Number)
                return false;
        return true;
    };
    double x = 0, y = 0;
    qsizetype i = 0;
    while (i < c.size()) {
        const char ch = c[i];
        if (isSpace(ch)) {
            ++i;
        } else if (ch == '%') {
            while (i < c.size() && c[i] != '\n' && c[i] != '\r')
                ++i;
        } else if (ch == '(') {
            const qsizetype start = i++;
            const std::optional<QByteArray> s = literalString(c, i);
            if (!s)
                return fail(QStringLiteral("a string left open"), start);
            operands.append({Operand::String, 0, *s});
        } else if (ch == '/') {
            const qsizetype start = ++i;
            while (i < c.size() && !isDelimiter(c[i]))
                ++i;
            operands.append({Operand::Name, 0, c.mid(start, i - start)});
        } else if (isDelimiter(ch)) {
            return fail(QStringLiteral("a '%1' outside any string").arg(QChar::fromLatin1(ch)), i);
        } else {
            const qsizetype start = i;
            while (i < c.size() && !isDelimiter(c[i]))
                ++i;
            const QByteArray word = c.mid(start, i - start);
            bool isNumber = false;
            const double value = word.toDouble(&isNumber);
            if (isNumber) {
                operands.append({Operand::Number, value, {}});
                continue;
            }
            if (word == "q") {
                saved.append(state);
            } else if (word == "Q") {
                if (saved.isEmpty())
                    return fail(QStringLiteral("a Q without its q"), start);
                state = saved.takeLast();
            } else if (word == "re") {
                if (!numbers(4))
                    return fail(QStringLiteral("re without its four numbers"), start);
                path = path.united(QRectF(operands[0].number, operands[1].number,
                                          operands[2].number, operands[3].number));
            } else if (word == "W" || word == "W*") {
                clipNext = true;
            } else if (QByteArrayList{"n", "f", "f*", "S", "s", "B", "B*", "b", "b*"}.contains(
                           word)) {
                if (clipNext)
                    state.clip = state.clip.isNull() ? path : state.clip.intersected(path);
                clipNext = false;
                path = QRectF();
            } else if (word == "Tf") {
                if (operands.size() != 2 || operands[0].kind != Operand::Name ||
                    operands[1].kind != Operand::Number)
                    return fail(QStringLiteral("Tf without its font and size"), start);
                state.size = operands[1].number;
            } else if (word == "Tm") {
                if (!numbers(6))
                    return fail(QStringLiteral("Tm without its six numbers"), start);
                x = operands[4].number;
                y = operands[5].number;
            } else if (word == "Td") {
                if (!numbers(2))
                    return fail(QStringLiteral("Td without its two numbers"), start);
                x += operands[0].number;
                y += operands[1].number;
            } else if (word == "Tj") {
                if (operands.size() != 1 || operands[0].kind != Operand::String)
                    return fail(QStringLiteral("Tj without its one string"), start);
                shown.append({decodeText(operands[0].bytes), x, y, state.size, state.clip});
            }
            operands.clear();
        }
    }
    if (!operands.isEmpty())
        return fail(QStringLiteral("operands with no operator after them"), c.size());
    return shown;
}

QList<PdfShownText> pdfShownTextsOfFile(const QByteArray& file, QString* error) {
    QList<PdfShownText> all;
    for (const QByteArray& page : pdfPageContents(file, error)) {
        all += pdfShownTexts(page, error);
        if (!error->isEmpty())
            break;
    }
    return all;
}

} // namespace vt::testing
