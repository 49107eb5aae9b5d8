// The entry sheet's race grids and the recap window's "Visuel" on a 1366 x 768 laptop
// screen, driven by the keys and menus a user presses: the current cell of a race grid is
// always on screen, and the recap grid lies over the list, sized to what it shows.
#include "common/record_file.h"
#include "common/session.h"
#include "entries/jeuamat_window.h"
#include "entries/recapam_window.h"
#include "entry_test_support.h"
#include "platform/clock.h"
#include "platform/scripted_dialogs.h"
#include "platform/window_registry.h"
#include "recap_list_clicks.h"
#include "tests/support/club_fixture.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace vt;
using namespace vt::testing;

namespace {

constexpr int ScreenWidth = 1366;
constexpr int ScreenHeight = 768;

// A stake sheet of `count` lines: stake lines, then the game total and the sub-total.
std::vector<Line> longSheet(int count) {
    std::vector<Line> lines(count - 2, Line{"Mise     Mise", 1.0f});
    lines.push_back({"TOTAL du jeu "});
    lines.push_back({"S/total  s/to"});
    return lines;
}

} // namespace

class LaptopScreenTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ClubFixture> fx;
    std::unique_ptr<ScriptedDialogsScope> dialogs;

    template <class W> W* find(QWidget& window, const char* name) {
        return window.findChild<W*>(QString::fromLatin1(name));
    }
    recapam& recap() { return windows().show<recapam>(); }
    jeuamat& openSheetOf(int recordNo) {
        jeuamat& sheet = doubleClickFancier(recap(), recordNo);
        [&] { QVERIFY(QTest::qWaitForWindowExposed(&sheet)); }();
        return sheet;
    }

    // The current cell of the open grid lies inside the grid's viewport, and that part of
    // the viewport lies inside the window and on the screen.
    static QString currentCellHidden(jeuamat& sheet) {
        QTableWidget* g = sheet.grid(sheet.currentTab());
        const int row = g->currentRow();
        if (row < 1)
            return QStringLiteral("no current row");
        const QRect cell = g->visualRect(g->model()->index(row, 2));
        if (!g->isVisible() || !g->viewport()->rect().contains(cell))
            return QStringLiteral("row %1 (%2) outside the viewport %3")
                .arg(row)
                .arg(cell.y())
                .arg(g->viewport()->height());
        const QRect inWindow(g->viewport()->mapTo(&sheet, cell.topLeft()), cell.size());
        if (!sheet.rect().contains(inWindow))
            return QStringLiteral("row %1 below the window's edge").arg(row);
        const QRect onScreen(g->viewport()->mapToGlobal(cell.topLeft()), cell.size());
        if (!sheet.screen()->geometry().contains(onScreen))
            return QStringLiteral("row %1 off the screen (%2)").arg(row).arg(onScreen.y());
        return QString();
    }
    static int scrolledRows(jeuamat& sheet) {
        return sheet.grid(sheet.currentTab())->verticalScrollBar()->value();
    }
    static void press(jeuamat& sheet, const char* keys) {
        QTableWidget* g = sheet.grid(sheet.currentTab());
        for (const char* p = keys; *p; ++p) {
            if (*p == '\r')
                QTest::keyClick(g, Qt::Key_Return);
            else
                QTest::keyClick(g, *p);
        }
    }

private slots:
    void init() {
        fx = std::make_unique<ClubFixture>();
        fx->writeSmallClub();
        Session& s = fx->configureSession();
        s.ChosenRaceCodes = {};
        s.ChosenRaceCodes[1] = 105;
        s.ChosenRaceCodes[2] = 212;
        setClockForTests([] { return QDateTime(QDate(2005, 5, 10), QTime(9, 0)); });
        dialogs = std::make_unique<ScriptedDialogsScope>();
    }
    void cleanup() {
        windows().unloadAll();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE((**dialogs).pendingAnswers(), 0);
        dialogs.reset();
        setClockForTests({});
        fx.reset();
    }

    void theScreenIsALaptopScreen() {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(screen.size(), QSize(ScreenWidth, ScreenHeight));
    }

    void theCurrentCellStaysInView_data() {
        QTest::addColumn<int>("lines");
        QTest::newRow("30 lines") << 30;
        QTest::newRow("100 lines") << 100;
    }
    void theCurrentCellStaysInView() {
        QFETCH(int, lines);
        writeRaceFiles(fx->yearFolder(), {105, "Brive", 451000, 13000, 0, longSheet(lines), 3});
        writeRaceFiles(fx->yearFolder(), {212, "Tours", 472338, 4122, 0, longSheet(lines), 3});
        RecordFileOf<StakeAmountBlock>(misePath(fx->yearFolder(), 105)).write(1, stakeBlock({9}));
        jeuamat& sheet = openSheetOf(1);
        QTableWidget* grid = sheet.grid(1);
        const int rows = grid->rowCount();
        QCOMPARE(rows, lines + 3);
        // The whole sheet is on the screen, down to its tabs and "Enregistrer".
        const QRect screen = sheet.screen()->availableGeometry();
        QVERIFY2(sheet.frameGeometry().height() <= screen.height(),
                 qPrintable(QStringLiteral("%1 high").arg(sheet.frameGeometry().height())));
        QVERIFY(grid->height() > screen.height() / 2);
        // The sheet opens on ENGAGES at the grid's first row.
        QCOMPARE(sheet.currentTab(), 1);
        QCOMPARE(grid->currentRow(), 1);
        QCOMPARE(scrolledRows(sheet), 0);
        QCOMPARE(currentCellHidden(sheet), QString());

        // Enter down the whole sheet, a stake typed on every other line.
        for (int row = 1; row <= rows - 3; ++row) {
            QCOMPARE(grid->currentRow(), row);
            press(sheet, row % 2 ? "1\r" : "\r");
            QCOMPARE(grid->currentRow(), row + 1);
            QVERIFY2(currentCellHidden(sheet).isEmpty(), qPrintable(currentCellHidden(sheet)));
        }
        QVERIFY(scrolledRows(sheet) > 0);

        // Enter on the last line wraps to ENGAGES, and the grid shows its first rows again.
        QCOMPARE(grid->currentRow(), rows - 2);
        press(sheet, "\r");
        QCOMPARE(grid->currentRow(), 1);
        QCOMPARE(scrolledRows(sheet), 0);
        QCOMPARE(currentCellHidden(sheet), QString());

        // Down to the end with the arrow, then onto the empty last row: back to ENGAGES.
        for (int row = 1; row < rows - 1; ++row) {
            QTest::keyClick(grid, Qt::Key_Down);
            QVERIFY2(currentCellHidden(sheet).isEmpty(), qPrintable(currentCellHidden(sheet)));
        }
        QCOMPARE(grid->currentRow(), 1);
        QCOMPARE(currentCellHidden(sheet), QString());

        // Deep into the sheet, "+" opens the next race on its ENGAGES; there too Enter
        // keeps the cell in view, and "+" on the last race comes back to the first.
        for (int row = 1; row <= rows - 8; ++row)
            press(sheet, "\r");
        QVERIFY(scrolledRows(sheet) > 0);
        press(sheet, "+");
        QCOMPARE(sheet.currentTab(), 2);
        QCOMPARE(sheet.grid(2)->currentRow(), 1);
        QCOMPARE(scrolledRows(sheet), 0);
        QCOMPARE(currentCellHidden(sheet), QString());
        for (int row = 1; row <= rows - 6; ++row) {
            press(sheet, "\r");
            QVERIFY2(currentCellHidden(sheet).isEmpty(), qPrintable(currentCellHidden(sheet)));
        }
        press(sheet, "+");
        QCOMPARE(sheet.currentTab(), 1);
        QCOMPARE(grid->currentRow(), 1);
        QCOMPARE(currentCellHidden(sheet), QString());

        // With the grid scrolled down, Enter in the licence box brings back ENGAGES,
        // where the next digits go: the pigeons entered that cap every stake.
        for (int row = 1; row <= rows - 6; ++row)
            press(sheet, "\r");
        QVERIFY(scrolledRows(sheet) > 0);
        QLineEdit* licence = find<QLineEdit>(sheet, "Texte1");
        licence->setFocus();
        QTest::keyClick(licence, Qt::Key_Return);
        QCOMPARE(grid->currentRow(), 1);
        QCOMPARE(scrolledRows(sheet), 0);
        QCOMPARE(currentCellHidden(sheet), QString());
    }
};

int main(int argc, char** argv) {
    // Offscreen, the screen is a laptop's: 1366 x 768 at 96 dpi.
    QTemporaryDir configDir;
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen" && configDir.isValid()) {
        const QString config = QDir(configDir.path()).filePath(QStringLiteral("screen.json"));
        QFile f(config);
        if (f.open(QIODevice::WriteOnly)) {
            f.write(QStringLiteral("{\"screens\": [{\"name\": \"laptop\", \"x\": 0, \"y\": 0, "
                                   "\"width\": %1, \"height\": %2, \"logicalDpi\": 96, "
                                   "\"logicalBaseDpi\": 96, \"dpr\": 1}]}")
                        .arg(ScreenWidth)
                        .arg(ScreenHeight)
                        .toUtf8());
            f.close();
            qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toLocal8Bit());
        }
    }
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    LaptopScreenTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "laptop_screen_wtest.moc"
