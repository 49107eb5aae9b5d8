#pragma once
// The printer semantics shared by every print surface: job settings, the current
// position, print zones, tabs, page overflow and lazy pages. A backend supplies the page
// size, the font metrics and the drawing; it never sees the scale top (positions given to
// it are measured from the top-left corner of the printable area).
#include "platform/print_surface.h"

#include <QSizeF>

namespace vt {

// The text settings a drawing uses.
struct TextStyle {
    QString fontName = QStringLiteral("Courier New");
    double size = 12;
    bool bold = false, italic = false, underline = false;
    int color = 0;
};

// The colour numbers of the printed documents (0x00BBGGRR) as red, green, blue.
int colorRed(int color);
int colorGreen(int color);
int colorBlue(int color);

class LayoutSurface : public PrintSurface {
public:
    LayoutSurface();

    void beginDocument(const QString& documentName) override;
    PrintOutcome endDocument() override;
    void newPage() override;
    void beginRun(const QString& runName) override;
    PrintOutcome endRun() override;
    void abandonRun() override;

    void setOrientation(Orientation o) override;
    void setScaleMillimetres(double top) override;
    double scaleTop() const override { return m_top; }
    double scaleWidth() const override;
    double scaleHeight() const override;

    double currentX() const override { return m_x; }
    double currentY() const override { return m_y; }
    void setCurrentX(double mm) override { m_x = mm; }
    void setCurrentY(double mm) override { m_y = mm; }

    void setFontName(const QString& name) override;
    QString fontName() const override { return m_style.fontName; }
    void setFontSize(double points) override;
    double fontSize() const override { return m_style.size; }
    void setBold(bool on) override;
    void setItalic(bool on) override;
    void setUnderline(bool on) override;
    bool bold() const override { return m_style.bold; }
    bool italic() const override { return m_style.italic; }
    bool underline() const override { return m_style.underline; }
    void setForeColor(int color) override { m_style.color = color; }
    int foreColor() const override { return m_style.color; }

    void print(const QString& text) override;
    void endLine() override;
    void nextZone() override;
    void tab(int column) override;

    double textWidth(const QString& text) const override { return advance(text); }
    double lineHeight() const override { return lineSpacing(); }
    double columnWidth() const override { return averageCharWidth(); }

    void drawLine(double x1, double y1, double x2, double y2) override;
    void drawRect(double x1, double y1, double x2, double y2) override;
    void drawImage(double x, double y, const QImage& image) override;

    // True between beginDocument and endDocument.
    bool inDocument() const { return m_inDocument; }
    // Pages begun in the current document so far.
    int pagesBegun() const { return m_pages; }
    // True while a run is open (one begun by beginRun, or a document's own).
    bool inRun() const { return m_inRun; }

protected:
    const TextStyle& style() const { return m_style; }
    const QString& documentName() const { return m_name; }
    const QString& runName() const { return m_runName; }
    // True when the open run is a document's own (begun by beginDocument outside a run).
    bool documentRun() const { return m_documentRun; }
    // The orientation of the page being drawn (or of the next one when none is open).
    Orientation pageOrientation() const { return m_pageOpen ? m_pageOrientation : m_orientation; }

    // Backend: the printable size in mm for an orientation.
    virtual QSizeF printableSize(Orientation o) const = 0;
    // Backend: metrics of the current style, in mm.
    virtual double advance(const QString& text) const = 0;
    virtual double lineSpacing() const = 0;
    virtual double averageCharWidth() const = 0;
    // Backend: the style changed (a backend that caches fonts refreshes them).
    virtual void styleChanged() {}
    // Backend: a run begins, before its first document.
    virtual void runStarted() {}
    // Backend: the run ends after `documents` documents that drew something, `pages`
    // pages in all. Returns where it went (no message when nothing was drawn), or that it
    // could not be printed and why.
    virtual PrintOutcome runFinished(int documents, int pages) = 0;
    // Backend: the run is dropped, maybe in the middle of a document.
    virtual void runAbandoned() {}
    // Backend: a document begins (nothing is drawn yet).
    virtual void documentStarted() {}
    // Backend: a page begins; the first call of a document is its first page.
    virtual void pageStarted(Orientation o) = 0;
    // Backend drawing, in mm from the top-left corner of the printable area.
    // `y` is the top of the line box; the text is cut at `clipRight`.
    virtual void drawTextAt(double x, double y, const QString& text, double clipRight) = 0;
    virtual void drawLineAt(double x1, double y1, double x2, double y2, bool rect) = 0;
    virtual void drawImageAt(double x, double y, const QImage& image) = 0;
    // Backend: the document ends after `pages` pages (0: nothing was drawn). Returns where
    // it went (no message when nothing was drawn), or that it could not be printed.
    virtual PrintOutcome documentFinished(int pages) = 0;

private:
    void resetJob();
    void startRun(const QString& name, bool documentRun);
    void ensureDocument();
    void ensurePage();

    TextStyle m_style;
    Orientation m_orientation = Orientation::Portrait;     // for the next page begun
    Orientation m_pageOrientation = Orientation::Portrait; // of the open page
    double m_top = 0;
    double m_x = 0, m_y = 0;
    bool m_inDocument = false;
    bool m_pageOpen = false;
    int m_pages = 0;
    QString m_name;
    bool m_inRun = false;
    bool m_documentRun = false;
    int m_runDocuments = 0, m_runPages = 0;
    QString m_runName;
};

} // namespace vt
