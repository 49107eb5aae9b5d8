#pragma once
// The print surface that users print on: QPainter on a high-resolution QPrinter, the
// default printer when one is installed, otherwise one PDF file per document.
#include "platform/layout_surface.h"

#include <QFont>
#include <QPrinter>

#include <memory>

class QPainter;
class QWidget;

namespace vt {

class QtPrintSurface : public LayoutSurface {
public:
    enum class Target {
        Automatic, // the default printer when there is one, else PDF files
        Pdf        // always PDF files (tests, and machines without a printer)
    };
    explicit QtPrintSurface(Target target = Target::Automatic);
    ~QtPrintSurface() override;

    // The printer set-up dialog on this surface's printer; false when the user gives up.
    // Choosing a PDF file there sends every later document to a PDF of its own in that
    // file's folder.
    bool runPrinterSetup(QWidget* parent = nullptr);
    // The PDF file of the last document that went to a file, empty otherwise.
    QString lastPdfPath() const { return m_pdfPath; }
    // The family that answers for a font name ("Courier New" gives "Liberation Mono").
    static QString familyFor(const QString& fontName);

private:
    QSizeF printableSize(Orientation o) const override;
    double advance(const QString& text) const override;
    double lineSpacing() const override;
    double averageCharWidth() const override;
    void styleChanged() override;
    void documentStarted() override;
    void pageStarted(Orientation o) override;
    void drawTextAt(double x, double y, const QString& text, double clipRight) override;
    void drawLineAt(double x1, double y1, double x2, double y2, bool rect) override;
    void drawImageAt(double x, double y, const QImage& image) override;
    QString documentFinished(int pages) override;

    QPrinter* device() const;
    const QFont& currentFont() const;
    double toDevice(double mm) const;
    double toMm(double deviceUnits) const;
    bool painting() const;
    QString newPdfPath() const;

    Target m_target;
    QPrinter m_printer{QPrinter::HighResolution};          // the printer the user set up
    std::unique_ptr<QPrinter> m_pdf;                        // the PDF of the current job
    mutable std::unique_ptr<QPrinter> m_metricsPrinter;     // metrics outside a PDF job
    std::unique_ptr<QPainter> m_painter;
    bool m_toPdf = true;
    bool m_userChosePrinter = false;
    bool m_userChosePdf = false;
    bool m_failed = false;
    QString m_pdfPath;
    mutable QFont m_font;
    mutable bool m_fontDirty = true;
};

} // namespace vt
