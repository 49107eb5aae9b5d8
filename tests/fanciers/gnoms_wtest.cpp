// The fanciers window and the address editor driven as a user does: lines double-clicked,
// boxes typed into, buttons pressed, questions answered.
#include "fanciers/adresse_window.h"
#include "fanciers/distance_window.h"
#include "fanciers/gnoms_window.h"
#include "shell/depart_window.h"

#include "common/fancier_slots.h"
#include "common/record_file.h"
#include "common/session.h"
#include "common/text.h"
#include "platform/help.h"
#include "platform/scripted_dialogs.h"
#include "platform/window_registry.h"
#include "tests/support/club_fixture.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include <memory>

using namespace vt;
using vt::testing::ClubFixture;
using vt::testing::readBytes;

class GnomsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ClubFixture> club;

    QListWidget* list1() { return windows().window<gnoms>().findChild<QListWidget*>("List1"); }
    QAction* action(const char* name) {
        return windows().window<gnoms>().findChild<QAction*>(QString::fromLatin1(name));
    }
    QLineEdit* box(const char* name) {
        return windows().window<adresse>().findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    static void doubleClick(QListWidget* list, int row) {
        QCoreApplication::processEvents();
        QListWidgetItem* item = list->item(row);
        QVERIFY(item);
        const QPoint at = list->visualItemRect(item).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }
    void doubleClick(int row) { doubleClick(list1(), row); }
    // The box that has the focus inside the editor.
    QWidget* focused() { return windows().window<adresse>().focusWidget(); }
    int rowOf(int recordNo) {
        for (int i = 0; i < list1()->count(); ++i)
            if (recordNoOfLine(list1()->item(i)->text()) == recordNo)
                return i;
        return -1;
    }
    void press(const char* button) {
        QTest::mouseClick(windows().window<adresse>().findChild<QPushButton*>(button),
                          Qt::LeftButton);
        QCoreApplication::processEvents();
    }
    void type(const char* name, const QString& text) {
        QLineEdit* b = box(name);
        b->selectAll();
        QTest::keyClicks(b, text);
    }
    RecordFileOf<FancierRecord> season() {
        return RecordFileOf<FancierRecord>(session().FancierFilePath);
    }
    QByteArray files() {
        return readBytes(session().FancierFilePath) + readBytes(session().MasterFancierPath);
    }

private slots:
    void init() {
        club = std::make_unique<ClubFixture>();
        club->writeSmallClub();
        club->configureSession();
    }
    void cleanup() {
        windows().unloadAll();
        club.reset();
    }

    void loadShowsTheSortedListAndTheMenusOfOneClub() {
        gnoms& g = windows().show<gnoms>();
        QCOMPARE(g.windowTitle(), QStringLiteral("GESTION des NOMS"));
        QCOMPARE(list1()->count(), 3);
        QCOMPARE(list1()->selectionMode(), QAbstractItemView::ExtendedSelection);
        QCOMPARE(list1()->item(0)->text(),
                 QStringLiteral("DUPONT Jean") + QString(12, u' ') + "LES AILES LILLOISES " +
                     "LILLE" + QString(23, u' ') + "    1");
        QVERIFY(list1()->item(1)->text().startsWith(QStringLiteral("LEFEBVRE André")));
        QVERIFY(!action("af")->isVisible());
        QVERIFY(!action("lstsoc")->isVisible());
        QVERIFY(action("socdist")->isVisible());
        QCOMPARE(action("socdist")->text(), QStringLiteral("La société de LES AILES LILLOISES"));
        QVERIFY(!action("lx")->isVisible());
        QVERIFY(!action("MEMNOUV")->isVisible());
        QVERIFY(action("cfimp")->isEnabled());
        action("lx")->trigger();
        QVERIFY(windows().isLoaded<distance>());
        action("aide")->trigger();
        QCOMPARE(lastHelpTopic(), 6);
        action("seltout")->trigger();
        QCOMPARE(g.selectedLines().size(), 3);
        action("seloter")->trigger();
        QVERIFY(g.selectedLines().isEmpty());
    }

    void mainMenuOpensTheListAndKeepsItsStatusText() {
        depart& main = windows().window<depart>();
        main.showStatus(QStringLiteral("MISES EN LOGE"));
        QAction* noms = main.findChild<QAction*>("noms");
        QVERIFY(noms && noms->isEnabled());
        noms->trigger();
        QVERIFY(windows().isLoaded<gnoms>());
        QCOMPARE(list1()->count(), 3);
        QCOMPARE(main.status(), QStringLiteral("MISES EN LOGE"));
    }

    void otherWindowsRemoveAndPutLines() {
        removeFancierListLine(2); // not loaded: nothing is loaded for it
        QVERIFY(!windows().isLoaded<gnoms>());
        gnoms& g = windows().show<gnoms>();
        removeFancierListLine(2);
        QCOMPARE(list1()->count(), 2);
        QCOMPARE(rowOf(2), -1);
        FancierRecord martin = season().read(2);
        putFancierListLine(fancierListItem(martin, 2));
        QCOMPARE(rowOf(2), 2);
        putFancierListLine(fancierListItem(martin, 2)); // in place of the same record's line
        QCOMPARE(g.lines().size(), 3);
    }

    void editingAFancierReplacesHisLine() {
        windows().show<gnoms>();
        doubleClick(rowOf(3));
        QVERIFY(windows().isLoaded<adresse>());
        adresse& a = windows().window<adresse>();
        QCOMPARE(a.recordNo(), 3);
        QCOMPARE(box("Text1")->text(), QStringLiteral("LEFEBVRE André"));
        QCOMPARE(a.findChild<QLabel*>("Etiquette9")->text(), QStringLiteral("de LEFEBVRE André"));
        type("Texte4", "ARMENTIERES");
        ScriptedDialogsScope dialogs;
        press("Commande1");
        QVERIFY(!windows().isLoaded<adresse>());
        QCOMPARE(trim(season().read(3).town()), QStringLiteral("ARMENTIERES"));
        QCOMPARE(list1()->count(), 3);
        QVERIFY(list1()->item(rowOf(3))->text().contains("ARMENTIERES"));
    }

    void newFancierAddsALineAndRemovesNone() {
        windows().show<gnoms>();
        list1()->setCurrentRow(0);
        action("nouv")->trigger();
        adresse& a = windows().window<adresse>();
        QCOMPARE(a.recordNo(), 4);
        QCOMPARE(box("Texte4")->text(), QStringLiteral("LES AILES LILLOISES"));
        type("Text1", "LEROY Jean");
        type("Text3", "503000");
        ScriptedDialogsScope dialogs;
        press("Commande1");
        QCOMPARE(list1()->count(), 4);
        QVERIFY(rowOf(1) >= 0);
        QVERIFY(rowOf(4) >= 0);
        QCOMPARE(season().count(), 4);
    }

    // The editor keeps the record it opened: whatever happens in the list meanwhile, its
    // save writes that record only.
    void editorWritesOnlyItsOwnRecord() {
        gnoms& g = windows().show<gnoms>();
        doubleClick(rowOf(1));
        type("Texte2", "9 rue Haute");
        const QByteArray two = season().read(2).bytes(), three = season().read(3).bytes();
        list1()->setCurrentRow(rowOf(3));
        action("seltout")->trigger();
        action("une")->trigger(); // a club picked in the club list
        QListWidget* clubs = g.findChild<QListWidget*>("List2");
        QVERIFY(clubs->isVisible());
        doubleClick(clubs, 0);
        QCOMPARE(g.chosenClub(), 1);
        QCOMPARE(g.listMode(), ListMode::OneClub);
        session().CurrentFancierNo = 3;
        session().UrgentMail = 1;
        g.LoadFancierList();
        ScriptedDialogsScope dialogs;
        press("Commande1");
        QCOMPARE(trim(season().read(1).addressLine()), QStringLiteral("9 rue Haute"));
        QCOMPARE(season().read(2).bytes(), two);
        QCOMPARE(season().read(3).bytes(), three);
    }

    void reloadingAnEditedFancierAsksFirst() {
        windows().show<gnoms>();
        doubleClick(rowOf(1));
        type("Texte2", "9 rue Haute");
        {
            ScriptedDialogsScope dialogs;
            dialogs->answer(MsgAnswer::No);
            doubleClick(rowOf(2));
            QCOMPARE(dialogs->messages().size(), 1);
            QCOMPARE(dialogs->messages()[0].text,
                     QStringLiteral("Les données de DUPONT Jean ont été modifiées. Les enregistrer ?"));
            QCOMPARE(dialogs->messages()[0].defaultButton, MsgAnswer::Yes);
        }
        QCOMPARE(windows().window<adresse>().recordNo(), 2);
        QCOMPARE(trim(season().read(1).addressLine()), QStringLiteral("3 rue Nationale"));
        type("Texte2", "1 place Verte");
        {
            ScriptedDialogsScope dialogs;
            dialogs->answer(MsgAnswer::Yes);
            doubleClick(rowOf(3));
        }
        QCOMPARE(trim(season().read(2).addressLine()), QStringLiteral("1 place Verte"));
        QCOMPARE(windows().window<adresse>().recordNo(), 3);
    }

    void emptyNameDeletesAfterYes() {
        windows().show<gnoms>();
        doubleClick(rowOf(2));
        box("Text1")->clear();
        ScriptedDialogsScope dialogs;
        dialogs->answer(MsgAnswer::Yes);
        press("Commande1");
        QCOMPARE(dialogs->messages()[0].text, QStringLiteral("Supprimer l'amateur MARTIN Paul ?"));
        QCOMPARE(rowOf(2), -1);
        QCOMPARE(season().read(2).bytes(), blankFancierRecord().bytes());
    }

    void refusedNameWritesNothingAndKeepsTheEditor() {
        windows().show<gnoms>();
        doubleClick(rowOf(1));
        type("Text1", QStringLiteral("Émile DURAND"));
        const QByteArray before = files();
        ScriptedDialogsScope dialogs;
        dialogs->answer(MsgAnswer::Ok);
        press("Commande1");
        QCOMPARE(dialogs->messages().size(), 1);
        QVERIFY(windows().isLoaded<adresse>());
        QCOMPARE(files(), before);
    }

    void enterWalksThroughTheBoxesAndKeepsOneLongitude() {
        windows().show<gnoms>();
        doubleClick(rowOf(1));
        box("Text1")->setFocus();
        const char* order[] = {"Texte2", "Texte3", "Texte4", "Texte5", "Texte6", "Text3", "Text4"};
        for (const char* next : order) {
            QTest::keyClick(focused(), Qt::Key_Return);
            QCOMPARE(focused()->objectName(), QString::fromLatin1(next));
        }
        // East holds 30350: Enter empties West and goes to the licence.
        box("Text5")->setText("1234");
        QTest::keyClick(box("Text4"), Qt::Key_Return);
        QCOMPARE(box("Text5")->text(), QString());
        QCOMPARE(focused()->objectName(), QStringLiteral("Texte1"));
        QTest::keyClick(box("Texte1"), Qt::Key_Return);
        QCOMPARE(focused()->objectName(), QStringLiteral("Commande1"));
        // West typed: East is emptied.
        box("Text5")->setText("1234");
        box("Text5")->setFocus();
        QTest::keyClick(box("Text5"), Qt::Key_Return);
        QCOMPARE(box("Text4")->text(), QString());
        ScriptedDialogsScope dialogs;
        press("Commande1");
        QCOMPARE(season().read(1).longitudeEastDms(), 0.0);
        QCOMPARE(season().read(1).longitudeWestDms(), 1234.0);
    }

    // A full-width address in capitals can be read whole in its box.
    void aFullAddressShowsWhole() {
        windows().show<gnoms>();
        doubleClick(rowOf(1));
        adresse& a = windows().window<adresse>();
        a.show();
        QVERIFY(QTest::qWaitForWindowExposed(&a));
        for (const char* name : {"Text1", "Texte2", "Texte3", "Texte4", "Texte6"}) {
            QLineEdit* b = box(name);
            const QString full =
                QStringLiteral("BOULEVARD DE LA LIBERATION 128").left(b->maxLength());
            QVERIFY2(b->width() >= b->fontMetrics().horizontalAdvance(full) + 8, name);
        }
    }

    void memoWritesTheSavedFanciers() {
        FancierRecord r = season().read(2);
        r.setLastSaveYear(" 2005");
        season().write(2, r);
        windows().show<gnoms>();
        action("MEMNOUV")->trigger();
        action("MEMNOUV")->trigger();
        QCOMPARE(readBytes(memoFilePath()).size(), 3197);
    }

    // Longitudes of about 6E-154 seconds in a damaged season file: both boxes show empty
    // (not a text of 170 digits), the save stores 0, and the fancier opens the same again.
    void aLongitudeNoLoftCanHaveShowsEmpty() {
        FancierRecord r = season().read(1);
        r.setLatitudeDms(480506.5);
        r.setLongitudeEastDms(6.01347003643731e-154);
        r.setLongitudeWestDms(6.01347001699907e-154);
        season().write(1, r);
        const auto coordinateBoxes = [this] {
            return QStringList{box("Text3")->text(), box("Text4")->text(), box("Text5")->text()};
        };

        ScriptedDialogsScope dialogs; // no question is expected
        windows().show<gnoms>();
        doubleClick(rowOf(1));
        QCOMPARE(windows().window<adresse>().recordNo(), 1);
        const QStringList shown = coordinateBoxes();
        QCOMPARE(shown, QStringList({QStringLiteral("480506,5"), QString(), QString()}));
        press("Commande1");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!windows().isLoaded<adresse>());
        QCOMPARE(dialogs->messages().size(), 0);
        for (const QString& file : {session().FancierFilePath, session().MasterFancierPath}) {
            const FancierRecord saved = RecordFileOf<FancierRecord>(file).read(1);
            QCOMPARE(saved.latitudeDms(), 480506.5);
            QCOMPARE(saved.longitudeEastDms(), 0.0);
            QCOMPARE(saved.longitudeWestDms(), 0.0);
        }
        doubleClick(rowOf(1));
        QCOMPARE(coordinateBoxes(), shown);
    }
};

QTEST_MAIN(GnomsTest)
#include "gnoms_wtest.moc"
