// An entry sheet holding typed work when something replaces it or changes its races under
// it: another fancier opened from the recap window, the race set up again in the race
// chooser, the race choice left with no race, the race withdrawn in the calendar editor,
// a year change and the program's end. Each asks first (save, don't save, cancel); after
// the change no window shows or saves the old race state. Everything goes through the
// windows' own menus, buttons and keys.
#include "common/record_file.h"
#include "common/session.h"
#include "entries/jeuamat_window.h"
#include "entries/recapam_window.h"
#include "entry_test_support.h"
#include "recap_list_clicks.h"
#include "platform/clock.h"
#include "platform/scripted_dialogs.h"
#include "platform/window_registry.h"
#include "shell/calend_window.h"
#include "shell/chdate_window.h"
#include "shell/choiconc_window.h"
#include "shell/depart_window.h"
#include "shell/program.h"
#include "tests/support/club_fixture.h"
#include "tests/support/window_test_end.h"
#include "tests/support/window_child.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QtTest>

using namespace vt;
using namespace vt::testing;

class TypedWorkTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ClubFixture> fx;
    std::unique_ptr<ScriptedDialogsScope> dialogs;
    bool ended = false;

    ScriptedDialogs& script() { return **dialogs; }
    depart& main() { return windows().window<depart>(); }
    recapam& recap() { return windows().show<recapam>(); }
    jeuamat& sheet() { return windows().window<jeuamat>(); }
    void doubleClickFancier(int recordNo) {
        testing::doubleClickFancier(recap(), recordNo);
        processPending();
    }
    // The fancier's sheet opened from the recap window, the town changed and 7 typed on
    // ENGAGES without Enter: typed work that nothing has stored.
    jeuamat& typeIntoSheetOf(int recordNo) {
        doubleClickFancier(recordNo);
        jeuamat& s = sheet();
        QLineEdit* town = child<QLineEdit>(s, "Texte4");
        town->setFocus();
        town->selectAll();
        QTest::keyClicks(town, QStringLiteral("WATTRELOS"));
        QTableWidget* g = s.grid(s.currentTab());
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {},
                          g->visualRect(g->model()->index(1, 2)).center());
        QTest::keyClicks(g, QStringLiteral("7"));
        return s;
    }
    FancierRecord stored(int recordNo) const {
        return RecordFileOf<FancierRecord>(fx->yearPath("noms.vba")).read(recordNo);
    }
    float storedEntries(int code, int recordNo) const {
        return RecordFileOf<StakeAmountBlock>(misePath(fx->yearFolder(), code))
            .read(recordNo)
            .stakeCount(0);
    }
    // "Choisir les CONCOURS", then the club's calendar.
    choiconc& openRaceChooser() {
        child<QAction>(main(), "chconc")->trigger();
        processPending();
        windows().window<calend>().chooseCalendar(1);
        processPending();
        return windows().window<choiconc>();
    }
    MessageRequest lastQuestion() { return script().messages().last(); }

private slots:
    void init() {
        setClockForTests([] { return QDateTime(QDate(2005, 5, 10), QTime(9, 0)); });
        ended = false;
        setEndProgramForTests([this] { ended = true; });
        fx = std::make_unique<ClubFixture>(2005);
        fx->writeSmallClub(); // three fanciers; calendar: 1 ORLEANS, 2 BORDEAUX
        fx->writeStakeSheet(0, QStringLiteral("COMPTES"),
                            {{QStringLiteral("TOTAL du"), QStringLiteral("jeu"), 0}});
        fx->writeStakeSheet(1, QStringLiteral("JEU A"),
                            {{QStringLiteral("Mise"), QStringLiteral("Mise"), 1.0f}});
        fx->configureSession();
        dialogs = std::make_unique<ScriptedDialogsScope>();
        windows().show<depart>();
        processPending();
        chooseOrleansAndBordeaux(fx->yearFolder(), session());
        main().setRaceMenusVisible(true);
    }
    void cleanup() { endWindowTest(dialogs, fx); }

    // A double-click on another fancier, or "Nouvel Amateur", while the open sheet holds
    // typed work: Annuler keeps the sheet with its typing, Non drops it, Oui stores it;
    // then the other sheet opens.
    void anotherFancierAsksBeforeTheSheetIsReplaced_data() {
        QTest::addColumn<bool>("newFancier");
        QTest::addColumn<MsgAnswer>("answer");
        QTest::newRow("double-click, Annuler") << false << MsgAnswer::Cancel;
        QTest::newRow("double-click, Non") << false << MsgAnswer::No;
        QTest::newRow("double-click, Oui") << false << MsgAnswer::Yes;
        QTest::newRow("Nouvel Amateur, Annuler") << true << MsgAnswer::Cancel;
        QTest::newRow("Nouvel Amateur, Oui") << true << MsgAnswer::Yes;
    }
    void anotherFancierAsksBeforeTheSheetIsReplaced() {
        QFETCH(bool, newFancier);
        QFETCH(MsgAnswer, answer);
        jeuamat* first = &typeIntoSheetOf(1);
        script().answer(answer);
        if (newFancier)
            child<QAction>(recap(), "nouv")->trigger();
        else
            doubleClickFancier(2);
        processPending();
        QCOMPARE(script().messages().size(), 1);
        const MessageRequest q = lastQuestion();
        QCOMPARE(q.text, QStringLiteral("Les engagements de DUPONT Jean ne sont pas enregistrés.\n"
                                        "Voulez-vous les enregistrer ?"));
        QCOMPARE(q.buttons, MsgButtons::YesNoCancel);
        QCOMPARE(q.defaultButton, MsgAnswer::Yes);
        QVERIFY(windows().isLoaded<jeuamat>());
        if (answer == MsgAnswer::Cancel) {
            QCOMPARE(&sheet(), first);
            QCOMPARE(sheet().recordNo(), 1);
            QCOMPARE(child<QLineEdit>(sheet(), "Texte4")->text(), QStringLiteral("WATTRELOS"));
        } else {
            QCOMPARE(sheet().recordNo(), newFancier ? 4 : 2);
        }
        const bool saved = answer == MsgAnswer::Yes;
        QCOMPARE(stored(1).town().trimmed(),
                 saved ? QStringLiteral("WATTRELOS") : QStringLiteral("LILLE"));
        QCOMPARE(storedEntries(101, 1), saved ? 7.0f : 0.0f);
    }

    // The race chooser sets up again a race the open sheet shows: the sheet is asked first
    // and Annuler leaves the race files as they were; after a set-up the sheet is closed,
    // so that its "Enregistrer" never writes the old grid over the new layout.
    void settingUpAChosenRaceAgainSettlesTheSheetFirst() {
        typeIntoSheetOf(1);
        const QByteArray base = readBytes(fx->yearPath("bases.101"));
        choiconc& chooser = openRaceChooser();
        QListWidget* offered = child<QListWidget>(chooser, "List2");
        QVERIFY(offered->item(0)->text().contains(QStringLiteral("ORLEANS")));

        script().answer(MsgAnswer::Cancel);
        clickRow(offered, 0, true);
        processPending();
        QCOMPARE(script().messages().size(), 1);
        QVERIFY(lastQuestion().text.startsWith(QStringLiteral("Les engagements de DUPONT Jean")));
        QCOMPARE(readBytes(fx->yearPath("bases.101")), base);
        QVERIFY(chooser.chosenLines().isEmpty());
        QVERIFY(windows().isLoaded<jeuamat>());

        script().answer(MsgAnswer::No);
        clickRow(offered, 0, true);
        processPending();
        QCOMPARE(script().messages().size(), 2);
        QCOMPARE(chooser.chosenLines().size(), 1);
        QVERIFY(!windows().isLoaded<jeuamat>());
        QCOMPARE(storedEntries(101, 1), 0.0f);
    }

    // "Quitter" of the race choice with no race chosen: the race menus go and so does the
    // recap window, which would print the old races' totals.
    void leavingTheRaceChoiceWithNoRaceClosesTheRecapWindow() {
        recap();
        QVERIFY(windows().window<recapam>().isVisible());
        choiconc& chooser = openRaceChooser();
        child<QAction>(chooser, "menu")->trigger();
        processPending();
        QVERIFY(session().chosenRaces().isEmpty());
        QVERIFY(!main().raceMenusVisible());
        QVERIFY(!windows().isLoaded<recapam>());
        QVERIFY(script().asked().isEmpty());
    }

    // A chosen race withdrawn with Oui in the calendar editor leaves the chosen races: the
    // sheet holding typed work is asked first and closed afterwards, the recap window
    // reloads, and "Mémoriser la Récap" makes no files for the race withdrawn.
    void aWithdrawnRaceLeavesTheChosenRaces() {
        typeIntoSheetOf(1);
        child<QAction>(main(), "cal")->trigger();
        processPending();
        windows().window<calend>().chooseCalendar(1);
        processPending();
        chdate& editor = windows().window<chdate>();
        QListWidget* races = child<QListWidget>(editor, "List1");
        QVERIFY(races->item(0)->text().startsWith(QStringLiteral("001 ORLEANS")));
        clickRow(races, 0);

        // Annuler on the sheet's question stops the withdrawal: nothing changes.
        const QByteArray calendar = readBytes(fx->yearPath("gr1.cal"));
        script().answer(MsgAnswer::Yes).answer(MsgAnswer::Cancel);
        QTest::mouseClick(child<QPushButton>(editor, "Command3"), Qt::LeftButton);
        processPending();
        QCOMPARE(script().messages().size(), 2);
        QVERIFY(script().messages()[0].text.startsWith(QStringLiteral("Suppression du concours")));
        QVERIFY(lastQuestion().text.startsWith(QStringLiteral("Les engagements de DUPONT Jean")));
        QCOMPARE(readBytes(fx->yearPath("gr1.cal")), calendar);
        QVERIFY(QFile::exists(fx->yearPath("bases.101")));
        QCOMPARE(session().chosenRaces(), (QList<int>{101, 102}));
        QVERIFY(windows().isLoaded<jeuamat>());

        // Oui, then Non: the typing is dropped, the race goes.
        script().answer(MsgAnswer::Yes).answer(MsgAnswer::No);
        QTest::mouseClick(child<QPushButton>(editor, "Command3"), Qt::LeftButton);
        processPending();
        QCOMPARE(script().messages().size(), 4);
        QVERIFY(!QFile::exists(fx->yearPath("bases.101")));
        QCOMPARE(session().chosenRaces(), QList<int>{102});
        QCOMPARE(session().ChosenRaceStakeFiles[1], QStringLiteral("gr1jeu.102"));
        QVERIFY(!windows().isLoaded<jeuamat>());
        QVERIFY(main().raceMenusVisible());

        script().answer(MsgAnswer::Yes); // "ETES VOUS SUR DE VOULOIR MEMORISER"
        child<QAction>(recap(), "memo")->trigger();
        processPending();
        QCOMPARE(script().messages().size(), 5);
        QVERIFY(QDir(fx->yearFolder())
                    .entryList({QStringLiteral("*.101")}, QDir::Files)
                    .isEmpty());
        // A sheet opened now shows the race left, and only it.
        doubleClickFancier(1);
        QCOMPARE(sheet().grids().count(), 1);
        QCOMPARE(sheet().grids().raceCode(1), 102);
    }

    // A year change or the program's end with typed work in the sheet: Annuler keeps the
    // season, or the program, and the sheet as they are; Oui stores the work first.
    void aYearChangeOrTheEndAsksFirst_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("menu Quitter") << QStringLiteral("quitte");
        QTest::newRow("QUITTER label") << QStringLiteral("Label2");
        QTest::newRow("close box") << QStringLiteral("close");
        QTest::newRow("year change") << QStringLiteral("year");
    }
    void aYearChangeOrTheEndAsksFirst() {
        QFETCH(QString, how);
        const auto change = [&] {
            if (how == QStringLiteral("quitte")) {
                child<QAction>(main(), "quitte")->trigger();
            } else if (how == QStringLiteral("Label2")) {
                QTest::mouseClick(child<QWidget>(main(), "Label2"), Qt::LeftButton);
            } else if (how == QStringLiteral("close")) {
                main().close();
            } else {
                main().startYearEntry();
                QLineEdit* year = child<QLineEdit>(main(), "Text1");
                year->clear();
                QTest::keyClicks(year, QStringLiteral("06"));
                QTest::keyClick(year, Qt::Key_Return);
            }
            processPending();
        };
        const bool yearChange = how == QStringLiteral("year");
        typeIntoSheetOf(1);
        script().answer(MsgAnswer::Cancel);
        change();
        QCOMPARE(script().messages().size(), 1);
        QVERIFY(lastQuestion().text.startsWith(QStringLiteral("Les engagements de DUPONT Jean")));
        QVERIFY(!ended);
        QCOMPARE(session().SeasonYear, 2005);
        QVERIFY(windows().isLoaded<jeuamat>());
        QCOMPARE(stored(1).town().trimmed(), QStringLiteral("LILLE"));

        script().answer(MsgAnswer::Yes);
        change();
        QCOMPARE(script().messages().size(), 2);
        QCOMPARE(ended, !yearChange);
        QCOMPARE(session().SeasonYear, yearChange ? 2006 : 2005);
        QVERIFY(!windows().isLoaded<jeuamat>());
        QCOMPARE(stored(1).town().trimmed(), QStringLiteral("WATTRELOS"));
    }

    // A sheet opened and left untouched asks nothing: the program simply ends.
    void anUntouchedSheetAsksNothing() {
        doubleClickFancier(1);
        QVERIFY(windows().isLoaded<jeuamat>());
        child<QAction>(main(), "quitte")->trigger();
        processPending();
        QVERIFY(ended);
        QVERIFY(script().asked().isEmpty());
    }
};

QTEST_MAIN(TypedWorkTest)
#include "typed_work_wtest.moc"
