#include "platform/pdf_writer.h"

#include "common/text.h"

#include <QIODevice>
#include <QImage>
#include <QPainter>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace vt {

namespace {

QByteArray num(double v) {
    QByteArray s = QByteArray::number(v, 'f', 3);
    if (s.contains('.')) {
        while (s.endsWith('0'))
            s.chop(1);
        if (s.endsWith('.'))
            s.chop(1);
    }
    if (s == "-0")
        s = "0";
    return s;
}

QByteArray colour(const QColor& c, const char* op) {
    return num(c.redF()) + ' ' + num(c.greenF()) + ' ' + num(c.blueF()) + ' ' + op + '\n';
}

// The data as a zlib stream, what /FlateDecode reads: qCompress gives one after a
// 4-byte length of its own, which the file does not want.
QByteArray deflated(const QByteArray& data) {
    QByteArray out = qCompress(data);
    out.remove(0, 4);
    return out;
}

// A text string of the file: "(...)" with the PDF escapes.
QByteArray literal(const QByteArray& bytes) {
    QByteArray out;
    out.reserve(bytes.size() + 8);
    out += '(';
    for (char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '(' || c == ')' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 32) {
            out += '\\';
            out += QByteArray::number(c, 8).rightJustified(3, '0');
        } else {
            out += ch;
        }
    }
    out += ')';
    return out;
}

// The text as Windows-1252 bytes; a character outside it prints as "?".
QByteArray cp1252(const QString& text) {
    if (isCp1252(text))
        return encodeText(text);
    QByteArray out;
    for (const QChar c : text)
        out += isCp1252(QString(c)) ? encodeText(QString(c)) : QByteArray("?");
    return out;
}

// A UTF-16 text string (for the document information).
QByteArray unicodeLiteral(const QString& s) {
    QByteArray bytes("\xFE\xFF");
    for (const QChar c : s) {
        bytes += char(c.unicode() >> 8);
        bytes += char(c.unicode() & 0xFF);
    }
    return literal(bytes);
}

// The font's tables put back together as a TrueType file.
QByteArray trueTypeFile(const QRawFont& font) {
    static const char* const tags[] = {"OS/2", "cmap", "cvt ", "fpgm", "glyf", "head", "hhea",
                                       "hmtx", "loca", "maxp", "name", "post", "prep"};
    QList<QPair<QByteArray, QByteArray>> tables;
    for (const char* tag : tags) {
        const QByteArray data = font.fontTable(tag);
        if (!data.isEmpty())
            tables.append({QByteArray(tag, 4), data});
    }
    const auto n = static_cast<quint16>(tables.size());
    quint16 power = 1, log2 = 0;
    while (power * 2 <= n) {
        power *= 2;
        ++log2;
    }
    QByteArray out;
    auto u16 = [&out](quint16 v) {
        out += char(v >> 8);
        out += char(v & 0xFF);
    };
    auto u32 = [&out](quint32 v) {
        for (int shift = 24; shift >= 0; shift -= 8)
            out += char((v >> shift) & 0xFF);
    };
    u32(0x00010000);
    u16(n);
    u16(static_cast<quint16>(power * 16));
    u16(log2);
    u16(static_cast<quint16>(n * 16 - power * 16));
    quint32 offset = 12 + 16 * n;
    for (const auto& [tag, data] : tables) {
        QByteArray padded = data;
        while (padded.size() % 4)
            padded += '\0';
        quint32 sum = 0;
        for (qsizetype i = 0; i < padded.size(); i += 4)
            sum += qFromBigEndian<quint32>(padded.constData() + i);
        out += tag;
        u32(sum);
        u32(offset);
        u32(static_cast<quint32>(data.size()));
        offset += static_cast<quint32>(padded.size());
    }
    for (const auto& [tag, data] : tables) {
        out += data;
        while (out.size() % 4)
            out += '\0';
    }
    return out;
}

bool finite(std::initializer_list<double> values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

bool finite(const QRectF& r) {
    return finite({r.x(), r.y(), r.width(), r.height()});
}

// The font's name as a PDF name: its letters and digits, without spaces.
QByteArray pdfName(const QString& name) {
    QByteArray out;
    for (const QChar c : name) {
        if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') ||
            c == u'-')
            out += char(c.unicode());
    }
    return out;
}

QString fontKey(const QRawFont& f) {
    return f.familyName() + u'|' + f.styleName() + u'|' + QString::number(f.weight()) + u'|' +
           QString::number(int(f.style()));
}

} // namespace

PdfWriter::PdfWriter(QIODevice* out, const QString& creator, const QString& title)
    : m_out(out), m_creator(unicodeLiteral(creator)), m_title(unicodeLiteral(title)) {
    write("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
    m_catalog = newObject();
    m_pagesTree = newObject();
    m_resources = newObject();
    m_info = newObject();
}

int PdfWriter::newObject() {
    m_objects.append(0);
    return static_cast<int>(m_objects.size());
}

void PdfWriter::write(const QByteArray& bytes) {
    if (!m_ok)
        return;
    if (m_out->write(bytes) != bytes.size())
        m_ok = false;
    m_offset += bytes.size();
}

void PdfWriter::beginObject(int object) {
    m_objects[object - 1] = m_offset;
    write(QByteArray::number(object) + " 0 obj\n");
}

void PdfWriter::writeStream(int object, const QByteArray& dictionary, const QByteArray& data,
                            bool compress) {
    // Nothing to compress (qCompress gives no stream for it): stored as it is.
    compress = compress && !data.isEmpty();
    const QByteArray body = compress ? deflated(data) : data;
    beginObject(object);
    write("<<" + dictionary + (compress ? " /Filter /FlateDecode" : "") + " /Length " +
          QByteArray::number(body.size()) + ">>\nstream\n");
    write(body);
    write("\nendstream\nendobj\n");
}

QByteArray PdfWriter::pageY(double y) const {
    return num(m_pageSize.height() - y);
}

void PdfWriter::beginPage(const QSizeF& points) {
    endPage();
    m_pageSize = points;
    m_pageOpen = true;
    m_content.clear();
}

void PdfWriter::endPage() {
    if (!m_pageOpen)
        return;
    m_pageOpen = false;
    const int content = newObject();
    writeStream(content, QByteArray(), m_content);
    const int page = newObject();
    beginObject(page);
    write("<</Type /Page /Parent " + QByteArray::number(m_pagesTree) + " 0 R /MediaBox [0 0 " +
          num(m_pageSize.width()) + ' ' + num(m_pageSize.height()) + "] /Resources " +
          QByteArray::number(m_resources) + " 0 R /Contents " + QByteArray::number(content) +
          " 0 R>>\nendobj\n");
    m_pages.append(page);
    m_content.clear();
}

bool PdfWriter::canEmbed(const QRawFont& font) {
    if (!font.isValid() || pdfName(font.familyName()).isEmpty())
        return false;
    for (const char* tag : {"glyf", "loca", "head", "hhea", "hmtx", "maxp", "cmap"})
        if (font.fontTable(tag).isEmpty())
            return false;
    return font.glyphIndexesForString(QStringLiteral("A")).value(0) != 0;
}

const PdfWriter::Font& PdfWriter::fontFor(const QRawFont& font) {
    const QString key = fontKey(font);
    auto it = m_fonts.find(key);
    if (it != m_fonts.end())
        return *it;
    Font f;
    if (!canEmbed(font)) {
        // The file is not written: its text could not be drawn.
        if (m_unembedded.isEmpty())
            m_unembedded = font.familyName().isEmpty() ? QStringLiteral("?") : font.familyName();
        m_ok = false;
        return *m_fonts.insert(key, f);
    }
    f.id = static_cast<int>(m_fonts.size()) + 1;
    f.object = newObject();
    // The metrics in thousandths of the em, as the file gives them.
    QRawFont em(font);
    em.setPixelSize(1000);
    QByteArray widths;
    for (int code = 32; code <= 255; ++code) {
        const QString ch = decodeText(QByteArray(1, char(code)));
        const QList<quint32> glyphs = em.glyphIndexesForString(ch);
        const QList<QPointF> advances = em.advancesForGlyphIndexes(glyphs);
        widths += num(advances.isEmpty() ? 0 : advances.first().x()) + ' ';
    }
    QByteArray suffix;
    if (font.weight() >= QFont::Bold)
        suffix += "Bold";
    if (font.style() != QFont::StyleNormal)
        suffix += "Italic";
    const QByteArray family = pdfName(font.familyName());
    const QByteArray name = suffix.isEmpty() ? family : family + '-' + suffix;
    auto advanceOf = [&em](const QString& ch) {
        return em.advancesForGlyphIndexes(em.glyphIndexesForString(ch)).value(0).x();
    };
    const bool fixed = advanceOf(QStringLiteral("i")) == advanceOf(QStringLiteral("M"));
    const int flags = 32 | (fixed ? 1 : 0) | (font.style() != QFont::StyleNormal ? 64 : 0);

    const QByteArray file = trueTypeFile(font);
    const int fileObject = newObject();
    writeStream(fileObject, " /Length1 " + QByteArray::number(file.size()), file);
    const int descriptor = newObject();
    beginObject(descriptor);
    write("<</Type /FontDescriptor /FontName /" + name + " /Flags " + QByteArray::number(flags) +
          " /FontBBox [-1000 -" + num(em.descent()) + " 2000 " + num(em.ascent()) +
          "] /ItalicAngle " + (font.style() != QFont::StyleNormal ? "-12" : "0") + " /Ascent " +
          num(em.ascent()) + " /Descent -" + num(em.descent()) + " /CapHeight " +
          num(em.capHeight()) + " /StemV 80 /FontFile2 " + QByteArray::number(fileObject) +
          " 0 R>>\nendobj\n");
    beginObject(f.object);
    write("<</Type /Font /Subtype /TrueType /BaseFont /" + name +
          " /FirstChar 32 /LastChar 255 /Widths [" + widths + "] /Encoding /WinAnsiEncoding" +
          " /FontDescriptor " + QByteArray::number(descriptor) + " 0 R>>\nendobj\n");
    return *m_fonts.insert(key, f);
}

int PdfWriter::imageFor(const QImage& image) {
    for (const auto& [key, object] : m_images)
        if (key == image.cacheKey())
            return object;
    // Transparent parts on white paper.
    QImage rgb(image.size(), QImage::Format_RGB888);
    rgb.fill(Qt::white);
    {
        QPainter p(&rgb);
        p.drawImage(0, 0, image);
    }
    QByteArray pixels;
    pixels.reserve(rgb.width() * rgb.height() * 3);
    for (int y = 0; y < rgb.height(); ++y)
        pixels.append(reinterpret_cast<const char*>(rgb.constScanLine(y)), rgb.width() * 3);
    const int object = newObject();
    writeStream(object,
                " /Type /XObject /Subtype /Image /Width " + QByteArray::number(rgb.width()) +
                    " /Height " + QByteArray::number(rgb.height()) +
                    " /ColorSpace /DeviceRGB /BitsPerComponent 8",
                pixels);
    m_images.append({image.cacheKey(), object});
    return object;
}

void PdfWriter::drawText(double x, double baseline, const QString& text, const QRawFont& font,
                         double sizePoints, const QColor& color, double clipRight) {
    if (!finite({x, baseline, sizePoints, clipRight}))
        return;
    const Font& f = fontFor(font);
    if (f.id == 0)
        return;
    QByteArray& c = m_content;
    const bool clip = clipRight >= 0;
    if (clip)
        c += "q 0 0 " + num(clipRight) + ' ' + num(m_pageSize.height()) + " re W n\n";
    c += "BT\n" + colour(color, "rg") + "/F" + QByteArray::number(f.id) + ' ' + num(sizePoints) +
         " Tf\n1 0 0 1 " + num(x) + ' ' + pageY(baseline) + " Tm\n" + literal(cp1252(text)) +
         " Tj\nET\n";
    if (clip)
        c += "Q\n";
}

void PdfWriter::fillRect(const QRectF& r, const QColor& color) {
    if (!finite(r))
        return;
    m_content += colour(color, "rg") + num(r.x()) + ' ' + pageY(r.bottom()) + ' ' + num(r.width()) +
                 ' ' + num(r.height()) + " re f\n";
}

void PdfWriter::strokeLine(const QPointF& a, const QPointF& b, double width, const QColor& color) {
    if (!finite({a.x(), a.y(), b.x(), b.y(), width}))
        return;
    m_content += colour(color, "RG") + num(width) + " w " + num(a.x()) + ' ' + pageY(a.y()) +
                 " m " + num(b.x()) + ' ' + pageY(b.y()) + " l S\n";
}

void PdfWriter::strokeRect(const QRectF& r, double width, const QColor& color) {
    if (!finite(r) || !std::isfinite(width))
        return;
    m_content += colour(color, "RG") + num(width) + " w " + num(r.x()) + ' ' + pageY(r.bottom()) +
                 ' ' + num(r.width()) + ' ' + num(r.height()) + " re S\n";
}

void PdfWriter::drawImage(const QRectF& t, const QImage& image) {
    if (!finite(t))
        return;
    const int object = imageFor(image);
    m_content += "q " + num(t.width()) + " 0 0 " + num(t.height()) + ' ' + num(t.x()) + ' ' +
                 pageY(t.bottom()) + " cm /Im" + QByteArray::number(object) + " Do Q\n";
}

bool PdfWriter::finish() {
    endPage();
    beginObject(m_resources);
    QByteArray fonts, images;
    for (const Font& f : std::as_const(m_fonts))
        if (f.id != 0)
            fonts += "/F" + QByteArray::number(f.id) + ' ' + QByteArray::number(f.object) + " 0 R ";
    for (const auto& [key, object] : m_images)
        images += "/Im" + QByteArray::number(object) + ' ' + QByteArray::number(object) + " 0 R ";
    write("<</ProcSet [/PDF /Text /ImageC] /Font <<" + fonts + ">> /XObject <<" + images +
          ">>>>\nendobj\n");
    beginObject(m_pagesTree);
    QByteArray kids;
    for (int page : std::as_const(m_pages))
        kids += QByteArray::number(page) + " 0 R ";
    write("<</Type /Pages /Count " + QByteArray::number(m_pages.size()) + " /Kids [" + kids +
          "]>>\nendobj\n");
    beginObject(m_catalog);
    write("<</Type /Catalog /Pages " + QByteArray::number(m_pagesTree) + " 0 R>>\nendobj\n");
    beginObject(m_info);
    write("<</Creator " + m_creator + " /Producer " + m_creator + " /Title " + m_title +
          ">>\nendobj\n");
    const qint64 xref = m_offset;
    QByteArray table =
        "xref\n0 " + QByteArray::number(m_objects.size() + 1) + "\n0000000000 65535 f \n";
    for (qint64 offset : std::as_const(m_objects))
        table += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    write(table);
    write("trailer\n<</Size " + QByteArray::number(m_objects.size() + 1) + " /Root " +
          QByteArray::number(m_catalog) + " 0 R /Info " + QByteArray::number(m_info) +
          " 0 R>>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n");
    return m_ok;
}

} // namespace vt
