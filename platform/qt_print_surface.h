#pragma once
// The print surface that users print on: QPainter on the default printer when one is
// installed, one job per document; otherwise one PDF file per print run, written by the
// program's own PdfWriter with the metrics of a 1200 dpi PDF device.
#include "platform/layout_surface.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QList>
#include <QPrinter>

#include <array>
#include <memory>
#include <optional>

class QBuffer;
class QFile;
class QPagedPaintDevice;
class QPaintDevice;
class QPainter;
class QPdfWriter;
class QRawFont;
class QWidget;

namespace vt {

class PdfWriter;

class QtPrintSurface : public LayoutSurface {
public:
    enum class Target {
        Automatic, // the default printer when there is one, else PDF files
        Pdf        // always PDF files (tests, and machines without a printer)
    };
    explicit QtPrintSurface(Target target = Target::Automatic);
    ~QtPrintSurface() override;

    // The printer set-up dialog on this surface's printer; false when the user gives up.
    // Choosing a PDF file there sends every later run to a PDF of its own in that file's
    // folder.
    bool runPrinterSetup(QWidget* parent = nullptr);
    // The PDF file of the last run that went to a file, empty otherwise.
    QString lastPdfPath() const { return m_pdfPath; }
    // The family that answers for a font name ("Courier New" gives "Liberation Mono").
    static QString familyFor(const QString& fontName);
    // The creator written in every PDF: the running program's name and version.
    static QString pdfCreator();

private:
    QSizeF printableSize(Orientation o) const override;
    double advance(const QString& text) const override;
    double lineSpacing() const override;
    double averageCharWidth() const override;
    void styleChanged() override;
    void runStarted() override;
    PrintOutcome runFinished(int documents, int pages) override;
    void runAbandoned() override;
    void documentStarted() override;
    void pageStarted(Orientation o) override;
    void drawTextAt(double x, double y, const QString& text, double clipRight) override;
    void drawLineAt(double x1, double y1, double x2, double y2, bool rect) override;
    void drawImageAt(double x, double y, const QImage& image) override;
    PrintOutcome documentFinished(int pages) override;

    QPagedPaintDevice* device() const;
    const QFont& currentFont() const;
    const QFontMetricsF& metrics() const;
    double deviceAdvance(const QString& text) const;
    double toDevice(double mm) const;
    double toMm(double deviceUnits) const;
    bool painting() const;
    bool printingToPdf() const;
    QString pdfBaseName() const;
    void closePdf();
    void beginPainting(QPaintDevice* on);
    void setPainterPen(int color, double width);
    const QImage& sharedImage(const QImage& image);
    bool drawingPdf() const;
    const QRawFont& rawFont() const;
    double toPoints(double mm) const;

    Target m_target;
    QPrinter m_printer{QPrinter::HighResolution}; // the printer the user set up
    std::unique_ptr<QFile> m_pdfFile;             // the run's PDF, in its unfinished file
    std::unique_ptr<PdfWriter> m_pdf;             // writing it
    std::unique_ptr<QPdfWriter> m_qtPdf; // or Qt's engine writing it (fonts of other outlines)
    mutable std::unique_ptr<QBuffer> m_nowhere;
    mutable std::unique_ptr<QPdfWriter> m_metricsDevice; // the PDF metrics outside a run
    std::unique_ptr<QPainter> m_painter;
    bool m_toPdf = true;
    bool m_userChosePrinter = false;
    bool m_userChosePdf = false;
    bool m_failed = false;     // the current printer job or PDF run cannot be printed
    int m_failedDocuments = 0; // printer jobs of the run that failed
    QString m_runStamp;        // the run's time in its file name
    bool m_qtEngine = false;   // the run's PDF goes through Qt's engine
    QString m_unembedded;      // a font the run's PDF could not hold
    QString m_pdfPath;
    // What the painter holds, so that a text changes it only when it must.
    int m_penColor = -1;
    double m_penWidth = -1;
    mutable bool m_painterFontSet = false;
    // Images already given to the PDF, so that one picture is stored once per file.
    QList<QImage> m_images;
    mutable QFont m_font;
    mutable std::optional<QFontMetricsF> m_metrics;
    mutable std::unique_ptr<QRawFont> m_rawFont; // the current font as the PDF stores it
    // A fixed-pitch font's advance of the characters met so far, up to U+00FF (-1: not
    // met): a text's advance is their sum, with no shaping of the text.
    struct Advances {
        bool fixedPitch = false;
        std::array<double, 256> of{};
    };
    mutable QHash<QString, std::shared_ptr<Advances>> m_advances; // by font
    mutable Advances* m_fontAdvances = nullptr;
    mutable bool m_fontDirty = true;
};

} // namespace vt
