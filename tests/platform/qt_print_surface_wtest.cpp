// The QPainter surface writing PDF files: texts where they were asked, in millimetres,
// in the font that answers for the asked name; one file per run (a document outside a
// run is a run by itself), none when nothing was drawn; the status text says where the
// file went and how many pages it holds.
#include "platform/printing.h"
#include "platform/qt_print_surface.h"
#include "tests/support/pdf_content.h"
#include "tests/support/pdf_pages.h"

#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

constexpr double PointsPerMm = 72 / 25.4;
constexpr double MarginMm = 4;

struct PdfWord {
    double xMin, yMin, xMax, yMax; // mm from the page's top-left corner
    QString text;
};

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Words of every page, in order, read back with pdftotext -bbox.
QList<QList<PdfWord>> readWords(const QString& pdf) {
    const QString xhtml = run(QStringLiteral("pdftotext"),
                              {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    QList<QList<PdfWord>> pages;
    static const QRegularExpression pageRe(QStringLiteral("<page "));
    static const QRegularExpression wordRe(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    const QStringList chunks = xhtml.split(pageRe);
    for (int i = 1; i < chunks.size(); ++i) {
        QList<PdfWord> words;
        auto it = wordRe.globalMatch(chunks[i]);
        while (it.hasNext()) {
            const auto m = it.next();
            words.append({m.captured(1).toDouble() / PointsPerMm,
                          m.captured(2).toDouble() / PointsPerMm,
                          m.captured(3).toDouble() / PointsPerMm,
                          m.captured(4).toDouble() / PointsPerMm, m.captured(5)});
        }
        pages.append(words);
    }
    return pages;
}

PdfWord findWord(const QList<PdfWord>& words, const QString& text) {
    for (const PdfWord& w : words) {
        if (w.text == text)
            return w;
    }
    return {-1, -1, -1, -1, QString()};
}

} // namespace

class QtPrintSurfaceTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        folder = std::make_unique<QTemporaryDir>();
        vt::setPdfFolder(folder->filePath(QStringLiteral("impressions")));
    }
    void cleanup() { vt::setPdfFolder(QString()); }

    void textStandsAtItsMillimetrePositionInLiberationMono() {
        vt::QtPrintSurface s(vt::QtPrintSurface::Target::Pdf);
        s.beginDocument(QStringLiteral("Distances"));
        QCOMPARE(s.scaleWidth(), 202.0);
        QCOMPARE(s.scaleHeight(), 289.0);
        QVERIFY(std::abs(s.columnWidth() - 2.54) < 0.01);
        QVERIFY(std::abs(s.lineHeight() - 4.796) < 0.01);
        s.setScaleMillimetres(-5);
        s.setCurrentX(20);
        s.setCurrentY(30);
        s.print(QStringLiteral("DUPONT"));
        const double afterX = s.currentX();
        s.endLine();
        s.nextZone();
        s.print(QStringLiteral("480506"));
        s.endLine();
        s.setBold(true);
        s.print(QStringLiteral("GRAS"));
        s.endLine();
        s.setBold(false);
        s.setFontName(QStringLiteral("Times New Roman"));
        s.print(QStringLiteral("Destinataire"));
        const vt::PrintOutcome outcome = s.endDocument();
        const QString& status = outcome.message;

        const QString pdf = s.lastPdfPath();
        QCOMPARE(outcome.file, pdf);
        QCOMPARE(outcome.pages, 1);
        QVERIFY(QFileInfo::exists(pdf));
        QVERIFY(pdf.startsWith(folder->filePath(QStringLiteral("impressions"))));
        QVERIFY(QFileInfo(pdf).fileName().startsWith(QStringLiteral("Distances ")));
        QVERIFY2(status.contains(QDir::toNativeSeparators(pdf)), qPrintable(status));
        QVERIFY(std::abs(afterX - (20 + 6 * 2.54)) < 0.05);

        const auto pages = readWords(pdf);
        QCOMPARE(pages.size(), 1);
        const PdfWord name = findWord(pages[0], QStringLiteral("DUPONT"));
        QVERIFY2(std::abs(name.xMin - (MarginMm + 20)) < 0.5, qPrintable(QString::number(name.xMin)));
        QVERIFY2(std::abs(name.yMin - (MarginMm + 35)) < 0.5, qPrintable(QString::number(name.yMin)));
        QVERIFY(std::abs(name.xMax - (MarginMm + 20 + 6 * 2.54)) < 0.5);
        const PdfWord coord = findWord(pages[0], QStringLiteral("480506"));
        QVERIFY2(std::abs(coord.xMin - (MarginMm + 35.56)) < 0.5, qPrintable(QString::number(coord.xMin)));
        QVERIFY(std::abs(coord.yMin - (MarginMm + 35 + 4.796)) < 0.5);
        const PdfWord bold = findWord(pages[0], QStringLiteral("GRAS"));
        QVERIFY(std::abs(bold.xMin - MarginMm) < 0.5);
        QVERIFY(std::abs(bold.yMin - (MarginMm + 35 + 2 * 4.796)) < 0.5);

        const QString fonts = run(QStringLiteral("pdffonts"), {pdf});
        QVERIFY2(fonts.contains(QStringLiteral("LiberationMono")), qPrintable(fonts));
        QVERIFY2(fonts.contains(QStringLiteral("LiberationMono-Bold")), qPrintable(fonts));
        QVERIFY2(fonts.contains(QStringLiteral("LiberationSerif")), qPrintable(fonts));
    }

    void overflowAndLandscapePagesAndNoBlankLastPage() {
        vt::QtPrintSurface s(vt::QtPrintSurface::Target::Pdf);
        s.beginDocument(QStringLiteral("Carnet"));
        s.setOrientation(vt::Orientation::Landscape);
        QCOMPARE(s.scaleWidth(), 289.0);
        QCOMPARE(s.scaleHeight(), 202.0);
        s.setCurrentX(100);
        s.setCurrentY(200); // the line would pass the bottom: next page, same column
        s.print(QStringLiteral("COLONNE"));
        s.endLine();
        s.setFontSize(10);
        s.setUnderline(true);
        s.print(QString(140, QLatin1Char(' '))); // a rule, cut at the right edge
        s.newPage();
        s.endDocument();
        const QString pdf = s.lastPdfPath();
        const QString info = run(QStringLiteral("pdfinfo"), {pdf});
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))), qPrintable(info));
        QVERIFY2(info.contains(QStringLiteral("841.89 x 595.276")) ||
                     info.contains(QStringLiteral("842 x 595")),
                 qPrintable(info));
        const auto pages = readWords(pdf);
        const PdfWord w = findWord(pages[0], QStringLiteral("COLONNE"));
        QVERIFY(std::abs(w.xMin - (MarginMm + 100)) < 0.5);
        QVERIFY(std::abs(w.yMin - MarginMm) < 0.5);

        // The underlined spaces draw a rule across the printable width, not into the
        // right margin (rendered at 1 pixel a point).
        const QString png = folder->filePath(QStringLiteral("page"));
        run(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"),
                                         QStringLiteral("72"), QStringLiteral("-singlefile"), pdf, png});
        const QImage page(png + QStringLiteral(".png"));
        QVERIFY(!page.isNull());
        auto dark = [&page](double xMm, int y) {
            return qGray(page.pixel(int(xMm * PointsPerMm), y)) < 128;
        };
        int ruleRows = 0;
        for (int y = 0; y < page.height(); ++y) {
            if (dark(50, y) && dark(250, y)) {
                ++ruleRows;
                QVERIFY2(dark(289 + MarginMm - 1, y) && !dark(289 + MarginMm + 1.5, y),
                         qPrintable(QString::number(y)));
            }
        }
        QVERIFY(ruleRows > 0);
    }

    // A line longer than the printable width is cut in the file at the page's right edge,
    // the margin's start (a reader draws what the file says, however long the string);
    // a line that fits is not cut.
    void aLinePastThePrintableWidthIsCutAtItsRightEdge() {
        vt::QtPrintSurface s(vt::QtPrintSurface::Target::Pdf);
        s.beginDocument(QStringLiteral("Carnet"));
        const QString longLine = QStringLiteral("DEBUT") + QString(100, QLatin1Char('W'));
        QVERIFY(s.columnWidth() * longLine.size() > s.scaleWidth());
        const double edge = (s.scaleWidth() + MarginMm) * PointsPerMm;
        s.print(longLine);
        s.endLine();
        s.print(QStringLiteral("COURTE"));
        s.endLine();
        s.endDocument();

        QFile file(s.lastPdfPath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QString error;
        const QList<vt::testing::PdfShownText> texts =
            vt::testing::pdfShownTextsOfFile(file.readAll(), &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(texts.size(), 2);
        QCOMPARE(texts[0].text, longLine);
        QVERIFY(!texts[0].clip.isNull());
        QVERIFY2(std::abs(texts[0].clip.right() - edge) < 0.01,
                 qPrintable(QString::number(texts[0].clip.right())));
        QVERIFY(texts[0].clip.left() <= texts[0].x);
        QVERIFY(texts[0].clip.top() <= texts[0].y - texts[0].size &&
                texts[0].clip.bottom() >= texts[0].y + texts[0].size);
        QCOMPARE(texts[1].text, QStringLiteral("COURTE"));
        QVERIFY2(texts[1].clip.isNull(), "a line that fits is cut");
    }

    void aDocumentWithNothingDrawnWritesNoFile() {
        vt::QtPrintSurface s(vt::QtPrintSurface::Target::Pdf);
        s.beginDocument(QStringLiteral("Vide"));
        s.printLine();
        s.newPage();
        QVERIFY(s.endDocument().nothing());
        QVERIFY(s.lastPdfPath().isEmpty());
        QVERIFY(QDir(vt::pdfFolder()).entryList(QDir::Files).isEmpty());
    }

    void everyDocumentGetsItsOwnFile() {
        vt::QtPrintSurface s(vt::QtPrintSurface::Target::Pdf);
        for (int i = 0; i < 2; ++i) {
            s.beginDocument(QStringLiteral("Etiquettes"));
            s.print(QStringLiteral("X"));
            QVERIFY(!s.endDocument().file.isEmpty());
        }
        QCOMPARE(QDir(vt::pdfFolder()).entryList(QDir::Files).size(), 2);
    }

    // The documents of a run follow one another in one file, each on its own paper; the
    // file takes its name only once it is whole.
    void aRunIsOneFileWithEveryDocumentOnItsOwnPages() {
        vt::QtPrintSurface s(vt::QtPrintSurface::Target::Pdf);
        s.beginRun(QStringLiteral("Feuilles de distance"));
        s.beginDocument(QStringLiteral("Distances A"));
        s.print(QStringLiteral("PREMIER"));
        QCOMPARE(s.endDocument().message, QStringLiteral("Impression « Distances A » : 1 page"));
        s.beginDocument(QStringLiteral("Carnet B"));
        s.setOrientation(vt::Orientation::Landscape);
        s.print(QStringLiteral("SECOND"));
        s.newPage();
        s.print(QStringLiteral("SUITE"));
        s.endDocument();
        s.beginDocument(QStringLiteral("Vide")); // draws nothing: no page
        s.endDocument();
        QVERIFY(QDir(vt::pdfFolder()).entryList(QDir::Files).isEmpty()); // not before the end
        const vt::PrintOutcome outcome = s.endRun();
        const QString pdf = s.lastPdfPath();
        QCOMPARE(outcome.status, vt::PrintOutcome::Status::Done);
        QCOMPARE(outcome.file, pdf);
        QCOMPARE(outcome.pages, 3);
        QCOMPARE(outcome.message, QStringLiteral("Impression enregistrée dans %1 : 3 pages")
                                      .arg(QDir::toNativeSeparators(pdf)));
        QVERIFY(QFileInfo(pdf).fileName().startsWith(QStringLiteral("Feuilles de distance ")));
        QCOMPARE(QDir(vt::pdfFolder()).entryList(QDir::Files | QDir::Hidden).size(), 1);
        const QStringList pages = vt::testing::pdfPageTexts(pdf);
        QCOMPARE(pages.size(), 3);
        QVERIFY(pages[0].contains(QStringLiteral("PREMIER")));
        QVERIFY(pages[1].contains(QStringLiteral("SECOND")));
        QVERIFY(pages[2].contains(QStringLiteral("SUITE")));
        const QList<QSizeF> sizes = vt::testing::pdfPageSizes(pdf);
        QCOMPARE(sizes.size(), 3);
        QVERIFY(vt::testing::isA4(sizes[0], false));
        QVERIFY(vt::testing::isA4(sizes[1], true));
        QVERIFY(vt::testing::isA4(sizes[2], true));
        const QString info = run(QStringLiteral("pdfinfo"), {pdf});
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Creator:\\s+%1\\n")
                                                      .arg(QCoreApplication::applicationName()))),
                 qPrintable(info));
    }

    // A run that an error stops leaves no file, neither under its name nor half-written.
    void anAbandonedRunLeavesNoFile() {
        {
            vt::QtPrintSurface s(vt::QtPrintSurface::Target::Pdf);
            try {
                vt::PrintRun run(s, QStringLiteral("Feuilles de distance"));
                s.beginDocument(QStringLiteral("Distances A"));
                s.print(QStringLiteral("PREMIER"));
                s.endDocument();
                s.beginDocument(QStringLiteral("Distances B"));
                s.print(QStringLiteral("SECOND"));
                throw std::runtime_error("lecture impossible");
            } catch (const std::runtime_error&) {
            }
            QVERIFY(s.lastPdfPath().isEmpty());
        }
        QVERIFY(QDir(vt::pdfFolder()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }

    void aFolderThatCannotBeWrittenIsSaid() {
        QFile blocker(folder->filePath(QStringLiteral("fichier")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        vt::setPdfFolder(blocker.fileName()); // a file, not a folder
        vt::QtPrintSurface s(vt::QtPrintSurface::Target::Pdf);
        s.beginDocument(QStringLiteral("Enveloppes"));
        s.print(QStringLiteral("X"));
        const vt::PrintOutcome outcome = s.endDocument();
        QVERIFY(outcome.failed());
        QVERIFY(outcome.file.isEmpty());
        QVERIFY2(outcome.message.startsWith(QStringLiteral("Impression impossible")),
                 qPrintable(outcome.message));
    }

    void theProgramsPrinterWritesPdfWithoutAnInstalledPrinter() {
        if (!QPrinterInfo::defaultPrinter().isNull())
            QSKIP("a printer is installed on this machine");
        vt::PrintSurface& p = vt::printer();
        QVERIFY(dynamic_cast<vt::QtPrintSurface*>(&p));
        p.beginDocument(QStringLiteral("Liste"));
        p.printLine(QStringLiteral("nom"));
        const QString status = p.endDocument().message;
        QVERIFY2(status.contains(QStringLiteral(".pdf")), qPrintable(status));
        {
            vt::RecordingPrinterScope recorder;
            vt::printer().print(QStringLiteral("enregistré"));
            vt::printer().endDocument();
            QCOMPARE(recorder->documents().size(), 1);
        }
        QCOMPARE(&vt::printer(), &p);
    }

    void printerSetupShowsWhereTheFilesGoAndKeepsTheFolderChosen() {
        vt::QtPrintSurface s(vt::QtPrintSurface::Target::Pdf);
        QString shown;
        const QString chosen = folder->filePath(QStringLiteral("ailleurs/sortie.pdf"));
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            shown = dialog->printer()->outputFileName();
            for (auto* box : dialog->findChildren<QLineEdit*>()) {
                if (box->text() == shown)
                    box->setText(chosen); // as the user types another file
            }
            QMetaObject::invokeMethod(dialog, "accept");
        });
        QVERIFY(s.runPrinterSetup());
        QCOMPARE(shown, QDir(folder->filePath(QStringLiteral("impressions")))
                            .filePath(QStringLiteral("Impression.pdf")));
        QCOMPARE(vt::pdfFolder(), folder->filePath(QStringLiteral("ailleurs")));

        QTimer::singleShot(0, [] {
            if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                d->reject();
        });
        QVERIFY(!s.runPrinterSetup());
    }

private:
    std::unique_ptr<QTemporaryDir> folder;
};

QTEST_MAIN(QtPrintSurfaceTest)
#include "qt_print_surface_wtest.moc"
