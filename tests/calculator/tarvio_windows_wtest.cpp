// Tarvio's windows driven as a user would: start-up, main window steppers and list, the
// release-site editor and its print, the About box.
#include "calculator/basedist_window.h"
#include "calculator/depart_window.h"
#include "calculator/frmabout_window.h"
#include "calculator/frmsplash_window.h"
#include "calculator/plein_window.h"
#include "calculator/tarvio_texts.h"

#include "common/record_file.h"
#include "common/session.h"
#include "common/text.h"
#include "fanciers/site_list.h"
#include "platform/clock.h"
#include "platform/printing.h"
#include "platform/recording_surface.h"
#include "platform/scripted_dialogs.h"
#include "platform/system_info.h"
#include "platform/window_registry.h"
#include "tests/support/club_fixture.h"
#include "tests/support/window_child.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QFocusFrame>
#include <QScrollBar>
#include <QTest>
#include <QTemporaryDir>

using namespace vt;
using vt::testing::child;
using namespace vt::tarvio;

namespace {

const QDateTime Now(QDate(2026, 4, 15), QTime(14, 3, 22));

QString text(QWidget& w, const char* labelName) { return child<QLabel>(w, labelName)->text(); }

void click(QScrollBar* bar, int times, bool lowerArrow = true) {
    for (int i = 0; i < times; ++i)
        bar->triggerAction(lowerArrow ? QAbstractSlider::SliderSingleStepAdd
                                      : QAbstractSlider::SliderSingleStepSub);
}

void step(QWidget& w, const char* barName, int steps) {
    click(child<QScrollBar>(w, barName), steps < 0 ? -steps : steps, steps > 0);
}

// Label7 and Label8: the loft's closing and opening.
void expectLoftTimes(QWidget& w, const QString& closing, const QString& opening) {
    QCOMPARE(text(w, "Label7"), QStringLiteral("Heure de FERMETURE personnalisée : ") + closing);
    QCOMPARE(text(w, "Label8"), QStringLiteral("  Heure d'OUVERTURE personnalisée :   ") + opening);
}

void enter(QLineEdit* box, const QString& typed = QString()) {
    if (!typed.isEmpty())
        QTest::keyClicks(box, typed);
    QTest::keyClick(box, Qt::Key_Return);
}

} // namespace

class TarvioWindows : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<vt::testing::ClubFixture> m_club;
    std::unique_ptr<RecordingPrinterScope> m_printer;

    QString distgen() const { return generalSitesPath(); }
    void writeSites(const QList<testing::SiteSpec>& sites) {
        for (const auto& s : sites)
            m_club->addGeneralSite(s);
    }
    void threeSites() {
        writeSites({{QStringLiteral("ZUTKERQUE"), 505200, 22300, 0},
                    {QString(), 0, 0, 0},
                    {QStringLiteral("ARRAS"), 501730, 24600, 0}});
    }
    basedist& openEditor() {
        depart& main = windows().show<depart>();
        child<QAction>(main, "GPS")->trigger();
        return windows().window<basedist>();
    }

private slots:
    void init() {
        setClockForTests([] { return Now; });
        m_club = std::make_unique<testing::ClubFixture>();
        session() = Session{};
        setStartDirectory(m_club->startDir());
        m_printer = std::make_unique<RecordingPrinterScope>();
    }
    void cleanup() {
        windows().unloadAll();
        QCoreApplication::processEvents();
        RecordFile::rewriteFailureForTests = {};
        m_printer.reset();
        setClockForTests({});
        m_club.reset();
    }

    void startUpShowsTheSplashOverTheBackgroundAndSuiteOpensTheMainWindow() {
        threeSites();
        ScriptedDialogsScope dialogs;
        frmSplash& splash = windows().window<frmSplash>();
        QVERIFY(splash.isVisible());
        QVERIFY(windows().isLoaded<plein>());
        QVERIFY(windows().window<plein>().isVisible());
        QCOMPARE(text(splash, "lblVersion"), QStringLiteral("Version GPS 1.0.0"));
        QCOMPARE(text(splash, "lblProductName"), QStringLiteral("Tarvio"));
        QCOMPARE(text(splash, "lblWarning"),
                 QStringLiteral("Avertissement : l'utilisation de ce logiciel est sous la "
                                "responsabilité de  Son utilisateur"));
        QCOMPARE(text(splash, "lblPlatform"), QStringLiteral("Plate-forme"));
        QCOMPARE(text(splash, "lblCompanyProduct"), QStringLiteral("Logiciel de gestion des"));
        QCOMPARE(distgen(), QDir(m_club->startDir()).filePath(QStringLiteral("distgen")));

        plein& background = windows().window<plein>();
        QCOMPARE(background.clockPanelText(),
                 QStringLiteral("mercredi 15 avril 2026 il est 14:03:22"));
        setClockForTests([] { return Now.addSecs(1); });
        QTRY_COMPARE_WITH_TIMEOUT(background.clockPanelText(),
                                  QStringLiteral("mercredi 15 avril 2026 il est 14:03:23"), 3000);

        QTest::mouseClick(child<QLabel>(splash, "Label1"), Qt::LeftButton);
        QCoreApplication::processEvents();
        QVERIFY(windows().isLoaded<depart>());
        QVERIFY(windows().window<depart>().isVisible());
        QVERIFY(!windows().isLoaded<plein>());
        QTRY_VERIFY(!windows().isLoaded<frmSplash>());
        QCOMPARE(dialogs->asked().size(), 0);
    }

    // "SUITE" has the focus as the start-up window opens and Tab keeps it there; Enter,
    // the keypad's Enter, Space and Esc each open the main window.
    void theStartUpWindowGoesOnFromTheKeyboard_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
        QTest::newRow("Space") << int(Qt::Key_Space);
        QTest::newRow("Esc") << int(Qt::Key_Escape);
    }
    void theStartUpWindowGoesOnFromTheKeyboard() {
        QFETCH(int, key);
        threeSites();
        ScriptedDialogsScope dialogs;
        frmSplash& splash = windows().window<frmSplash>();
        splash.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&splash));
        auto* suite = child<QLabel>(splash, "Label1");
        QCOMPARE(QApplication::focusWidget(), suite);
        QTest::keyClick(&splash, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), suite);
        QTest::keyClick(suite, Qt::Key(key));
        QCoreApplication::processEvents();
        QVERIFY(windows().isLoaded<depart>());
        QVERIFY(windows().window<depart>().isVisible());
        QTRY_VERIFY(!windows().isLoaded<frmSplash>());
        QVERIFY(!windows().isLoaded<plein>());
    }

    // Tab goes from the list through the three date steppers and the twelve coordinate
    // steppers and back; an arrow key steps the stepper that has the focus, which keeps it.
    void tabReachesEveryStepperAndItsArrowsStepIt() {
        threeSites();
        ScriptedDialogsScope dialogs;
        depart& w = windows().show<depart>();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto* list = child<QListWidget>(w, "List1");
        list->setFocus();
        // A ring is drawn around the stepper Tab reached, and around no other control.
        auto* mark = w.findChild<QFocusFrame*>(QStringLiteral("stepperFocusMark"));
        QVERIFY(mark);
        QStringList reached;
        for (int i = 0; i < 16; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget* focus = QApplication::focusWidget();
            reached.append(focus->objectName());
            const bool onStepper = qobject_cast<QScrollBar*>(focus) != nullptr;
            QCOMPARE(mark->isVisible(), onStepper);
            if (onStepper) {
                QCOMPARE(mark->widget(), focus);
                const QRect ring(mark->mapToGlobal(QPoint()), mark->size());
                QVERIFY(ring.contains(QRect(focus->mapToGlobal(QPoint()), focus->size()), true));
            }
        }
        QStringList expected = {QStringLiteral("VScroll_1"), QStringLiteral("VScroll_2"),
                                QStringLiteral("VScroll_3")};
        for (int c = 1; c <= 3; ++c)
            for (int p = 1; p <= 4; ++p)
                expected.append(QStringLiteral("VScroll%1_%2").arg(c).arg(p));
        expected.append(QStringLiteral("List1"));
        QCOMPARE(reached, expected);

        auto* day = child<QScrollBar>(w, "VScroll_1");
        // Just left of a stepper the window shows its ring only while the stepper has the focus.
        const QPoint beside = day->mapTo(&w, QPoint(-1, day->height() / 2));
        const QRgb without = w.grab().toImage().pixel(beside);
        day->setFocus();
        QTRY_VERIFY(w.grab().toImage().pixel(beside) != without);
        QTest::keyClick(day, Qt::Key_Down); // the lower arrow: one day on
        QCOMPARE(text(w, "Label12"), QStringLiteral("16/04/26"));
        QCOMPARE(QApplication::focusWidget(), day);
        QTest::keyClick(day, Qt::Key_Down);
        QCOMPARE(text(w, "Label12"), QStringLiteral("17/04/26"));
        auto* minutes = child<QScrollBar>(w, "VScroll1_2");
        minutes->setFocus();
        QTest::keyClick(minutes, Qt::Key_Down);
        QCOMPARE(text(w, "Label13"), QStringLiteral("48:51:00,00"));
        QCOMPARE(QApplication::focusWidget(), minutes);
        // A click on a stepper's arrow leaves the focus in the list, as before.
        list->setFocus();
        QTest::mouseClick(day, Qt::LeftButton, {}, QPoint(day->width() / 2, day->height() - 3));
        QCOMPARE(text(w, "Label12"), QStringLiteral("18/04/26"));
        QCOMPARE(QApplication::focusWidget(), list);
    }

    void mainWindowStartsOnTodayTheDefaultLoftAndTheFirstSite() {
        threeSites();
        ScriptedDialogsScope dialogs;
        depart& w = windows().show<depart>();
        QCOMPARE(w.windowTitle(), QStringLiteral("Gestion des lieux de lâcher et des heures de "
                                                 "coucher et lever du soleil"));
        auto* list = child<QListWidget>(w, "List1");
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->item(0)->text(),
                 QStringLiteral("ZUTKERQUE                    505200     22300         0"));
        QCOMPARE(list->currentRow(), 0);
        QCOMPARE(text(w, "Label12"), QStringLiteral("15/04/26"));
        QCOMPARE(text(w, "Label13"), QStringLiteral("48:50:00,00"));
        QCOMPARE(text(w, "Label14"), QStringLiteral("02:20:11,00"));
        QCOMPARE(text(w, "Label15"), QString());
        QCOMPARE(text(w, "Label16"), QStringLiteral("485000.00"));
        QCOMPARE(text(w, "Label17"), QStringLiteral("022011.00"));
        QCOMPARE(text(w, "Label18"), QString());
        QCOMPARE(text(w, "Label10"), QStringLiteral("FERMETURE le 15/04/26 à PARIS 21h11'05\""));
        QCOMPARE(text(w, "Label11"), QStringLiteral("OUVERTURE le 16/04/26 à PARIS  6h28'25\""));
        QCOMPARE(text(w, "Label5"), QStringLiteral("Temps mort avec pénombre : 09h17'20''"));
        expectLoftTimes(w, QStringLiteral("21h11'05\""), QStringLiteral("6h28'25''"));
        QVERIFY(text(w, "Label6").startsWith(QStringLiteral("Distance de : ZUTKERQUE =  ")));

        // Frame "Aide": the help message.
        dialogs->answer(MsgAnswer::Ok);
        QTest::mouseClick(child<QWidget>(w, "Frame1"), Qt::LeftButton);
        QCOMPARE(dialogs->messages().size(), 1);
        QCOMPARE(dialogs->messages().at(0).text, mainWindowHelpText());
    }

    void steppersMoveTheDateAndTheLoftWithCarries() {
        ScriptedDialogsScope dialogs;
        depart& w = windows().show<depart>();
        QCOMPARE(text(w, "Label6"),
                 QStringLiteral("Distance de : aucun lieu de lâcher dans le fichier"));
        step(w, "VScroll_1", 1);
        QCOMPARE(text(w, "Label12"), QStringLiteral("16/04/26"));
        QCOMPARE(text(w, "Label10"), QStringLiteral("FERMETURE le 16/04/26 à PARIS ") +
                                         computeParisTimes(QDate(2026, 4, 16)).sun.closing->text);
        step(w, "VScroll_1", -1);
        step(w, "VScroll_3", 5);
        QCOMPARE(text(w, "Label12"), QStringLiteral("15/04/31")); // 2031, not 1931
        QCOMPARE(text(w, "Label10"), computeParisTimes(QDate(2031, 4, 15)).closingLabel);
        step(w, "VScroll_3", -5);
        auto* day = child<QScrollBar>(w, "VScroll_1");
        day->setValue(0);
        QCOMPARE(text(w, "Label12"), QStringLiteral("15/04/25"));
        step(w, "VScroll_1", -1); // the upper arrow at 0 goes no further back
        QCOMPARE(text(w, "Label12"), QStringLiteral("15/04/25"));
        day->setValue(365);

        // Row 3 of the table: 50°38'N 3°04'E.
        step(w, "VScroll1_1", 2);
        step(w, "VScroll1_2", -12);
        step(w, "VScroll2_1", 1);
        step(w, "VScroll2_2", -16);
        step(w, "VScroll2_3", -11);
        QCOMPARE(text(w, "Label13"), QStringLiteral("50:38:00,00"));
        QCOMPARE(text(w, "Label16"), QStringLiteral("503800.00"));
        QCOMPARE(text(w, "Label14"), QStringLiteral("03:04:00,00"));
        QCOMPARE(text(w, "Label17"), QStringLiteral("030400.00"));
        expectLoftTimes(w, QStringLiteral("21h11'28\""), QStringLiteral("6h28'48''"));

        // Ten minutes more carry into the degrees; a west step clears the east labels.
        step(w, "VScroll1_2", 22);
        QCOMPARE(text(w, "Label13"), QStringLiteral("51:00:00,00"));
        step(w, "VScroll3_1", 4);
        QCOMPARE(text(w, "Label14"), QString());
        QCOMPARE(text(w, "Label17"), QString());
        QCOMPARE(text(w, "Label15"), QStringLiteral("04:00:00,00"));
        QCOMPARE(text(w, "Label18"), QStringLiteral("040000.00"));
        step(w, "VScroll1_4", -25);
        QCOMPARE(text(w, "Label13"), QStringLiteral("50:59:59,75"));
        QCOMPARE(text(w, "Label15"), QStringLiteral("04:00:00,00"));
        // Clamped below the pole: no sunset in June, shown as unavailable.
        step(w, "VScroll_2", 2);
        step(w, "VScroll1_1", 60);
        QCOMPARE(text(w, "Label13"), QStringLiteral("89:59:59,99"));
        expectLoftTimes(w, QStringLiteral("indisponible"), QStringLiteral("indisponible"));
        QCOMPARE(dialogs->asked().size(), 0);
    }

    void resultsFollowTheTopLineOfTheList() {
        QList<testing::SiteSpec> sites;
        for (char c = 'A'; c <= 'Z'; ++c)
            sites.append({QStringLiteral("%1LIEU").arg(QChar(c)), 500000.0 + (c - 'A') * 100,
                          20000, 0});
        writeSites(sites);
        ScriptedDialogsScope dialogs;
        depart& w = windows().show<depart>();
        auto* list = child<QListWidget>(w, "List1");
        list->verticalScrollBar()->setValue(3);
        QCOMPARE(list->currentRow(), 3);
        QVERIFY(text(w, "Label6").startsWith(QStringLiteral("Distance de : DLIEU = ")));
        list->setFocus();
        QTest::keyClick(list, Qt::Key_K);
        QTRY_VERIFY(text(w, "Label6").startsWith(QStringLiteral("Distance de : KLIEU = ")));
        QCOMPARE(model(w).shownSite(), 10);
        // The last line cannot reach the top: its letter still gives its results.
        QTest::qWait(QApplication::keyboardInputInterval() + 50); // a new search, not "KZ"
        QTest::keyClick(list, Qt::Key_Z);
        QTRY_VERIFY(text(w, "Label6").startsWith(QStringLiteral("Distance de : ZLIEU = ")));
        QCOMPARE(list->currentRow(), 25);
        QCOMPARE(model(w).shownSite(), 25);
    }

    // Whatever moves the highlight (a typed letter, an arrow, a page key, a click) brings
    // its line to the top, and the results name the highlighted site.
    void theResultsFollowTheHighlightedLineWhateverMovedIt() {
        // Three sites a letter: every line but the last few can reach the top.
        QList<testing::SiteSpec> sites;
        QStringList names;
        for (char c = 'A'; c <= 'Z'; ++c)
            for (int n = 1; n <= 3; ++n) {
                names.append(QStringLiteral("%1LIEU%2").arg(QChar(c)).arg(n));
                sites.append({names.last(), 500000.0 + names.size() * 100, 20000, 0});
            }
        writeSites(sites);
        ScriptedDialogsScope dialogs;
        depart& w = windows().show<depart>();
        auto* list = child<QListWidget>(w, "List1");
        list->setFocus();
        const auto expectShown = [&](int row) {
            const QString name = names[row];
            QCOMPARE(list->currentRow(), row);
            QCOMPARE(model(w).shownSite(), row);
            QVERIFY2(text(w, "Label6").startsWith(QStringLiteral("Distance de : ") + name + " = "),
                     qPrintable(text(w, "Label6")));
            QCOMPARE(list->indexAt(QPoint(1, 1)).row(), row);
        };
        const int s1 = names.indexOf(QStringLiteral("SLIEU1"));
        QTest::keyClick(list, Qt::Key_S);
        expectShown(s1);
        QTest::keyClick(list, Qt::Key_Up);
        expectShown(s1 - 1);
        QTest::keyClick(list, Qt::Key_Up);
        expectShown(s1 - 2);
        QTest::keyClick(list, Qt::Key_Down);
        expectShown(s1 - 1);
        const int below = s1 + 2;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(below)).center());
        expectShown(below);
        QTest::keyClick(list, Qt::Key_Home);
        expectShown(0);
        QTest::keyClick(list, Qt::Key_PageDown);
        QVERIFY(list->currentRow() > 0);
        expectShown(list->currentRow());
    }

    void editorRewritesDistgenInNameOrderAndShowsTheMainWindowAgain() {
        threeSites();
        ScriptedDialogsScope dialogs;
        basedist& e = openEditor();
        QVERIFY(e.isVisible());
        QVERIFY(!windows().window<depart>().isVisible());
        QVERIFY(windows().isLoaded<plein>() && windows().window<plein>().isVisible());
        auto* list = child<QListWidget>(e, "List1");
        QVERIFY(list->isHidden());
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->item(0)->text().left(5), QStringLiteral("ARRAS"));
        child<QAction>(e, "quitte")->trigger();
        QCoreApplication::processEvents();
        const QByteArray bytes = testing::readBytes(distgen());
        QCOMPARE(bytes.size(), 98);
        QCOMPARE(decodeText(bytes.left(25)).trimmed(), QStringLiteral("ARRAS"));
        QCOMPARE(decodeText(bytes.mid(49, 25)).trimmed(), QStringLiteral("ZUTKERQUE"));
        QVERIFY(windows().window<depart>().isVisible());
        QVERIFY(!windows().isLoaded<plein>());
        QTRY_VERIFY(!windows().isLoaded<basedist>());
        // What Vorel's editor reads back is what Tarvio wrote.
        const SiteList vorel = SiteList::load(distgen());
        QCOMPARE(vorel.items(), QStringList({
            QStringLiteral("ARRAS                        501730     24600         0"),
            QStringLiteral("ZUTKERQUE                    505200     22300         0")}));
    }

    void aWestSiteIsTypedWithTheEnterKeyAndStored() {
        ScriptedDialogsScope dialogs;
        basedist& e = openEditor();
        auto* name = child<QLineEdit>(e, "Text6");
        auto* lat = child<QLineEdit>(e, "Text1");
        auto* east = child<QLineEdit>(e, "Text2");
        auto* west = child<QLineEdit>(e, "Text7");
        QApplication::setActiveWindow(&e);
        QVERIFY(QTest::qWaitForWindowActive(&e));
        name->setFocus();
        enter(name, QStringLiteral("BREST"));
        QVERIFY(lat->hasFocus());
        enter(lat, QStringLiteral("482330.5"));
        QCOMPARE(lat->text(), QStringLiteral("482330,5"));
        QVERIFY(east->hasFocus());
        enter(east); // empty east: on to the west box
        QVERIFY(west->hasFocus());
        enter(west, QStringLiteral("042910"));
        QVERIFY(child<QPushButton>(e, "Command1")->hasFocus());
        QTest::keyClick(child<QPushButton>(e, "Command1"), Qt::Key_Return);
        QCOMPARE(name->text(), QString());
        QVERIFY(name->hasFocus());
        QCOMPARE(e.sites().size(), 1);
        const ReleaseSiteRecord r = e.sites().at(0);
        QCOMPARE(trim(r.siteName()), QStringLiteral("BREST"));
        QCOMPARE(r.latitudeDms(), 482330.5);
        QCOMPARE(r.longitudeEastDms(), 0.0);
        QCOMPARE(r.longitudeWestDms(), 42910.0);

        // A name already listed, in any case and with spaces, is reported on Enter.
        auto* label7 = child<QLabel>(e, "Label7");
        enter(name, QStringLiteral(" brest "));
        QVERIFY(label7->isVisible());
        QVERIFY(name->hasFocus());
        QTest::keyClick(name, Qt::Key_X);
        QVERIFY(!label7->isVisible());
        name->clear();
        enter(name); // an empty name stays, with no message
        QVERIFY(name->hasFocus());
        QVERIFY(!label7->isVisible());
        QCOMPARE(dialogs->asked().size(), 0);
    }

    void typedBoxesAreCheckedBeforeAnythingIsStored() {
        ScriptedDialogsScope dialogs;
        basedist& e = openEditor();
        auto* name = child<QLineEdit>(e, "Text6");
        auto* lat = child<QLineEdit>(e, "Text1");
        auto* east = child<QLineEdit>(e, "Text2");
        auto* west = child<QLineEdit>(e, "Text7");
        auto* memo = child<QPushButton>(e, "Command1");
        name->setText(QStringLiteral("NOM DE LIEU BIEN TROP LONG POUR LE FICHIER"));
        lat->setText(QStringLiteral("abc"));
        dialogs->answer(MsgAnswer::Ok);
        QTest::mouseClick(memo, Qt::LeftButton);
        QCOMPARE(e.sites().size(), 0);
        QVERIFY(dialogs->messages().at(0).text.contains(QStringLiteral("LATITUDE")));
        lat->clear();
        dialogs->answer(MsgAnswer::Ok);
        QTest::mouseClick(memo, Qt::LeftButton); // an empty latitude is no latitude
        QCOMPARE(e.sites().size(), 0);
        lat->setText(QStringLiteral("501730"));
        east->setText(QStringLiteral("24600"));
        west->setText(QStringLiteral("10000"));
        dialogs->answer(MsgAnswer::Ok);
        QTest::mouseClick(memo, Qt::LeftButton);
        QCOMPARE(dialogs->messages().last().text, bothLongitudesWarning());
        QCOMPARE(e.sites().size(), 1);
        QCOMPARE(trim(e.sites().at(0).siteName()), QStringLiteral("NOM DE LIEU BIEN TROP LON"));
        QCOMPARE(e.sites().at(0).longitudeWestDms(), 0.0);
        QCOMPARE(dialogs->pendingAnswers(), 0);
    }

    void aSiteTakenOutIsDeletedByAnEmptyNameOrPutBackByTheCloseBox() {
        threeSites();
        ScriptedDialogsScope dialogs;
        {
            basedist& e = openEditor();
            QTest::mouseClick(child<QPushButton>(e, "Command3"), Qt::LeftButton);
            auto* list = child<QListWidget>(e, "List1");
            QVERIFY(list->isVisible());
            list->setCurrentRow(0);
            QTest::keyClick(list, Qt::Key_Return); // Enter edits the line, as a double-click
            QVERIFY(list->isHidden());
            QCOMPARE(child<QLineEdit>(e, "Text6")->text(), QStringLiteral("ARRAS"));
            QCOMPARE(child<QLineEdit>(e, "Text1")->text(), QStringLiteral("501730"));
            QCOMPARE(child<QLineEdit>(e, "Text2")->text(), QStringLiteral("24600"));
            QCOMPARE(child<QLineEdit>(e, "Text7")->text(), QStringLiteral("0"));
            QVERIFY(!child<QAction>(e, "quitte")->isVisible());
            e.close(); // the close box puts ARRAS back, then quits
            QCoreApplication::processEvents();
        }
        QCOMPARE(testing::readBytes(distgen()).size(), 98);
        QCOMPARE(SiteList::load(distgen()).indexOfName(QStringLiteral("ARRAS")), 0);
        QTRY_VERIFY(!windows().isLoaded<basedist>());
        {
            basedist& e = openEditor();
            QTest::mouseClick(child<QPushButton>(e, "Command3"), Qt::LeftButton);
            auto* list = child<QListWidget>(e, "List1");
            // A double-click: Qt's test double-click sends only the second click.
            const QPoint line = list->visualItemRect(list->item(0)).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, line);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, line);
            child<QLineEdit>(e, "Text6")->clear();
            QTest::mouseClick(child<QPushButton>(e, "Command1"), Qt::LeftButton);
            QVERIFY(child<QAction>(e, "quitte")->isVisible());
            child<QAction>(e, "quitte")->trigger();
            QCoreApplication::processEvents();
        }
        const SiteList left = SiteList::load(distgen());
        QCOMPARE(left.size(), 1);
        QCOMPARE(trim(left.at(0).siteName()), QStringLiteral("ZUTKERQUE"));
        QCOMPARE(dialogs->asked().size(), 0);
    }

    // The main window shows the list its site editor saved, at once: a site added to an
    // empty file, a corrected one, a deleted one. The date and the loft stay as they were.
    void theMainWindowUsesTheListTheEditorSaved_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("added to an empty file") << QStringLiteral("add") << QStringList{QStringLiteral("ARRAS")} << QStringLiteral("ARRAS");
        QTest::newRow("corrected") << QStringLiteral("correct") << QStringList{QStringLiteral("ARRAS"), QStringLiteral("ZUTKERQUE")} << QStringLiteral("ZUTKERQUE");
        QTest::newRow("deleted") << QStringLiteral("delete") << QStringList{QStringLiteral("ARRAS")} << QStringLiteral("ARRAS");
    }
    void theMainWindowUsesTheListTheEditorSaved() {
        QFETCH(QString, change);
        QFETCH(QStringList, listed);
        QFETCH(QString, shown);
        if (change != QLatin1String("add"))
            threeSites(); // ZUTKERQUE first in the file, so shown first
        ScriptedDialogsScope dialogs;
        depart& main = windows().show<depart>();
        step(main, "VScroll_1", 3); // a date of the user's own
        const QString date = text(main, "Label12");
        QCOMPARE(text(main, "Label6").startsWith(change == QLatin1String("add")
                                                     ? noSiteDistanceText()
                                                     : QStringLiteral("Distance de : ZUTKERQUE")),
                 true);

        basedist& e = openEditor();
        auto* name = child<QLineEdit>(e, "Text6");
        if (change == QLatin1String("add")) {
            name->setText(QStringLiteral("ARRAS"));
            child<QLineEdit>(e, "Text1")->setText(QStringLiteral("501730"));
            child<QLineEdit>(e, "Text2")->setText(QStringLiteral("24600"));
        } else {
            QTest::mouseClick(child<QPushButton>(e, "Command3"), Qt::LeftButton);
            auto* list = child<QListWidget>(e, "List1");
            list->setCurrentRow(1); // ZUTKERQUE, after ARRAS in name order
            emit list->itemActivated(list->item(1));
            if (change == QLatin1String("delete"))
                name->clear();
            else
                child<QLineEdit>(e, "Text1")->setText(QStringLiteral("495200"));
        }
        QTest::mouseClick(child<QPushButton>(e, "Command1"), Qt::LeftButton);
        child<QAction>(e, "quitte")->trigger();
        QCoreApplication::processEvents();
        QVERIFY(main.isVisible());

        auto* list = child<QListWidget>(main, "List1");
        QStringList names;
        for (int i = 0; i < list->count(); ++i)
            names << list->item(i)->text().left(25).trimmed();
        QCOMPARE(names, listed);
        QCOMPARE(main.model().sites().at(main.model().shownSite()).siteName().trimmed(), shown);
        // The distance is the one a fresh start on the saved file shows for that site.
        CalculatorModel fresh(Now.date(), readGeneralSitesInFileOrder(distgen()));
        fresh.setShownSite(static_cast<int>(listed.indexOf(shown)));
        QVERIFY(text(main, "Label6").startsWith(QStringLiteral("Distance de : ") + shown));
        QCOMPARE(text(main, "Label6"), fresh.distanceLabel());
        QCOMPARE(text(main, "Label12"), date);
        QCOMPARE(dialogs->asked().size(), 0);
    }

    // "Mémoriser" of a name already listed asks the question Vorel's editor of the same
    // file asks, with No as its default: No stores nothing, Yes stores the second site.
    void aSecondSiteOfTheSameNameIsStoredOnlyWhenTheUserSaysSo() {
        threeSites();
        const TypedSite typed{QStringLiteral(" arras "), QStringLiteral("501800"),
                              QStringLiteral("24700"), QString()};
        ScriptedDialogsScope dialogs;
        basedist& e = openEditor();
        auto* name = child<QLineEdit>(e, "Text6");
        const auto typeSite = [&] {
            name->setText(typed.name);
            child<QLineEdit>(e, "Text1")->setText(typed.latitude);
            child<QLineEdit>(e, "Text2")->setText(typed.east);
            QTest::mouseClick(child<QPushButton>(e, "Command1"), Qt::LeftButton);
        };
        dialogs->answer(MsgAnswer::No);
        typeSite();
        QCOMPARE(dialogs->messages().size(), 1);
        const MessageRequest asked = dialogs->messages().at(0);
        // Vorel's general editor asks this same text, from the same function.
        QCOMPARE(asked.text,
                 QStringLiteral("Le lieu de lâcher arras existe déjà. Le mémoriser quand même ?"));
        QCOMPARE(asked.text, duplicateSiteQuestion(QStringLiteral("arras")));
        QCOMPARE(asked.title, siteMessageTitle());
        QCOMPARE(asked.buttons, MsgButtons::YesNo);
        QCOMPARE(asked.defaultButton, MsgAnswer::No);
        QCOMPARE(e.sites().size(), 2);
        QCOMPARE(name->text(), typed.name); // the boxes stay for another name
        QVERIFY(name->hasFocus() || !e.isActiveWindow());

        dialogs->answer(MsgAnswer::Yes);
        typeSite();
        QCOMPARE(e.sites().size(), 3);
        QCOMPARE(name->text(), QString());
        QCOMPARE(dialogs->pendingAnswers(), 0);
    }

    void aFailedRewriteKeepsDistgenAndTheEditorOpen() {
        threeSites();
        const QByteArray before = testing::readBytes(distgen());
        ScriptedDialogsScope dialogs;
        basedist& e = openEditor();
        RecordFile::rewriteFailureForTests = [](int) { return true; };
        dialogs->answer(MsgAnswer::Ok);
        child<QAction>(e, "quitte")->trigger();
        QCoreApplication::processEvents();
        QCOMPARE(dialogs->messages().size(), 1);
        QVERIFY(dialogs->messages().at(0).text.contains(QStringLiteral("distgen")));
        QCOMPARE(testing::readBytes(distgen()), before);
        QVERIFY(windows().isLoaded<basedist>());
        QVERIFY(e.isVisible());
        QVERIFY(!windows().window<depart>().isVisible());
        RecordFile::rewriteFailureForTests = {};
    }

    void thePrintedListNumbersItsSites() {
        threeSites();
        ScriptedDialogsScope dialogs;
        basedist& e = openEditor();
        child<QAction>(e, "edit")->trigger();
        QCOMPARE((*m_printer)->documents().size(), 1);
        const QStringList lines = RecordingSurface::pageLines((*m_printer)->pages().at(0));
        QCOMPARE(lines.at(0).trimmed(), QStringLiteral("Liste des LIEUX de LACHER du FICHIER GENERAL"));
        QVERIFY(lines.contains(QStringLiteral("                             Latitudes   Longitudes")));
        QVERIFY(lines.contains(QStringLiteral("  1 ARRAS                        501730     24600         0")));
        QVERIFY(lines.contains(QStringLiteral("  2 ZUTKERQUE                    505200     22300         0")));

        dialogs->answer(MsgAnswer::Ok);
        child<QAction>(e, "aide")->trigger();
        QCOMPARE(dialogs->messages().last().text, siteEditorHelpText());
        QCOMPARE(siteEditorHelpText().split(u'\n').size(), 15);
    }

    // From site 1000 on the number takes four columns: no digit is cut.
    void thePrintedListKeepsEveryDigitOfTheSiteNumber() {
        QList<testing::SiteSpec> sites;
        for (int i = 1; i <= 1001; ++i)
            sites.append({QStringLiteral("SITE %1").arg(i, 4, 10, QLatin1Char('0')), 501730,
                          24600, 0});
        writeSites(sites);
        basedist& e = openEditor();
        child<QAction>(e, "edit")->trigger();
        QString listed; // every printed line, each after a line feed
        for (const RecordedPage& page : (*m_printer)->pages())
            listed += u'\n' + RecordingSurface::pageLines(page).join(u'\n');
        for (const char* start : {"  1 SITE 0001 ", " 99 SITE 0099 ", "999 SITE 0999 ",
                                  "1000 SITE 1000 ", "1001 SITE 1001 "})
            QVERIFY2(listed.contains(u'\n' + QLatin1String(start)), start);
    }

    void aboutBoxTakesTheSplashLogoAndClosesTheStartUpWindows() {
        ScriptedDialogsScope dialogs;
        depart& w = windows().show<depart>();
        child<QAction>(w, "vers")->trigger();
        frmAbout& about = windows().window<frmAbout>();
        QVERIFY(about.isVisible());
        QVERIFY(!windows().isLoaded<frmSplash>());
        QVERIFY(!windows().isLoaded<plein>());
        QCOMPARE(about.windowTitle(), QStringLiteral("À propos de TARVIO"));
        QCOMPARE(text(about, "lblTitle"), QStringLiteral("TARVIO"));
        QCOMPARE(text(about, "lblVersion"), QStringLiteral("Version 1.0.0"));
        QCOMPARE(text(about, "lblDisclaimer"),
                 QStringLiteral("Avertissement : ce logiciel ne peut être utilisé que sous la "
                                "responsabilité de Son utilisateur"));
        QVERIFY(text(about, "lblDescription").contains(QStringLiteral("22 octobre 2003")));
        QVERIFY(!child<QLabel>(about, "Image1")->pixmap().isNull());
        QCOMPARE(distgen(), QDir(m_club->startDir()).filePath(QStringLiteral("distgen")));
        // Without the system-information keys the box says so.
        QTemporaryDir keys;
        setLocalMachineSettingsFile(QDir(keys.path()).filePath(QStringLiteral("machine.ini")));
        dialogs->answer(MsgAnswer::Ok);
        QTest::mouseClick(child<QPushButton>(about, "cmdSysInfo"), Qt::LeftButton);
        setLocalMachineSettingsFile(QString());
        QCOMPARE(dialogs->messages().size(), 1);
        QCOMPARE(dialogs->messages().at(0).text, systemInformationUnavailableText());
        QTest::mouseClick(child<QPushButton>(about, "cmdOK"), Qt::LeftButton);
        QTRY_VERIFY(!windows().isLoaded<frmAbout>());
        QVERIFY(w.isVisible());
        child<QAction>(w, "vers")->trigger();
        windows().window<frmAbout>().close(); // the close box does what OK does
        QVERIFY(!windows().isLoaded<frmAbout>());
    }

private:
    static const CalculatorModel& model(depart& w) { return w.model(); }
};

QTEST_MAIN(TarvioWindows)
#include "tarvio_windows_wtest.moc"
