#pragma once
// A print surface for tests: the same semantics as the printer, with fixed metrics for
// every font (advance and average character 0.6 em, line height 1.1328 em, the metrics
// of the fixed-pitch font that answers for "Courier New"), keeping every page, text,
// position, font and colour so a test can check a document line by line.
#include "platform/layout_surface.h"

#include <QList>
#include <QStringList>

#include <memory>

namespace vt {

struct RecordedText {
    double x = 0, y = 0; // mm, top-left of the line box, in the surface's coordinates
    double scaleTop = 0; // the scale top when it was drawn (y - scaleTop: mm below the top edge)
    QString text;
    QString fontName;
    double fontSize = 12;
    bool bold = false, italic = false, underline = false;
    int color = 0;
};

struct RecordedLine {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0; // mm, in the surface's coordinates
    bool rect = false;
};

struct RecordedImage {
    double x = 0, y = 0;
    QSize size;
};

struct RecordedPage {
    Orientation orientation = Orientation::Portrait;
    QList<RecordedText> texts;
    QList<RecordedLine> lines;
    QList<RecordedImage> images;
};

struct RecordedDocument {
    QString name;
    QList<RecordedPage> pages;
};

// A run: its name and the documents it held (indices in documents(), in order).
struct RecordedRun {
    QString name;
    int firstDocument = 0;
    int documentCount = 0;
    bool abandoned = false;
};

class RecordingSurface : public LayoutSurface {
public:
    RecordingSurface();
    // All documents ended so far, in order.
    const QList<RecordedDocument>& documents() const;
    // All runs begun so far, in order (a document begun outside a run is a run of its own).
    const QList<RecordedRun>& runs() const;
    // Shortcut: the pages of the last document.
    const QList<RecordedPage>& pages() const;
    // The page as lines of text: texts grouped by Y (rounded to 0.1 mm), each placed at
    // its column (x / the 12-point advance of the text's own size), right-trimmed.
    static QStringList pageLines(const RecordedPage& page);
    // Every text of the last document joined in drawing order, a line feed where the
    // line or the page changes (for "contains" checks).
    QString allText() const;
    // The status text endDocument() gives for a document that printed something.
    static QString statusText(const QString& documentName, int pages);
    void clear();

private:
    QSizeF printableSize(Orientation o) const override;
    double advance(const QString& text) const override;
    double lineSpacing() const override;
    double averageCharWidth() const override;
    void runStarted() override;
    PrintOutcome runFinished(int documents, int pages) override;
    void runAbandoned() override;
    void documentStarted() override;
    void pageStarted(Orientation o) override;
    void drawTextAt(double x, double y, const QString& text, double clipRight) override;
    void drawLineAt(double x1, double y1, double x2, double y2, bool rect) override;
    void drawImageAt(double x, double y, const QImage& image) override;
    PrintOutcome documentFinished(int pages) override;

    struct Impl;
    std::shared_ptr<Impl> d;
};

} // namespace vt
