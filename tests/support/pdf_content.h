#pragma once
// A PDF written by the program read back from its bytes: each page's content stream
// (inflated when it is Flate-compressed), and the texts that stream shows, read the way
// a PDF reader reads them: the string's escapes undone, where it stands and the clip
// area in force when it is drawn.
#include <QByteArray>
#include <QList>
#include <QRectF>
#include <QString>

namespace vt::testing {

// The content stream of every page, in the order of the page tree. A page whose stream
// cannot be found or inflated is said in `error` and ends the list.
QList<QByteArray> pdfPageContents(const QByteArray& file, QString* error);

struct PdfShownText {
    QString text;        // the string shown, as Windows-1252 text
    double x = 0, y = 0; // its origin, in points from the page's bottom-left corner
    double size = 0;     // the font size
    QRectF clip;         // the clip area in force (bottom-up coordinates); null when none
};

// The texts shown (Tj) by a content stream, in order. The content is read as a reader
// reads it: a string ends at its first unescaped closing parenthesis, and whatever does
// not read as operands and operators (a stray ")", a string left open, a "Tj" without its
// string) is said in `error`, which ends the list.
QList<PdfShownText> pdfShownTexts(const QByteArray& content, QString* error);

// The texts shown on every page of the file, page after page.
QList<PdfShownText> pdfShownTextsOfFile(const QByteArray& file, QString* error);

} // namespace vt::testing
