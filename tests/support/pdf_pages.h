#pragma once
// A PDF read back page by page with the poppler tools (pdftotext, pdfinfo).
#include <QList>
#include <QSizeF>
#include <QString>
#include <QStringList>

namespace vt::testing {

// The text of every page, in order, as `pdftotext -layout` lays it out.
QStringList pdfPageTexts(const QString& pdf);
// The size of every page in points, as its page box says (595 x 842 is A4 portrait).
QList<QSizeF> pdfPageSizes(const QString& pdf);
// True for the A4 size in that orientation, to the point.
bool isA4(const QSizeF& points, bool landscape);

} // namespace vt::testing
