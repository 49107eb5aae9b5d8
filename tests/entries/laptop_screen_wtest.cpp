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
#include "tests/support/window_child.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
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

// The x of the first (or last) dark pixel of a text drawn in `area` of `image`: where a
// header's or a cell's text starts, or ends.
int inkEdge(const QImage& image, const QRect& area, bool fromRight) {
    const QRect a = area.adjusted(2, area.height() / 4, -2, -area.height() / 4);
    for (int i = 0; i < a.width(); ++i) {
        const int x = fromRight ? a.right() - i : a.left() + i;
        for (int y = a.top(); y <= a.bottom(); ++y)
            if (QColor(image.pixel(x, y)).lightness() < 110)
                return x;
    }
    return -1;
}

} // namespace

class LaptopScreenTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ClubFixture> fx;
    std::unique_ptr<ScriptedDialogsScope> dialogs;

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

    // Race 105 of the fees example and race 212 with one stake line; fanciers 1 to n have
    // entered pigeons in both.
    void enterFanciers(int count) {
        writeRaceFiles(fx->yearFolder(), {105, "Brive", 451000, 13000, 0, ExampleSheet, 3});
        writeRaceFiles(fx->yearFolder(), {212, "Tours", 472338, 4122, 0, SimpleSheet, 3});
        for (int k = 4; k <= count; ++k)
            fx->addFancier(
                namedFancier(QStringLiteral("VASSEUR Fancier %1").arg(k, 2, 10, QLatin1Char('0'))));
        for (int r = 1; r <= count; ++r) {
            RecordFileOf<StakeAmountBlock>(misePath(fx->yearFolder(), 105))
                .write(r, stakeBlock({float(r + 9), 10, 6, 22, 10, 2.5f, 26}));
            RecordFileOf<StakeAmountBlock>(misePath(fx->yearFolder(), 212))
                .write(r, stakeBlock({float(r), 1}));
        }
    }
    // Presses "Visuel" until the grid shows race 105.
    static void showBrive(recapam& r) {
        for (int i = 0; i < 2 && !r.windowTitle().startsWith(QStringLiteral("BRIVE")); ++i)
            r.ecranAction()->trigger();
        QVERIFY(r.windowTitle().startsWith(QStringLiteral("BRIVE")));
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
        // So it stays while the club list shows.
        QTest::mouseClick(child<QLabel>(sheet, "Label3"), Qt::LeftButton);
        QVERIFY(child<QListWidget>(sheet, "List1")->isVisible());
        QVERIFY(sheet.frameGeometry().height() <= screen.height());
        QTest::mouseClick(&sheet, Qt::LeftButton, {},
                          QPoint(sheet.width() - 5, sheet.height() / 2));
        QVERIFY(!child<QListWidget>(sheet, "List1")->isVisible());
        // Made taller than the screen, it comes back to the screen's height.
        sheet.resize(sheet.width(), screen.height() + 100);
        QTRY_VERIFY(sheet.frameGeometry().height() <= screen.height());
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
        QLineEdit* licence = child<QLineEdit>(sheet, "Texte1");
        licence->setFocus();
        QTest::keyClick(licence, Qt::Key_Return);
        QCOMPARE(grid->currentRow(), 1);
        QCOMPARE(scrolledRows(sheet), 0);
        QCOMPARE(currentCellHidden(sheet), QString());
    }
    // At row 60 of a 100-line sheet the heading row VALEUR / NOMBRE is still in view above
    // the rows; "Visuel" scrolled to the right still shows the fanciers' names.
    // With VT_GRAB_DIR set, the window as the test left it is saved there, to be looked at.
    static void saveGrab(QWidget& window, const char* name) {
        const QString dir = qEnvironmentVariable("VT_GRAB_DIR");
        if (!dir.isEmpty())
            QVERIFY(window.grab().save(QDir(dir).filePath(QString::fromLatin1(name))));
    }

    void theHeadingsStayInViewAsTheGridsScroll() {
        writeRaceFiles(fx->yearFolder(), {105, "Brive", 451000, 13000, 0, longSheet(100), 3});
        writeRaceFiles(fx->yearFolder(), {212, "Tours", 472338, 4122, 0, longSheet(100), 3});
        jeuamat& sheet = openSheetOf(1);
        QTableWidget* grid = sheet.grid(1);
        while (grid->currentRow() < 60)
            press(sheet, "\r");
        QVERIFY(scrolledRows(sheet) > 0);
        QHeaderView* heading = grid->horizontalHeader();
        QVERIFY(heading->isVisible());
        QVERIFY(heading->geometry().bottom() < grid->viewport()->geometry().top() + 1);
        QCOMPARE(grid->horizontalHeaderItem(1)->text(), QStringLiteral("VALEUR"));
        QCOMPARE(grid->horizontalHeaderItem(2)->text().trimmed(), QStringLiteral("NOMBRE"));
        QVERIFY(grid->isRowHidden(0)); // not twice
        QCOMPARE(currentCellHidden(sheet), QString());
        saveGrab(sheet, "race-grid-row60.png");
        windows().unload<jeuamat>();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        enterFanciers(3);
        recapam& r = recap();
        QVERIFY(QTest::qWaitForWindowExposed(&r));
        showBrive(r);
        QTableWidget* visuel = r.grid();
        visuel->setColumnWidth(1, visuel->width() * 2); // a grid wider than its window
        QCoreApplication::processEvents();
        QScrollBar* across = visuel->horizontalScrollBar();
        QVERIFY(across->maximum() > 0);
        across->setValue(across->maximum());
        QCoreApplication::processEvents();
        QVERIFY(visuel->columnViewportPosition(0) < 0); // the grid's own names went left
        auto* names = visuel->findChild<QTableView*>(QStringLiteral("Grid1_names"));
        QVERIFY(names && names->isVisible());
        QCOMPARE(names->x(), visuel->frameWidth());
        QCOMPARE(names->width(), visuel->columnWidth(0));
        const QModelIndex first = names->indexAt(QPoint(4, names->rowViewportPosition(0) + 2));
        QCOMPARE(first.data().toString().trimmed(), visuel->item(0, 0)->text().trimmed());
        QCOMPARE(names->model()->headerData(0, Qt::Horizontal).toString(),
                 visuel->horizontalHeaderItem(0)->text());
        saveGrab(r, "visuel-scrolled-right.png");
    }

    // "Visuel" lays the grid over the list: the list hidden, each header aligned as its
    // cells, each column as wide as its header or its widest cell, the grid as tall as its
    // rows; "Effacer grille" gives the list back.
    void visuelShowsTheGridInPlaceOfTheList() {
        enterFanciers(3);
        recapam& r = recap();
        QVERIFY(QTest::qWaitForWindowExposed(&r));
        QListWidget* list = r.list();
        QTableWidget* grid = r.grid();
        showBrive(r);
        QVERIFY(grid->isVisible());
        QVERIFY(!list->isVisible());
        // Amateurs, Pig., then Mise, Série, FRAIS and GRATUITS (TOTAL du jeu left out).
        QCOMPARE(grid->columnCount(), 6);
        QCOMPARE(grid->rowCount(), 4); // 3 fanciers and the empty row
        QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("10"));
        QCOMPARE(grid->item(0, 5)->text(), QStringLiteral("2,5"));

        QCoreApplication::processEvents();
        const QImage shot = grid->grab().toImage();
        QHeaderView* header = grid->horizontalHeader();
        const QPoint cells = grid->viewport()->mapTo(grid, QPoint(0, 0));
        const QPoint headers = header->mapTo(grid, QPoint(0, 0));
        for (int c = 0; c < grid->columnCount(); ++c) {
            const int width = grid->columnWidth(c);
            const QString title = grid->horizontalHeaderItem(c)->text();
            int widest = header->fontMetrics().horizontalAdvance(title);
            for (int row = 0; row < 3; ++row)
                widest = std::max(
                    widest, grid->fontMetrics().horizontalAdvance(grid->item(row, c)->text()));
            QVERIFY2(
                width >= widest && width <= widest + 24,
                qPrintable(QStringLiteral("column %1: %2 for %3").arg(c).arg(width).arg(widest)));
            // The header's text starts (names) or ends (numbers) where its cells' do.
            const int x = grid->columnViewportPosition(c);
            const QRect headerArea(headers.x() + x, headers.y(), width, header->height());
            const QRect cellArea(QPoint(cells.x() + x, cells.y() + grid->rowViewportPosition(0)),
                                 QSize(width, grid->rowHeight(0)));
            const bool right = c > 0;
            const int headerInk = inkEdge(shot, headerArea, right);
            const int cellInk = inkEdge(shot, cellArea, right);
            QVERIFY2(headerInk >= 0 && cellInk >= 0 && std::abs(headerInk - cellInk) <= 3,
                     qPrintable(QStringLiteral("column %1 \"%2\": header at %3, cell at %4")
                                    .arg(c)
                                    .arg(title)
                                    .arg(headerInk)
                                    .arg(cellInk)));
        }
        // Every row shows, and the grid is no taller than its rows and four more.
        QCOMPARE(grid->verticalScrollBar()->maximum(), 0);
        QVERIFY(grid->height() <=
                8 * grid->verticalHeader()->defaultSectionSize() + 2 * grid->frameWidth());

        r.effAction()->trigger();
        QVERIFY(!grid->isVisible());
        QVERIFY(list->isVisible());
        QCOMPARE(r.windowTitle(), QStringLiteral("CHOIX des AMATEURS"));
    }

    // With more fanciers than the screen holds, the grid takes the window's height down to
    // its edge, and scrolls.
    void aLongGridFillsTheWindowOnTheScreen() {
        enterFanciers(40);
        recapam& r = recap();
        QVERIFY(QTest::qWaitForWindowExposed(&r));
        showBrive(r);
        QCoreApplication::processEvents();
        QTableWidget* grid = r.grid();
        QCOMPARE(grid->rowCount(), 41);
        QVERIFY(r.frameGeometry().height() <= r.screen()->availableGeometry().height());
        const QRect inWindow(grid->mapTo(&r, QPoint(0, 0)), grid->size());
        QVERIFY(r.centralWidget()->geometry().contains(inWindow));
        QVERIFY2(inWindow.bottom() >= r.centralWidget()->geometry().bottom() - 30,
                 qPrintable(QStringLiteral("grid %1 to %2 in a window of %3")
                                .arg(inWindow.top())
                                .arg(inWindow.bottom())
                                .arg(r.height())));
        QVERIFY(grid->verticalScrollBar()->maximum() > 0);
    }

    // A race file that cannot be read is named in a French message; the window stays on
    // its list, and the next "Visuel" goes on with the next race.
    void anUnreadableRaceFileIsNamed() {
        enterFanciers(3);
        for (int code : {105, 212}) {
            QFile::remove(misePath(fx->yearFolder(), code));
            QVERIFY(QDir().mkdir(misePath(fx->yearFolder(), code)));
        }
        recapam& r = recap();
        QStringList named;
        for (int i = 0; i < 2; ++i) {
            (**dialogs).answer(MsgAnswer::Ok);
            r.ecranAction()->trigger();
            QCOMPARE((**dialogs).messages().size(), i + 1);
            const MessageRequest m = (**dialogs).messages().last();
            QVERIFY2(m.text.startsWith(QStringLiteral("Impossible de lire le fichier")),
                     qPrintable(m.text));
            named << QFileInfo(m.text.section(u' ', 5, 5)).fileName();
            QVERIFY(r.list()->isVisible());
            QVERIFY(!r.grid()->isVisible());
            QVERIFY(!r.effAction()->isVisible());
            QVERIFY(r.quitteAction()->isVisible());
            QCOMPARE(r.windowTitle(), QStringLiteral("CHOIX DES AMATEURS"));
        }
        QStringList both = named;
        both.sort();
        QCOMPARE(both, QStringList({QStringLiteral("mise.105"), QStringLiteral("mise.212")}));

        // Races come round in the same order: the one named first comes next.
        QVERIFY(QDir().rmdir(misePath(fx->yearFolder(), 212)));
        RecordFileOf<StakeAmountBlock>(misePath(fx->yearFolder(), 212))
            .write(2, stakeBlock({4, 1}));
        if (named[0] == QLatin1String("mise.105")) {
            (**dialogs).answer(MsgAnswer::Ok);
            r.ecranAction()->trigger();
            QVERIFY(!r.grid()->isVisible());
        }
        r.ecranAction()->trigger();
        QVERIFY(r.windowTitle().startsWith(QStringLiteral("TOURS")));
        QVERIFY(r.grid()->isVisible());
        QCOMPARE(r.grid()->item(0, 0)->text().trimmed(), QStringLiteral("MARTIN Paul"));
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
