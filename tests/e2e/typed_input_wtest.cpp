// Text typed into the boxes of both programs: letters, signs, huge numbers, several
// separators, blanks and characters that Windows-1252 cannot hold. A box refuses what its
// field cannot take with a French message naming it and keeps the focus, and no file
// changes; a value the rules accept is taken.
#include "calculator/basedist_window.h"
#include "calculator/tarvio_texts.h"
#include "common/record_file.h"
#include "common/session.h"
#include "entries/enjeu_window.h"
#include "entries/jeuamat_window.h"
#include "fanciers/adresse_window.h"
#include "fanciers/basedist_window.h"
#include "platform/clock.h"
#include "platform/scripted_dialogs.h"
#include "platform/window_registry.h"
#include "shell/calend_window.h"
#include "shell/chdate_window.h"
#include "shell/club.h"
#include "shell/depart_window.h"
#include "shell/program.h"
#include "shell/season.h"
#include "shell/societe_window.h"
#include "tests/entries/entry_test_support.h"
#include "tests/support/club_fixture.h"
#include "tests/support/window_child.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDirIterator>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include <functional>
#include <memory>

using namespace vt;
using namespace vt::testing;

namespace {

// What no number box may take, whatever its field.
const QStringList NotNumbers = {
    QStringLiteral("abc"),      QStringLiteral("+-5"),        QStringLiteral("1e300"),
    QStringLiteral("48,05,06"), QStringLiteral("50 38 12"),   QStringLiteral("Ω"),
    QStringLiteral("12€"),      QStringLiteral("\U0001F426"), QStringLiteral("--1"),
    QString(400, u'9'), // beyond a Double
};

// Every file below a folder with its bytes.
QMap<QString, QByteArray> filesBelow(const QString& root) {
    QMap<QString, QByteArray> out;
    QDirIterator it(root, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        out.insert(path, QFileInfo(path).isDir() ? QByteArray("<dir>") : readBytes(path));
    }
    return out;
}

// Puts the text in the box (as typed, characters outside the keyboard included) and
// presses Enter there.
void typeAndEnter(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->setText(text);
    QTest::keyClick(box, Qt::Key_Return);
}

QString lastMessage(ScriptedDialogs& d) {
    const QList<MessageRequest> m = d.messages();
    return m.isEmpty() ? QString() : m.last().text;
}

} // namespace

class TypedInput : public QObject {
    Q_OBJECT

    std::unique_ptr<ClubFixture> club;
    std::unique_ptr<ScriptedDialogsScope> scripted;
    ScriptedDialogs& dialogs() { return **scripted; }

    // Types each text into the box and presses Enter: every one is refused with a message
    // that holds `boxName`, the focus stays in the box, and no file below the club changes.
    void expectRefused(QLineEdit* box, const QStringList& texts, const QString& boxName) {
        const QMap<QString, QByteArray> before = filesBelow(club->startDir());
        for (const QString& text : texts) {
            const int asked = dialogs().messages().size();
            dialogs().answer(MsgAnswer::Ok);
            typeAndEnter(box, text);
            QVERIFY2(dialogs().messages().size() == asked + 1, qPrintable(text));
            QVERIFY2(lastMessage(dialogs()).contains(boxName),
                     qPrintable(text + QStringLiteral(" : ") + lastMessage(dialogs())));
            QVERIFY2(QApplication::focusWidget() == box, qPrintable(text));
        }
        QCOMPARE(dialogs().pendingAnswers(), 0);
        QCOMPARE(filesBelow(club->startDir()), before);
    }
    // A text put in a box and refused by the save, with a message that holds `caption`.
    struct SaveCase {
        const char* box;
        QString text, caption;
    };
    // Each case's text in its box, then `save`: refused with the message, the box takes the
    // focus, no file below the club changes; the box then gets its text back.
    void expectRefusedOnSave(QWidget& w, const QList<SaveCase>& cases,
                             const std::function<void()>& save) {
        const QMap<QString, QByteArray> before = filesBelow(club->startDir());
        for (const SaveCase& c : cases) {
            QLineEdit* box = child<QLineEdit>(w, c.box);
            const QString kept = box->text();
            box->setText(c.text);
            dialogs().answer(MsgAnswer::Ok);
            save();
            QVERIFY2(lastMessage(dialogs()).contains(c.caption),
                     qPrintable(lastMessage(dialogs())));
            QCOMPARE(QApplication::focusWidget(), box);
            box->setText(kept);
        }
        QCOMPARE(dialogs().pendingAnswers(), 0);
        QCOMPARE(filesBelow(club->startDir()), before);
    }
    // The entry sheet of fancier 1 with one chosen race.
    jeuamat& openEntrySheet() {
        Session& s = session();
        s.ChosenRaceCodes = {};
        s.ChosenRaceCodes[1] = 105;
        writeRaceFiles(club->yearFolder(), {105, "Brive", 451000, 13000, 0, SimpleSheet, 3});
        s.CurrentFancierNo = 1;
        jeuamat& sheet = windows().show<jeuamat>();
        QApplication::setActiveWindow(&sheet);
        if (!QTest::qWaitForWindowActive(&sheet))
            qWarning("the entry sheet is not active");
        return sheet;
    }
    // Types each text into the box and presses Enter: no message.
    void expectAccepted(QLineEdit* box, const QStringList& texts) {
        for (const QString& text : texts) {
            const int asked = dialogs().asked().size();
            typeAndEnter(box, text);
            QVERIFY2(dialogs().asked().size() == asked,
                     qPrintable(text + QStringLiteral(" : ") + lastMessage(dialogs())));
        }
    }

    // 4805060 (a latitude typed with a digit too many) and 487560 (75 minutes) typed in a
    // coordinate box, then Enter: each refused, the message naming the box and the fault.
    void expectNoPlaceRefused(QLineEdit* box, const QString& boxName, bool latitude) {
        expectRefused(box, {QStringLiteral("4805060")}, boxName);
        QVERIFY2(lastMessage(dialogs()).contains(latitude ? QStringLiteral("90°")
                                                          : QStringLiteral("180°")),
                 qPrintable(lastMessage(dialogs())));
        expectRefused(box, {QStringLiteral("487560")}, boxName);
        QVERIFY2(lastMessage(dialogs()).contains(QStringLiteral("minutes (75)")),
                 qPrintable(lastMessage(dialogs())));
        box->clear();
    }
    // Fancier 1 as both fanciers files hold him.
    FancierRecord storedFancier(bool master = false) const {
        return RecordFileOf<FancierRecord>(master ? club->path("noms.vba")
                                                  : club->yearPath("noms.vba"))
            .read(1);
    }
    // Fancier 1 stored with a latitude no box can show and a west longitude, in both files.
    void storeLatitudeBeyondTheGlobe() {
        for (bool master : {false, true}) {
            FancierRecord f = storedFancier(master);
            f.setLatitudeDms(4805060);
            f.setLongitudeEastDms(0);
            f.setLongitudeWestDms(21000);
            RecordFileOf<FancierRecord>(master ? club->path("noms.vba")
                                               : club->yearPath("noms.vba"))
                .write(1, f);
        }
    }
    void expectStoredLoft(double latitude, double west) {
        for (bool master : {false, true}) {
            const FancierRecord f = storedFancier(master);
            QCOMPARE(f.latitudeDms(), latitude);
            QCOMPARE(f.longitudeEastDms(), 0.0);
            QCOMPARE(f.longitudeWestDms(), west);
        }
    }

private slots:
    void init() {
        setClockForTests([] { return QDateTime(QDate(2005, 5, 10), QTime(9, 0)); });
        setEndProgramForTests([] {});
        club = std::make_unique<ClubFixture>(2005);
        club->writeSmallClub();
        club->configureSession();
        scripted = std::make_unique<ScriptedDialogsScope>();
    }
    void cleanup() {
        windows().unloadAll();
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        scripted.reset();
        club.reset();
        entrySheetLinks() = {};
        setEndProgramForTests({});
        setClockForTests({});
    }

    // The club form's group number must be a whole number within an Integer.
    void clubGroupNumber() {
        windows().show<depart>();
        societe& form = windows().show<societe>();
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));
        auto* box = child<QLineEdit>(form, "Text1");
        QStringList refused = NotNumbers;
        refused << QStringLiteral("32768") << QStringLiteral("-32769")
                << QStringLiteral("99999999999");
        expectRefused(box, refused, QStringLiteral("numéro du groupement"));
        expectAccepted(box,
                       {QStringLiteral(" 12 "), QStringLiteral("-32768"), QStringLiteral("32767"),
                        QStringLiteral("+5"), QStringLiteral("7,4"), QString()});
        QCOMPARE(groupNumberFromText(QStringLiteral("7,4")), std::optional<int16_t>(7));
    }

    // A character the club file cannot hold is refused on save, naming its box, which
    // takes the focus; "€" is one it can hold.
    void clubTextsOutsideWindows1252() {
        windows().show<depart>();
        societe& form = windows().show<societe>();
        QApplication::setActiveWindow(&form);
        QVERIFY(QTest::qWaitForWindowActive(&form));
        expectRefusedOnSave(
            form,
            {{"txt1", QStringLiteral("LES AMIS Ω"), QStringLiteral("Nom de la société")},
             {"Txt2", QStringLiteral("\U0001F426"), QStringLiteral("Code société")},
             {"Text2", QStringLiteral("Jean Ω"), QStringLiteral("Nom du correspondant")},
             {"Text6", QStringLiteral("LILLE \U0001F426"), QStringLiteral("Localité")}},
            [&] {
                child<QLineEdit>(form, "Text1")->setFocus();
                child<QAction>(form, "quitte")->trigger();
                QVERIFY(windows().isLoaded<societe>());
            });

        child<QLineEdit>(form, "Text6")->setText(QStringLiteral("LILLE €"));
        dialogs().answer(MsgAnswer::Yes); // memorise the changes
        child<QAction>(form, "quitte")->trigger();
        QCOMPARE(dialogs().pendingAnswers(), 0);
        QCOMPARE(readBytes(club->path(QStringLiteral("societe.nom"))).mid(110, 8),
                 QByteArray("LILLE \x80 "));
    }

    // The main window's year box takes a year in digits, nothing else, and opens no
    // season folder for what it refuses.
    void seasonYearBox() {
        depart& main = windows().show<depart>();
        QApplication::setActiveWindow(&main);
        QVERIFY(QTest::qWaitForWindowActive(&main));
        child<QAction>(main, "annee")->trigger();
        auto* box = child<QLineEdit>(main, "Text1");
        QStringList refused = NotNumbers;
        refused << QStringLiteral("+5") << QStringLiteral("-5") << QStringLiteral("20055")
                << QStringLiteral("2 005") << QStringLiteral("05,");
        const QMap<QString, QByteArray> before = filesBelow(club->startDir());
        for (const QString& text : refused) {
            dialogs().answer(MsgAnswer::Ok);
            typeAndEnter(box, text);
            QVERIFY2(lastMessage(dialogs()) == yearRefusedMessage(), qPrintable(text));
            QVERIFY2(QApplication::focusWidget() == box, qPrintable(text));
        }
        QCOMPARE(filesBelow(club->startDir()), before);
        QCOMPARE(session().SeasonYear, 2005);
        typeAndEnter(box, QStringLiteral(" 06 "));
        QCOMPARE(session().SeasonYear, 2006);
        QCOMPARE(dialogs().pendingAnswers(), 0);
    }

    // The entry sheet: the coordinate boxes take a positive number with either separator;
    // the name must begin with A to Z and be Windows-1252; a refused save writes nothing.
    void entrySheetBoxes() {
        jeuamat& sheet = openEntrySheet();
        const QMap<QString, QByteArray> before = filesBelow(club->startDir());

        QStringList refused = NotNumbers;
        refused << QStringLiteral("-503812") << QStringLiteral("-0,5");
        expectRefused(child<QLineEdit>(sheet, "Text4"), refused, QStringLiteral("LATITUDE"));
        expectAccepted(
            child<QLineEdit>(sheet, "Text4"),
            {QStringLiteral("503812"), QStringLiteral(" 503812,25 "), QStringLiteral("503812.25")});
        expectRefused(child<QLineEdit>(sheet, "Text5"), refused, QStringLiteral("LONGITUDE EST"));
        child<QLineEdit>(sheet, "Text5")->clear();
        expectRefused(child<QLineEdit>(sheet, "Text6"), refused, QStringLiteral("LONGITUDE OUEST"));
        child<QLineEdit>(sheet, "Text6")->clear();
        const QString name = child<QLineEdit>(sheet, "Text1")->text();
        expectRefused(child<QLineEdit>(sheet, "Text1"),
                      {QStringLiteral("Ωmega"), QStringLiteral("1DUPONT"), QStringLiteral("-X"),
                       QStringLiteral("\U0001F426")},
                      QStringLiteral("A à Z"));
        child<QLineEdit>(sheet, "Text1")->setText(name);

        // Refused at the save, each naming its box and giving it the focus.
        expectRefusedOnSave(
            sheet,
            {{"Text1", QStringLiteral("DUPONT Ω"), QStringLiteral("NOM et Prénom")},
             {"Texte2", QStringLiteral("rue \U0001F426"), QStringLiteral("ADRESSE")},
             {"Texte4", QStringLiteral("LILLE Ω"), QStringLiteral("VILLE")},
             {"Text4", QStringLiteral("-503812"), QStringLiteral("LATITUDE")},
             {"Text4", QStringLiteral("48,05,06"), QStringLiteral("LATITUDE")}},
            [&] { QVERIFY(!sheet.save()); });
        QCOMPARE(filesBelow(club->startDir()), before);
    }

    // The NOMBRE cells of the race grids take digits only, at most seven of them: any other
    // key is ignored, an eighth digit refused.
    void entrySheetGridCells() {
        jeuamat& sheet = openEntrySheet();
        QTableWidget* grid = sheet.grid(1);
        grid->setFocus();
        grid->setCurrentCell(1, 2);
        const QString before = grid->item(1, 2)->text();
        const QMap<QString, QByteArray> files = filesBelow(club->startDir());
        for (const QString& key :
             {QStringLiteral("a"), QStringLiteral("-"), QStringLiteral(","), QStringLiteral("e"),
              QStringLiteral("Ω"), QStringLiteral("€"), QStringLiteral(" ")})
            QTest::sendKeyEvent(QTest::Click, grid, Qt::Key_unknown, key, Qt::NoModifier);
        QCOMPARE(grid->item(1, 2)->text(), before);
        QVERIFY(dialogs().asked().isEmpty());
        QTest::keyClicks(grid, QStringLiteral("500"));
        QCOMPARE(grid->item(1, 2)->text(), QStringLiteral("500"));
        dialogs().answer(MsgAnswer::Ok);
        QTest::keyClick(grid, Qt::Key_1);
        QCOMPARE(lastMessage(dialogs()),
                 QStringLiteral("Un nombre ne peut pas dépasser 500 : la récapitulation ne "
                                "compte pas un nombre plus grand."));
        QCOMPARE(grid->item(1, 2)->text(), QStringLiteral("500"));
        QCOMPARE(QApplication::focusWidget(), grid);
        QCOMPARE(filesBelow(club->startDir()), files);
    }

    // The address editor: the coordinate boxes refuse on Enter what the save would refuse,
    // before a longitude empties the other one; the texts must be Windows-1252.
    void addressEditor() {
        session().CurrentFancierNo = 1;
        adresse& a = windows().show<adresse>();
        QApplication::setActiveWindow(&a);
        QVERIFY(QTest::qWaitForWindowActive(&a));
        QStringList refused = NotNumbers;
        refused << QStringLiteral("-503812") << QStringLiteral("-0,5");
        expectRefused(a.box(FancierBox::Latitude), refused, QStringLiteral("LATITUDE"));
        expectAccepted(a.box(FancierBox::Latitude), {QStringLiteral(" 503812,25 ")});
        a.box(FancierBox::West)->setText(QStringLiteral("22011"));
        expectRefused(a.box(FancierBox::East), refused, QStringLiteral("LONGITUDE EST"));
        QCOMPARE(a.box(FancierBox::West)->text(), QStringLiteral("22011"));
        a.box(FancierBox::East)->clear();
        expectRefused(a.box(FancierBox::West), refused, QStringLiteral("LONGITUDE OUEST"));
        a.box(FancierBox::West)->setText(QStringLiteral("22011"));
        for (FancierBox b : {FancierBox::Name, FancierBox::Town, FancierBox::Licence}) {
            const QString kept = a.box(b)->text();
            expectRefused(a.box(b), {QStringLiteral("A Ω"), QStringLiteral("A \U0001F426")},
                          fancierBoxCaption(b));
            a.box(b)->setText(kept);
        }
        expectRefusedOnSave(a,
                            {{"Texte2", QStringLiteral("rue Ω"), QStringLiteral("ADRESSE")},
                             {"Text3", QStringLiteral("48,05,06"), QStringLiteral("LATITUDE")},
                             {"Text4", QStringLiteral("-5"), QStringLiteral("LONGITUDE EST")}},
                            [&] { QVERIFY(!a.save()); });
    }

    // Every box that takes a coordinate refuses one that names no place, on Enter and when
    // its window stores it: both release-site editors, the address editor, the entry sheet.
    void coordinatesThatNameNoPlace() {
        vt::tarvio::setStartDirectory(club->startDir());
        const auto siteEditor = [this](QMainWindow& w) {
            QApplication::setActiveWindow(&w);
            QVERIFY(QTest::qWaitForWindowActive(&w));
            child<QLineEdit>(w, "Text6")->setText(QStringLiteral("ORLEANS"));
            expectNoPlaceRefused(child<QLineEdit>(w, "Text1"), QStringLiteral("LATITUDE"), true);
            expectNoPlaceRefused(child<QLineEdit>(w, "Text2"), QStringLiteral("EST"), false);
            expectNoPlaceRefused(child<QLineEdit>(w, "Text7"), QStringLiteral("OUEST"), false);
            expectAccepted(child<QLineEdit>(w, "Text1"),
                           {QStringLiteral("900000"), QStringLiteral("475959,99")});
            expectAccepted(child<QLineEdit>(w, "Text7"), {QStringLiteral("1800000")});
            child<QLineEdit>(w, "Text7")->clear();
            expectRefusedOnSave(
                w,
                {{"Text1", QStringLiteral("4805060"), QStringLiteral("LATITUDE")},
                 {"Text2", QStringLiteral("487560"), QStringLiteral("EST")},
                 {"Text7", QStringLiteral("4805060"), QStringLiteral("OUEST")}},
                [&] { QTest::mouseClick(child<QPushButton>(w, "Command1"), Qt::LeftButton); });
        };
        siteEditor(windows().show<vt::basedist>());
        windows().unloadAll();
        siteEditor(windows().show<vt::tarvio::basedist>());
        windows().unloadAll();

        session().CurrentFancierNo = 1;
        adresse& a = windows().show<adresse>();
        QApplication::setActiveWindow(&a);
        QVERIFY(QTest::qWaitForWindowActive(&a));
        expectNoPlaceRefused(a.box(FancierBox::Latitude), QStringLiteral("LATITUDE"), true);
        expectNoPlaceRefused(a.box(FancierBox::East), QStringLiteral("LONGITUDE EST"), false);
        expectNoPlaceRefused(a.box(FancierBox::West), QStringLiteral("LONGITUDE OUEST"), false);
        a.box(FancierBox::Latitude)->setText(QStringLiteral("503812"));
        expectRefusedOnSave(
            a,
            {{"Text3", QStringLiteral("4805060"), QStringLiteral("LATITUDE")},
             {"Text4", QStringLiteral("487560"), QStringLiteral("LONGITUDE EST")},
             {"Text5", QStringLiteral("4805060"), QStringLiteral("LONGITUDE OUEST")}},
            [&] { QVERIFY(!a.save()); });
        windows().unloadAll();

        jeuamat& sheet = openEntrySheet();
        expectNoPlaceRefused(child<QLineEdit>(sheet, "Text4"), QStringLiteral("LATITUDE"), true);
        expectNoPlaceRefused(child<QLineEdit>(sheet, "Text5"), QStringLiteral("LONGITUDE EST"),
                             false);
        expectNoPlaceRefused(child<QLineEdit>(sheet, "Text6"), QStringLiteral("LONGITUDE OUEST"),
                             false);
        child<QLineEdit>(sheet, "Text4")->setText(QStringLiteral("503812"));
        expectRefusedOnSave(
            sheet,
            {{"Text4", QStringLiteral("4805060"), QStringLiteral("LATITUDE")},
             {"Text5", QStringLiteral("487560"), QStringLiteral("LONGITUDE EST")},
             {"Text6", QStringLiteral("4805060"), QStringLiteral("LONGITUDE OUEST")}},
            [&] { QVERIFY(!sheet.save()); });
    }

    // A stored latitude that no box can show is kept by a save made for something else (a
    // telephone number), from the address editor and from the entry sheet; a latitude typed
    // in its box replaces it.
    void aSaveForAnotherBoxKeepsAStoredCoordinate() {
        storeLatitudeBeyondTheGlobe();
        session().CurrentFancierNo = 1;
        adresse& a = windows().show<adresse>();
        a.box(FancierBox::Telephone)->setText(QStringLiteral("03 20 12 34 56"));
        QVERIFY(a.save());
        QCOMPARE(storedFancier().telephone().trimmed(), QStringLiteral("03 20 12 34 56"));
        expectStoredLoft(4805060, 21000);
        windows().unloadAll();

        jeuamat& sheet = openEntrySheet();
        child<QLineEdit>(sheet, "Texte6")->setText(QStringLiteral("03 20 65 43 21"));
        QVERIFY(sheet.save());
        QCOMPARE(storedFancier().telephone().trimmed(), QStringLiteral("03 20 65 43 21"));
        expectStoredLoft(4805060, 21000);
        windows().unloadAll();

        adresse& again = windows().show<adresse>();
        again.box(FancierBox::Latitude)->setText(QStringLiteral("480506"));
        QVERIFY(again.save());
        expectStoredLoft(480506, 21000);
        QCOMPARE(dialogs().pendingAnswers(), 0);
    }

    // The calendar editor's year box: a year in digits, nothing else.
    void calendarEditorYearBox() {
        session().ListMode = 1;
        windows().window<calend>().chooseCalendar(1);
        QVERIFY(windows().isLoaded<chdate>());
        chdate& editor = windows().window<chdate>();
        QApplication::setActiveWindow(&editor);
        QVERIFY(QTest::qWaitForWindowActive(&editor));
        child<QAction>(editor, "ann")->trigger();
        // The box holds four characters: a longer text is cut to them as it is typed.
        QStringList refused = NotNumbers.mid(0, NotNumbers.size() - 1);
        refused << QStringLiteral("+5") << QStringLiteral("05,") << QStringLiteral(" ");
        auto* box = child<QLineEdit>(editor, "Text1");
        QCOMPARE(box->maxLength(), 4);
        expectRefused(box, refused, QStringLiteral("Tapez l'année en chiffres"));
    }

    // The stake-sheet editor: a sheet name outside Windows-1252, a value or a count that
    // is not a number, are refused; the sheet files stay as they were.
    void stakeSheetEditor() {
        club->writeStakeSheet(1, QStringLiteral("JEU A"),
                              {{QStringLiteral("Mise    "), QStringLiteral(" Mise"), 1.5f, 4},
                               {QStringLiteral("TOTAL du"), QStringLiteral(" jeu "), 0.0f}});
        enjeu& w = windows().show<enjeu>();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto* combo = child<QComboBox>(w, "Combo1");
        auto* grid = child<QTableWidget>(w, "Grid1");
        const QMap<QString, QByteArray> before = filesBelow(club->startDir());

        for (const QString& name : {QStringLiteral("JEU Ω"), QStringLiteral("\U0001F426 B")}) {
            dialogs().answerInput(name).answer(MsgAnswer::Ok);
            QTest::keyClick(combo, Qt::Key_A);
            QVERIFY2(lastMessage(dialogs()).startsWith(QStringLiteral("Le nom contient")),
                     qPrintable(lastMessage(dialogs())));
        }
        QCOMPARE(filesBelow(club->startDir()), before);

        combo->setCurrentIndex(1);
        emit combo->activated(1);
        QCOMPARE(w.windowTitle(), QStringLiteral("gestion des jeux de JEU A"));
        const QByteArray sheet = readBytes(club->path(QStringLiteral("gr1.jeu")));
        // Row 1's cell of that column (1 the value, 2 the hidden count) emptied, then typed.
        const auto typeCell = [&](int column, const QString& typed) {
            grid->setFocus();
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                              grid->visualRect(grid->model()->index(0, 1)).center());
            if (column == 2)
                QTest::keyClick(grid, Qt::Key_Right);
            for (int i = 0; i < 50; ++i)
                QTest::keyClick(grid, Qt::Key_Backspace);
            for (QChar c : typed.left(40))
                QTest::sendKeyEvent(QTest::Click, grid, Qt::Key_unknown, QString(c),
                                    Qt::NoModifier);
            QTest::keyClick(grid, Qt::Key_Return);
        };
        for (int column : {1, 2}) {
            for (const QString& typed : NotNumbers) {
                const int asked = dialogs().messages().size();
                dialogs().answer(MsgAnswer::Ok);
                typeCell(column, typed);
                QCOMPARE(dialogs().messages().size(), asked + 1);
                const QString expected = column == 1 ? QStringLiteral("La valeur de la ligne 1 ")
                                                     : QStringLiteral("Le nombre de la ligne 1 ");
                QVERIFY2(lastMessage(dialogs()).startsWith(expected),
                         qPrintable(typed + QStringLiteral(" : ") + lastMessage(dialogs())));
                QCOMPARE(readBytes(club->path(QStringLiteral("gr1.jeu"))), sheet);
                // The cell back to what it held: accepted, and the sheet written unchanged.
                typeCell(column, column == 1 ? QStringLiteral("1,5") : QStringLiteral("4"));
                QCOMPARE(dialogs().messages().size(), asked + 1);
                QCOMPARE(readBytes(club->path(QStringLiteral("gr1.jeu"))), sheet);
            }
        }
        QCOMPARE(dialogs().pendingAnswers(), 0);
    }

    // Both release-site editors, Vorel's and Tarvio's: the coordinate boxes refuse what is
    // not a positive number, the name what the file cannot hold; distgen is left alone.
    void releaseSiteEditors() {
        vt::tarvio::setStartDirectory(club->startDir());
        const auto check = [this](QMainWindow& w) {
            QApplication::setActiveWindow(&w);
            QVERIFY(QTest::qWaitForWindowActive(&w));
            QStringList refused = NotNumbers;
            refused << QStringLiteral("-475413");
            auto* name = child<QLineEdit>(w, "Text6");
            name->setText(QStringLiteral("ORLEANS"));
            expectRefused(child<QLineEdit>(w, "Text1"), refused, QStringLiteral("LATITUDE"));
            expectAccepted(child<QLineEdit>(w, "Text1"), {QStringLiteral("475413,5")});
            expectRefused(child<QLineEdit>(w, "Text2"), refused, QStringLiteral("EST"));
            expectRefused(child<QLineEdit>(w, "Text7"), refused, QStringLiteral("OUEST"));
            child<QLineEdit>(w, "Text2")->setText(QStringLiteral("15432"));
            child<QLineEdit>(w, "Text7")->clear();
            const QMap<QString, QByteArray> before = filesBelow(club->startDir());
            for (const QString& text :
                 {QStringLiteral("ORLÉANS Ω"), QStringLiteral("\U0001F426")}) {
                name->setText(text);
                dialogs().answer(MsgAnswer::Ok);
                QTest::mouseClick(child<QPushButton>(w, "Command1"), Qt::LeftButton);
                QVERIFY2(lastMessage(dialogs()).contains(QStringLiteral("nom du lieu")),
                         qPrintable(lastMessage(dialogs())));
                QCOMPARE(QApplication::focusWidget(), name);
            }
            QCOMPARE(filesBelow(club->startDir()), before);
            QCOMPARE(dialogs().pendingAnswers(), 0);
        };
        check(windows().show<vt::basedist>());
        windows().unloadAll();
        check(windows().show<vt::tarvio::basedist>());
    }
};

QTEST_MAIN(TypedInput)
#include "typed_input_wtest.moc"
