// The entry sheet's "Enregistrer" against what other windows did while it was open: its race
// withdrawn in the calendar editor, a new fancier claimed or saved by the address editor.
// Everything goes through the windows: the main menu, the calendar editor's ANNULER, the
// recap window's "Nouvel Amateur", the fanciers list's "Nouveau" and the buttons.
#include "common/record_file.h"
#include "common/session.h"
#include "entries/jeuamat_window.h"
#include "entries/recapam_window.h"
#include "entry_test_support.h"
#include "recap_list_clicks.h"
#include "fanciers/adresse_window.h"
#include "fanciers/gnoms_window.h"
#include "platform/clock.h"
#include "platform/scripted_dialogs.h"
#include "platform/window_registry.h"
#include "shell/calend_window.h"
#include "shell/chdate_window.h"
#include "shell/depart_window.h"
#include "tests/support/pending_events.h"
#include "tests/support/club_fixture.h"
#include "tests/support/window_test_end.h"
#include "tests/support/window_child.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QtTest>

using namespace vt;
using namespace vt::testing;

namespace {

// Clears a box and types the text, as the user does.
void typeIn(QWidget& window, const char* box, const QString& text) {
    QLineEdit* b = child<QLineEdit>(window, box);
    b->setFocus();
    b->selectAll();
    QTest::keyClick(b, Qt::Key_Delete);
    QTest::keyClicks(b, text);
}

QString nameAt(const QString& path, int recordNo) {
    return RecordFileOf<FancierRecord>(path).read(recordNo).fancierName().trimmed();
}

} // namespace

class EntrySaveWindowsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ClubFixture> fx;
    std::unique_ptr<ScriptedDialogsScope> dialogs;

    ScriptedDialogs& script() { return **dialogs; }
    QString season() const { return fx->yearPath("noms.vba"); }
    QString master() const { return fx->path("noms.vba"); }

    recapam& recap() { return windows().show<recapam>(); }
    jeuamat& sheet() { return windows().window<jeuamat>(); }
    jeuamat& openSheetOf(int recordNo) {
        recapam& r = recap();
        for (int i = 0; i < r.list()->count(); ++i)
            if (r.recordNoAt(i) == recordNo)
                clickRow(r.list(), i, true);
        [] { QVERIFY(windows().isLoaded<jeuamat>()); }();
        return sheet();
    }
    // "Nouvel Amateur" in the recap window.
    jeuamat& newFancierSheet() {
        child<QAction>(recap(), "nouv")->trigger();
        processPending();
        return sheet();
    }
    // "Nouveau" in the fanciers list.
    adresse& newFancierEditor() {
        child<QAction>(windows().show<gnoms>(), "nouv")->trigger();
        processPending();
        return windows().window<adresse>();
    }
    // A count typed into the NOMBRE cell of a row of the open race grid, then Enter.
    void typeCount(jeuamat& s, int row, const char* digits) {
        QTableWidget* g = s.grid(s.currentTab());
        const QRect r = g->visualRect(g->model()->index(row, 2));
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, r.center());
        QTest::keyClicks(g, QString::fromLatin1(digits));
        QTest::keyClick(g, Qt::Key_Return);
    }
    QList<QByteArray> fancierFiles() { return {readBytes(season()), readBytes(master())}; }

private slots:
    void init() {
        setClockForTests([] { return QDateTime(QDate(2005, 5, 10), QTime(9, 0)); });
        fx = std::make_unique<ClubFixture>(2005);
        fx->writeSmallClub(); // three fanciers; calendar: 1 ORLEANS, 2 BORDEAUX
        fx->configureSession();
        dialogs = std::make_unique<ScriptedDialogsScope>();
        windows().show<depart>();
        processPending();
        chooseOrleansAndBordeaux(fx->yearFolder(), session());
    }
    void cleanup() { endWindowTest(dialogs, fx); }

    // Race 1 withdrawn in the calendar editor while a fancier's sheet is open with entries
    // typed in it: the sheet asks first, and its Oui stores both races before the race
    // goes. The withdrawal then leaves nothing owed for that race (no mise.101 made again),
    // the other race stays stored, and the race leaves the chosen races.
    void aRaceWithdrawnMeanwhileSettlesTheSheetFirst() {
        jeuamat& s = openSheetOf(1);
        typeCount(s, 1, "10");                    // ENGAGES
        typeCount(s, 2, "10");                    // Mise at 1,00
        QTest::keyClick(s.grid(1), Qt::Key_Plus); // the next race
        QCOMPARE(s.currentTab(), 2);
        typeCount(s, 1, "4");
        typeCount(s, 2, "4");

        child<QAction>(windows().window<depart>(), "cal")->trigger();
        processPending();
        windows().window<calend>().chooseCalendar(1); // the club's calendar
        processPending();
        chdate& editor = windows().window<chdate>();
        QListWidget* races = child<QListWidget>(editor, "List1");
        QVERIFY(races->item(0)->text().startsWith(QStringLiteral("001 ORLEANS")));
        clickRow(races, 0);
        script().answer(MsgAnswer::Yes); // "Pour mettre à zéro les fichiers de ce concours"
        script().answer(MsgAnswer::Yes); // "Les engagements de DUPONT Jean ... enregistrer ?"
        QTest::mouseClick(child<QPushButton>(editor, "Command3"), Qt::LeftButton);
        processPending();
        QCOMPARE(script().messages().size(), 2);
        QVERIFY(script().messages().last().text.startsWith(
            QStringLiteral("Les engagements de DUPONT Jean")));
        QVERIFY(!windows().isLoaded<jeuamat>());
        QVERIFY(!QFile::exists(misePath(fx->yearFolder(), 101)));
        QVERIFY(!QFile::exists(fx->yearPath("bases.101")));

        const FancierRecord saved = RecordFileOf<FancierRecord>(season()).read(1);
        QCOMPARE(saved.raceAmount(101), 0);
        QCOMPARE(saved.raceAmount(102), 4000);
        const StakeAmountBlock b102 =
            RecordFileOf<StakeAmountBlock>(misePath(fx->yearFolder(), 102)).read(1);
        QCOMPARE(b102.stakeCount(0), 4.0f);
        QCOMPARE(b102.stakeCount(1), 4.0f);
        // The recap line charges the race that is left, 4,000, not 14,000.
        const QStringList lines = recap().lines();
        const auto line = std::find_if(lines.begin(), lines.end(), [](const QString& l) {
            return l.startsWith(QStringLiteral("DUPONT Jean"));
        });
        QVERIFY(line != lines.end());
        QVERIFY2(line->endsWith(QStringLiteral("    4,000")), qPrintable(*line));

        // A sheet opened after the withdrawal shows the race left, and only it.
        QCOMPARE(session().chosenRaces(), QList<int>{102});
        jeuamat& again = openSheetOf(1);
        QCOMPARE(again.grids().count(), 1);
        QCOMPARE(again.grids().raceCode(1), 102);
    }

    // The address editor and the entry sheet opened each on a new fancier, in either order,
    // and saved in either order: each claims a record of its own, and both fanciers are
    // stored in both files without a question.
    void twoNewFanciersOpenedTogetherGetTwoRecords_data() {
        QTest::addColumn<bool>("editorFirst");
        QTest::addColumn<bool>("editorSavedFirst");
        QTest::newRow("editor opened first, saved first") << true << true;
        QTest::newRow("editor opened first, saved last") << true << false;
        QTest::newRow("sheet opened first, saved first") << false << false;
        QTest::newRow("sheet opened first, saved last") << false << true;
    }
    void twoNewFanciersOpenedTogetherGetTwoRecords() {
        QFETCH(bool, editorFirst);
        QFETCH(bool, editorSavedFirst);
        adresse* editor = nullptr;
        jeuamat* entry = nullptr;
        if (editorFirst) {
            editor = &newFancierEditor();
            entry = &newFancierSheet();
        } else {
            entry = &newFancierSheet();
            editor = &newFancierEditor();
        }
        QCOMPARE(editorFirst ? editor->recordNo() : entry->recordNo(), 4);
        QCOMPARE(editorFirst ? entry->recordNo() : editor->recordNo(), 5);

        typeIn(*editor, "Text1", QStringLiteral("DURAND Luc"));
        typeIn(*editor, "Text3", QStringLiteral("503000"));
        typeIn(*entry, "Text1", QStringLiteral("LEROY Marc"));
        typeIn(*entry, "Text4", QStringLiteral("504000"));
        const int editorRecord = editor->recordNo(), entryRecord = entry->recordNo();
        auto saveEditor = [&] {
            QTest::mouseClick(child<QPushButton>(*editor, "Commande1"), Qt::LeftButton);
            processPending();
            QVERIFY(!windows().isLoaded<adresse>());
        };
        auto saveSheet = [&] {
            QTest::mouseClick(child<QPushButton>(*entry, "Command1"), Qt::LeftButton);
            processPending();
            QVERIFY(!windows().isLoaded<jeuamat>());
        };
        if (editorSavedFirst) {
            saveEditor();
            saveSheet();
        } else {
            saveSheet();
            saveEditor();
        }
        QCOMPARE(script().messages().size(), 0);
        for (const QString& file : {season(), master()}) {
            QCOMPARE(nameAt(file, editorRecord), QStringLiteral("DURAND Luc"));
            QCOMPARE(nameAt(file, entryRecord), QStringLiteral("LEROY Marc"));
            QCOMPARE(nameAt(file, 3), QStringLiteral("LEFEBVRE André"));
        }
        QCOMPARE(RecordFileOf<FancierRecord>(season()).read(editorRecord).latitudeDms(), 503000.0);
        QCOMPARE(RecordFileOf<FancierRecord>(season()).read(entryRecord).latitudeDms(), 504000.0);
    }

    // A record claimed for a new fancier is held while its window is open: the other window
    // opened on a new fancier meanwhile takes the next record. Once the window is left
    // unsaved, its record is free again and the next window on a new fancier takes it.
    void aClaimLeftUnsavedIsClaimedAgain() {
        QCOMPARE(newFancierSheet().recordNo(), 4);
        QCOMPARE(newFancierEditor().recordNo(), 5); // 4 is the open sheet's
        // "Nouvel Amateur" again closes the first sheet: its 4 goes to the new one, while
        // the editor keeps 5.
        QCOMPARE(newFancierSheet().recordNo(), 4);
        QCOMPARE(windows().window<adresse>().recordNo(), 5);

        auto quitEditor = [] {
            QTest::mouseClick(child<QPushButton>(windows().window<adresse>(), "Commande3"),
                              Qt::LeftButton); // QUITTER
            processPending();
            QVERIFY(!windows().isLoaded<adresse>());
        };
        quitEditor();
        QCOMPARE(newFancierEditor().recordNo(), 5); // the sheet still holds 4
        quitEditor();
        child<QAction>(sheet(), "quitte")->trigger();
        processPending();
        QVERIFY(!windows().isLoaded<jeuamat>());
        QCOMPARE(newFancierEditor().recordNo(), 4);
        QCOMPARE(newFancierSheet().recordNo(), 5); // 4 is the open editor's
        QCOMPARE(script().messages().size(), 0);
    }

    // Whatever wrote another fancier into the master record of an open window (a copy of the
    // files made elsewhere, for one), neither save writes over him without a Yes: on No
    // nothing is written and the window stays open.
    void aSaveOverAnotherFancierAsksFirst_data() {
        QTest::addColumn<bool>("fromEditor");
        QTest::newRow("entry sheet") << false;
        QTest::newRow("address editor") << true;
    }
    void aSaveOverAnotherFancierAsksFirst() {
        QFETCH(bool, fromEditor);
        QWidget* window = fromEditor ? static_cast<QWidget*>(&newFancierEditor())
                                     : static_cast<QWidget*>(&newFancierSheet());
        typeIn(*window, "Text1", QStringLiteral("LEROY Marc"));
        RecordFileOf<FancierRecord> file(master());
        FancierRecord other = fx->fancierRecord(namedFancier(QStringLiteral("MOREL Yves")));
        file.write(4, other);
        const QList<QByteArray> before = fancierFiles();

        script().answer(MsgAnswer::No);
        QTest::mouseClick(child<QPushButton>(*window, fromEditor ? "Commande1" : "Command1"),
                          Qt::LeftButton);
        processPending();
        const MessageRequest asked = script().messages().last();
        QCOMPARE(asked.text, QStringLiteral("La fiche n° 4 du fichier général contient « MOREL "
                                            "Yves ». La remplacer ?"));
        QCOMPARE(asked.buttons, MsgButtons::YesNo);
        QCOMPARE(asked.defaultButton, MsgAnswer::No);
        QCOMPARE(fancierFiles(), before);
        QVERIFY(window->isVisible());

        script().answer(MsgAnswer::Yes);
        QTest::mouseClick(child<QPushButton>(*window, fromEditor ? "Commande1" : "Command1"),
                          Qt::LeftButton);
        processPending();
        QCOMPARE(nameAt(master(), 4), QStringLiteral("LEROY Marc"));
        QCOMPARE(nameAt(season(), 4), QStringLiteral("LEROY Marc"));
    }
};

QTEST_MAIN(EntrySaveWindowsTest)
#include "entry_save_wtest.moc"
