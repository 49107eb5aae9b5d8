#include "tests/support/pdf_pages.h"

#include <QProcess>
#include <QRegularExpression>

#include <cmath>

namespace vt::testing {

namespace {
QString output(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}
} // namespace

QStringList pdfPageTexts(const QString& pdf) {
    // pdftotext ends every page with a form feed.
    QStringList pages =
        output(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")})
            .split(u'\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

QList<QSizeF> pdfPageSizes(const QString& pdf) {
    const QString info =
        output(QStringLiteral("pdfinfo"), {QStringLiteral("-f"), QStringLiteral("1"),
                                           QStringLiteral("-l"), QStringLiteral("100000"), pdf});
    static const QRegularExpression size(
        QStringLiteral("Page\\s+\\d+ size:\\s+([\\d.]+) x ([\\d.]+) pts"));
    QList<QSizeF> out;
    auto it = size.globalMatch(info);
    while (it.hasNext()) {
        const auto m = it.next();
        out.append(QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()));
    }
    return out;
}

bool isA4(const QSizeF& points, bool landscape) {
    const QSizeF a4 = landscape ? QSizeF(841.89, 595.28) : QSizeF(595.28, 841.89);
    return std::abs(points.width() - a4.width()) < 1 && std::abs(points.height() - a4.height()) < 1;
}

} // namespace vt::testing
