// PDF runs of separate programs in one folder, each started as a process of its own (this
// test program run with --print-child): two programs printing the same run in the same
// minute keep a file each and each says truly which; an unfinished file left by a program killed
// mid-run goes with the next run while a live program's stays; with the Liberation fonts
// hidden, the text still stands in the file where a reader draws it.
#include "platform/clock.h"
#include "platform/pdf_writer.h"
#include "platform/printing.h"
#include "platform/qt_print_surface.h"
#include "tests/support/pdf_pages.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRawFont>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

#include <iostream>
#include <limits>
#include <string>

namespace {

const QString RunName = QStringLiteral("Lieux de lâcher");

// The child: prints one run of one page holding `text` in "Courier New" and in "Times New
// Roman" (and a landscape page of it when asked), says "drawn", waits for a line on its
// input when asked, ends the run and writes the run's message and its file.
int printChild(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[2]);
    const QString text = QString::fromLocal8Bit(argv[3]);
    const bool wait = QByteArray(argv[4]) == "1";
    vt::setPdfFolder(folder);
    vt::setClockForTests([] { return QDateTime(QDate(2026, 5, 2), QTime(10, 15, 30)); });
    vt::QtPrintSurface s(vt::QtPrintSurface::Target::Pdf);
    s.beginRun(RunName);
    s.beginDocument(RunName);
    s.printLine(text);
    s.setFontName(QStringLiteral("Times New Roman"));
    s.printLine(text + QStringLiteral(" ROMAIN"));
    s.endDocument();
    if (argc > 5 && QByteArray(argv[5]) == "landscape") {
        s.beginDocument(RunName);
        s.setOrientation(vt::Orientation::Landscape);
        s.printLine(text + QStringLiteral(" PAYSAGE"));
        s.endDocument();
    }
    QTextStream out(stdout);
    out << "drawn" << Qt::endl;
    if (wait) {
        std::string line;
        std::getline(std::cin, line);
    }
    const QString message = s.endRun().message;
    out << message << '\n' << s.lastPdfPath() << Qt::endl;
    return 0;
}

class Child {
public:
    Child(const QString& folder, const QString& text, bool wait,
          const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment(),
          bool landscapePage = false) {
        m_process.setProcessEnvironment(env);
        QStringList args = {QStringLiteral("--print-child"), folder, text,
                            wait ? QStringLiteral("1") : QStringLiteral("0")};
        if (landscapePage)
            args.append(QStringLiteral("landscape"));
        m_process.start(QCoreApplication::applicationFilePath(), args);
    }
    ~Child() {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(5000);
        }
    }
    // Waits until the child has drawn its page (its unfinished file is open).
    bool drawn() {
        while (!m_process.canReadLine()) {
            if (!m_process.waitForReadyRead(30000))
                return false;
        }
        return m_process.readLine().trimmed() == "drawn";
    }
    // Lets it end its run; its message and its file.
    QStringList finish() {
        m_process.write("\n");
        m_process.closeWriteChannel();
        m_process.waitForFinished(30000);
        return QString::fromUtf8(m_process.readAllStandardOutput()).split(u'\n');
    }
    void kill() {
        m_process.kill();
        m_process.waitForFinished(5000);
    }

private:
    QProcess m_process;
};

QStringList unfinishedFiles(const QString& folder) {
    return QDir(folder).entryList({QStringLiteral(".*.pdf.par*")}, QDir::Files | QDir::Hidden,
                                  QDir::Time | QDir::Reversed);
}

// Makes a file look as if it had not been written for an hour.
void age(const QString& path) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                          QFileDevice::FileModificationTime));
}

// The page drawn by pdftoppm at 72 dpi: its dark pixels, and what pdftoppm said of the
// file (a font it cannot use, which it then replaces by one of the machine's own).
int darkPixels(const QString& pdf, const QString& png, QString* complaints) {
    QProcess p;
    p.start(QStringLiteral("pdftoppm"),
            {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("72"),
             QStringLiteral("-singlefile"), pdf, png});
    p.waitForFinished(30000);
    *complaints = QString::fromUtf8(p.readAllStandardError());
    const QImage page(png + QStringLiteral(".png"));
    int dark = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            dark += qGray(page.pixel(x, y)) < 128;
    return dark;
}

} // namespace

class PdfProcessesTest : public QObject {
    Q_OBJECT
private slots:
    void init() { folder = std::make_unique<QTemporaryDir>(); }

    // Vorel and Tarvio (or two Vorels) print "Lieux de lâcher" in the same minute, the
    // second starting while the first is still writing.
    void twoProgramsPrintingOneRunInOneMinuteKeepAFileEach() {
        Child first(folder->path(), QStringLiteral("PREMIER"), true);
        QVERIFY(first.drawn());
        Child second(folder->path(), QStringLiteral("SECOND"), true);
        QVERIFY(second.drawn());
        const QStringList a = first.finish();
        const QStringList b = second.finish();
        QCOMPARE(a.size(), 3);
        QCOMPARE(b.size(), 3);
        const QString base = folder->filePath(RunName + QStringLiteral(" 2026-05-02 10h15"));
        QCOMPARE(a.at(1), base + QStringLiteral(".pdf"));
        QCOMPARE(b.at(1), base + QStringLiteral(" (2).pdf"));
        for (const auto& [lines, own, other] :
             {std::tuple{a, QStringLiteral("PREMIER"), QStringLiteral("SECOND")},
              std::tuple{b, QStringLiteral("SECOND"), QStringLiteral("PREMIER")}}) {
            QCOMPARE(lines.at(0), QStringLiteral("Impression enregistrée dans %1 : 1 page")
                                      .arg(QDir::toNativeSeparators(lines.at(1))));
            const QStringList pages = vt::testing::pdfPageTexts(lines.at(1));
            QCOMPARE(pages.size(), 1);
            QVERIFY2(pages.at(0).contains(own + QStringLiteral(" ROMAIN")),
                     qPrintable(pages.at(0)));
            QVERIFY(!pages.at(0).contains(other));
        }
        QVERIFY(unfinishedFiles(folder->path()).isEmpty());
    }

    // A program killed mid-run leaves its unfinished file; the next run removes it, but not the
    // one a live program is writing, however old it looks.
    void theUnfinishedFileOfAKilledProgramGoesWithTheNextRun() {
        Child live(folder->path(), QStringLiteral("VIVANT"), true);
        QVERIFY(live.drawn());
        const QString liveFile = unfinishedFiles(folder->path()).value(0);
        QVERIFY(!liveFile.isEmpty());
        {
            Child killed(folder->path(), QStringLiteral("TUE"), true);
            QVERIFY(killed.drawn());
            killed.kill();
        }
        const QStringList left = unfinishedFiles(folder->path());
        QCOMPARE(left.size(), 2);
        for (const QString& name : left)
            age(folder->filePath(name));

        Child next(folder->path(), QStringLiteral("SUIVANT"), false);
        QVERIFY(next.drawn());
        const QStringList n = next.finish();
        QVERIFY2(n.at(0).startsWith(QStringLiteral("Impression enregistrée")), qPrintable(n.at(0)));
        QCOMPARE(unfinishedFiles(folder->path()), QStringList{liveFile});

        const QStringList l = live.finish();
        QVERIFY2(l.at(0).startsWith(QStringLiteral("Impression enregistrée")), qPrintable(l.at(0)));
        QVERIFY(vt::testing::pdfPageTexts(l.at(1)).value(0).contains(QStringLiteral("VIVANT")));
        QVERIFY(unfinishedFiles(folder->path()).isEmpty());
    }

    // Without the Liberation fonts, "Courier New" and "Times New Roman" are answered by
    // whatever else is installed (Nimbus Roman, a CFF face, where the URW fonts are): the
    // file holds text that pdftoppm draws from the file's own fonts and pdftotext reads.
    void withTheLiberationFontsHiddenTheTextIsStillDrawn() {
        QStringList dirs;
        for (const QString& root : {QStringLiteral("/usr/share/fonts")}) {
            QDirIterator it(root, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString dir = it.next();
                if (!dir.contains(QStringLiteral("liberation"), Qt::CaseInsensitive) &&
                    !QDir(dir)
                         .entryList({QStringLiteral("*.ttf"), QStringLiteral("*.otf"),
                                     QStringLiteral("*.pfb")},
                                    QDir::Files)
                         .isEmpty())
                    dirs.append(QStringLiteral("<dir>%1</dir>").arg(dir));
            }
        }
        if (dirs.isEmpty())
            QSKIP("no font is installed beside the Liberation fonts");
        QFile config(folder->filePath(QStringLiteral("fonts.conf")));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write(QStringLiteral("<?xml version=\"1.0\"?><!DOCTYPE fontconfig SYSTEM "
                                    "\"fonts.dtd\"><fontconfig>%1<cachedir>%2</cachedir>"
                                    "<include ignore_missing=\"yes\">/etc/fonts/conf.d</include>"
                                    "</fontconfig>")
                         .arg(dirs.join(QString()), folder->filePath(QStringLiteral("cache")))
                         .toUtf8());
        config.close();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("FONTCONFIG_FILE"), config.fileName());
        const QString out = folder->filePath(QStringLiteral("impressions"));

        Child child(out, QStringLiteral("EXPEDITEUR"), false, env, true);
        QVERIFY(child.drawn());
        const QStringList lines = child.finish();
        QVERIFY2(lines.at(0).endsWith(QStringLiteral(" : 2 pages")), qPrintable(lines.join(u'\n')));
        const QStringList pages = vt::testing::pdfPageTexts(lines.at(1));
        QCOMPARE(pages.size(), 2);
        QVERIFY2(pages.at(0).contains(QStringLiteral("EXPEDITEUR")), qPrintable(pages.at(0)));
        QVERIFY2(pages.at(0).contains(QStringLiteral("EXPEDITEUR ROMAIN")),
                 qPrintable(pages.at(0)));
        QVERIFY2(pages.at(1).contains(QStringLiteral("EXPEDITEUR PAYSAGE")),
                 qPrintable(pages.at(1)));
        const QList<QSizeF> sizes = vt::testing::pdfPageSizes(lines.at(1));
        QCOMPARE(sizes.size(), 2);
        QVERIFY(vt::testing::isA4(sizes.at(0), false));
        QVERIFY(vt::testing::isA4(sizes.at(1), true));
        QString complaints;
        QVERIFY(darkPixels(lines.at(1), folder->filePath(QStringLiteral("page")), &complaints) >
                100);
        QVERIFY2(complaints.isEmpty(), qPrintable(complaints));
    }

    // The program's writer takes no font it cannot embed, and writes no number that is
    // not finite.
    void theWriterRefusesAFaceWithoutTrueTypeOutlinesAndSkipsNonFiniteDrawings() {
        QBuffer sink;
        QVERIFY(sink.open(QIODevice::WriteOnly));
        vt::PdfWriter pdf(&sink, QStringLiteral("Vorel"), QStringLiteral("Essai"));
        pdf.beginPage(QSizeF(595, 842));
        const QRawFont mono = QRawFont::fromFont(QFont(QStringLiteral("Liberation Mono")));
        QVERIFY(vt::PdfWriter::canEmbed(mono));
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const double inf = std::numeric_limits<double>::infinity();
        pdf.drawText(nan, 100, QStringLiteral("NAN"), mono, 12, Qt::black);
        pdf.drawText(10, inf, QStringLiteral("INF"), mono, 12, Qt::black);
        pdf.fillRect(QRectF(0, nan, 10, 10), Qt::black);
        pdf.strokeLine(QPointF(0, 0), QPointF(inf, 10), 1, Qt::black);
        pdf.strokeRect(QRectF(0, 0, nan, 10), 1, Qt::black);
        pdf.drawText(10, 100, QStringLiteral("SAIN"), mono, 12, Qt::black);
        QVERIFY(pdf.finish());
        QVERIFY(pdf.unembeddedFont().isEmpty());
        QVERIFY(!sink.data().contains("nan"));
        QVERIFY(!sink.data().contains("inf"));

        QVERIFY(!vt::PdfWriter::canEmbed(QRawFont()));
        const QString cff =
            QStringLiteral("/usr/share/fonts/opentype/urw-base35/NimbusRoman-Regular.otf");
        QBuffer other;
        QVERIFY(other.open(QIODevice::WriteOnly));
        vt::PdfWriter refused(&other, QStringLiteral("Vorel"), QStringLiteral("Essai"));
        refused.beginPage(QSizeF(595, 842));
        refused.drawText(10, 100, QStringLiteral("SAIN"), mono, 12, Qt::black);
        refused.drawText(10, 120, QStringLiteral("VIDE"), QRawFont(), 12, Qt::black);
        QVERIFY(!refused.finish());
        QCOMPARE(refused.unembeddedFont(), QStringLiteral("?"));
        if (QFileInfo::exists(cff)) {
            const QRawFont nimbus(cff, 12);
            QVERIFY(nimbus.isValid());
            QVERIFY(!vt::PdfWriter::canEmbed(nimbus));
        }
    }

private:
    std::unique_ptr<QTemporaryDir> folder;
};

int main(int argc, char** argv) {
    if (argc >= 5 && QByteArray(argv[1]) == "--print-child")
        return printChild(argc, argv);
    QApplication app(argc, argv);
    PdfProcessesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "pdf_processes_wtest.moc"
