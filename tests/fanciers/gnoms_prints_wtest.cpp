// The prints of the fanciers window driven from its menus: each item's questions with
// their texts and default buttons, what reaches the printer, and what the list looks
// like afterwards; one distance sheet written as a PDF and read back.
#include "fanciers/gnoms_window.h"

#include "common/record_file.h"
#include "common/session.h"
#include "common/text.h"
#include "fanciers/distance_sheets.h"
#include "fanciers/fancier_prints.h"
#include "platform/clock.h"
#include "platform/print_progress_window.h"
#include "platform/printing.h"
#include "platform/qt_print_surface.h"
#include "platform/scripted_dialogs.h"
#include "platform/window_registry.h"
#include "tests/support/club_fixture.h"
#include "tests/support/pdf_pages.h"
#include "tests/support/pdf_printer_scope.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace vt;
using vt::testing::ClubFixture;
using vt::testing::isA4;
using vt::testing::pdfPageSizes;
using vt::testing::pdfPageTexts;
using vt::testing::PdfPrinterScope;
using vt::testing::SiteSpec;

class GnomsPrintsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ClubFixture> club;

    gnoms& window() { return windows().window<gnoms>(); }
    QListWidget* list(const char* name) {
        return window().findChild<QListWidget*>(QString::fromLatin1(name));
    }
    QAction* action(const char* name) {
        return window().findChild<QAction*>(QString::fromLatin1(name));
    }
    void select(int row) { list("List1")->item(row)->setSelected(true); }
    static void click(QListWidget* l, int row) {
        QCoreApplication::processEvents();
        const QPoint at = l->visualItemRect(l->item(row)).center();
        QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, at);
    }

private slots:
    void init() {
        club = std::make_unique<ClubFixture>();
        club->writeSmallClub();
        club->configureSession();
        windows().show<gnoms>();
    }
    void cleanup() {
        windows().unloadAll();
        club.reset();
    }

    void namesListsOfTheWholeFileAndOfAClub() {
        RecordingPrinterScope printed;
        ScriptedDialogsScope asked;
        asked->answer(MsgAnswer::Ok).answer(MsgAnswer::Ok);
        for (const char* item : {"lst", "envel1", "envel2", "envel1n", "envel2n", "etiqu",
                                 "socdist", "amdist", "chdist"})
            QVERIFY2(action(item)->isEnabled(), item);
        action("lst")->trigger();
        QStringList page = RecordingSurface::pageLines(printed->pages().at(0));
        QCOMPARE(page.size(), 4);
        QCOMPARE(page.at(0), Space(14) + QStringLiteral("Liste des NOMS Fichier complet"));
        QVERIFY(page.at(1).startsWith(QStringLiteral("DUPONT Jean")));
        // Said once, over the fanciers window.
        QCOMPARE(asked->messages().size(), 1);
        QCOMPARE(asked->messages().at(0).text, QStringLiteral("Impression « Liste des noms » : 1 page"));
        QCOMPARE(asked->messages().at(0).title, window().windowTitle());

        action("lstsoc")->trigger(); // hidden with one club, still reachable
        QVERIFY(list("List2")->isVisible());
        QVERIFY(!list("List1")->isVisible());
        click(list("List2"), 0);
        QTest::mouseDClick(list("List2")->viewport(), Qt::LeftButton, {},
                           list("List2")->visualItemRect(list("List2")->item(0)).center());
        QCOMPARE(printed->documents().size(), 2);
        page = RecordingSurface::pageLines(printed->pages().at(0));
        QCOMPARE(page.at(0), Space(14) + QStringLiteral("Liste des NOMS Société de LES AILES LILLOISES"));
        QCOMPARE(page.size(), 4);
        QVERIFY(list("List1")->isVisible());
    }

    void envelopesOfTheSelectionThenNoneSelected() {
        RecordingPrinterScope printed;
        ScriptedDialogsScope asked;
        asked->answer(MsgAnswer::Ok).answer(MsgAnswer::Ok);
        select(0);
        select(2);
        action("envel2")->trigger();
        QCOMPARE(printed->pages().size(), 2);
        QVERIFY(printed->allText().contains(QStringLiteral("     LETTRE  ")));
        QVERIFY(printed->allText().contains(QStringLiteral("Jean MARTIN"))); // the sender
        QVERIFY(window().selectedLines().isEmpty());

        select(1);
        action("envel1n")->trigger();
        QCOMPARE(printed->documents().size(), 2);
        QCOMPARE(printed->pages().size(), 1);
        QVERIFY(!printed->allText().contains(QStringLiteral("LETTRE")));
        QCOMPARE(printed->pages().at(0).texts.at(0).y, 105.0);
    }

    // "Enveloppe 220 X 110" prints the complement of the address whatever it begins with.
    void theSmallEnvelopeCarriesTheWholeAddress() {
        RecordFileOf<FancierRecord> season(club->yearPath("noms.vba"));
        for (const QString& complement :
             {QStringLiteral("12 bis"), QStringLiteral(" LES TILLEULS")}) {
            for (int n = 1; n <= season.count(); ++n) {
                FancierRecord f = season.read(n);
                f.setAddressComplement(complement);
                season.write(n, f);
            }
            RecordingPrinterScope printed;
            ScriptedDialogsScope asked;
            asked->answer(MsgAnswer::Ok);
            select(0);
            action("envel1n")->trigger();
            QCOMPARE(printed->pages().size(), 1);
            bool found = false;
            for (const RecordedText& t : printed->pages().at(0).texts)
                found |= t.text == complement.trimmed() && t.x == 60;
            QVERIFY2(found, qPrintable(printed->allText()));
        }
    }

    void labelsAskToLoadTheSheetsFirst() {
        RecordingPrinterScope printed;
        ScriptedDialogsScope asked;
        asked->answer(MsgAnswer::No).answer(MsgAnswer::Yes).answer(MsgAnswer::Ok);
        select(0);
        select(1);
        action("etiqu")->trigger();
        QVERIFY(printed->documents().isEmpty());
        const MessageRequest prompt = asked->messages().at(0);
        QCOMPARE(prompt.text, QStringLiteral("Veuillez mettre des étiquettes 35 X 70 dans l'imprimante\n"
                                             "la face à imprimer en dessous.\n"));
        QCOMPARE(prompt.title, QStringLiteral("impression des étiquettes"));
        QCOMPARE(prompt.defaultButton, MsgAnswer::No);
        action("etiqu")->trigger();
        QCOMPARE(printed->documents().size(), 1);
        QCOMPARE(printed->pages().at(0).orientation, Orientation::Portrait);
        QVERIFY(printed->allText().contains(QStringLiteral("    59000          LILLE")));
        QCOMPARE(window().selectedLines().size(), 2); // the selection stays
    }

    void distanceSheetsOfTheClubAsBooklets() {
        RecordingPrinterScope printed;
        ScriptedDialogsScope asked;
        asked->answer(MsgAnswer::Yes).answer(MsgAnswer::Ok);
        action("socdist")->trigger();
        QCOMPARE(printed->documents().size(), 3);
        QCOMPARE(printed->pages().at(0).orientation, Orientation::Landscape);
        const QList<MessageRequest> m = asked->messages();
        QCOMPARE(m.size(), 2);
        QCOMPARE(m.at(0).text, QStringLiteral("Désirez-vous imprimer en forme de Carnet"));
        QCOMPARE(m.at(0).title, QStringLiteral("Forme de l'édition"));
        QCOMPARE(m.at(0).defaultButton, MsgAnswer::Yes);
        QCOMPARE(m.at(1).text,
                 QStringLiteral("L'impression sélectionnée est mémorisée vous pouvez retravailler \n"
                                "Feuilles imprimées : 3\nSans coordonnées : 0\nEn échec : 0\n"
                                "Impression « Feuilles de distance » : 3 pages"));
        // One run for the three sheets.
        QCOMPARE(printed->runs().size(), 1);
        QCOMPARE(printed->runs().at(0).documentCount, 3);
        QVERIFY(list("List1")->isVisible());
        QVERIFY(!list("List2")->isVisible());
    }

    void distanceSheetsOfTheSelectionAsLists() {
        RecordingPrinterScope printed;
        ScriptedDialogsScope asked;
        action("amdist")->trigger(); // nothing selected: no question, no message
        QVERIFY(asked->asked().isEmpty());
        asked->answer(MsgAnswer::No).answer(MsgAnswer::Ok);
        select(1);
        action("amdist")->trigger();
        QCOMPARE(printed->documents().size(), 1);
        QCOMPARE(printed->pages().at(0).orientation, Orientation::Portrait);
        QVERIFY(printed->allText().contains(QStringLiteral("LISTE DE DISTANCES édité le ")));
        QVERIFY(printed->allText().contains(QStringLiteral("LEFEBVRE André")));
        QVERIFY(window().selectedLines().isEmpty());
        QVERIFY(asked->messages().at(1).text.contains(QStringLiteral("Feuilles imprimées : 1")));
    }

    void distanceListOfOneChosenSite() {
        RecordingPrinterScope printed;
        ScriptedDialogsScope asked;
        asked->answer(MsgAnswer::Ok);
        QVERIFY(!action("lst1")->isVisible());
        action("chdist")->trigger();
        QListWidget* sites = list("List3");
        QVERIFY(sites->isVisible());
        QCOMPARE(sites->count(), 4);
        QCOMPARE(sites->item(2)->text(), QStringLiteral("ORLEANS") + Space(15));
        // A whole 22-character line can be read without scrolling.
        window().centralWidget()->layout()->activate();
        QVERIFY(sites->viewport()->width() >=
                sites->fontMetrics().horizontalAdvance(QString(22, u'M')));
        click(sites, 2);
        QVERIFY(!sites->isVisible());
        QVERIFY(action("lst1")->isVisible());
        QCOMPARE(action("lst1")->text(), QStringLiteral("lister la distance de ORLEANS"));
        action("chdist")->trigger(); // the same list, not read again
        QCOMPARE(sites->count(), 4);
        sites->hide();

        action("lst1")->trigger();
        const QList<RecordedText>& texts = printed->pages().at(0).texts;
        QCOMPARE(texts.size(), 5);
        QCOMPARE(texts.at(0).text, QStringLiteral("LA DISTANCE DE ORLEANS"));
        QCOMPARE(texts.at(1).text, QStringLiteral("De la société de LES AILES LILLOISES"));
        QVERIFY(texts.at(2).text.startsWith(QStringLiteral("DUPONT Jean")));
        QCOMPARE(texts.at(2).text.size(), 31);
    }


    // Without a printer each command's run is one PDF: the list sheets of the three
    // fanciers one after the other in portrait, then the two envelopes in landscape, each
    // file named for its run and said in the message over the window.
    void oneFilePerRunWithEachDocumentInOrderOnItsOwnPaper() {
        PdfPrinterScope pdf;
        setClockForTests([] { return QDateTime(QDate(2026, 5, 4), QTime(10, 15)); });
        ScriptedDialogsScope asked;
        asked->answer(MsgAnswer::No).answer(MsgAnswer::Ok).answer(MsgAnswer::Ok);
        const QStringList names = {QStringLiteral("DUPONT Jean"), QStringLiteral("LEFEBVRE André"),
                                   QStringLiteral("MARTIN Paul")};
        for (int row = 0; row < 3; ++row)
            QVERIFY(list("List1")->item(row)->text().startsWith(names[row]));
        action("socdist")->trigger();
        select(0);
        select(2);
        action("envel1")->trigger();
        setClockForTests({});

        QCOMPARE(pdf.files(), QStringList({QStringLiteral("Enveloppes 2026-05-04 10h15.pdf"),
                                           QStringLiteral("Feuilles de distance 2026-05-04 10h15.pdf")}));
        const QString sheets = pdf.path(QStringLiteral("Feuilles de distance 2026-05-04 10h15.pdf"));
        const QString envelopes = pdf.path(QStringLiteral("Enveloppes 2026-05-04 10h15.pdf"));
        const QList<MessageRequest> m = asked->messages();
        QVERIFY2(m.at(1).text.endsWith(QStringLiteral("Impression enregistrée dans %1 : 3 pages")
                                           .arg(QDir::toNativeSeparators(sheets))),
                 qPrintable(m.at(1).text));
        QCOMPARE(m.at(2).text, QStringLiteral("Impression enregistrée dans %1 : 2 pages")
                                   .arg(QDir::toNativeSeparators(envelopes)));
        QCOMPARE(m.at(2).title, window().windowTitle());

        const QStringList sheetPages = pdfPageTexts(sheets);
        QCOMPARE(sheetPages.size(), 3);
        const QList<QSizeF> sheetSizes = pdfPageSizes(sheets);
        QCOMPARE(sheetSizes.size(), 3);
        for (int i = 0; i < 3; ++i) {
            QVERIFY2(sheetPages[i].contains(QStringLiteral("LISTE DE DISTANCES")), qPrintable(sheetPages[i]));
            QVERIFY2(sheetPages[i].contains(names[i]), qPrintable(sheetPages[i]));
            QVERIFY(isA4(sheetSizes[i], false));
        }
        const QStringList envelopePages = pdfPageTexts(envelopes);
        QCOMPARE(envelopePages.size(), 2);
        QVERIFY(envelopePages[0].contains(names[0]));
        QVERIFY(envelopePages[1].contains(names[2]));
        for (const QSizeF& size : pdfPageSizes(envelopes))
            QVERIFY(isA4(size, true));
    }

    // A run of 200 sheets that lasts shows how far it is; "Annuler" stops it after the
    // sheet being printed, the closing message says how many were printed, and the file
    // holds exactly those.
    void aLongRunShowsItsProgressAndStopsOnAnnuler() {
        for (int n = 4; n <= 200; ++n)
            club->addFancier({QStringLiteral("AMATEUR %1").arg(n, 3, 10, QLatin1Char('0')),
                              QStringLiteral("LILLE"), 503812, 30350, 0,
                              QStringLiteral("3 rue Nationale"), QStringLiteral("59000"),
                              QStringLiteral("1234567")});
        windows().unloadAll();
        windows().show<gnoms>();
        QCOMPARE(list("List1")->count(), 200);
        PdfPrinterScope pdf;
        // Every reading of the clock is 10 ms later: the run passes half a second at its
        // 50th sheet or so, whatever the speed of the machine.
        QDateTime clock(QDate(2026, 5, 4), QTime(10, 15));
        setClockForTests([&clock] { return clock = clock.addMSecs(10); });
        ScriptedDialogsScope asked;
        asked->answer(MsgAnswer::Yes).answer(MsgAnswer::Ok);
        int shownAt = -1;
        QString shownText;
        QTimer watch;
        watch.setInterval(0);
        connect(&watch, &QTimer::timeout, [&] {
            auto* progress = dynamic_cast<PrintProgressWindow*>(QApplication::activeModalWidget());
            if (!progress || !progress->isVisible() || shownAt >= 0)
                return;
            shownAt = progress->printed();
            shownText = progress->findChild<QLabel*>(QStringLiteral("Label1"))->text();
            QCOMPARE(progress->windowTitle(), QStringLiteral("Impression en cours"));
            QTest::mouseClick(progress->findChild<QPushButton*>(QStringLiteral("Annuler")),
                              Qt::LeftButton);
        });
        watch.start();
        action("socdist")->trigger();
        watch.stop();
        setClockForTests({});

        QVERIFY2(shownAt > 0 && shownAt < 200, qPrintable(QString::number(shownAt)));
        QCOMPARE(shownText, QStringLiteral("%1 feuilles sur 200").arg(shownAt));
        const QString text = asked->messages().at(1).text;
        static const QRegularExpression stopped(
            QStringLiteral("^Impression arrêtée : (\\d+) feuilles imprimées sur 200\n"));
        const auto match = stopped.match(text);
        QVERIFY2(match.hasMatch(), qPrintable(text));
        const int printed = match.captured(1).toInt();
        // The sheets done when "Annuler" was pressed are all there is.
        QCOMPARE(printed, shownAt);
        QVERIFY(text.contains(QStringLiteral("Feuilles imprimées : %1\n").arg(printed)));
        QCOMPARE(pdf.files().size(), 1);
        const QString file = pdf.path(pdf.files().at(0));
        QVERIFY(text.endsWith(QStringLiteral("Impression enregistrée dans %1 : %2 pages")
                                  .arg(QDir::toNativeSeparators(file))
                                  .arg(printed)));
        const QStringList pages = pdfPageTexts(file);
        QCOMPARE(pages.size(), printed);
        QVERIFY(pages.last().contains(list("List1")->item(printed - 1)->text().left(11).trimmed()));
        QVERIFY(!QApplication::activeModalWidget());
    }

    // A short run shows no window.

    // One list sheet through the PDF printer, read back; then a PDF that cannot be
    // written counts its sheet as failed and the next one is still printed.
    void distanceSheetAsPdfReadBack() {
        QTemporaryDir out;
        setPdfFolder(out.path());
        club->addFancier({QStringLiteral("DUPONT Michel"), QStringLiteral("LILLE"), 480506.25,
                          20506, 0, QStringLiteral("3 rue Nationale"), QStringLiteral("59000"),
                          QStringLiteral("1234567")});
        QtPrintSurface pdf(QtPrintSurface::Target::Pdf);
        DistanceSheetRun run = printDistanceSheets({4}, SheetLayout::Booklet, pdf);
        QCOMPARE(run.printed, 1);
        const QString file = pdf.lastPdfPath();
        QVERIFY(QFile::exists(file));
        QProcess p;
        p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
        QVERIFY(p.waitForFinished(30000));
        const QString text = QString::fromUtf8(p.readAllStandardOutput());
        QVERIFY2(text.contains(QStringLiteral("Coordonnées GPS : 48°05'06,25 - 02°05'06 EST")),
                 qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("FÉDÉRATION COLOMBOPHILE 1ère REGION")));
        static const QRegularExpression cell(QStringLiteral("ARRAS\\s+\\|\\s+\\d+ \\|"));
        QVERIFY2(text.contains(cell), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Licence N° : 1234567")));

        QFile blocker(out.filePath(QStringLiteral("fichier")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        setPdfFolder(out.filePath(QStringLiteral("fichier/impressions")));
        run = printDistanceSheets({4, 1}, SheetLayout::List, pdf);
        QCOMPARE(run.failed, 2);
        setPdfFolder(out.path());
        run = printDistanceSheets({4, 1}, SheetLayout::List, pdf);
        QCOMPARE(run.printed, 2);
        setPdfFolder(QString());
    }
};

QTEST_MAIN(GnomsPrintsTest)
#include "gnoms_prints_wtest.moc"
