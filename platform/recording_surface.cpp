#include "platform/recording_surface.h"

#include <QMap>

#include <cmath>

namespace vt {

namespace {
constexpr double MillimetresPerPoint = 25.4 / 72.0;
constexpr double AdvanceEm = 0.6;
constexpr double LineHeightEm = 1.1328;
// The PDF page: A4 less 4 mm margins.
constexpr double PrintableShort = 202.0;
constexpr double PrintableLong = 289.0;

double advanceAt(double points) {
    return AdvanceEm * points * MillimetresPerPoint;
}
} // namespace

struct RecordingSurface::Impl {
    QList<RecordedDocument> documents;
    QList<RecordedRun> runs;
    RecordedDocument current;
    bool open = false;
};

RecordingSurface::RecordingSurface() : d(std::make_shared<Impl>()) {}

const QList<RecordedDocument>& RecordingSurface::documents() const {
    return d->documents;
}

const QList<RecordedRun>& RecordingSurface::runs() const {
    return d->runs;
}

const QList<RecordedPage>& RecordingSurface::pages() const {
    if (d->open || d->documents.isEmpty())
        return d->current.pages;
    return d->documents.last().pages;
}

void RecordingSurface::clear() {
    d->documents.clear();
    d->runs.clear();
    d->current = RecordedDocument();
}

QStringList RecordingSurface::pageLines(const RecordedPage& page) {
    QMap<qint64, QString> rows;
    for (const RecordedText& t : page.texts) {
        QString& row = rows[qRound64(t.y * 10)];
        const int column = std::max(0, int(std::lround(t.x / advanceAt(t.fontSize))));
        if (row.size() < column + t.text.size())
            row = row.leftJustified(column + t.text.size(), QLatin1Char(' '));
        row.replace(column, t.text.size(), t.text);
    }
    QStringList out;
    for (QString row : rows) {
        while (row.endsWith(QLatin1Char(' ')))
            row.chop(1);
        out.append(row);
    }
    return out;
}

QString RecordingSurface::allText() const {
    QString out;
    bool first = true;
    for (const RecordedPage& page : pages()) {
        qint64 lastRow = 0;
        bool newPage = true;
        for (const RecordedText& t : page.texts) {
            const qint64 row = qRound64(t.y * 10);
            if (!first && (newPage || row != lastRow))
                out += QLatin1Char('\n');
            out += t.text;
            first = false;
            newPage = false;
            lastRow = row;
        }
    }
    return out;
}

QString RecordingSurface::statusText(const QString& documentName, int pages) {
    return QStringLiteral("Impression « %1 » : %2").arg(documentName, pagesText(pages));
}

QSizeF RecordingSurface::printableSize(Orientation o) const {
    return o == Orientation::Landscape ? QSizeF(PrintableLong, PrintableShort)
                                       : QSizeF(PrintableShort, PrintableLong);
}

double RecordingSurface::advance(const QString& text) const {
    return text.size() * advanceAt(style().size);
}

double RecordingSurface::lineSpacing() const {
    return LineHeightEm * style().size * MillimetresPerPoint;
}

double RecordingSurface::averageCharWidth() const {
    return advanceAt(style().size);
}

void RecordingSurface::runStarted() {
    d->runs.append({runName(), static_cast<int>(d->documents.size()), 0, false});
}

PrintOutcome RecordingSurface::runFinished(int, int pages) {
    if (pages == 0)
        return {};
    return {PrintOutcome::Status::Done, QString(), pages, statusText(runName(), pages)};
}

void RecordingSurface::runAbandoned() {
    d->current = RecordedDocument();
    d->open = false;
    if (!d->runs.isEmpty())
        d->runs.last().abandoned = true;
}

void RecordingSurface::documentStarted() {
    d->current = RecordedDocument();
    d->current.name = documentName();
    d->open = true;
}

void RecordingSurface::pageStarted(Orientation o) {
    RecordedPage page;
    page.orientation = o;
    d->current.pages.append(page);
}

void RecordingSurface::drawTextAt(double x, double y, const QString& text, double) {
    const TextStyle& s = style();
    RecordedText t;
    t.x = x;
    t.y = y + scaleTop();
    t.scaleTop = scaleTop();
    t.text = text;
    t.fontName = s.fontName;
    t.fontSize = s.size;
    t.bold = s.bold;
    t.italic = s.italic;
    t.underline = s.underline;
    t.color = s.color;
    d->current.pages.last().texts.append(t);
}

void RecordingSurface::drawLineAt(double x1, double y1, double x2, double y2, bool rect) {
    d->current.pages.last().lines.append({x1, y1 + scaleTop(), x2, y2 + scaleTop(), rect});
}

void RecordingSurface::drawImageAt(double x, double y, const QImage& image) {
    d->current.pages.last().images.append({x, y + scaleTop(), image.size()});
}

PrintOutcome RecordingSurface::documentFinished(int pages) {
    d->documents.append(d->current);
    if (!d->runs.isEmpty())
        ++d->runs.last().documentCount;
    d->current = RecordedDocument();
    d->open = false;
    if (pages == 0)
        return {};
    return {PrintOutcome::Status::Done, QString(), pages,
            statusText(d->documents.last().name, pages)};
}

} // namespace vt
