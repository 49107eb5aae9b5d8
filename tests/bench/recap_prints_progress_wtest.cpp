// The recap prints of a generated club (1,000 fanciers, 11 races) through the recap window's
// menu and the main menu: a run that lasts shows the progress window, "Annuler" stops it
// after the document being printed, the message says how many were printed, and the PDF
// holds exactly those.
#include "bench_folder.h"

#include "entries/recap_prints.h"
#include "entries/recap_store.h"
#include "entries/recapam_window.h"
#include "platform/clock.h"
#include "platform/print_progress_window.h"
#include "platform/printing.h"
#include "platform/qt_print_surface.h"
#include "platform/scripted_dialogs.h"
#include "platform/window_registry.h"
#include "shell/depart_window.h"
#include "tests/support/pdf_pages.h"
#include "tests/support/pdf_printer_scope.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace vt;
using vt::testing::pdfPageTexts;
using vt::testing::PdfPrinterScope;

namespace {

// What the progress window showed when "Annuler" was clicked on it.
struct Stop {
    int shownAt = -1;
    QString label;
};

// Triggers the action with a clock that moves `stepMs` at every reading (the run passes
// half a second after as many documents, whatever the speed of the machine), and clicks
// "Annuler" as soon as the progress window shows.
Stop triggerAndStop(QAction* action, int stepMs) {
    QDateTime clock(QDate(2026, 5, 4), QTime(10, 15));
    setClockForTests([&clock, stepMs] { return clock = clock.addMSecs(stepMs); });
    Stop stop;
    QTimer watch;
    watch.setInterval(0);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* progress = dynamic_cast<PrintProgressWindow*>(QApplication::activeModalWidget());
        if (!progress || !progress->isVisible() || stop.shownAt >= 0)
            return;
        stop.shownAt = progress->printed();
        stop.label = progress->findChild<QLabel*>(QStringLiteral("Label1"))->text();
        QTest::mouseClick(progress->findChild<QPushButton*>(QStringLiteral("Annuler")),
                          Qt::LeftButton);
    });
    watch.start();
    action->trigger();
    watch.stop();
    setClockForTests({});
    return stop;
}

// The number in "Impression arrêtée : <n> <units> imprimés sur <total>\n" at the start of
// the text, -1 when it is not there.
int stoppedAt(const QString& text, const QString& units, int total) {
    const QRegularExpression re(
        QStringLiteral("^Impression arrêtée : (\\d+) %1 imprimés sur %2\n").arg(units).arg(total));
    const auto m = re.match(text);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// The words of the pages, in order.
QStringList words(const QStringList& pages) {
    return pages.join(u' ').split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

int occurrences(const QStringList& pages, const QString& text) {
    int n = 0;
    for (const QString& page : pages)
        n += int(page.count(text));
    return n;
}

} // namespace

class RecapPrintsProgressTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    bench::BenchFolder folder;

    // The whole PDF of one unstopped print, to compare a stopped one with.
    template <class Print> QStringList wholeRun(Print&& print) {
        QtPrintSurface pdf(QtPrintSurface::Target::Pdf);
        ScriptedDialogsScope quiet;
        print(*quiet, pdf);
        return pdfPageTexts(pdf.lastPdfPath());
    }

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        bench::FolderSize size;
        size.fanciers = 1000;
        size.sites = 50;
        folder = bench::writeBenchFolder(dir.path(), size);
        bench::configureBenchSession(folder);
        setPdfFolder(dir.filePath(QStringLiteral("impressions")));
        ScriptedDialogsScope asked;
        asked->answer(MsgAnswer::Yes);
        QVERIFY(storeRaceRecaps(*asked, session()));
    }
    void cleanup() {
        windows().unloadAll();
        QCoreApplication::processEvents();
    }

    // "Imprimer le détail par amateur et concours" counts races: the pages of a race are
    // drawn for every fancier, and that takes long. Stopped after a few races, the PDF
    // holds those races whole and no other, as a print of them alone does.
    void theDetailShowsItsProgressAndStopsOnAnnuler() {
        recapam& recap = windows().show<recapam>();
        const QList<int> listed = listedFanciers(recap.lines());
        QVERIFY(listed.size() > 900);
        const int races = int(folder.chosenRaceCodes.size());
        PdfPrinterScope pdf;
        ScriptedDialogsScope asked;
        asked->answer(MsgAnswer::Ok);
        const Stop stop = triggerAndStop(recap.listdetAction(), 60);
        QVERIFY2(stop.shownAt >= 0 && stop.shownAt < races - 1,
                 qPrintable(QString::number(stop.shownAt)));
        QCOMPARE(stop.label, QStringLiteral("%1 concours sur %2").arg(stop.shownAt).arg(races));
        QVERIFY(!QApplication::activeModalWidget());

        QCOMPARE(asked->messages().size(), 1);
        const QString text = asked->messages().at(0).text;
        QCOMPARE(asked->messages().at(0).title, recap.windowTitle());
        const int printed = stoppedAt(text, QStringLiteral("concours"), races);
        // "Annuler" clicked within a race stops before the next one.
        QVERIFY2(printed == stop.shownAt || printed == stop.shownAt + 1, qPrintable(text));
        QVERIFY2(printed < races, qPrintable(text));
        QCOMPARE(pdf.files().size(), 1);
        const QString file = pdf.path(pdf.files().at(0));
        const QStringList pages = pdfPageTexts(file);
        QVERIFY(text.endsWith(QStringLiteral("Impression enregistrée dans %1 : %2 pages")
                                  .arg(QDir::toNativeSeparators(file))
                                  .arg(pages.size())));
        // Exactly the detail of the races printed: the same as a print of them alone.
        Session& s = session();
        const std::array<int16_t, 12> chosen = s.ChosenRaceCodes;
        for (int i = printed + 1; i < int(chosen.size()); ++i)
            s.ChosenRaceCodes[i] = 0;
        const QStringList alone = wholeRun(
            [&](Dialogs& d, PrintSurface& p) { printFancierDetail(d, p, session(), listed); });
        s.ChosenRaceCodes = chosen;
        QCOMPARE(pages, alone);
    }

    // "Imprimer les totaux par concours": the table of the fanciers printed when it stopped.
    void theTotalsShowTheirProgressAndStopOnAnnuler() {
        recapam& recap = windows().show<recapam>();
        const QList<int> listed = listedFanciers(recap.lines());
        PdfPrinterScope pdf;
        ScriptedDialogsScope asked;
        asked->answer(MsgAnswer::Ok);
        const Stop stop = triggerAndStop(recap.listmtsAction(), 10);
        QVERIFY2(stop.shownAt > 0 && stop.shownAt < listed.size(),
                 qPrintable(QString::number(stop.shownAt)));
        const int printed =
            stoppedAt(asked->messages().at(0).text, QStringLiteral("amateurs"), int(listed.size()));
        QCOMPARE(printed, stop.shownAt);
        QCOMPARE(pdf.files().size(), 1);
        // The rows of the fanciers printed and their totals, word for word; the columns
        // keep the width the whole list gave them.
        QCOMPARE(words(pdfPageTexts(pdf.path(pdf.files().at(0)))),
                 words(wholeRun([&](Dialogs& d, PrintSurface& p) {
                     printRaceTotals(d, p, session(), listed.mid(0, printed));
                 })));
    }

    // "Imprimer la Récap" and the main menu's "Editer les récapitulatifs": stopped after
    // some races' sheets, the PDF holds those sheets, the first ones of the whole run.
    void theRecapSheetsShowTheirProgressAndStopOnAnnuler_data() {
        QTest::addColumn<bool>("fromMainMenu");
        QTest::newRow("recap window") << false;
        QTest::newRow("main menu") << true;
    }
    void theRecapSheetsShowTheirProgressAndStopOnAnnuler() {
        QFETCH(bool, fromMainMenu);
        const QStringList whole =
            wholeRun([&](Dialogs& d, PrintSurface& p) { printClubRecaps(d, p, session()); });
        const int races = int(folder.chosenRaceCodes.size());
        QCOMPARE(occurrences(whole, QStringLiteral("SOCIETE de")), races);

        QAction* action = nullptr;
        QString title;
        if (fromMainMenu) {
            depart& main = windows().show<depart>();
            action = main.findChild<QAction*>(QStringLiteral("edrecaps"));
            title = main.windowTitle();
        } else {
            recapam& recap = windows().show<recapam>();
            action = recap.listerAction();
            title = recap.windowTitle();
        }
        QVERIFY(action);
        PdfPrinterScope pdf;
        ScriptedDialogsScope asked;
        asked->answer(MsgAnswer::Ok);
        // A sheet of 100 lines reads the clock a few times: 100 ms a reading passes half
        // a second within the first sheets.
        const Stop stop = triggerAndStop(action, 100);
        QVERIFY2(stop.shownAt > 0 && stop.shownAt < races,
                 qPrintable(QString::number(stop.shownAt)));
        QCOMPARE(asked->messages().size(), 1);
        QCOMPARE(asked->messages().at(0).title, title);
        const int printed =
            stoppedAt(asked->messages().at(0).text, QStringLiteral("récapitulatifs"), races);
        QVERIFY2(printed == stop.shownAt, qPrintable(asked->messages().at(0).text));
        QCOMPARE(pdf.files().size(), 1);
        const QStringList pages = pdfPageTexts(pdf.path(pdf.files().at(0)));
        QCOMPARE(occurrences(pages, QStringLiteral("SOCIETE de")), printed);
        QCOMPARE(pages, whole.mid(0, pages.size()));
    }
};

QTEST_MAIN(RecapPrintsProgressTest)
#include "recap_prints_progress_wtest.moc"
