#pragma once
// A print surface for tests: the same semantics as the printer, with fixed metrics for
// every font (advance and average character 0.6 em, line height 1.1328 em, the metrics
// of the fixed-pitch font that answers for "Courier New"), keeping every page, text,
// position, font and colour so a test can check a document line by line.
#include "print_surface.h"

#include <QList>
#include <QStringList>

namespace vt {

struct RecordedText {
    double x = 0, y = 0; // mm, top-left of the line box, in the surface's coordinates
    QString text;
    QString fontName;
    double fontSize = 12;
    bool bold = false, italic = false, underline = false;
    int color = 0;
};

struct RecordedLine {
    double x1, y1, x2, y2;
    bool rect = false;
};

struct RecordedImage {
    double x, y;
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

class RecordingSurface : public PrintSurface {
public:
    RecordingSurface();
    // All documents ended so far, in order.
    const QList<RecordedDocument>& documents() const;
    // Shortcut: the pages of the last document.
    const QList<RecordedPage>& pages() const;
    // The page as lines of text: texts grouped by Y (rounded to 0.1 mm), each placed at
    // its column (x / the 12-point advance of the text's own size), right-trimmed.
    static QStringList pageLines(const RecordedPage& page);
    // Every text of the last document joined, in drawing order (for "contains" checks).
    QString allText() const;
    void clear();

    // PrintSurface (see print_surface.h)
    void beginDocument(const QString& documentName) override;
    QString endDocument() override;
    void newPage() override;
    void setOrientation(Orientation o) override;
    void setScaleMillimetres(double top) override;
    double scaleTop() const override;
    double scaleWidth() const override;
    double scaleHeight() const override;
    double currentX() const override;
    double currentY() const override;
    void setCurrentX(double mm) override;
    void setCurrentY(double mm) override;
    void setFontName(const QString& name) override;
    QString fontName() const override;
    void setFontSize(double points) override;
    double fontSize() const override;
    void setBold(bool on) override;
    void setItalic(bool on) override;
    void setUnderline(bool on) override;
    bool bold() const override;
    bool italic() const override;
    bool underline() const override;
    void setForeColor(int color) override;
    int foreColor() const override;
    void print(const QString& text) override;
    void endLine() override;
    void nextZone() override;
    void tab(int column) override;
    double textWidth(const QString& text) const override;
    double lineHeight() const override;
    double columnWidth() const override;
    void drawLine(double x1, double y1, double x2, double y2) override;
    void drawRect(double x1, double y1, double x2, double y2) override;
    void drawImage(double x, double y, const QImage& image) override;

private:
    struct Impl;
    std::shared_ptr<Impl> d;
};

} // namespace vt
