#pragma once
// A PDF file written page after page as the documents are drawn: texts in embedded
// TrueType fonts with the Windows-1252 encoding (one string per text, as the printed
// documents are made of whole lines), lines, rectangles and pictures. Every font and
// every picture is stored once per file, however many pages use it, so a run of
// thousands of sheets stays one small file written at the speed of its text.
#include <QColor>
#include <QHash>
#include <QList>
#include <QRawFont>
#include <QRectF>
#include <QSizeF>
#include <QString>

class QIODevice;
class QImage;

namespace vt {

class PdfWriter {
public:
    // Writes to `out`, open for writing; `creator` and `title` go into the file's
    // information.
    PdfWriter(QIODevice* out, const QString& creator, const QString& title);

    // True when the font can be stored in the file: a valid face with TrueType outlines
    // (the file keeps them as they are; outlines of another kind, or none, would give a
    // font that no reader can draw).
    static bool canEmbed(const QRawFont& font);

    // Ends the page being drawn and starts one of this size (points).
    void beginPage(const QSizeF& points);
    // Coordinates are points from the top-left corner of the page; a drawing with a
    // coordinate that is not a finite number is left out.
    // The text with its baseline at (x, baseline), cut at `clipRight` when given. A text in
    // a font that cannot be embedded fails the file (see unembeddedFont()).
    void drawText(double x, double baseline, const QString& text, const QRawFont& font,
                  double sizePoints, const QColor& color, double clipRight = -1);
    void fillRect(const QRectF& rect, const QColor& color);
    void strokeLine(const QPointF& a, const QPointF& b, double width, const QColor& color);
    void strokeRect(const QRectF& rect, double width, const QColor& color);
    void drawImage(const QRectF& target, const QImage& image);

    // Ends the last page and writes the rest of the file; false when something could not
    // be written, or a text's font could not be embedded.
    bool finish();
    // The family of the first font that could not be embedded ("?" for a face with no
    // name), empty when every font was.
    const QString& unembeddedFont() const { return m_unembedded; }

private:
    struct Font {
        int id = 0; // /F<id> in the resources; 0: not embedded
        int object = 0;
    };
    int newObject();
    void beginObject(int object);
    void write(const QByteArray& bytes);
    void writeStream(int object, const QByteArray& dictionary, const QByteArray& data,
                     bool compress = true);
    void endPage();
    const Font& fontFor(const QRawFont& font);
    int imageFor(const QImage& image);
    QByteArray pageY(double y) const;

    QIODevice* m_out;
    bool m_ok = true;
    qint64 m_offset = 0;
    QList<qint64> m_objects; // offset of object n at n - 1 (0: not written yet)
    int m_catalog, m_pagesTree, m_resources, m_info;
    QList<int> m_pages;
    bool m_pageOpen = false;
    QSizeF m_pageSize;
    QByteArray m_content;
    QHash<QString, Font> m_fonts;
    QList<QPair<qint64, int>> m_images; // picture key, object
    QByteArray m_creator, m_title;
    QString m_unembedded;
};

} // namespace vt
