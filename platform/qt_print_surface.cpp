#include "platform/qt_print_surface.h"

#include "platform/clock.h"
#include "platform/pdf_writer.h"
#include "platform/printing.h"
#include "platform/unfinished_pdf.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPageLayout>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QRawFont>

#include <cmath>

namespace vt {

namespace {

constexpr double PdfMarginMm = 4;
constexpr double LineWidthMm = 0.25;
// The resolution of the PDF device: the metrics of the fonts are those of a 1200 dpi
// printer.
constexpr int PdfResolution = 1200;
// Pictures kept to be drawn again from the same copy (a document draws one or two).
constexpr int SharedImages = 8;

QPageLayout pdfLayout(Orientation o) {
    return QPageLayout(QPageSize(QPageSize::A4),
                       o == Orientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(PdfMarginMm, PdfMarginMm, PdfMarginMm, PdfMarginMm),
                       QPageLayout::Millimeter);
}

QPageLayout::Orientation qtOrientation(Orientation o) {
    return o == Orientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
}

QColor qtColor(int color) {
    return QColor(colorRed(color), colorGreen(color), colorBlue(color));
}

// A name that a file system accepts, from a document or run name.
QString fileNamePart(const QString& name) {
    QString s = name.trimmed();
    for (QChar& c : s) {
        if (QStringLiteral("/\\:*?\"<>|").contains(c) || c.unicode() < 32)
            c = QLatin1Char('_');
    }
    return s.isEmpty() ? QStringLiteral("Impression") : s;
}

// Qt's own PDF engine on `out`, with the resolution and page of the program's PDF files
// (not the program's PdfWriter, which writes the files themselves).
std::unique_ptr<QPdfWriter> qtPdfEngine(QIODevice* out, Orientation o) {
    auto pdf = std::make_unique<QPdfWriter>(out);
    pdf->setResolution(PdfResolution);
    pdf->setCreator(QtPrintSurface::pdfCreator());
    pdf->setPageLayout(pdfLayout(o));
    return pdf;
}

// The font that draws a text style.
QFont printFont(const TextStyle& s) {
    QFont f(QtPrintSurface::familyFor(s.fontName));
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
    return f;
}

// How the PDF files can hold the fonts the printed documents use, on this machine.
enum class PdfFonts {
    Embedded, // the program's own writer embeds every one
    QtEngine, // some have outlines it cannot store (a CFF face): Qt's own engine writes them
    None      // some face cannot draw a letter: nothing can be printed to a file
};

PdfFonts pdfFonts(QPaintDevice* device) {
    static const PdfFonts found = [device] {
        PdfFonts result = PdfFonts::Embedded;
        for (const QString& name :
             {QStringLiteral("Courier New"), QStringLiteral("Times New Roman")}) {
            for (int variant = 0; variant < 4; ++variant) {
                TextStyle s;
                s.fontName = name;
                s.bold = variant & 1;
                s.italic = variant & 2;
                const QRawFont raw = QRawFont::fromFont(QFont(printFont(s), device));
                const quint32 glyph = raw.glyphIndexesForString(QStringLiteral("A")).value(0);
                if (!raw.isValid() || glyph == 0 || raw.pathForGlyph(glyph).isEmpty())
                    return PdfFonts::None;
                if (!PdfWriter::canEmbed(raw))
                    result = PdfFonts::QtEngine;
            }
        }
        return result;
    }();
    return found;
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
    // A run still open leaves no file behind.
    if (inRun() || inDocument())
        abandonRun();
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

QString QtPrintSurface::pdfCreator() {
    const QString name = QCoreApplication::applicationName();
    const QString version = QCoreApplication::applicationVersion();
    return version.isEmpty() ? name : name + QLatin1Char(' ') + version;
}

bool QtPrintSurface::printingToPdf() const {
    return m_target == Target::Pdf || m_userChosePdf ||
           (!m_userChosePrinter && QPrinterInfo::defaultPrinter().isNull());
}

bool QtPrintSurface::runPrinterSetup(QWidget* parent) {
    if (printingToPdf()) // the dialog shows where the files go
        m_printer.setOutputFileName(QDir(pdfFolder()).filePath(QStringLiteral("Impression.pdf")));
    QPrintDialog dialog(&m_printer, parent);
    dialog.setWindowTitle(QStringLiteral("Configuration de l'imprimante"));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (m_printer.outputFormat() == QPrinter::PdfFormat) {
        // Printing to a file: every run still gets its own file, in the folder chosen.
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

QPagedPaintDevice* QtPrintSurface::device() const {
    if (!m_toPdf)
        return const_cast<QPrinter*>(&m_printer);
    if (!m_metricsDevice) {
        // A PDF device on nothing: the same metrics as the files, no file.
        if (!m_nowhere)
            m_nowhere = std::make_unique<QBuffer>();
        m_metricsDevice = qtPdfEngine(m_nowhere.get(), Orientation::Portrait);
    }
    return m_metricsDevice.get();
}

void QtPrintSurface::styleChanged() {
    m_fontDirty = true;
}

const QFont& QtPrintSurface::currentFont() const {
    if (m_fontDirty) {
        QFont font(printFont(style()), device());
        if (!(font == m_font)) {
            m_font = font;
            m_painterFontSet = false;
        }
        m_metrics.emplace(m_font, device());
        m_rawFont.reset();
        std::shared_ptr<Advances>& known = m_advances[m_font.key()];
        if (!known) {
            known = std::make_shared<Advances>();
            const QFontMetricsF& m = *m_metrics;
            known->fixedPitch = m.horizontalAdvance(u'i') == m.horizontalAdvance(u'M') &&
                                m.horizontalAdvance(u'i') == m.horizontalAdvance(u' ');
            known->of.fill(-1);
        }
        m_fontAdvances = known.get();
        m_fontDirty = false;
    }
    return m_font;
}

const QRawFont& QtPrintSurface::rawFont() const {
    currentFont();
    if (!m_rawFont)
        m_rawFont = std::make_unique<QRawFont>(QRawFont::fromFont(m_font));
    return *m_rawFont;
}

double QtPrintSurface::toPoints(double mm) const {
    return (mm + PdfMarginMm) * 72 / 25.4;
}

bool QtPrintSurface::drawingPdf() const {
    return m_toPdf && m_pdf && !m_failed;
}

const QFontMetricsF& QtPrintSurface::metrics() const {
    currentFont();
    return *m_metrics;
}

double QtPrintSurface::toDevice(double mm) const {
    return mm * device()->logicalDpiY() / 25.4;
}

double QtPrintSurface::toMm(double units) const {
    return units * 25.4 / device()->logicalDpiY();
}

bool QtPrintSurface::painting() const {
    return m_painter && m_painter->isActive();
}

QSizeF QtPrintSurface::printableSize(Orientation o) const {
    if (m_toPdf)
        return pdfLayout(o).paintRect(QPageLayout::Millimeter).size();
    QPageLayout layout = m_printer.pageLayout();
    layout.setOrientation(qtOrientation(o));
    return layout.paintRect(QPageLayout::Millimeter).size();
}

double QtPrintSurface::deviceAdvance(const QString& text) const {
    const QFontMetricsF& m = metrics();
    if (!m_fontAdvances->fixedPitch)
        return m.horizontalAdvance(text);
    std::array<double, 256>& known = m_fontAdvances->of;
    // The printed documents are lines of a fixed-pitch font, nearly all: their advance is
    // the sum of the characters' own, which shaping every line again would only repeat.
    double width = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= known.size())
            return m.horizontalAdvance(text);
        if (known[u] < 0)
            known[u] = m.horizontalAdvance(c);
        width += known[u];
    }
    return width;
}

double QtPrintSurface::advance(const QString& text) const {
    return toMm(deviceAdvance(text));
}

double QtPrintSurface::lineSpacing() const {
    return toMm(metrics().lineSpacing());
}

double QtPrintSurface::averageCharWidth() const {
    return toMm(metrics().averageCharWidth());
}

QString QtPrintSurface::pdfBaseName() const {
    return fileNamePart(runName()) + QLatin1Char(' ') + m_runStamp;
}

void QtPrintSurface::runStarted() {
    closePdf();
    m_failed = false;
    m_failedDocuments = 0;
    m_pdfPath.clear();
    // Where the run goes is settled once, for all its documents.
    m_toPdf = printingToPdf();
    m_runStamp = now().toString(QStringLiteral("yyyy-MM-dd HH'h'mm"));
    m_unembedded.clear();
    m_qtEngine = false;
    if (m_toPdf) {
        // A font the program's writer cannot embed goes through Qt's engine, which turns
        // any outline into one a reader draws; a face with none refuses the run.
        const PdfFonts fonts = pdfFonts(device());
        m_qtEngine = fonts == PdfFonts::QtEngine;
        if (fonts == PdfFonts::None) {
            m_failed = true;
            m_unembedded = QRawFont::fromFont(QFont(printFont(TextStyle()), device())).familyName();
            if (m_unembedded.isEmpty())
                m_unembedded = QStringLiteral("Courier New");
        }
    }
    m_fontDirty = true;
}

void QtPrintSurface::closePdf() {
    if (painting())
        m_painter->end();
    m_painter.reset();
    m_qtPdf.reset();
    m_pdf.reset();
    m_rawFont.reset();
    if (m_pdfFile) {
        m_pdfFile->close();
        m_pdfFile->remove();
        m_pdfFile.reset();
    }
    m_images.clear();
}

void QtPrintSurface::runAbandoned() {
    if (!m_toPdf && painting())
        m_printer.abort();
    closePdf();
    m_fontDirty = true;
}

PrintOutcome QtPrintSurface::runFinished(int documents, int pages) {
    PrintOutcome where;
    if (!m_toPdf) {
        if (documents > 0 && m_failedDocuments < documents)
            where = {PrintOutcome::Status::Done, QString(), pages,
                     QStringLiteral("Impression envoyée à l'imprimante %1 : %2")
                         .arg(m_printer.printerName(), pagesText(pages))};
        else if (m_failedDocuments > 0)
            where =
                PrintOutcome::failure(QStringLiteral("Impression impossible sur l'imprimante %1")
                                          .arg(m_printer.printerName()));
        m_fontDirty = true;
        return where;
    }
    if (pages > 0) {
        QString path = QDir(pdfFolder()).filePath(pdfBaseName() + QStringLiteral(".pdf"));
        bool written = !m_failed && (m_pdf ? m_pdf->finish() : painting() && m_painter->end());
        if (m_pdf && m_unembedded.isEmpty())
            m_unembedded = m_pdf->unembeddedFont();
        written = written && m_pdfFile->flush() && m_pdfFile->error() == QFileDevice::NoError;
        if (written) {
            // The first free name: another program printing the same run in the same
            // minute keeps its own file.
            const QString kept = keepUnfinishedPdf(*m_pdfFile, pdfFolder(), pdfBaseName());
            written = !kept.isEmpty();
            if (written)
                path = kept;
        }
        if (written) {
            m_pdfFile.reset();
            m_pdfPath = path;
            where = {PrintOutcome::Status::Done, path, pages,
                     QStringLiteral("Impression enregistrée dans %1 : %2")
                         .arg(QDir::toNativeSeparators(path), pagesText(pages))};
        } else if (!m_unembedded.isEmpty()) {
            where = PrintOutcome::failure(
                QStringLiteral("Impression impossible : la police « %1 » ne peut pas être "
                               "enregistrée dans le fichier %2, rien n'est enregistré")
                    .arg(m_unembedded, QDir::toNativeSeparators(path)));
        } else {
            where = PrintOutcome::failure(
                QStringLiteral("Impression impossible : le fichier %1 ne peut pas être "
                               "écrit, rien n'est enregistré")
                    .arg(QDir::toNativeSeparators(path)));
        }
    }
    closePdf(); // a file not renamed is removed
    m_fontDirty = true;
    return where;
}

void QtPrintSurface::documentStarted() {
    if (!m_toPdf) {
        m_failed = false;
        m_printer.setDocName(documentName());
    }
    m_fontDirty = true;
}

void QtPrintSurface::pageStarted(Orientation o) {
    if (m_failed)
        return;
    if (m_toPdf) {
        if (!m_pdfFile) {
            // The run is written to an unfinished file of this program's own beside its final
            // name, which it takes only once it is whole. Unfinished files that programs
            // killed mid-run left there go first.
            const QString folder = pdfFolder();
            if (QDir().mkpath(folder)) {
                removeAbandonedPdfs(folder);
                m_pdfFile = openUnfinishedPdf(folder, pdfBaseName());
            }
            if (!m_pdfFile) {
                m_failed = true;
                return;
            }
            const QString title = documentRun() ? documentName() : runName();
            if (m_qtEngine) {
                m_qtPdf = qtPdfEngine(m_pdfFile.get(), o);
                m_qtPdf->setTitle(title);
                beginPainting(m_qtPdf.get());
                return;
            }
            m_pdf = std::make_unique<PdfWriter>(m_pdfFile.get(), pdfCreator(), title);
        }
        if (m_qtPdf) {
            m_qtPdf->setPageOrientation(qtOrientation(o));
            m_qtPdf->newPage();
            return;
        }
        m_pdf->beginPage(pdfLayout(o).fullRect(QPageLayout::Point).size());
        return;
    }
    if (painting()) {
        m_printer.setPageOrientation(qtOrientation(o));
        m_printer.newPage();
        return;
    }
    m_printer.setPageOrientation(qtOrientation(o));
    beginPainting(device());
}

void QtPrintSurface::beginPainting(QPaintDevice* on) {
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(on)) {
        m_failed = true;
        m_painter.reset();
        return;
    }
    m_penColor = -1;
    m_penWidth = -1;
    m_painterFontSet = false;
    m_fontDirty = true;
}

void QtPrintSurface::setPainterPen(int color, double width) {
    if (color != m_penColor || width != m_penWidth) {
        m_painter->setPen(QPen(qtColor(color), width));
        m_penColor = color;
        m_penWidth = width;
    }
}

void QtPrintSurface::drawTextAt(double x, double y, const QString& text, double clipRight) {
    if (!std::isfinite(x) || !std::isfinite(y))
        return;
    if (drawingPdf()) {
        const QFontMetricsF& m = metrics();
        const double baseline = y + toMm(m.ascent());
        const double width = toMm(deviceAdvance(text));
        const QColor color = qtColor(style().color);
        // Only a text that passes the right edge needs cutting there.
        m_pdf->drawText(toPoints(x), toPoints(baseline), text, rawFont(), style().size, color,
                        x + width > clipRight ? toPoints(clipRight) : -1);
        if (style().underline) {
            const double under = baseline + toMm(m.underlinePos());
            const double thickness = std::max(toMm(1), toMm(m.lineWidth()));
            // The rule is cut at the right edge with its text.
            const double ruled = std::max(0.0, std::min(width, clipRight - x));
            m_pdf->fillRect(
                QRectF(toPoints(x), toPoints(under), ruled * 72 / 25.4, thickness * 72 / 25.4),
                color);
        }
        return;
    }
    if (!painting())
        return;
    const QFont& font = currentFont();
    const QFontMetricsF& m = metrics();
    const QPointF baseline(toDevice(x), toDevice(y) + m.ascent());
    QPainter& p = *m_painter;
    if (!m_painterFontSet) {
        p.setFont(font);
        m_painterFontSet = true;
    }
    setPainterPen(style().color, 0);
    const double width = deviceAdvance(text);
    const double right = toDevice(clipRight);
    // Only a text that passes the right edge needs cutting there.
    const bool cut = baseline.x() + width > right;
    if (cut) {
        p.save();
        p.setClipRect(QRectF(0, 0, right, toDevice(scaleHeight())));
    }
    p.drawText(baseline, text);
    if (style().underline) {
        const double under = baseline.y() + m.underlinePos();
        p.fillRect(QRectF(baseline.x(), under, width, std::max(1.0, m.lineWidth())),
                   qtColor(style().color));
    }
    if (cut)
        p.restore();
}

void QtPrintSurface::drawLineAt(double x1, double y1, double x2, double y2, bool rect) {
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2))
        return;
    if (drawingPdf()) {
        const QPointF a(toPoints(x1), toPoints(y1)), b(toPoints(x2), toPoints(y2));
        const double width = LineWidthMm * 72 / 25.4;
        if (rect)
            m_pdf->strokeRect(QRectF(a, b).normalized(), width, qtColor(style().color));
        else
            m_pdf->strokeLine(a, b, width, qtColor(style().color));
        return;
    }
    if (!painting())
        return;
    QPainter& p = *m_painter;
    setPainterPen(style().color, toDevice(LineWidthMm));
    p.setBrush(Qt::NoBrush);
    const QPointF a(toDevice(x1), toDevice(y1)), b(toDevice(x2), toDevice(y2));
    if (rect)
        p.drawRect(QRectF(a, b).normalized());
    else
        p.drawLine(a, b);
}

const QImage& QtPrintSurface::sharedImage(const QImage& image) {
    // The PDF stores a picture once for every copy of the same QImage: a picture drawn
    // again with the same pixels is drawn from the copy already stored.
    for (const QImage& known : m_images) {
        if (known.cacheKey() == image.cacheKey() || known == image)
            return known;
    }
    if (m_images.size() >= SharedImages)
        m_images.removeFirst();
    m_images.append(image);
    return m_images.last();
}

void QtPrintSurface::drawImageAt(double x, double y, const QImage& image) {
    if (image.isNull() || !(drawingPdf() || painting()) || !std::isfinite(x) || !std::isfinite(y))
        return;
    // The image keeps its own size: its resolution when it has one, else 96 dpi.
    const double dpmX = image.dotsPerMeterX() > 0 ? image.dotsPerMeterX() : 96 / 0.0254;
    const double dpmY = image.dotsPerMeterY() > 0 ? image.dotsPerMeterY() : 96 / 0.0254;
    const double w = image.width() / dpmX * 1000, h = image.height() / dpmY * 1000;
    if (drawingPdf()) {
        m_pdf->drawImage(QRectF(toPoints(x), toPoints(y), w * 72 / 25.4, h * 72 / 25.4),
                         sharedImage(image));
        return;
    }
    m_painter->drawImage(QRectF(toDevice(x), toDevice(y), toDevice(w), toDevice(h)), image);
}

PrintOutcome QtPrintSurface::documentFinished(int pages) {
    PrintOutcome where;
    if (m_toPdf) {
        // The file is written when the run ends; a document says it is in it.
        if (pages > 0 && m_failed && !m_unembedded.isEmpty())
            where = PrintOutcome::failure(
                QStringLiteral("Impression impossible : la police « %1 » ne peut pas être "
                               "enregistrée dans le fichier de « %2 »")
                    .arg(m_unembedded, runName()));
        else if (pages > 0)
            where = m_failed ? PrintOutcome::failure(
                                   QStringLiteral("Impression impossible : le fichier de « %1 » "
                                                  "ne peut pas être écrit")
                                       .arg(runName()))
                             : PrintOutcome{PrintOutcome::Status::Done, QString(), pages,
                                            QStringLiteral("Impression « %1 » : %2")
                                                .arg(documentName(), pagesText(pages))};
    } else if (pages > 0) {
        const bool sent = !m_failed && painting() && m_painter->end();
        if (sent) {
            where = {PrintOutcome::Status::Done, QString(), pages,
                     QStringLiteral("Impression envoyée à l'imprimante %1 : %2")
                         .arg(m_printer.printerName(), pagesText(pages))};
        } else {
            ++m_failedDocuments;
            where =
                PrintOutcome::failure(QStringLiteral("Impression impossible sur l'imprimante %1")
                                          .arg(m_printer.printerName()));
        }
        m_painter.reset();
    }
    m_fontDirty = true;
    return where;
}

} // namespace vt
