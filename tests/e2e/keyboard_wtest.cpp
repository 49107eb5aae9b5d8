// Vorel driven by the keyboard alone: Enter on a line does what its double-click does (the
// race chooser, the recap window, the fanciers list, the general site editor), the
// start-up window goes on with Tab, Enter, Space or Esc, and Esc closes the About box and
// the help.
#include "entries/jeuamat_window.h"
#include "entries/recapam_window.h"
#include "fanciers/adresse_window.h"
#include "fanciers/basedist_window.h"
#include "fanciers/fancier_list.h"
#include "fanciers/gnoms_window.h"
#include "shell/about_window.h"
#include "shell/calend_window.h"
#include "shell/choiconc_window.h"
#include "shell/depart_window.h"
#include "shell/plein_window.h"
#include "shell/splash_window.h"

#include "common/session.h"
#include "platform/clock.h"
#include "platform/help.h"
#include "platform/help_window.h"
#include "platform/scripted_dialogs.h"
#include "platform/window_registry.h"
#include "tests/entries/entry_test_support.h"
#include "tests/support/club_fixture.h"
#include "tests/support/pending_events.h"
#include "tests/support/window_child.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

using namespace vt;
using namespace vt::testing;

Q_DECLARE_METATYPE(Qt::Key)

namespace {

// Makes `row` the current line of the list, as the arrows do, and presses `key` on it.
void pressOnLine(QListWidget* list, int row, Qt::Key key) {
    list->setFocus();
    list->setCurrentRow(row);
    QTest::keyClick(list, key);
    processPending();
}

} // namespace

class KeyboardTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ClubFixture> club;
    std::unique_ptr<ScriptedDialogsScope> dialogs;

private slots:
    void init() {
        setClockForTests([] { return QDateTime(QDate(2005, 5, 10), QTime(9, 0)); });
        club = std::make_unique<ClubFixture>(2005);
        club->writeSmallClub(); // three fanciers; calendar: 1 ORLEANS, 2 BORDEAUX
        club->configureSession();
        dialogs = std::make_unique<ScriptedDialogsScope>();
    }
    void cleanup() {
        windows().unloadAll();
        processPending();
        QCOMPARE((*dialogs)->pendingAnswers(), 0);
        dialogs.reset();
        club.reset();
        setClockForTests({});
    }

    // Enter and the keypad's Enter on an offered race choose it; on a chosen race they
    // give it back, as the double-clicks do.
    void enterChoosesAndGivesBackARace_data() {
        QTest::addColumn<Qt::Key>("key");
        QTest::newRow("Enter") << Qt::Key_Return;
        QTest::newRow("keypad Enter") << Qt::Key_Enter;
    }
    void enterChoosesAndGivesBackARace() {
        QFETCH(Qt::Key, key);
        club->writeStakeSheet(0, QStringLiteral("COMPTES"),
                              {{QStringLiteral("TOTAL du"), QStringLiteral("jeu"), 0}});
        club->writeStakeSheet(1, QStringLiteral("JEU A"),
                              {{QStringLiteral("Simple"), QStringLiteral("simp"), 0.5f}});
        session().ListMode = 2;
        session().SubMode = 2;
        windows().window<calend>().chooseCalendar(1);
        QVERIFY(windows().isLoaded<choiconc>());
        choiconc& chooser = windows().window<choiconc>();
        auto* offered = child<QListWidget>(chooser, "List2");
        auto* chosen = child<QListWidget>(chooser, "List3");
        QCOMPARE(offered->count(), 2);
        pressOnLine(offered, 1, key);
        QCOMPARE(chosen->count(), 1);
        QVERIFY(chosen->item(0)->text().endsWith(QStringLiteral(".102")));
        pressOnLine(chosen, 0, key);
        QCOMPARE(chosen->count(), 0);
    }

    // The fancier's entry sheet from the recap window; his address editor from the
    // fanciers list.
    void enterOpensTheFancierOfTheLine() {
        windows().show<depart>();
        processPending();
        writeRaceFiles(club->yearFolder(), {101, "ORLEANS", 475413, 15435, 0, SimpleSheet, 3});
        ClubFixture::chooseRaces(session(), {101});
        recapam& recap = windows().show<recapam>();
        QVERIFY(recap.list()->count() >= 2);
        const int wanted = recap.recordNoAt(1);
        pressOnLine(recap.list(), 1, Qt::Key_Return);
        QVERIFY(windows().isLoaded<jeuamat>());
        QCOMPARE(windows().window<jeuamat>().recordNo(), wanted);
        windows().unloadAll();
        processPending();

        gnoms& list = windows().show<gnoms>();
        auto* lines = child<QListWidget>(list, "List1");
        QVERIFY(lines->count() >= 2);
        const int fancier = recordNoOfLine(lines->item(1)->text());
        pressOnLine(lines, 1, Qt::Key_Return);
        QVERIFY(windows().isLoaded<adresse>());
        QVERIFY(windows().window<adresse>().isVisible());
        QCOMPARE(session().CurrentFancierNo, fancier);
    }

    // The general site editor's list: Enter on a site opens it for editing.
    void enterPicksASiteInTheGeneralEditor() {
        basedist& editor = windows().show<basedist>();
        QTest::keyClick(child<QPushButton>(editor, "Command3"), Qt::Key_Space);
        auto* sites = child<QListWidget>(editor, "List1");
        QVERIFY(sites->isVisible());
        QVERIFY(sites->count() >= 2);
        const QString name = sites->item(1)->text().left(25).trimmed();
        pressOnLine(sites, 1, Qt::Key_Return);
        QVERIFY(!sites->isVisible());
        QCOMPARE(child<QLineEdit>(editor, "Text6")->text().trimmed(), name);
    }

    // "SUITE" has the focus as the start-up window opens, Tab keeps it there, and each of
    // these keys opens the main window and closes both start-up windows.
    void theStartUpWindowGoesOnFromTheKeyboard_data() {
        QTest::addColumn<Qt::Key>("key");
        QTest::newRow("Enter") << Qt::Key_Return;
        QTest::newRow("keypad Enter") << Qt::Key_Enter;
        QTest::newRow("Space") << Qt::Key_Space;
        QTest::newRow("Esc") << Qt::Key_Escape;
    }
    void theStartUpWindowGoesOnFromTheKeyboard() {
        QFETCH(Qt::Key, key);
        QVERIFY(startVorel(club->startDir()));
        frmSplash& splash = windows().window<frmSplash>();
        QVERIFY(splash.isVisible());
        splash.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&splash));
        auto* suite = child<QWidget>(splash, "Label1");
        QCOMPARE(QApplication::focusWidget(), suite);
        QTest::keyClick(&splash, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), suite);
        QTest::keyClick(QApplication::focusWidget(), key);
        processPending();
        QVERIFY(windows().isLoaded<depart>());
        QVERIFY(!windows().isLoaded<frmSplash>());
        QVERIFY(!windows().isLoaded<plein>());
    }

    void escClosesTheAboutBoxAndTheHelp() {
        frmAbout& about = windows().show<frmAbout>();
        QVERIFY(QTest::qWaitForWindowActive(&about));
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &about,
                        Qt::Key_Escape);
        processPending();
        QVERIFY(!windows().isLoaded<frmAbout>());

        showHelp(2);
        HelpWindow* help = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* h = qobject_cast<HelpWindow*>(w))
                help = h;
        QVERIFY(help && help->isVisible());
        help->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(help));
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : help,
                        Qt::Key_Escape);
        QVERIFY(!help->isVisible());
    }
};

QTEST_MAIN(KeyboardTest)
#include "keyboard_wtest.moc"
