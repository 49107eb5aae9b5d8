// The recap window and the entry sheet driven as a user drives them: double-click, keys
// typed into the race grids, tabs, "Enregistrer", and the files they leave.
#include "common/record_file.h"
#include "common/session.h"
#include "entries/jeuamat_window.h"
#include "entries/recapam_window.h"
#include "entry_test_support.h"
#include "fanciers/adresse_window.h"
#include "fanciers/gnoms_window.h"
#include "platform/clock.h"
#include "platform/help.h"
#include "platform/scripted_dialogs.h"
#include "platform/window_registry.h"
#include "recap_list_clicks.h"
#include "tests/support/club_fixture.h"
#include "tests/support/window_child.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTableWidget>
#include <QtTest>

#include <algorithm>

using namespace vt;
using namespace vt::testing;

class BasketingTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ClubFixture> fx;
    std::unique_ptr<ScriptedDialogsScope> dialogs;

    recapam& recap() { return windows().show<recapam>(); }
    jeuamat& openSheetOf(int recordNo) { return doubleClickFancier(recap(), recordNo); }
    // Puts the cursor on a row of the open grid and types the keys there.
    void typeOnRow(jeuamat& sheet, int row, const char* keys) {
        QTableWidget* g = sheet.grid(sheet.currentTab());
        g->setCurrentCell(row, 2);
        for (const char* p = keys; *p; ++p) {
            if (*p == '\r')
                QTest::keyClick(g, Qt::Key_Return);
            else
                QTest::keyClick(g, *p);
        }
    }
    QString nombre(jeuamat& sheet, int tab, int row) {
        return sheet.grid(tab)->item(row, 2)->text();
    }
    QList<QByteArray> allFiles() {
        return {readBytes(fx->yearPath("noms.vba")), readBytes(fx->path("noms.vba")),
                readBytes(misePath(fx->yearFolder(), 105)),
                readBytes(misePath(fx->yearFolder(), 212))};
    }

private slots:
    void init() {
        fx = std::make_unique<ClubFixture>();
        fx->writeSmallClub();
        Session& s = fx->configureSession();
        s.ChosenRaceCodes = {};
        s.ChosenRaceCodes[1] = 105;
        s.ChosenRaceCodes[2] = 212;
        writeRaceFiles(fx->yearFolder(), {105, "Brive", 451000, 13000, 0, ExampleSheet, 3});
        writeRaceFiles(fx->yearFolder(), {212, "Tours", 472338, 4122, 0, SimpleSheet, 3});
        setClockForTests([] { return QDateTime(QDate(2005, 5, 10), QTime(9, 0)); });
        dialogs = std::make_unique<ScriptedDialogsScope>();
    }
    void cleanup() {
        windows().unloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE((**dialogs).pendingAnswers(), 0);
        dialogs.reset();
        setClockForTests({});
        entrySheetLinks() = {};
        fx.reset();
    }

    void recapWindowListsWithoutBlankingAName() {
        RecordFileOf<FancierRecord> file(fx->yearPath("noms.vba"));
        FancierRecord r3 = file.read(3);
        r3.setFancierName(QStringLiteral("Émile LEROY"));
        file.write(3, r3);
        recapam& r = recap();
        QCOMPARE(r.windowTitle(), QStringLiteral("CHOIX DES AMATEURS"));
        QCOMPARE(r.lines(),
                 QStringList({QStringLiteral("DUPONT Jean                1 LES AILES LILLOISE"),
                              QStringLiteral("MARTIN Paul                2 LES AILES LILLOISE")}));
        QCOMPARE(file.read(3).fancierName().trimmed(), QStringLiteral("Émile LEROY"));
        for (const char* name : {"memo", "lister", "listmts", "listdet"})
            QVERIFY(child<QAction>(r, name)->isEnabled());
        QVERIFY(!child<QAction>(r, "eff")->isVisible());
        child<QAction>(r, "aide")->trigger();
        QCOMPARE(lastHelpTopic(), 2);
        QVERIFY(r.clockPanelText().contains(QStringLiteral(" il est ")));
    }

    void visuelShowsEachChosenRaceInTurnAndEffacerHidesTheGrid() {
        for (int code : {105, 212}) {
            StakeAmountBlock b;
            for (int k = 0; k <= StakeAmountBlock::MaxLine; ++k)
                b.setStakeCount(k, 3);
            RecordFileOf<StakeAmountBlock>(misePath(fx->yearFolder(), code)).write(1, b);
        }
        recapam& r = recap();
        QVERIFY(child<QAction>(r, "ecran")->isEnabled());
        child<QAction>(r, "ecran")->trigger();
        const QString first = r.windowTitle();
        QVERIFY(r.grid()->isVisible());
        QVERIFY(child<QAction>(r, "eff")->isVisible());
        QVERIFY(!child<QAction>(r, "quitte")->isVisible());
        QCOMPARE(r.grid()->horizontalHeaderItem(0)->text(), QStringLiteral("Amateurs          "));
        QCOMPARE(r.grid()->rowCount(), 2); // DUPONT Jean and the empty row below him
        QCOMPARE(r.grid()->item(0, 0)->text().trimmed(), QStringLiteral("DUPONT Jean"));
        QCOMPARE(r.grid()->item(0, 1)->text(), QStringLiteral("3"));
        child<QAction>(r, "ecran")->trigger();
        const QString second = r.windowTitle();
        QVERIFY(second != first);
        QVERIFY(first.startsWith(QStringLiteral("BRIVE")) || first.startsWith(QStringLiteral("TOURS")));
        child<QAction>(r, "ecran")->trigger();
        QCOMPARE(r.windowTitle(), first);
        child<QAction>(r, "eff")->trigger();
        QVERIFY(!r.grid()->isVisible());
        QVERIFY(child<QAction>(r, "quitte")->isVisible());
        QCOMPARE(r.windowTitle(), QStringLiteral("CHOIX des AMATEURS"));
    }

    void aSavedEntryByteForByteWithItsRecapLine() {
        int mainQuitEnabled = 0;
        entrySheetLinks().enableMainQuit = [&] { ++mainQuitEnabled; };
        jeuamat& sheet = openSheetOf(2);
        QCOMPARE(sheet.recordNo(), 2);
        QCOMPARE(child<QLineEdit>(sheet, "Text1")->text(), QStringLiteral("MARTIN Paul"));
        QVERIFY(child<QLabel>(sheet, "Label8")->text().startsWith(QStringLiteral(" Distance =  ")));

        // The fees, rings and deduction example typed through the grid.
        typeOnRow(sheet, 1, "10\r");
        typeOnRow(sheet, 2, "10\r");
        typeOnRow(sheet, 3, "6\r");
        typeOnRow(sheet, 6, "2\r");
        QStringList shown;
        for (int row = 1; row <= 11; ++row)
            shown << nombre(sheet, 1, row);
        QCOMPARE(shown, QStringList({"10", "10", "6", "22,00", "10", "2", "26,00", "   2,00",
                                     "2,20", "4,20", "21,80"}));
        QCOMPARE(child<QLabel>(sheet, "Label9_1")->text(),
                 QStringLiteral("BRIVE VIEUX GENERAL = 26,00"));

        // "+" opens race 2, where 3 is typed on Mise after 4 pigeons entered.
        QTest::keyClick(sheet.grid(1), '+');
        QCOMPARE(sheet.currentTab(), 2);
        typeOnRow(sheet, 1, "4\r");
        typeOnRow(sheet, 2, "3"); // still pending: the save commits it
        QTest::mouseClick(child<QPushButton>(sheet, "Command1"), Qt::LeftButton);

        QVERIFY(!windows().isLoaded<jeuamat>());
        QCOMPARE(mainQuitEnabled, 0); // only leaving without saving hands "Quitter" back
        const QByteArray mise = readBytes(misePath(fx->yearFolder(), 105)).mid(404, 44);
        QCOMPARE(mise.toHex(' '),
                 QByteArray("00 00 20 41 00 00 20 41 00 00 c0 40 00 00 b0 41 00 00 20 41 00 00 "
                            "00 40 00 00 d0 41 00 00 00 40 00 00 00 40 00 00 80 40 00 00 a8 41"));
        const FancierRecord saved = RecordFileOf<FancierRecord>(fx->yearPath("noms.vba")).read(2);
        QCOMPARE(saved.raceAmount(105), 26000);
        QCOMPARE(saved.raceAmount(212), 3000);
        QCOMPARE(saved.lastSaveYear(), QStringLiteral(" 2005"));
        QCOMPARE(recap().lines().at(2),
                 QStringLiteral("MARTIN Paul                2 LES AILES LILLOISE   29,000"));
    }

    void eachRaceIsCappedByItsOwnPigeons() {
        RecordFileOf<StakeAmountBlock>(misePath(fx->yearFolder(), 105)).write(1, stakeBlock({10}));
        RecordFileOf<StakeAmountBlock>(misePath(fx->yearFolder(), 212)).write(1, stakeBlock({3}));
        jeuamat& sheet = openSheetOf(1);
        const QString distance1 = child<QLabel>(sheet, "Label8")->text();
        typeOnRow(sheet, 2, "8\r");
        QCOMPARE(nombre(sheet, 1, 2), QStringLiteral("8"));
        QTest::mouseClick(child<QLabel>(sheet, "Label9_2"), Qt::LeftButton);
        QCOMPARE(sheet.currentTab(), 2);
        QCOMPARE(child<QTabBar>(sheet, "Strip")->currentIndex(), 1);
        QVERIFY(child<QLabel>(sheet, "Label8")->text() != distance1);
        QCOMPARE(child<QLabel>(sheet, "Label10")->text(), QStringLiteral("TOURS VIEUX GENERAL "));
        typeOnRow(sheet, 2, "8\r");
        QCOMPARE(nombre(sheet, 2, 2), QStringLiteral("3"));
        child<QTabBar>(sheet, "Strip")->setCurrentIndex(0);
        QCOMPARE(sheet.currentTab(), 1);
        QCOMPARE(nombre(sheet, 1, 2), QStringLiteral("8"));
        // Esc sets "0".
        typeOnRow(sheet, 2, "");
        QTest::keyClick(sheet.grid(1), Qt::Key_Escape);
        QCOMPARE(nombre(sheet, 1, 2), QStringLiteral("0"));
    }

    void aFileThatCannotBeWrittenKeepsTheSheetOpen() {
        jeuamat& sheet = openSheetOf(1);
        typeOnRow(sheet, 1, "5\r");
        const QString mise212 = misePath(fx->yearFolder(), 212);
        makeUnwritable(mise212);
        const QList<QByteArray> before = allFiles();
        const QStringList lines = recap().lines();
        (**dialogs).answer(MsgAnswer::Ok);
        QTest::mouseClick(child<QPushButton>(sheet, "Command1"), Qt::LeftButton);
        QVERIFY(windows().isLoaded<jeuamat>());
        QVERIFY(sheet.isVisible());
        QVERIFY((**dialogs).messages().at(0).text.contains(QStringLiteral("mise.212")));
        QCOMPARE(allFiles(), before);
        QCOMPARE(recap().lines(), lines);
    }

    // A saved entry sheet takes the fancier's line out of the open fanciers list and puts
    // none back; the address editor's save puts it back, and so does the list's next load.
    void theOpenFanciersListLosesTheSavedFancier() {
        gnoms& fanciers = windows().show<gnoms>();
        const int listed = fanciers.lines().size();
        QVERIFY(fanciers.hasLine(1));
        jeuamat& sheet = openSheetOf(1);
        child<QLineEdit>(sheet, "Texte4")->setText(QStringLiteral("ARMENTIERES"));
        child<QAction>(sheet, "enreg")->trigger();
        QVERIFY(!windows().isLoaded<jeuamat>());
        QCOMPARE(fanciers.lines().size(), listed - 1);
        QVERIFY(!fanciers.hasLine(1));
        QVERIFY(fanciers.hasLine(2));

        session().CurrentFancierNo = 1; // as a double-click in the list sets it
        adresse& editor = windows().show<adresse>();
        QTest::mouseClick(child<QPushButton>(editor, "Commande1"), Qt::LeftButton);
        QCOMPARE(fanciers.lines().size(), listed);
        const QStringList lines = fanciers.lines();
        QVERIFY(std::any_of(lines.begin(), lines.end(), [](const QString& l) {
            return l.endsWith(QStringLiteral("    1")) && l.contains(QStringLiteral("ARMENTIERES"));
        }));

        // Without the address editor, the list's next load lists him again.
        openSheetOf(1);
        child<QAction>(windows().window<jeuamat>(), "enreg")->trigger();
        QVERIFY(!fanciers.hasLine(1));
        windows().unload<gnoms>();
        QVERIFY(windows().show<gnoms>().hasLine(1));
        QCOMPARE(windows().window<gnoms>().lines().size(), listed);
    }

    // A full 20-character address complement can be read whole in its box.
    void aFullComplementShowsWhole() {
        jeuamat& sheet = openSheetOf(1);
        QVERIFY(QTest::qWaitForWindowExposed(&sheet));
        QLineEdit* complement = child<QLineEdit>(sheet, "Texte3");
        QVERIFY(complement->width() >= complement->fontMetrics().horizontalAdvance(
                                           QStringLiteral("RESIDENCE DES IRIS 2")) +
                                           8);
    }

    // With no race chosen, Enter in the licence box gives the focus to "Enregistrer";
    // Enter there saves the sheet.
    void enterOnTheFocusedEnregistrerSaves() {
        session().ChosenRaceCodes = {};
        jeuamat& sheet = openSheetOf(1);
        sheet.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&sheet));
        QLineEdit* licence = child<QLineEdit>(sheet, "Texte1");
        licence->setFocus();
        licence->setText(QStringLiteral("7654321"));
        QTest::keyClick(licence, Qt::Key_Return);
        auto* save = child<QPushButton>(sheet, "Command1");
        QCOMPARE(QApplication::focusWidget(), save);
        QTest::keyClick(save, Qt::Key_Return);
        QVERIFY(!windows().isLoaded<jeuamat>());
        QCOMPARE(RecordFileOf<FancierRecord>(fx->yearPath("noms.vba")).read(1).licenceNumber(),
                 QStringLiteral("7654321"));
    }

    void aNewFancierTakesAFreeRecordAndHisLineItsPlace() {
        int mainQuitEnabled = 0;
        entrySheetLinks().enableMainQuit = [&] { ++mainQuitEnabled; };
        child<QAction>(recap(), "nouv")->trigger();
        jeuamat& sheet = windows().window<jeuamat>();
        QCOMPARE(sheet.recordNo(), 4);
        sheet.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&sheet));
        QLineEdit* name = child<QLineEdit>(sheet, "Text1");
        name->setFocus();
        name->setText(QStringLiteral("éric"));
        (**dialogs).answer(MsgAnswer::Ok);
        QTest::keyClick(name, Qt::Key_Return); // refused: the focus stays
        QCOMPARE(QApplication::focusWidget(), name);
        name->clear();
        QTest::keyClicks(name, QStringLiteral("BERNARD Luc"));
        QTest::keyClick(name, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(sheet, "Texte2"));
        child<QAction>(sheet, "enreg")->trigger();
        QVERIFY(!windows().isLoaded<jeuamat>());
        QCOMPARE(recap().lines().at(0),
                 QStringLiteral("BERNARD Luc                4 LES AILES LILLOISE") + QString(11, u' '));
        QCOMPARE(recap().recordNoAt(0), 4);

        // Leaving a sheet without saving hands the main window's "Quitter" back.
        jeuamat& again = openSheetOf(4);
        child<QLineEdit>(again, "Text1")->setText(QStringLiteral("CHANGED"));
        child<QAction>(again, "quitte")->trigger();
        QCOMPARE(mainQuitEnabled, 1);
        QCOMPARE(RecordFileOf<FancierRecord>(fx->path("noms.vba")).read(4).fancierName().trimmed(),
                 QStringLiteral("BERNARD Luc"));
    }
};

QTEST_MAIN(BasketingTest)
#include "basketing_wtest.moc"
