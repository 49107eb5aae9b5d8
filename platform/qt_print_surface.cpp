#include "platform/qt_print_surface.h"

#include "platform/clock.h"
#include "platform/printing.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinterInfo>

namespace vt {

namespace {

constexpr double PdfMarginMm = 4;
constexpr double LineWidthMm = 0.25;

QPageLayout pdfLayout(Orientation o) {
    return QPageLayout(QPageSize(QPageSize::A4),
                       o == Orientation::Landscape ? QPageLayout::Landscape
                                                   : QPageLayout::Portrait,
                       QMarginsF(PdfMarginMm, PdfMarginMm, PdfMarginMm, PdfMarginMm),
                       QPageLayout::Millimeter);
}

QPageLayout::Orientation qtOrientation(Orientation o) {
    return o == Orientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
}

QColor qtColor(int color) {
    return QColor(colorRed(color), colorGreen(color), colorBlue(color));
}

// A name that a file system accepts, from a document name.
QString fileNamePart(const QString& documentName) {
    QString s = documentName.trimmed();
    for (QChar& c : s) {
        if (QStringLiteral("/\\:*?\"<>|").contains(c) || c.unicode() < 32)
            c = QLatin1Char('_');
    }
    return s.isEmpty() ? QStringLiteral("Impression") : s;
}

} // namespace

QtPrintSurface::QtPrintSurface(Target target) : m_target(target) {
    if (m_target == Target::Automatic) {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (!info.isNull())
            m_printer.setPrinterName(info.printerName());
    }
}

QtPrintSurface::~QtPrintSurface() {
    if (painting())
        m_painter->end();
}

QString QtPrintSurface::familyFor(const QString& fontName) {
    const QString key = fontName.trimmed().toLower();
    if (key == QLatin1String("courier new") || key == QLatin1String("courier"))
        return QStringLiteral("Liberation Mono");
    if (key == QLatin1String("times new roman") || key == QLatin1String("times"))
        return QStringLiteral("Liberation Serif");
    if (key == QLatin1String("arial"))
        return QStringLiteral("Liberation Sans");
    return fontName.trimmed();
}

bool QtPrintSurface::runPrinterSetup(QWidget* parent) {
    const bool toFiles = m_target == Target::Pdf || m_userChosePdf ||
                         (!m_userChosePrinter && QPrinterInfo::defaultPrinter().isNull());
    if (toFiles) // the dialog shows where the files go
        m_printer.setOutputFileName(QDir(pdfFolder()).filePath(QStringLiteral("Impression.pdf")));
    QPrintDialog dialog(&m_printer, parent);
    dialog.setWindowTitle(QStringLiteral("Configuration de l'imprimante"));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (m_printer.outputFormat() == QPrinter::PdfFormat) {
        // Printing to a file: every document still gets its own file, in the folder chosen.
        const QString file = m_printer.outputFileName();
        if (!file.isEmpty())
            setPdfFolder(QFileInfo(file).absolutePath());
        m_userChosePdf = true;
        m_userChosePrinter = false;
        m_printer.setOutputFileName(QString());
    } else {
        m_userChosePdf = false;
        m_userChosePrinter = !m_printer.printerName().isEmpty();
    }
    return true;
}

QPrinter* QtPrintSurface::device() const {
    if (m_pdf)
        return m_pdf.get();
    if (!m_toPdf)
        return const_cast<QPrinter*>(&m_printer);
    if (!m_metricsPrinter) {
        m_metricsPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_metricsPrinter->setOutputFormat(QPrinter::PdfFormat);
    }
    return m_metricsPrinter.get();
}

void QtPrintSurface::styleChanged() { m_fontDirty = true; }

const QFont& QtPrintSurface::currentFont() const {
    if (m_fontDirty) {
        const TextStyle& s = style();
        QFont f(familyFor(s.fontName));
        const QString key = s.fontName.trimmed().toLower();
        if (key.startsWith(QLatin1String("courier"))) {
            f.setStyleHint(QFont::TypeWriter);
            f.setFixedPitch(true);
        }
        f.setPointSizeF(s.size);
        f.setBold(s.bold);
        f.setItalic(s.italic);
        // The underline is drawn by hand, across spaces too.
        f.setUnderline(false);
        f.setKerning(false);
        m_font = QFont(f, device());
        m_fontDirty = false;
    }
    return m_font;
}

double QtPrintSurface::toDevice(double mm) const { return mm * device()->resolution() / 25.4; }

double QtPrintSurface::toMm(double units) const { return units * 25.4 / device()->resolution(); }

bool QtPrintSurface::painting() const { return m_painter && m_painter->isActive(); }

QSizeF QtPrintSurface::printableSize(Orientation o) const {
    if (m_toPdf)
        return pdfLayout(o).paintRect(QPageLayout::Millimeter).size();
    QPageLayout layout = m_printer.pageLayout();
    layout.setOrientation(qtOrientation(o));
    return layout.paintRect(QPageLayout::Millimeter).size();
}

double QtPrintSurface::advance(const QString& text) const {
    return toMm(QFontMetricsF(currentFont(), device()).horizontalAdvance(text));
}

double QtPrintSurface::lineSpacing() const {
    return toMm(QFontMetricsF(currentFont(), device()).lineSpacing());
}

double QtPrintSurface::averageCharWidth() const {
    return toMm(QFontMetricsF(currentFont(), device()).averageCharWidth());
}

QString QtPrintSurface::newPdfPath() const {
    const QDir folder(pdfFolder());
    const QString base = fileNamePart(documentName()) + QLatin1Char(' ') +
                         now().toString(QStringLiteral("yyyy-MM-dd HH'h'mm"));
    QString path = folder.filePath(base + QStringLiteral(".pdf"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = folder.filePath(QStringLiteral("%1 (%2).pdf").arg(base).arg(n));
    return path;
}

void QtPrintSurface::documentStarted() {
    m_failed = false;
    m_pdfPath.clear();
    m_pdf.reset();
    m_toPdf = m_target == Target::Pdf || m_userChosePdf ||
              (!m_userChosePrinter && QPrinterInfo::defaultPrinter().isNull());
    if (m_toPdf) {
        m_pdf = std::make_unique<QPrinter>(QPrinter::HighResolution);
        m_pdf->setOutputFormat(QPrinter::PdfFormat);
        m_pdf->setDocName(documentName());
        m_pdf->setCreator((QCoreApplication::applicationName() + u' ' +
                           QCoreApplication::applicationVersion()).trimmed());
    } else {
        m_printer.setDocName(documentName());
    }
    m_fontDirty = true;
}

void QtPrintSurface::pageStarted(Orientation o) {
    if (m_failed)
        return;
    QPrinter* printer = device();
    if (!painting()) {
        if (m_toPdf) {
            m_pdfPath = newPdfPath();
            QDir().mkpath(QFileInfo(m_pdfPath).absolutePath());
            m_pdf->setOutputFileName(m_pdfPath);
            m_pdf->setPageLayout(pdfLayout(o));
        } else {
            m_printer.setPageOrientation(qtOrientation(o));
        }
        m_painter = std::make_unique<QPainter>();
        if (!m_painter->begin(printer)) {
            m_failed = true;
            m_painter.reset();
            return;
        }
    } else {
        if (m_toPdf)
            printer->setPageLayout(pdfLayout(o));
        else
            printer->setPageOrientation(qtOrientation(o));
        printer->newPage();
    }
    m_fontDirty = true;
}

void QtPrintSurface::drawTextAt(double x, double y, const QString& text, double clipRight) {
    if (!painting())
        return;
    const QFont& font = currentFont();
    const QFontMetricsF metrics(font, device());
    const QPointF baseline(toDevice(x), toDevice(y) + metrics.ascent());
    QPainter& p = *m_painter;
    p.save();
    p.setClipRect(QRectF(0, 0, toDevice(clipRight), toDevice(scaleHeight())));
    p.setFont(font);
    p.setPen(qtColor(style().color));
    p.drawText(baseline, text);
    if (style().underline) {
        const double under = baseline.y() + metrics.underlinePos();
        const double width = metrics.horizontalAdvance(text);
        p.fillRect(QRectF(baseline.x(), under, width, std::max(1.0, metrics.lineWidth())),
                   qtColor(style().color));
    }
    p.restore();
}

void QtPrintSurface::drawLineAt(double x1, double y1, double x2, double y2, bool rect) {
    if (!painting())
        return;
    QPainter& p = *m_painter;
    p.save();
    p.setPen(QPen(qtColor(style().color), toDevice(LineWidthMm)));
    p.setBrush(Qt::NoBrush);
    const QPointF a(toDevice(x1), toDevice(y1)), b(toDevice(x2), toDevice(y2));
    if (rect)
        p.drawRect(QRectF(a, b).normalized());
    else
        p.drawLine(a, b);
    p.restore();
}

void QtPrintSurface::drawImageAt(double x, double y, const QImage& image) {
    if (!painting() || image.isNull())
        return;
    // The image keeps its own size: its resolution when it has one, else 96 dpi.
    const double dpmX = image.dotsPerMeterX() > 0 ? image.dotsPerMeterX() : 96 / 0.0254;
    const double dpmY = image.dotsPerMeterY() > 0 ? image.dotsPerMeterY() : 96 / 0.0254;
    const QRectF target(toDevice(x), toDevice(y), toDevice(image.width() / dpmX * 1000),
                        toDevice(image.height() / dpmY * 1000));
    m_painter->drawImage(target, image);
}

QString QtPrintSurface::documentFinished(int pages) {
    QString where;
    if (pages > 0) {
        if (m_failed) {
            where = m_toPdf ? QStringLiteral("Impression impossible : le fichier %1 ne peut "
                                             "pas être écrit")
                                  .arg(QDir::toNativeSeparators(m_pdfPath))
                            : QStringLiteral("Impression impossible sur l'imprimante %1")
                                  .arg(m_printer.printerName());
        } else {
            m_painter->end();
            where = m_toPdf ? QStringLiteral("Impression enregistrée dans %1")
                                  .arg(QDir::toNativeSeparators(m_pdfPath))
                            : QStringLiteral("Impression envoyée à l'imprimante %1")
                                  .arg(m_printer.printerName());
        }
    }
    m_painter.reset();
    m_pdf.reset();
    m_fontDirty = true;
    if (m_failed)
        m_pdfPath.clear();
    return where;
}

} // namespace vt
