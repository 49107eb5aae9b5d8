#include "platform/layout_surface.h"

#include <cmath>

namespace vt {

namespace {
// Positions come from sums of text advances; a boundary computed as 35.5599999 is on the
// boundary, not before it.
constexpr double Tolerance = 1e-6;
constexpr int ZoneColumns = 14;
} // namespace

int colorRed(int color) {
    return color & 0xFF;
}
int colorGreen(int color) {
    return (color >> 8) & 0xFF;
}
int colorBlue(int color) {
    return (color >> 16) & 0xFF;
}

QString pagesText(int pages) {
    return pages == 1 ? QStringLiteral("1 page") : QStringLiteral("%1 pages").arg(pages);
}

LayoutSurface::LayoutSurface() {
    resetJob();
}

void LayoutSurface::resetJob() {
    m_style = TextStyle();
    m_orientation = Orientation::Portrait;
    m_pageOrientation = Orientation::Portrait;
    m_top = 0;
    m_x = 0;
    m_y = 0;
    m_pageOpen = false;
    m_pages = 0;
}

void LayoutSurface::startRun(const QString& name, bool documentRun) {
    m_inRun = true;
    m_documentRun = documentRun;
    m_runName = name;
    m_runDocuments = 0;
    m_runPages = 0;
    runStarted();
}

void LayoutSurface::beginRun(const QString& runName) {
    if (m_inRun)
        endRun();
    else if (m_inDocument)
        endDocument();
    startRun(runName, false);
}

PrintOutcome LayoutSurface::endRun() {
    if (!m_inRun)
        return {};
    if (m_inDocument) {
        const PrintOutcome where = endDocument();
        if (!m_inRun) // the document's own run
            return where;
    }
    m_inRun = false;
    return runFinished(m_runDocuments, m_runPages);
}

void LayoutSurface::abandonRun() {
    if (!m_inRun && !m_inDocument)
        return;
    m_inRun = false;
    m_inDocument = false;
    resetJob();
    styleChanged();
    runAbandoned();
}

void LayoutSurface::beginDocument(const QString& documentName) {
    if (m_inDocument)
        endDocument();
    if (!m_inRun)
        startRun(documentName, true);
    resetJob();
    m_name = documentName;
    m_inDocument = true;
    styleChanged();
    documentStarted();
}

void LayoutSurface::ensureDocument() {
    // Drawing outside a job opens one, keeping the settings made since the last job.
    if (!m_inDocument) {
        m_name = QStringLiteral("Impression");
        if (!m_inRun)
            startRun(m_name, true);
        m_inDocument = true;
        documentStarted();
    }
}

void LayoutSurface::ensurePage() {
    ensureDocument();
    if (!m_pageOpen) {
        m_pageOrientation = m_orientation;
        m_pageOpen = true;
        ++m_pages;
        pageStarted(m_pageOrientation);
    }
}

PrintOutcome LayoutSurface::endDocument() {
    if (!m_inDocument) {
        resetJob();
        return {};
    }
    PrintOutcome where = documentFinished(m_pages);
    if (m_pages > 0) {
        ++m_runDocuments;
        m_runPages += m_pages;
    }
    m_inDocument = false;
    resetJob();
    styleChanged();
    if (m_inRun && m_documentRun) {
        m_inRun = false;
        where = runFinished(m_runDocuments, m_runPages);
    }
    return where;
}

void LayoutSurface::newPage() {
    // The page break takes effect when something is drawn after it.
    m_pageOpen = false;
    m_x = 0;
    m_y = m_top;
}

void LayoutSurface::setOrientation(Orientation o) {
    m_orientation = o;
}

void LayoutSurface::setScaleMillimetres(double top) {
    m_top = top;
}

double LayoutSurface::scaleWidth() const {
    return printableSize(pageOrientation()).width();
}

double LayoutSurface::scaleHeight() const {
    return printableSize(pageOrientation()).height();
}

void LayoutSurface::setFontName(const QString& name) {
    m_style.fontName = name;
    styleChanged();
}

void LayoutSurface::setFontSize(double points) {
    if (points > 0)
        m_style.size = points;
    styleChanged();
}

void LayoutSurface::setBold(bool on) {
    m_style.bold = on;
    styleChanged();
}

void LayoutSurface::setItalic(bool on) {
    m_style.italic = on;
    styleChanged();
}

void LayoutSurface::setUnderline(bool on) {
    m_style.underline = on;
    styleChanged();
}

void LayoutSurface::print(const QString& text) {
    if (text.isEmpty())
        return;
    const double height = lineSpacing();
    const double bottom = m_top + scaleHeight();
    if (m_y + height > bottom + Tolerance && !(m_pageOpen && m_y <= m_top + Tolerance)) {
        // Past the bottom: the text goes on a new page, in the same column.
        m_pageOpen = false;
        m_y = m_top;
    }
    ensurePage();
    drawTextAt(m_x, m_y - m_top, text, scaleWidth());
    m_x += advance(text);
}

void LayoutSurface::endLine() {
    m_x = 0;
    m_y += lineSpacing();
}

void LayoutSurface::nextZone() {
    const double zone = ZoneColumns * averageCharWidth();
    if (zone <= 0)
        return;
    m_x = (std::floor((m_x + Tolerance) / zone) + 1) * zone;
}

void LayoutSurface::tab(int column) {
    const double target = std::max(0, column - 1) * averageCharWidth();
    if (m_x > target + Tolerance)
        endLine();
    m_x = target;
}

void LayoutSurface::drawLine(double x1, double y1, double x2, double y2) {
    ensurePage();
    drawLineAt(x1, y1 - m_top, x2, y2 - m_top, false);
}

void LayoutSurface::drawRect(double x1, double y1, double x2, double y2) {
    ensurePage();
    drawLineAt(x1, y1 - m_top, x2, y2 - m_top, true);
}

void LayoutSurface::drawImage(double x, double y, const QImage& image) {
    ensurePage();
    drawImageAt(x, y - m_top, image);
}

} // namespace vt
