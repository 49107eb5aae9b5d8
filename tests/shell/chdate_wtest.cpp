#include "fanciers/distance_window.h"
#include "shell/calend_window.h"
#include "shell/chdate_window.h"
#include "shell/choiconc_window.h"
#include "shell/depart_window.h"

#include "common/record_file.h"
#include "common/records.h"
#include "common/session.h"
#include "platform/printing.h"
#include "platform/scripted_dialogs.h"
#include "platform/window_registry.h"
#include "tests/shell/shell_window_support.h"
#include "tests/support/club_fixture.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace vt;
using namespace vt::testing;

namespace {

QStringList itemsOf(QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out.append(list->item(i)->text());
    return out;
}

void click(QListWidget* list, int row) {
    list->setCurrentRow(row);
    emit list->itemClicked(list->item(row));
}

} // namespace

class ChdateTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ClubFixture> club;
    chdate* editor = nullptr;
    QListWidget *list1 = nullptr, *lst1 = nullptr, *lst2 = nullptr, *lst3 = nullptr;

    // Opens the calendar editor through the calendar chooser, as the main menu does.
    void open() {
        windows().unloadAll();
        session().ListMode = 1;
        windows().window<calend>().chooseCalendar(1);
        QVERIFY(windows().isLoaded<chdate>());
        editor = &windows().window<chdate>();
        list1 = editor->findChild<QListWidget*>("List1");
        lst1 = editor->findChild<QListWidget*>("lst1");
        lst2 = editor->findChild<QListWidget*>("Lst2");
        lst3 = editor->findChild<QListWidget*>("lst3");
    }

    // "Gestion des Calendriers" in the main window, then a click on the club's calendar;
    // the editor opens active, its race list holding the focus.
    void openThroughMenu() {
        depart& main = windows().show<depart>();
        main.findChild<QAction*>(QStringLiteral("cal"))->trigger();
        clickCalendar();
        QVERIFY(windows().isLoaded<chdate>());
        editor = &windows().window<chdate>();
        QVERIFY(editor->isVisible());
        list1 = editor->findChild<QListWidget*>("List1");
        lst1 = editor->findChild<QListWidget*>("lst1");
        lst2 = editor->findChild<QListWidget*>("Lst2");
        lst3 = editor->findChild<QListWidget*>("lst3");
        QApplication::setActiveWindow(editor);
        QVERIFY(QTest::qWaitForWindowActive(editor));
        list1->setFocus();
    }
private slots:
    void init() {
        club = std::make_unique<ClubFixture>();
        club->writeClub(QStringLiteral("LES AILES"), QStringLiteral("59012"));
        club->addLocalSite({QStringLiteral("ORLEANS"), 475400, 15400, 0});
        club->addLocalSite({QStringLiteral("SAINT-QUENTIN-EST"), 495000, 31700, 0});
        club->configureSession();
    }
    void cleanup() { windows().unloadAll(); }

    void storesARaceAndMovesToTheFreeLine() {
        open();
        QCOMPARE(editor->windowTitle(), QStringLiteral("CALENDRIER : LES AILES"));
        QCOMPARE(itemsOf(list1), QStringList{QStringLiteral("001 ")});
        QCOMPARE(lst2->count(), 12);
        QCOMPARE(lst3->count(), 31);
        click(list1, 0);
        QCOMPARE(editor->findChild<QLabel*>("Label1")->text(),
                 QStringLiteral(" POSITION de la MEMORISATION 1"));
        click(lst1, 0);
        click(lst2, 4);
        click(lst3, 11);
        editor->findChild<QRadioButton*>("Option1_2")->click();
        QCOMPARE(editor->summary(), QStringLiteral("ORLEANS 12 mai 2005 UN AN"));
        editor->findChild<QPushButton*>("Commande1")->click();
        QCOMPARE(itemsOf(list1),
                 (QStringList{QStringLiteral("001 ORLEANS         12 mai 2005       UN AN"),
                              QStringLiteral("002")}));
        QCOMPARE(readBytes(club->yearPath("gr1.cal")).size(), 51);
        QCOMPARE(editor->calendarPosition(), 2);
        QVERIFY(editor->summary().isEmpty());
        QVERIFY(lst1->selectedItems().isEmpty());
        QVERIFY(editor->findChild<QRadioButton*>("Option1_0")->isChecked());

        // Picking the stored race again selects its site, month, day and category.
        click(list1, 0);
        QCOMPARE(lst1->currentRow(), 0);
        QCOMPARE(lst2->currentRow(), 4);
        QCOMPARE(lst3->currentRow(), 11);
        QVERIFY(editor->findChild<QRadioButton*>("Option1_2")->isChecked());
    }

    // "Imprimer" says over the calendar editor where the calendar went and its pages, not
    // on the main window hidden behind it.
    void printingSaysWhereOverTheEditor() {
        open();
        click(list1, 0);
        click(lst1, 0);
        click(lst2, 4);
        click(lst3, 11);
        editor->findChild<QPushButton*>("Commande1")->click();
        RecordingPrinterScope printed;
        ScriptedDialogsScope d;
        d->answer(MsgAnswer::Ok);
        editor->findChild<QAction*>("imp")->trigger();
        QCOMPARE(printed->documents().size(), 1);
        QCOMPARE(d->messages().size(), 1);
        QCOMPARE(d->messages().at(0).text, QStringLiteral("Impression « Calendrier » : 1 page"));
        QCOMPARE(d->messages().at(0).title, editor->windowTitle());
    }

    void dayListsAndRefusedDates() {
        open();
        click(list1, 0);
        click(lst1, 1);
        click(lst3, 30); // 31
        click(lst2, 3);  // AVRIL
        QCOMPARE(lst3->count(), 30);
        QVERIFY(lst3->selectedItems().isEmpty());
        click(lst2, 1); // FÉVRIER 2005
        QCOMPARE(lst3->count(), 28);
        click(lst2, 2);
        QCOMPARE(lst3->count(), 31);
        click(lst2, 1);
        ScriptedDialogsScope d;
        d->answer(MsgAnswer::Ok);
        editor->findChild<QPushButton*>("Commande1")->click();
        QCOMPARE(d->messages().size(), 1);
        QCOMPARE(
            d->messages().first().text,
            QStringLiteral("Choisissez le lieu de lâcher, le mois et le jour avant de mémoriser."));
        QVERIFY(!QFile::exists(club->yearPath("gr1.cal")));

        // A long site name is stored cut to 15, once the user agrees, and found again
        // from the line.
        click(lst3, 0);
        d->answer(MsgAnswer::Yes);
        editor->findChild<QPushButton*>("Commande1")->click();
        QCOMPARE(d->messages().size(), 2);
        QCOMPARE(RecordFileOf<CalendarRaceRecord>(club->yearPath("gr1.cal")).read(1).siteName(),
                 QStringLiteral("SAINT-QUENTIN-E"));
        click(lst1, 0);
        click(list1, 0);
        QCOMPARE(lst1->currentRow(), 1);
    }

    // The secretary picks lines with the arrow keys: each move acts as a click, so the
    // race stored is the one whose line is shown chosen, and the days follow the month.
    void arrowKeysPickLinesAsClicksDo() {
        club->writeCalendar({{QStringLiteral("ORLEANS"), QStringLiteral("12/05/05"), 0},
                             {QStringLiteral("TOURS"), QStringLiteral("28/04/05"), 2}});
        open();
        click(list1, 1);
        QCOMPARE(editor->calendarPosition(), 2);
        QTest::keyClick(list1, Qt::Key_Up);
        QCOMPARE(list1->currentRow(), 0);
        QCOMPARE(editor->calendarPosition(), 1);
        QCOMPARE(lst2->currentRow(), 4); // the picked race's month, MAI

        QTest::keyClick(lst2, Qt::Key_Up);
        QTest::keyClick(lst2, Qt::Key_Up);
        QTest::keyClick(lst2, Qt::Key_Up); // FÉVRIER 2005
        QCOMPARE(lst3->count(), 28);
        QTest::keyClick(lst1, Qt::Key_End); // SAINT-QUENTIN-EST
        QTest::keyClick(lst3, Qt::Key_Home);
        QTest::keyClick(lst3, Qt::Key_Down);
        QCOMPARE(editor->summary(), QStringLiteral("SAINT-QUENTIN-EST 02 février 2005 VIEUX"));

        // Enter on the focused MEMORISER stores the race (the user agrees to the site's
        // first 15 characters).
        auto* memoriser = editor->findChild<QPushButton*>("Commande1");
        memoriser->setFocus();
        ScriptedDialogsScope d;
        d->answer(MsgAnswer::Yes);
        QTest::keyClick(memoriser, Qt::Key_Return);
        const QByteArray cal = readBytes(club->yearPath("gr1.cal"));
        QCOMPARE(cal.left(23), QByteArray("SAINT-QUENTIN-E02/02/05"));
        QCOMPARE(cal.mid(51, 5), QByteArray("TOURS"));
        QVERIFY(list1->item(1)->text().startsWith(QStringLiteral("002 TOURS")));
    }

    // The editor opens with its race list focused, which makes line 1 current without
    // picking it: ANNULER then withdraws nothing. Only a line the user picks counts.
    void withdrawalNeedsAPickedLine() {
        club->writeCalendar({{QStringLiteral("ORLEANS"), QStringLiteral("12/05/05"), 0}});
        const QByteArray before = readBytes(club->yearPath("gr1.cal"));
        openThroughMenu();
        QCOMPARE(list1->currentRow(), 0);
        QVERIFY(list1->selectedItems().isEmpty());
        ScriptedDialogsScope d;
        d->answer(MsgAnswer::No); // what a question would get
        auto* annuler = editor->findChild<QPushButton*>("Command3");
        QTest::mouseClick(annuler, Qt::LeftButton);
        QVERIFY(d->asked().isEmpty());
        QCOMPARE(readBytes(club->yearPath("gr1.cal")), before);
        QVERIFY(list1->item(0)->text().startsWith(QStringLiteral("001 ORLEANS")));

        // The line picked by a click is the one withdrawn.
        clickLine(list1, 0);
        QTest::mouseClick(annuler, Qt::LeftButton);
        QCOMPARE(d->messages().size(), 1);
        QVERIFY(d->messages().first().text.startsWith(
            QStringLiteral("Suppression du concours ORLEANS")));
        QCOMPARE(readBytes(club->yearPath("gr1.cal")), QByteArray(51, '\0'));
        QCOMPARE(list1->item(0)->text(), QStringLiteral("001 "));
    }

    // The editor's "Année" leads back to the editor on the calendar of the year typed,
    // whatever mode another menu item has left meanwhile: the release-site selector sets
    // its own, and the race chooser must never open on that calendar.
    void theYearEntryLeadsBackToTheEditor() {
        club->writeCalendar({{QStringLiteral("ORLEANS"), QStringLiteral("01/06/04"), 0}});
        const QString folder2004 = QDir(club->dataFolder()).filePath(QStringLiteral("2004"));
        QDir().mkpath(folder2004);
        QFile::copy(club->yearPath("gr1.cal"),
                    QDir(folder2004).filePath(QStringLiteral("gr1.cal")));
        club->writeCalendar({{QStringLiteral("TOURS"), QStringLiteral("28/04/05"), 0}});
        openThroughMenu();
        QCOMPARE(list1->item(0)->text().left(11), QStringLiteral("001 TOURS  "));

        windows().window<depart>().findChild<QAction*>(QStringLiteral("glocal"))->trigger();
        QVERIFY(windows().isLoaded<distance>());
        editor->findChild<QAction*>(QStringLiteral("ann"))->trigger();
        auto* yearBox = editor->findChild<QLineEdit*>(QStringLiteral("Text1"));
        yearBox->clear();
        QTest::keyClicks(yearBox, QStringLiteral("04"));
        QTest::keyClick(yearBox, Qt::Key_Return);
        clickCalendar();
        QVERIFY(!windows().isLoaded<choiconc>());
        QVERIFY(editor->isVisible());
        QVERIFY(
            list1->item(0)->text().startsWith(QStringLiteral("001 ORLEANS         01 juin 2004")));
        QVERIFY(
            QDir(club->yearFolder()).entryList({QStringLiteral("bases.*")}, QDir::Files).isEmpty());
        QCOMPARE(session().SeasonYear, 2005);
    }

    // MEMORISER moves the selection to the next race, shown for the next MEMORISER but not
    // picked: ANNULER right after it withdraws nothing, and asks nothing.
    void theLineMemoriserMovesToIsNotWithdrawn() {
        club->writeCalendar({{QStringLiteral("ORLEANS"), QStringLiteral("12/05/05"), 0},
                             {QStringLiteral("ORLEANS"), QStringLiteral("19/05/05"), 0}});
        openThroughMenu();
        clickLine(list1, 0);
        QTest::mouseClick(editor->findChild<QPushButton*>("Commande1"), Qt::LeftButton);
        QCOMPARE(editor->calendarPosition(), 2);
        const QByteArray stored = readBytes(club->yearPath("gr1.cal"));
        QCOMPARE(stored.size(), 102);
        QVERIFY(stored.mid(51) != QByteArray(51, '\0'));
        ScriptedDialogsScope d;
        d->answer(MsgAnswer::Yes); // what a question would get
        QTest::mouseClick(editor->findChild<QPushButton*>("Command3"), Qt::LeftButton);
        QVERIFY(d->asked().isEmpty());
        QCOMPARE(readBytes(club->yearPath("gr1.cal")), stored);
        QVERIFY(list1->item(1)->text().startsWith(QStringLiteral("002 ORLEANS")));

        // Picked by the user, the same line is withdrawn.
        clickLine(list1, 1);
        QTest::mouseClick(editor->findChild<QPushButton*>("Command3"), Qt::LeftButton);
        QCOMPARE(d->messages().size(), 1);
        QCOMPARE(readBytes(club->yearPath("gr1.cal")).mid(51), QByteArray(51, '\0'));
    }

    // The withdrawal's question can be left with nothing changed: Annuler (Esc) keeps the
    // race in the calendar and its files.
    void aCancelledWithdrawalChangesNothing() {
        club->writeCalendar({{QStringLiteral("ORLEANS"), QStringLiteral("12/05/05"), 0}});
        writeBytes(club->yearPath("bases.101"), QByteArray(127, 'b'));
        const QByteArray before = readBytes(club->yearPath("gr1.cal"));
        openThroughMenu();
        clickLine(list1, 0);
        ScriptedDialogsScope d;
        d->answer(MsgAnswer::Cancel);
        QTest::mouseClick(editor->findChild<QPushButton*>("Command3"), Qt::LeftButton);
        QCOMPARE(d->messages().size(), 1);
        QCOMPARE(d->messages().first().buttons, MsgButtons::YesNoCancel);
        QCOMPARE(readBytes(club->yearPath("gr1.cal")), before);
        QVERIFY(QFile::exists(club->yearPath("bases.101")));
        QVERIFY(list1->item(0)->text().startsWith(QStringLiteral("001 ORLEANS")));
    }

    void withdrawalFreesTheLine() {
        club->writeCalendar({{QStringLiteral("ORLEANS"), QStringLiteral("12/05/05"), 0},
                             {QStringLiteral("TOURS"), QStringLiteral("28/04/05"), 2}});
        writeBytes(club->yearPath("bases.102"), QByteArray(127, 'b'));
        open();
        QCOMPARE(list1->count(), 3);
        clickLine(list1, 1);
        ScriptedDialogsScope d;
        d->answer(MsgAnswer::Yes);
        editor->findChild<QPushButton*>("Command3")->click();
        QCOMPARE(list1->item(1)->text(), QStringLiteral("002 "));
        QVERIFY(!QFile::exists(club->yearPath("bases.102")));
        QCOMPARE(readBytes(club->yearPath("gr1.cal")).mid(51), QByteArray(51, '\0'));
    }
};

QTEST_MAIN(ChdateTest)
#include "chdate_wtest.moc"
