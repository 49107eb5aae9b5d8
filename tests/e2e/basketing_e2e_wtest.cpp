// A whole basketing, from an empty folder to the printed recaps, driven through the
// windows only: the club form of the first run, the release sites, the fanciers, the
// calendar, the stake sheets, the choice of two races, three fanciers' entry sheets, the
// stored recaps and their prints. Each step checks the files it leaves; the amounts are
// worked out by hand from the stake values typed here.
#include "entries/enjeu_window.h"
#include "entries/jeuamat_window.h"
#include "entries/recapam_window.h"
#include "fanciers/adresse_window.h"
#include "fanciers/basedist_window.h"
#include "fanciers/distance_window.h"
#include "fanciers/gnoms_window.h"
#include "shell/calend_window.h"
#include "shell/chdate_window.h"
#include "shell/choiconc_window.h"
#include "shell/depart_window.h"
#include "shell/program.h"
#include "shell/societe_window.h"
#include "shell/splash_window.h"

#include "common/record_file.h"
#include "common/records.h"
#include "common/session.h"
#include "platform/clock.h"
#include "platform/printing.h"
#include "platform/scripted_dialogs.h"
#include "platform/window_registry.h"
#include "tests/support/pending_events.h"
#include "tests/support/club_fixture.h"
#include "tests/support/window_child.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <cstring>
#include <memory>

using namespace vt;
using vt::testing::processPending;
using vt::testing::child;
using vt::testing::readBytes;

namespace {

const QString ClubName = QStringLiteral("LES AILES DU NORD");

// Windows-1252 text padded with spaces to its field width (the tests type ASCII only).
QByteArray field(const char* text, int width) {
    QByteArray b(text);
    return b + QByteArray(width - b.size(), ' ');
}
QByteArray le16(int16_t v) {
    QByteArray b(2, '\0');
    qToLittleEndian(v, b.data());
    return b;
}
QByteArray leDouble(double v) {
    QByteArray b(8, '\0');
    std::memcpy(b.data(), &v, 8); // the build machines are little-endian, as the files are
    return b;
}
QByteArray leSingle(float v) {
    QByteArray b(4, '\0');
    std::memcpy(b.data(), &v, 4);
    return b;
}
QByteArray singles(std::initializer_list<float> values) {
    QByteArray b;
    for (float v : values)
        b += leSingle(v);
    return b;
}
QByteArray int16s(std::initializer_list<int16_t> values) {
    QByteArray b;
    for (int16_t v : values)
        b += le16(v);
    return b;
}
QByteArray siteRecord(const char* name, double lat, double east, double west) {
    return field(name, 25) + leDouble(lat) + leDouble(east) + leDouble(west);
}
QByteArray stakeLine(const char* text13, float unit) {
    return QByteArray(text13) + le16(0) + leSingle(unit);
}

QAction* menu(QWidget& w, const char* name) {
    return child<QAction>(w, name);
}

// Clears a box, types the text and presses Enter, as the user does.
void typeIn(QWidget& w, const char* box, const QString& text, bool enter = true) {
    QLineEdit* b = child<QLineEdit>(w, box);
    b->setFocus();
    b->selectAll();
    QTest::keyClick(b, Qt::Key_Delete);
    QTest::keyClicks(b, text);
    if (enter)
        QTest::keyClick(b, Qt::Key_Return);
}

void clickItem(QListWidget* list, int row, bool twice = false) {
    QListWidgetItem* item = list->item(row);
    if (!item)
        qFatal("%s has no row %d", qPrintable(list->objectName()), row);
    list->scrollToItem(item);
    const QPoint at = list->visualItemRect(item).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    if (twice)
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}
int rowStartingWith(QListWidget* list, const QString& start) {
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->text().startsWith(start))
            return i;
    qFatal("%s has no line starting with %s", qPrintable(list->objectName()), qPrintable(start));
    return -1;
}
// A click on an option's caption (the option may be much wider than its caption).
void clickOption(QWidget& w, const QString& name) {
    auto* option = w.findChild<QRadioButton*>(name);
    if (!option)
        qFatal("%s has no option %s", qPrintable(w.objectName()), qPrintable(name));
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(8, option->height() / 2));
}
void clickCell(QTableWidget* grid, int row, int column) {
    grid->scrollToItem(grid->item(row, column));
    const QRect r = grid->visualRect(grid->model()->index(row, column));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, r.center());
}

QStringList printedLines(const RecordedDocument& doc) {
    QStringList out;
    for (const RecordedPage& page : doc.pages) {
        out << RecordingSurface::pageLines(page);
        out << QStringLiteral("<page>");
    }
    return out;
}
// The lines of a page without its empty lines.
QStringList filled(const RecordedPage& page) {
    QStringList out;
    for (const QString& l : RecordingSurface::pageLines(page))
        if (!l.trimmed().isEmpty())
            out << l;
    return out;
}

} // namespace

class BasketingEndToEnd : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<ScriptedDialogsScope> dialogs;
    bool ended = false;

    ScriptedDialogs& script() { return **dialogs; }
    QString data(const QString& name) const {
        return QDir(dir.path()).filePath(QStringLiteral("region1/") + name);
    }
    QString season(const QString& name) const {
        return QDir(dir.path()).filePath(QStringLiteral("region1/2026/") + name);
    }
    depart& main() { return windows().window<depart>(); }
    void trigger(const char* mainMenu) {
        QAction* a = menu(main(), mainMenu);
        QVERIFY2(a->isEnabled() && a->isVisible(), mainMenu);
        a->trigger();
        processPending();
    }
    // The main menu item, then the club's calendar in the calendar chooser.
    void openClubCalendar(const char* mainMenu) {
        trigger(mainMenu);
        clickOption(windows().window<calend>(), QStringLiteral("Option1_1"));
        processPending();
        QVERIFY(!windows().isLoaded<calend>());
    }
    // Leaves a window by one of its menu items; the window unloads itself.
    template <class W> void leave(W& window, const char* item) {
        menu(window, item)->trigger();
        processPending();
        QVERIFY(!windows().isLoaded<W>());
    }
    void activate(QWidget& window) {
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }
    // Enter pressed where the focus is, which must be the button.
    void pressEnterOn(QPushButton* button) {
        QCOMPARE(QApplication::focusWidget(), button);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    }
    FancierRecord fancier(const QString& path, int recordNo) {
        return RecordFileOf<FancierRecord>(path).read(recordNo);
    }

    // The entry sheet: a click on the NOMBRE cell of the row, the keys, Enter.
    void typeCount(jeuamat& sheet, int row, const char* digits) {
        QTableWidget* g = sheet.grid(sheet.currentTab());
        clickCell(g, row, 2);
        QTest::keyClicks(g, QString::fromLatin1(digits));
        QTest::keyClick(g, Qt::Key_Return);
    }
    jeuamat& openEntrySheet(const QString& name) {
        recapam& r = windows().window<recapam>();
        clickItem(r.list(), rowStartingWith(r.list(), name), true);
        processPending();
        if (!windows().isLoaded<jeuamat>())
            qFatal("no entry sheet for %s", qPrintable(name));
        return windows().window<jeuamat>();
    }
    QString count(jeuamat& sheet, int tab, int row) {
        return sheet.grid(tab)->item(row, 2)->text();
    }

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        session() = Session{};
        setEndProgramForTests([this] { ended = true; });
        setClockForTests([] { return QDateTime(QDate(2026, 5, 4), QTime(9, 30, 0)); });
        dialogs = std::make_unique<ScriptedDialogsScope>();
    }
    void cleanupTestCase() {
        windows().unloadAll();
        processPending();
        dialogs.reset();
        setEndProgramForTests({});
        setClockForTests({});
    }
    void cleanup() {
        // Every question asked was expected, and every scripted answer was used.
        QCOMPARE(script().pendingAnswers(), 0);
        QVERIFY(!ended);
    }

    // 1. The first run in an empty folder opens the club form; saved, it leads to the main
    // window and the season folder.
    void clubFormOfTheFirstRun() {
        QVERIFY(QDir(dir.path()).isEmpty());
        QVERIFY(startVorel(dir.path()));
        QVERIFY(windows().isLoaded<societe>());
        societe& form = windows().window<societe>();
        typeIn(form, "txt1", ClubName);
        typeIn(form, "Txt2", QStringLiteral("59123"));
        typeIn(form, "Text1", QStringLiteral("7"));
        typeIn(form, "Text2", QStringLiteral("Jean Martin"));
        typeIn(form, "Text3", QStringLiteral("12 rue des Lilas"));
        typeIn(form, "Text4", QString());
        typeIn(form, "Text5", QStringLiteral("59000"));
        typeIn(form, "Text6", QStringLiteral("LILLE"));
        script().answer(MsgAnswer::Yes);
        menu(form, "quitte")->trigger();
        processPending();

        QCOMPARE(script().messages().last().defaultButton, MsgAnswer::No);
        const QByteArray club = field("LES AILES DU NORD", 23) + le16(7) + field("59123", 5) +
                                field("Jean Martin", 25) + field("12 rue des Lilas", 25) +
                                field("", 25) + field("59000", 5) + field("LILLE", 30);
        QCOMPARE(club.size(), 140);
        QCOMPARE(readBytes(data("societe.nom")), club);
        QVERIFY(!windows().isLoaded<societe>());
        QVERIFY(windows().isLoaded<depart>());
        QVERIFY(main().isVisible());
        QCOMPARE(main().windowTitle(), QStringLiteral(" La société de LES AILES DU NORD"));
        QCOMPARE(main().status(),
                 QStringLiteral("MISES EN LOGE de  La société de LES AILES DU NORD ANNEE 2026"));
        QVERIFY(QFileInfo(season("")).isDir());
        QVERIFY(!main().raceMenusVisible());
    }

    // 2. Three sites typed into the general release-site editor; two of them ticked in the
    // local list, which the calendar editor offers.
    void releaseSites() {
        trigger("dot");
        basedist& editor = windows().window<basedist>();
        struct Typed {
            const char* name;
            const char* latitude;
            const char* east;
            const char* west;
        };
        const Typed typed[] = {{"TOURS", "472338", "4122", ""},
                               {"ORLEANS", "475400", "15400", ""},
                               {"BORDEAUX", "445017,25", "", "3436"}};
        activate(editor);
        for (const Typed& t : typed) {
            typeIn(editor, "Text6", QString::fromLatin1(t.name));
            typeIn(editor, "Text1", QString::fromLatin1(t.latitude));
            // Enter on an empty east box passes to the west box.
            typeIn(editor, "Text2", QString::fromLatin1(t.east));
            if (!*t.east)
                typeIn(editor, "Text7", QString::fromLatin1(t.west));
            // The last coordinate hands the focus to "Mémoriser", and Enter stores.
            pressEnterOn(child<QPushButton>(editor, "Command1"));
            QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(editor, "Text6"));
        }
        QCOMPARE(child<QListWidget>(editor, "List1")->count(), 3);
        leave(editor, "quitte");
        const QByteArray bordeaux = siteRecord("BORDEAUX", 445017.25, 0, 3436);
        const QByteArray orleans = siteRecord("ORLEANS", 475400, 15400, 0);
        const QByteArray tours = siteRecord("TOURS", 472338, 4122, 0);
        QCOMPARE(readBytes(QDir(dir.path()).filePath("distgen")), bordeaux + orleans + tours);

        trigger("glocal");
        distance& local = windows().window<distance>();
        QListWidget* list = child<QListWidget>(local, "Listlieux");
        QCOMPARE(list->count(), 3);
        for (int row : {1, 2}) { // ORLEANS and TOURS: a click on the line, the space bar
            clickItem(list, row);
            QTest::keyClick(list, Qt::Key_Space);
            QCOMPARE(list->item(row)->checkState(), Qt::Checked);
        }
        QCOMPARE(list->item(0)->checkState(), Qt::Unchecked);
        leave(local, "quitte");
        QCOMPARE(readBytes(data("distloc")), orleans + tours);
    }

    // 3. Three fanciers with their lofts, each a new fancier of the fanciers list typed
    // into the address editor.
    void fanciersWithTheirLofts() {
        trigger("noms");
        gnoms& list = windows().window<gnoms>();
        QCOMPARE(child<QListWidget>(list, "List1")->count(), 0);
        struct Typed {
            const char *name, *address, *town, *postCode, *latitude, *east, *licence;
        };
        const Typed typed[] = {
            {"DUPONT Jean", "3 rue Nationale", "LILLE", "59000", "503800", "30350", "1234567"},
            {"MARTIN Paul", "8 place Verte", "ROUBAIX", "59100", "504136", "31050", "2345678"},
            {"LEROY Marc", "1 rue Haute", "TOURCOING", "59200", "504322", "30938", "3456789"},
        };
        for (const Typed& t : typed) {
            menu(list, "nouv")->trigger();
            processPending();
            adresse& editor = windows().window<adresse>();
            activate(editor);
            typeIn(editor, "Text1", QString::fromLatin1(t.name));
            typeIn(editor, "Texte2", QString::fromLatin1(t.address));
            typeIn(editor, "Texte4", QString::fromLatin1(t.town));
            typeIn(editor, "Texte5", QString::fromLatin1(t.postCode));
            typeIn(editor, "Text3", QString::fromLatin1(t.latitude));
            typeIn(editor, "Text4", QString::fromLatin1(t.east));
            typeIn(editor, "Texte1", QString::fromLatin1(t.licence));
            pressEnterOn(child<QPushButton>(editor, "Commande1"));
            processPending();
            QVERIFY(!windows().isLoaded<adresse>());
        }
        QListWidget* lines = child<QListWidget>(list, "List1");
        QCOMPARE(lines->count(), 3);
        QVERIFY(lines->item(0)->text().startsWith(QStringLiteral("DUPONT Jean")));
        QVERIFY(lines->item(0)->text().endsWith(QStringLiteral("    1")));
        QVERIFY(lines->item(1)->text().startsWith(QStringLiteral("LEROY Marc")));
        QVERIFY(lines->item(1)->text().endsWith(QStringLiteral("    3")));

        // The master file and the season's copy hold the same three fanciers; only the
        // season's copy carries the club-name prefix.
        const QByteArray master = readBytes(data("noms.vba"));
        const QByteArray copy = readBytes(season("noms.vba"));
        QCOMPARE(master.size(), 3 * 3197);
        QCOMPARE(copy.size(), 3 * 3197);
        int recordNo = 0;
        for (const Typed& t : typed) {
            const QByteArray r = master.mid(3197 * recordNo, 3197);
            const QByteArray c = copy.mid(3197 * recordNo++, 3197);
            QCOMPARE(c.left(159), r.left(159));
            QCOMPARE(c.mid(163), r.mid(163));
            QCOMPARE(r.mid(148, 4), QByteArray("1   "));
            QCOMPARE(c.mid(159, 4), QByteArray("LES "));
            QCOMPARE(r.left(23), field(t.name, 23));
            QCOMPARE(r.mid(23, 7), field(t.licence, 7));
            QCOMPARE(r.mid(30, 30), field(t.address, 30));
            QCOMPARE(r.mid(80, 7), field(t.postCode, 7));
            QCOMPARE(r.mid(87, 28), field(t.town, 28));
            QCOMPARE(r.mid(132, 8), leDouble(QByteArray(t.east).toDouble()));
            QCOMPARE(r.mid(140, 8), leDouble(0));
            QCOMPARE(r.mid(589, 8), leDouble(QByteArray(t.latitude).toDouble()));
            QCOMPARE(r.mid(597), QByteArray(2600, '\0')); // nothing owed yet
        }
        leave(list, "quitte");
    }

    // 4. Three races in the club's calendar, picked from the local sites.
    void calendarOfThreeRaces() {
        openClubCalendar("cal");
        QVERIFY(windows().window<chdate>().isVisible());
        chdate& editor = windows().window<chdate>();
        QCOMPARE(editor.windowTitle(), QStringLiteral("CALENDRIER : LES AILES DU NORD"));
        QListWidget* races = child<QListWidget>(editor, "List1");
        QListWidget* sites = child<QListWidget>(editor, "lst1");
        QListWidget* months = child<QListWidget>(editor, "Lst2");
        QListWidget* days = child<QListWidget>(editor, "lst3");
        QCOMPARE(sites->count(), 2);
        struct Race {
            int site, month, day, category;
        };
        // ORLEANS 10 May, TOURS 17 May (VIEUX), ORLEANS 7 June (UN AN).
        for (const Race& r : {Race{0, 4, 10, 0}, Race{1, 4, 17, 0}, Race{0, 5, 7, 2}}) {
            clickItem(races, races->count() - 1);
            clickItem(sites, r.site);
            clickItem(months, r.month);
            clickItem(days, r.day - 1);
            clickOption(editor, QStringLiteral("Option1_%1").arg(r.category));
            QTest::mouseClick(child<QPushButton>(editor, "Commande1"), Qt::LeftButton);
        }
        QCOMPARE(races->count(), 4);
        QCOMPARE(races->item(0)->text(),
                 QStringLiteral("001 ORLEANS         10 mai 2026       VIEUX"));
        QCOMPARE(races->item(2)->text(),
                 QStringLiteral("003 ORLEANS         07 juin 2026      UN AN"));

        auto race = [](const char* site, const char* date, int16_t category, double lat,
                       double east, char letter) {
            return field(site, 15) + QByteArray(date) + le16(category) + QByteArray(1, '\0') +
                   leDouble(lat) + leDouble(east) + leDouble(0) + QByteArray(1, letter);
        };
        const QByteArray cal = readBytes(season("gr1.cal"));
        QCOMPARE(cal.size(), 3 * 51);
        QCOMPARE(cal.mid(0, 51), race("ORLEANS", "10/05/26", 0, 475400, 15400, 'V'));
        QCOMPARE(cal.mid(51, 51), race("TOURS", "17/05/26", 0, 472338, 4122, 'V'));
        QCOMPARE(cal.mid(102, 51), race("ORLEANS", "07/06/26", 2, 475400, 15400, 'A'));
        leave(editor, "quitte");
    }

    // 5. The accounts sheet (slot 0) and one stake sheet (slot 1), built from the catalogue.
    void stakeSheets() {
        trigger("enj");
        enjeu& w = windows().window<enjeu>();
        QTableWidget* grid = child<QTableWidget>(w, "Grid1");
        QListWidget* catalogue = child<QListWidget>(w, "List1");
        auto addLine = [&](int catalogueRow, const char* value) {
            // A click on the empty row at the bottom, the catalogue line, the value, Enter.
            clickCell(grid, grid->rowCount() - 1, 1);
            clickItem(catalogue, catalogueRow, true);
            QTest::keyClicks(grid, QString::fromLatin1(value));
            QTest::keyClick(grid, Qt::Key_Return);
        };
        struct Sheet {
            const char* name;
            QList<std::pair<int, const char*>> lines;
        };
        // TOTAL du jeu, FRAIS 0,40, S/total; then Mise 1,50 and Pot 2,00.
        const Sheet sheets[] = {{"COMPTES", {{43, "0"}, {44, "0.40"}, {49, "0"}}},
                                {"JEU A", {{6, "1,5"}, {1, "2"}}}};
        for (const Sheet& s : sheets) {
            script().answerInput(QString::fromLatin1(s.name));
            menu(w, "nouv")->trigger();
            QCOMPARE(w.windowTitle(), QStringLiteral("gestion des jeux de ") + s.name);
            // An empty sheet shows one empty line: the first line goes there.
            clickCell(grid, 0, 1);
            clickItem(catalogue, s.lines[0].first, true);
            QTest::keyClicks(grid, QString::fromLatin1(s.lines[0].second));
            QTest::keyClick(grid, Qt::Key_Return);
            for (int i = 1; i < s.lines.size(); ++i)
                addLine(s.lines[i].first, s.lines[i].second);
            menu(w, "memoj")->trigger();
            QVERIFY(menu(w, "quitte")->isEnabled());
        }
        QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("1,50"));
        leave(w, "quitte");

        QCOMPARE(readBytes(data("fichenl.jeu")), field("COMPTES", 50) + field("JEU A", 50));
        QCOMPARE(readBytes(data("cptenl.jeu")), stakeLine("TOTAL du jeu ", 0) +
                                                    stakeLine("FRAIS    frai", 0.4f) +
                                                    stakeLine("S/total  s/to", 0));
        QCOMPARE(readBytes(data("gr1.jeu")),
                 stakeLine("Mise     Mise", 1.5f) + stakeLine("Pot       pot", 2.0f));
    }

    // 6. Races 1 (GENERAL) and 2 (SECTEUR) chosen; the set-up asks the fees of each race.
    void choiceOfTwoRaces() {
        openClubCalendar("chconc");
        QVERIFY(windows().isLoaded<choiconc>());
        choiconc& races = windows().window<choiconc>();
        QListWidget* offered = child<QListWidget>(races, "List2");
        QCOMPARE(offered->count(), 3);

        script().answerInput(QStringLiteral("0,50"));
        clickItem(offered, rowStartingWith(offered, QStringLiteral("01 10/05/26  ORLEANS")), true);
        QCOMPARE(races.chosenLines().size(), 1);
        const InputRequest fees = script().asked().last().input;
        QCOMPARE(fees.title, QStringLiteral("MONTANT des FRAIS pour ORLEANS        VIEUX"));

        clickOption(races, QStringLiteral("Option1_2"));
        script().answerInput(QStringLiteral("0.6"));
        clickItem(offered, rowStartingWith(offered, QStringLiteral("02 17/05/26  TOURS")), true);
        QCOMPARE(races.chosenLines().size(), 2);
        QVERIFY(races.chosenLines().at(0).endsWith(QStringLiteral(".101")));
        QVERIFY(races.chosenLines().at(1).endsWith(QStringLiteral(".302")));

        leave(races, "menu");
        QVERIFY(main().raceMenusVisible());
        QVERIFY(windows().isLoaded<recapam>());
        QCOMPARE(session().ChosenRaceCodes[1], int16_t(101));
        QCOMPARE(session().ChosenRaceCodes[2], int16_t(302));
        QCOMPARE(session().ChosenRaceCodes[3], int16_t(0));

        // bases.<code>: site, category digit, long date, coordinates, level, stake sheet 1.
        auto base = [](const char* site, const char* date, double lat, double east, float level) {
            return field(site, 15) + QByteArray("0") + field(date, 17) + leDouble(lat) +
                   leDouble(east) + leDouble(0) + QByteArray(14, '\0') + leSingle(level) +
                   int16s({0, 1}) + QByteArray(22 + 26, '\0');
        };
        QCOMPARE(readBytes(season("bases.101")), base("ORLEANS", "10 mai 2026", 475400, 15400, 0));
        QCOMPARE(readBytes(season("bases.302")), base("TOURS", "17 mai 2026", 472338, 4122, 2));
        // basejeu.<code>: the bets of sheet 1, then the accounts with the fees answered.
        auto basejeu = [](float fees) {
            return stakeLine("Mise     Mise", 1.5f) + stakeLine("Pot       pot", 2.0f) +
                   stakeLine("TOTAL du jeu ", 0) + stakeLine("FRAIS    frai", fees) +
                   stakeLine("S/total  s/to", 0);
        };
        QCOMPARE(readBytes(season("basejeu.101")), basejeu(0.5f));
        QCOMPARE(readBytes(season("basejeu.302")), basejeu(0.6f));
        // mise.<code>: one empty block per fancier.
        QCOMPARE(readBytes(season("mise.101")), QByteArray(3 * 404, '\0'));
        QCOMPARE(readBytes(season("mise.302")), QByteArray(3 * 404, '\0'));
    }

    // 7. Three fanciers' entries typed into the race grids and saved.
    void entriesOfThreeFanciers() {
        recapam& recap = windows().window<recapam>();
        QCOMPARE(recap.lines(),
                 QStringList({QStringLiteral("DUPONT Jean                1 LES AILES DU NORD "),
                              QStringLiteral("LEROY Marc                 3 LES AILES DU NORD "),
                              QStringLiteral("MARTIN Paul                2 LES AILES DU NORD ")}));
        // Grid rows: 1 ENGAGES, 2 Mise 1,50, 3 Pot 2,00, 4 TOTAL du jeu, 5 FRAIS, 6 S/total.
        struct Race {
            const char *engages, *mise, *pot;
        };
        struct Entry {
            const char* name;
            Race first, second;
        };
        const Entry entries[] = {
            {"DUPONT Jean", {"6", "6", "4"}, {"3", "3", ""}},
            {"MARTIN Paul", {"10", "8", "10"}, {"", "", ""}},
            {"LEROY Marc", {"2", "5", ""}, {"4", "4", "2"}}, // Mise 5 > 2 pigeons: capped
        };
        for (const Entry& e : entries) {
            jeuamat& sheet = openEntrySheet(QString::fromLatin1(e.name));
            QCOMPARE(child<QLineEdit>(sheet, "Text1")->text(), QString::fromLatin1(e.name));
            for (const Race& r : {e.first, e.second}) {
                if (*r.engages)
                    typeCount(sheet, 1, r.engages);
                if (*r.mise)
                    typeCount(sheet, 2, r.mise);
                if (*r.pot)
                    typeCount(sheet, 3, r.pot);
                if (sheet.currentTab() == 1)
                    QTest::keyClick(sheet.grid(1), '+');
            }
            if (QByteArray(e.name) == "DUPONT Jean") {
                QCOMPARE(count(sheet, 1, 4), QStringLiteral("17,00"));
                QCOMPARE(count(sheet, 1, 5), QStringLiteral("6"));
                QCOMPARE(count(sheet, 1, 6), QStringLiteral("20,00"));
                QCOMPARE(count(sheet, 2, 6), QStringLiteral("6,30"));
                QCOMPARE(child<QLabel>(sheet, "Label9_1")->text(),
                         QStringLiteral("ORLEANS VIEUX GENERAL = 20,00"));
            }
            if (QByteArray(e.name) == "LEROY Marc")
                QCOMPARE(count(sheet, 1, 2), QStringLiteral("2"));
            QTest::mouseClick(child<QPushButton>(sheet, "Command1"), Qt::LeftButton);
            processPending();
            QVERIFY(!windows().isLoaded<jeuamat>());
        }

        // What each owes, by hand: stakes + fees × pigeons.
        //   DUPONT 101: 6×1,50 + 4×2,00 + 6×0,50 = 20,00   302: 3×1,50 + 3×0,60 = 6,30
        //   MARTIN 101: 8×1,50 + 10×2,00 + 10×0,50 = 37,00
        //   LEROY  101: 2×1,50 + 2×0,50 = 4,00             302: 4×1,50 + 2×2,00 + 4×0,60 = 12,40
        // The season's file takes the amounts; the master keeps those the season's file
        // held before the save (none yet).
        const int owed[3][2] = {{20000, 6300}, {37000, 0}, {4000, 12400}};
        for (int f = 1; f <= 3; ++f) {
            const FancierRecord r = fancier(season("noms.vba"), f);
            QCOMPARE(r.raceAmount(101), owed[f - 1][0]);
            QCOMPARE(r.raceAmount(302), owed[f - 1][1]);
            const QByteArray m = readBytes(data("noms.vba")).mid(3197 * (f - 1), 3197);
            QCOMPARE(m.left(23), r.bytes().left(23));
            QCOMPARE(m.mid(597), QByteArray(2600, '\0'));
        }
        QCOMPARE(fancier(season("noms.vba"), 1).lastSaveYear(), QStringLiteral(" 2026"));
        // Stake blocks: pigeons, Mise, Pot, the bets total, FRAIS (the pigeons), the
        // sub-total; totals are stored as their whole part.
        const QByteArray mise101 = readBytes(season("mise.101"));
        const QByteArray mise302 = readBytes(season("mise.302"));
        QCOMPARE(mise101.size(), 3 * 404);
        QCOMPARE(mise101.mid(0, 24), singles({6, 6, 4, 17, 6, 20}));
        QCOMPARE(mise101.mid(404, 24), singles({10, 8, 10, 32, 10, 37}));
        QCOMPARE(mise101.mid(808, 24), singles({2, 2, 0, 3, 2, 4}));
        QCOMPARE(mise302.mid(0, 24), singles({3, 3, 0, 4, 3, 6}));
        QCOMPARE(mise302.mid(404, 24), singles({0, 0, 0, 0, 0, 0}));
        QCOMPARE(mise302.mid(808, 24), singles({4, 4, 2, 10, 4, 12}));

        QCOMPARE(recap.lines(),
                 QStringList(
                     {QStringLiteral("DUPONT Jean                1 LES AILES DU NORD    26,300"),
                      QStringLiteral("LEROY Marc                 3 LES AILES DU NORD    16,400"),
                      QStringLiteral("MARTIN Paul                2 LES AILES DU NORD    37,000")}));
    }

    // 8. "Mémoriser la Récap", then the recap sheets, the totals per race and the detail
    // per fancier.
    void recapsStoredAndPrinted() {
        // The recap window left and opened again from the main menu reads the totals back.
        leave(windows().window<recapam>(), "quitte");
        trigger("rec");
        recapam& recap = windows().window<recapam>();
        QCOMPARE(recap.lines(),
                 QStringList(
                     {QStringLiteral("DUPONT Jean                1 LES AILES DU NORD    26,300"),
                      QStringLiteral("LEROY Marc                 3 LES AILES DU NORD    16,400"),
                      QStringLiteral("MARTIN Paul                2 LES AILES DU NORD    37,000")}));
        script().answer(MsgAnswer::Yes);
        recap.memoAction()->trigger();
        QCOMPARE(script().messages().last().defaultButton, MsgAnswer::Yes);
        // The fanciers who entered pigeons, then totals per element.
        QByteArray recap101 = int16s({3, 18, 16, 14, 52, 18, 61});
        recap101 += QByteArray(204 - recap101.size(), '\0');
        QByteArray recap302 = int16s({2, 7, 7, 2, 14, 7, 18});
        recap302 += QByteArray(204 - recap302.size(), '\0');
        QCOMPARE(readBytes(season("recap.101")), recap101);
        QCOMPARE(readBytes(season("recap.302")), recap302);
        // The companions: the bet lines' recap (the lines before FRAIS's accounts) and
        // each fancier's valid counts of those lines. The names follow the stake file
        // names: gr1jeu.101 for race 1 at GENERAL, gr3jeu.102 for race 2 at SECTEUR.
        auto padded = [](QByteArray b, int size) { return b + QByteArray(size - b.size(), '\0'); };
        QCOMPARE(readBytes(season("rgr1.101")), padded(int16s({3, 18, 16, 14}), 204));
        QCOMPARE(readBytes(season("rgr3.102")), padded(int16s({2, 7, 7, 2}), 204));
        QCOMPARE(readBytes(season("gr1mis.101")), padded(singles({6, 6, 4}), 404) +
                                                      padded(singles({10, 8, 10}), 404) +
                                                      padded(singles({2, 2, 0}), 404));
        QCOMPARE(readBytes(season("gr3mis.102")), padded(singles({3, 3, 0}), 404) +
                                                      QByteArray(404, '\0') +
                                                      padded(singles({4, 4, 2}), 404));

        RecordingPrinterScope printer;
        // Each print of the recap window says over it where it went, and its pages.
        script().answer(MsgAnswer::Ok);
        recap.listerAction()->trigger();
        QCOMPARE(script().messages().last().text,
                 QStringLiteral("Impression « Récapitulatifs » : 2 pages"));
        QCOMPARE(script().messages().last().title, recap.windowTitle());
        QCOMPARE(printer->pages().size(), 2);
        QCOMPARE(
            filled(printer->pages().at(0)),
            QStringList({QStringLiteral("              SOCIETE de LES AILES DU NORD"),
                         QStringLiteral("ORLEANS VIEUX GENERAL                  du 10 mai 2026"),
                         QStringLiteral("Nombre d'Amateurs        3"),
                         QStringLiteral("Nombre de Pigeons       18"),
                         QStringLiteral("Mise     Mise 1,500    16   24,000"),
                         QStringLiteral("Pot       pot 2,000    14   28,000"),
                         QStringLiteral("           TOTAL DU JEU =   52,000"),
                         QStringLiteral("FRAIS         0,500    18    9,000"),
                         QStringLiteral("             SOUS TOTAL =   61,000")}));
        QCOMPARE(filled(printer->pages().at(1)),
                 QStringList({QStringLiteral("              SOCIETE de LES AILES DU NORD"),
                              QStringLiteral("TOURS VIEUX SECTEUR                  du 17 mai 2026"),
                              QStringLiteral("Nombre d'Amateurs        2"),
                              QStringLiteral("Nombre de Pigeons        7"),
                              QStringLiteral("Mise     Mise 1,500     7   10,500"),
                              QStringLiteral("Pot       pot 2,000     2    4,000"),
                              QStringLiteral("           TOTAL DU JEU =   14,500"),
                              QStringLiteral("FRAIS         0,600     7    4,200"),
                              QStringLiteral("             SOUS TOTAL =   18,700")}));

        // The main menu prints the same sheets.
        const QStringList sheets = printedLines(printer->documents().last());
        const int messages = static_cast<int>(script().messages().size());
        trigger("edrecaps");
        QCOMPARE(printedLines(printer->documents().last()), sheets);
        // The main menu's print says it on the main window's status label.
        QCOMPARE(script().messages().size(), messages);
        QCOMPARE(main().status(), QStringLiteral("Impression « Récapitulatifs » : 2 pages"));

        script().answer(MsgAnswer::Ok).answer(MsgAnswer::Ok);
        recap.listmtsAction()->trigger();
        QCOMPARE(script().messages().last().text,
                 QStringLiteral("Impression « Totaux par concours » : 1 page"));
        QCOMPARE(printer->pages().size(), 1);
        QCOMPARE(
            filled(printer->pages().at(0)),
            QStringList({QStringLiteral("                           ORLEANS   TOURS"),
                         QStringLiteral("                           GENERAL  SECTEUR   TOTAUX"),
                         QStringLiteral(" DUPONT Jean               20,000    6,300    26,300"),
                         QStringLiteral(" LEROY Marc                 4,000   12,400    16,400"),
                         QStringLiteral(" MARTIN Paul               37,000             37,000"),
                         QStringLiteral("                           61,000   18,700    79,700")}));

        recap.listdetAction()->trigger();
        QCOMPARE(printer->pages().size(), 2);
        QCOMPARE(
            filled(printer->pages().at(0)),
            QStringList(
                {QStringLiteral("                         ORLEANS VIEUX GENERAL                  "
                                "du 10 mai 2026"),
                 QStringLiteral("                       Pig. Mis pot   Total  fra  S/total"),
                 QStringLiteral("DUPONT Jean               6   6   4   17,000   6   20,000"),
                 QStringLiteral("LEROY Marc                2   2   0    3,000   2    4,000"),
                 QStringLiteral("MARTIN Paul              10   8  10   32,000  10   37,000"),
                 QStringLiteral("                         18  16  14   52,000  18   61,000")}));
        QCOMPARE(
            filled(printer->pages().at(1)),
            QStringList(
                {QStringLiteral("                         TOURS VIEUX SECTEUR                  du "
                                "17 mai 2026"),
                 QStringLiteral("                       Pig. Mis pot   Total  fra  S/total"),
                 QStringLiteral("DUPONT Jean               3   3   0    4,500   3    6,300"),
                 QStringLiteral("LEROY Marc                4   4   2   10,000   4   12,400"),
                 QStringLiteral("                          7   7   2   14,500   7   18,700")}));
    }
};

QTEST_MAIN(BasketingEndToEnd)
#include "basketing_e2e_wtest.moc"
