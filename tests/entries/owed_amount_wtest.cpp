// What a fancier owes when the race's stake sheet is changed after his entry, driven through
// the windows: the race chooser's double-click and its questions, the recap list, the entry
// sheet's keys and "Enregistrer", then the race chosen again with another sheet of the same
// lines, or with lines added, removed, swapped or repriced. His counts follow their stake
// lines, and the amount stored, the recap line, the reopened entry sheet, the detail per
// fancier, the export and the club's recap sheet all say what his entry sheet says.
#include "common/record_file.h"
#include "common/session.h"
#include "common/text.h"
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
#include <QDir>
#include <QFile>
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

StakeLineSpec line(const char* text13, float unit = 0) {
    return stakeLineSpec(QString::fromUtf8(text13), unit);
}

// The race as it was reported: Mise 0,50, Hon. 0,25, Ri.2 1,00, then the accounts.
const QList<StakeLineSpec> Reported = {
    line("Mise     mise", 0.5f), line("Hon.     hon.", 0.25f), line("Richome  Ri.2", 1),
    line("TOTAL du jeu "),       line("FRAIS    frai", 0.3f),  line("S/total  s/to"),
    line("Total    s/td"),       line("TOTAL    t/ge")};

QList<StakeLineSpec> withLine(QList<StakeLineSpec> lines, int at, const StakeLineSpec& l) {
    lines.insert(at, l);
    return lines;
}
QList<StakeLineSpec> withoutLine(QList<StakeLineSpec> lines, int at) {
    lines.removeAt(at);
    return lines;
}
QList<StakeLineSpec> swapped(QList<StakeLineSpec> lines, int a, int b) {
    lines.swapItemsAt(a, b);
    return lines;
}
QList<StakeLineSpec> repriced(QList<StakeLineSpec> lines, int at, float unit) {
    lines[at].unitValue = unit;
    return lines;
}

// The row of a grid whose label starts with `label`, -1 when there is none.
int rowOf(QTableWidget* grid, const QString& label) {
    for (int r = 0; r < grid->rowCount(); ++r)
        if (grid->item(r, 0) && grid->item(r, 0)->text().startsWith(label))
            return r;
    return -1;
}

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

    jeuamat& openMartin() {
        doubleClickLine(windows().window<recapam>().list(), QStringLiteral("MARTIN Paul"));
        return windows().window<jeuamat>();
    }
    // MARTIN's reported entry: 6 pigeons, 6 on Mise, 4 on Hon., the Ri.2 entry.
    void typeAndSaveMartin() {
        jeuamat& sheet = openMartin();
        QTableWidget* grid = sheet.grid(1);
        for (auto [row, count] : {std::pair{1, "6"}, {2, "6"}, {3, "4"}, {4, "1"}}) {
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                              grid->visualRect(grid->model()->index(row, 2)).center());
            QTest::keyClicks(grid, QString::fromLatin1(count));
            QTest::keyClick(grid, Qt::Key_Return);
        }
        QCOMPARE(grid->item(rowOf(grid, QStringLiteral("S/total")), 2)->text().trimmed(),
                 QStringLiteral("6,80"));
        QTest::mouseClick(child<QPushButton>(sheet, "Command1"), Qt::LeftButton);
        processPending();
        QVERIFY(!windows().isLoaded<jeuamat>());
    }
    // The counts the reopened entry sheet shows, line label -> NOMBRE, and its S/total.
    QMap<QString, QString> reopenedSheet() {
        QMap<QString, QString> shown;
        QTableWidget* grid = openMartin().grid(1);
        for (int r = 1; r < grid->rowCount() - 1; ++r)
            shown[grid->item(r, 0)->text().simplified()] = grid->item(r, 2)->text().trimmed();
        windows().unload<jeuamat>();
        processPending();
        return shown;
    }
    QString detailSubTotal() {
        RecordingPrinterScope printed;
        script().answer(MsgAnswer::Ok); // where the detail went
        child<QAction>(windows().window<recapam>(), "listdet")->trigger();
        processPending();
        QStringList detail;
        for (const RecordedPage& page : printed->pages())
            detail << RecordingSurface::pageLines(page);
        const qsizetype column = detail.value(1).indexOf(QStringLiteral("  S/total"));
        for (const QString& l : detail)
            if (column > 0 && l.startsWith(QStringLiteral("MARTIN Paul")))
                return l.mid(column).trimmed();
        return QString();
    }
    // "Mémorisation sur fichier": the race exported by the chooser's double-click and
    // "Mémoriser"; MARTIN's line as code -> value.
    QMap<QString, QString> exportedMartin() {
        child<QAction>(windows().window<depart>(), "mfich")->trigger();
        processPending();
        QRadioButton* calendar = child<QRadioButton>(windows().window<calend>(), "Option1_1");
        QTest::mouseClick(calendar, Qt::LeftButton, {}, QPoint(8, calendar->height() / 2));
        processPending();
        choiconc& chooser = windows().window<choiconc>();
        doubleClickLine(child<QListWidget>(chooser, "List2"), QStringLiteral("ORLEANS"));
        const QString out = QDir(fx->startDir()).filePath(QStringLiteral("sortie"));
        QDir(out).removeRecursively();
        QDir().mkpath(out);
        chooser.setExportFolder(out);
        QTest::mouseClick(child<QPushButton>(chooser, "Command1"), Qt::LeftButton);
        processPending();
        const QStringList files = QDir(out).entryList(QDir::Files);
        if (files.size() != 1)
            return {};
        QFile f(QDir(out).filePath(files[0]));
        f.open(QIODevice::ReadOnly);
        const QStringList lines = QString::fromLatin1(f.readAll()).split(QStringLiteral("\r\n"));
        const QStringList header = lines.value(0).split(u';');
        QMap<QString, QString> values;
        for (const QString& l : lines)
            if (l.startsWith(QStringLiteral("MARTIN Paul"))) {
                const QStringList fields = l.split(u';');
                for (qsizetype i = 6; i < fields.size(); ++i)
                    values[header.value(i).trimmed()] = fields[i].trimmed();
            }
        return values;
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
        QCOMPARE(detailSubTotal(), QStringLiteral("14,000"));
        RecordingPrinterScope printed;
        recapam& again = windows().window<recapam>();
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

    void countsFollowTheirLines_data() {
        QTest::addColumn<QList<StakeLineSpec>>("newSheet"); // empty: the same sheet again
        QTest::addColumn<QString>("fees");
        QTest::addColumn<QString>("dropped");  // named by the change question
        QTest::addColumn<QString>("subTotal"); // what he owes afterwards
        QTest::addColumn<QString>("feuille");  // the count shown on "Feuille", if any

        QTest::newRow("a line added before S/total")
            << withLine(Reported, 5, line("Feuille  feui", 0.5f)) << "0,30" << "" << "6,80"
            << "0";
        QTest::newRow("a line removed") << withoutLine(Reported, 1) << "0,30" << "Hon. hon."
                                        << "5,80" << "";
        QTest::newRow("two lines swapped")
            << swapped(Reported, 0, 1) << "0,30" << "" << "6,80" << "";
        QTest::newRow("a bet line repriced")
            << repriced(Reported, 0, 1) << "0,30" << "" << "9,80" << "";
        QTest::newRow("FRAIS repriced, same sheet") << QList<StakeLineSpec>() << "0,40" << ""
                                                    << "7,40" << "";
    }
    void countsFollowTheirLines() {
        QFETCH(QList<StakeLineSpec>, newSheet);
        QFETCH(QString, fees);
        QFETCH(QString, dropped);
        QFETCH(QString, subTotal);
        QFETCH(QString, feuille);

        fx->writeStakeSheet(1, QStringLiteral("JEU A"), Reported);
        fx->writeStakeSheet(2, QStringLiteral("JEU B"), Reported);
        chooseOrleans({QStringLiteral("1"), QStringLiteral("0,30")}, false);
        typeAndSaveMartin();
        QCOMPARE(owed(), 6800);
        windows().unload<recapam>();

        const bool changing = !newSheet.isEmpty();
        if (changing)
            fx->writeStakeSheet(2, QStringLiteral("JEU B"), newSheet);
        chooseOrleans({changing ? QStringLiteral("2") : QStringLiteral("1"), fees}, changing);
        if (changing) {
            const MessageRequest question = script().messages().last();
            QCOMPARE(question.defaultButton, MsgAnswer::No);
            if (dropped.isEmpty())
                QVERIFY(!question.text.contains(QStringLiteral("effacés")));
            else
                QVERIFY2(question.text.contains(QStringLiteral("« %1 »").arg(dropped)),
                         qPrintable(question.text));
        }

        QCOMPARE(owed(), qRound(QString(subTotal).replace(u',', u'.').toDouble() * 1000));
        const QMap<QString, QString> shown = reopenedSheet();
        QCOMPARE(shown.value(QStringLiteral("S/total s/to")), subTotal);
        QCOMPARE(shown.value(QStringLiteral("Mise mise")), QStringLiteral("6"));
        QCOMPARE(shown.value(QStringLiteral("Richome Ri.2")), QStringLiteral("2"));
        if (!dropped.isEmpty())
            QVERIFY(!shown.contains(QStringLiteral("Hon. hon.")));
        else
            QCOMPARE(shown.value(QStringLiteral("Hon. hon.")), QStringLiteral("4"));
        if (!feuille.isEmpty())
            QCOMPARE(shown.value(QStringLiteral("Feuille feui")), feuille);

        QCOMPARE(detailSubTotal(), subTotal + u'0');
        QVERIFY(recapLineOfMartin().trimmed().endsWith(subTotal + u'0'));

        // The export's columns hold the counts of his entry sheet, each under its own code,
        // and the S/total column what the sheet saves of it (its whole number of units).
        const QMap<QString, QString> exported = exportedMartin();
        QCOMPARE(exported.value(QStringLiteral("mise")), QStringLiteral("6"));
        QCOMPARE(exported.value(QStringLiteral("Ri.2")), QStringLiteral("2"));
        QCOMPARE(exported.value(QStringLiteral("hon.")), dropped.isEmpty() ? QStringLiteral("4") : QString());
        if (!feuille.isEmpty())
            QCOMPARE(exported.value(QStringLiteral("feui")), feuille);
        QCOMPARE(exported.value(QStringLiteral("s/to")), subTotal.section(u',', 0, 0));
    }
};

QTEST_MAIN(OwedAmountTest)
#include "owed_amount_wtest.moc"
