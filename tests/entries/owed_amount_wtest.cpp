// What a fancier owes when the race's stake sheet is changed after his entry, driven through
// the windows: the race chooser's double-click and its questions, the recap list, the entry
// sheet's keys and "Enregistrer", then the race chosen again with another sheet of the same
// lines. The amount stored, the recap line, the detail per fancier and the club's recap
// sheet all say what his entry sheet says.
#include "common/record_file.h"
#include "common/session.h"
#include "entries/jeuamat_window.h"
#include "entries/recapam_window.h"
#include "platform/clock.h"
#include "platform/printing.h"
#include "platform/scripted_dialogs.h"
#include "platform/window_registry.h"
#include "shell/calend_window.h"
#include "shell/choiconc_window.h"
#include "shell/depart_window.h"
#include "tests/support/pending_events.h"
#include "tests/support/club_fixture.h"
#include "tests/support/window_child.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QtTest>

using namespace vt;
using namespace vt::testing;

namespace {

void doubleClickLine(QListWidget* list, const QString& containing) {
    for (int i = 0; i < list->count(); ++i) {
        QListWidgetItem* item = list->item(i);
        if (!item->text().contains(containing))
            continue;
        list->scrollToItem(item);
        const QPoint at = list->visualItemRect(item).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        processPending();
        return;
    }
    qFatal("%s has no line with %s", qPrintable(list->objectName()), qPrintable(containing));
}

// The reported sheet: Simple 0,50, Ri.2 1,00, the bets total, FRAIS, free entries, S/total.
const QList<StakeLineSpec> ReportedSheet = {stakeLineSpec(QStringLiteral("Simple   simp"), 0.5f),
                                            stakeLineSpec(QStringLiteral("Richome  Ri.2"), 1),
                                            stakeLineSpec(QStringLiteral("TOTAL du jeu ")),
                                            stakeLineSpec(QStringLiteral("FRAIS    frai"), 1),
                                            stakeLineSpec(QStringLiteral("GRATUITS grat")),
                                            stakeLineSpec(QStringLiteral("S/total  s/to"))};

} // namespace

class OwedAmountTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ClubFixture> fx;
    std::unique_ptr<ScriptedDialogsScope> dialogs;

    ScriptedDialogs& script() { return **dialogs; }
    int32_t owed() const {
        return RecordFileOf<FancierRecord>(fx->yearPath("noms.vba")).read(2).raceAmount(101);
    }
    // "Choisir les CONCOURS", the club's calendar, then ORLEANS at GENERAL by a double-click
    // with the answers given; "Quitter" hands the race over and shows the recap window.
    void chooseOrleans(const QStringList& answers, bool changing) {
        child<QAction>(windows().window<depart>(), "chconc")->trigger();
        processPending();
        QRadioButton* calendar = child<QRadioButton>(windows().window<calend>(), "Option1_1");
        QTest::mouseClick(calendar, Qt::LeftButton, {}, QPoint(8, calendar->height() / 2));
        processPending();
        QVERIFY(windows().isLoaded<choiconc>());
        choiconc& races = windows().window<choiconc>();
        script().answerInput(answers[0]);
        if (changing)
            script().answer(MsgAnswer::Yes);
        script().answerInput(answers[1]);
        doubleClickLine(child<QListWidget>(races, "List2"), QStringLiteral("ORLEANS"));
        QCOMPARE(races.chosenLines().size(), 1);
        child<QAction>(races, "menu")->trigger();
        processPending();
        QVERIFY(windows().isLoaded<recapam>());
    }
    QString recapLineOfMartin() {
        for (const QString& l : windows().window<recapam>().lines())
            if (l.startsWith(QStringLiteral("MARTIN Paul")))
                return l;
        return QString();
    }

private slots:
    void init() {
        fx = std::make_unique<ClubFixture>();
        fx->writeSmallClub();
        fx->writeStakeSheet(0, QStringLiteral("COMPTES"),
                            {stakeLineSpec(QStringLiteral("TOTAL du jeu "))});
        fx->writeStakeSheet(1, QStringLiteral("JEU A"), ReportedSheet);
        fx->writeStakeSheet(2, QStringLiteral("JEU B"), ReportedSheet);
        fx->configureSession();
        setClockForTests([] { return QDateTime(QDate(2005, 5, 10), QTime(9, 0)); });
        dialogs = std::make_unique<ScriptedDialogsScope>();
        windows().show<depart>();
    }
    void cleanup() {
        windows().unloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(script().pendingAnswers(), 0);
        dialogs.reset();
        setClockForTests({});
        fx.reset();
    }

    void aChangeOfSheetKeepsWhatTheEntrySheetSays() {
        chooseOrleans({QStringLiteral("1"), QStringLiteral("1,00")}, false);

        // MARTIN's entry sheet: 10 pigeons, 10 on Simple, Ri.2, 2 free entries.
        // Rows: 1 ENGAGES, 2 Simple, 3 Ri.2, 4 TOTAL du jeu, 5 FRAIS, 6 GRATUITS, 7 S/total.
        recapam& recap = windows().window<recapam>();
        doubleClickLine(recap.list(), QStringLiteral("MARTIN Paul"));
        QVERIFY(windows().isLoaded<jeuamat>());
        jeuamat& sheet = windows().window<jeuamat>();
        QTableWidget* grid = sheet.grid(1);
        for (auto [row, count] : {std::pair{1, "10"}, {2, "10"}, {3, "2"}, {6, "2"}}) {
            grid->scrollToItem(grid->item(row, 2));
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                              grid->visualRect(grid->model()->index(row, 2)).center());
            QTest::keyClicks(grid, QString::fromLatin1(count));
            QTest::keyClick(grid, Qt::Key_Return);
        }
        QCOMPARE(grid->item(3, 2)->text(), QStringLiteral("2"));
        QCOMPARE(grid->item(7, 2)->text(), QStringLiteral("14,00"));
        QVERIFY(child<QLabel>(sheet, "Label9_1")->text().endsWith(QStringLiteral(" = 14,00")));
        QTest::mouseClick(child<QPushButton>(sheet, "Command1"), Qt::LeftButton);
        processPending();
        QVERIFY(!windows().isLoaded<jeuamat>());
        QCOMPARE(owed(), 14000);

        // The race chosen again with sheet 2, the same lines: the set-up recalculates.
        windows().unload<recapam>();
        chooseOrleans({QStringLiteral("2"), QStringLiteral("1,00")}, true);
        QCOMPARE(script().messages().last().defaultButton, MsgAnswer::No);
        QCOMPARE(owed(), 14000);
        QVERIFY(recapLineOfMartin().endsWith(QStringLiteral("   14,000")));

        // The detail per fancier and the club's recap sheet.
        RecordingPrinterScope printed;
        recapam& again = windows().window<recapam>();
        script().answer(MsgAnswer::Ok); // where the detail went
        child<QAction>(again, "listdet")->trigger();
        processPending();
        QStringList detail;
        for (const RecordedPage& page : printed->pages())
            detail << RecordingSurface::pageLines(page);
        const qsizetype column = detail.value(1).indexOf(QStringLiteral("  S/total"));
        QVERIFY(column > 0);
        QString martin;
        for (const QString& l : detail)
            if (l.startsWith(QStringLiteral("MARTIN Paul")))
                martin = l;
        QCOMPARE(martin.mid(column).trimmed(), QStringLiteral("14,000"));

        script().answer(MsgAnswer::Yes);
        again.memoAction()->trigger();
        script().answer(MsgAnswer::Ok); // where the recap sheets went
        child<QAction>(again, "lister")->trigger();
        processPending();
        QString sousTotal;
        for (const QString& l : RecordingSurface::pageLines(printed->pages().last()))
            if (l.trimmed().startsWith(QStringLiteral("SOUS TOTAL =")))
                sousTotal = l.section(u'=', 1).trimmed();
        QCOMPARE(sousTotal, QStringLiteral("14,000"));
    }
};

QTEST_MAIN(OwedAmountTest)
#include "owed_amount_wtest.moc"
