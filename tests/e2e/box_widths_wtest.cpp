// Every box whose text goes into a fixed-width field of a data file stops at that width
// as the user types, or refuses the text with a message: no text is ever cut unseen.
#include "calculator/basedist_window.h"
#include "entries/enjeu_window.h"
#include "entries/jeuamat_window.h"
#include "fanciers/adresse_window.h"
#include "fanciers/basedist_window.h"
#include "shell/calend_window.h"
#include "shell/chdate_window.h"
#include "shell/depart_window.h"
#include "shell/societe_window.h"

#include "common/record_file.h"
#include "common/records.h"
#include "common/session.h"
#include "common/text.h"
#include "platform/qt_dialogs.h"
#include "platform/scripted_dialogs.h"
#include "platform/window_registry.h"
#include "tests/support/club_fixture.h"
#include "tests/support/window_child.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include <memory>

using namespace vt;
using namespace vt::testing;

namespace {

// Letters and digits, so that a cut anywhere shows in the box's text.
QString typedText(int length) {
    const QString pattern = QStringLiteral("UNION COLOMBOPHILE AMIENS 0123456789 ");
    QString out;
    while (out.size() < length)
        out += pattern;
    return out.left(length);
}

void click(QListWidget* list, int row) {
    list->setCurrentRow(row);
    emit list->itemClicked(list->item(row));
}

const QString LongSite = QStringLiteral("SAINT QUENTIN EN YVELINES"); // 25 characters

// The ways a user pastes into a box.
enum class Paste { CtrlV, ShiftInsert, ContextMenu };

void paste(QLineEdit* box, Paste way) {
    switch (way) {
    case Paste::CtrlV:
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        break;
    case Paste::ShiftInsert:
        QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
        break;
    case Paste::ContextMenu: {
        QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(4, 4),
                                box->mapToGlobal(QPoint(4, 4)));
        QCoreApplication::sendEvent(box, &event);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        auto* action = menu->findChild<QAction*>(QStringLiteral("edit-paste"));
        QVERIFY(action);
        action->trigger();
        menu->close();
        break;
    }
    }
}

// Runs `act` on the modal window of type W once it is shown (a box shown from inside
// another's event loop included).
template <class W> void whenShown(std::function<void(W*)> act) {
    QTimer::singleShot(0, [act] {
        if (auto* w = qobject_cast<W*>(QApplication::activeModalWidget()))
            act(w);
        else
            whenShown<W>(act);
    });
}

} // namespace

class BoxWidthsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ClubFixture> club;
    std::unique_ptr<ScriptedDialogsScope> scripted;

    ScriptedDialogs& script() { return **scripted; }

    // The window as the program opens it for an existing fancier, club or sheet.
    QWidget& open(const QString& window) {
        session().CurrentFancierNo = 1;
        if (window == QLatin1String("societe")) {
            windows().show<depart>();
            return windows().show<societe>();
        }
        if (window == QLatin1String("adresse"))
            return windows().show<adresse>();
        if (window == QLatin1String("jeuamat"))
            return windows().show<jeuamat>();
        if (window == QLatin1String("basedist"))
            return windows().show<basedist>();
        if (window == QLatin1String("tarvio basedist"))
            return windows().show<tarvio::basedist>();
        return windows().show<enjeu>();
    }

private slots:
    void init() {
        club = std::make_unique<ClubFixture>();
        club->writeSmallClub();
        club->addLocalSite({LongSite, 484700, 20200, 0});
        club->writeStakeSheet(0, QStringLiteral("COMPTES"), {});
        club->writeStakeSheet(1, QStringLiteral("JEU A"),
                              {stakeLineSpec(QStringLiteral("Mise     Mise"), 1.5f)});
        club->configureSession();
        scripted = std::make_unique<ScriptedDialogsScope>();
    }
    void cleanup() {
        windows().unloadAll();
        QCoreApplication::processEvents();
        scripted.reset();
        club.reset();
    }

    void eachBoxStopsAtTheWidthOfItsField_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("width");
        const struct {
            const char* window;
            const char* box;
            int width;
        } rows[] = {
            // The club record: name 23, code 5, correspondent, address and complement 25,
            // postcode 5, town 30.
            {"societe", "txt1", 23},
            {"societe", "Txt2", 5},
            {"societe", "Text2", 25},
            {"societe", "Text3", 25},
            {"societe", "Text4", 25},
            {"societe", "Text5", 5},
            {"societe", "Text6", 30},
            // The fancier record, from the address editor and from the entry sheet: name
            // 23, licence 7, address 30, complement 20, town 28, postcode 7, telephone 17.
            {"adresse", "Text1", 23},
            {"adresse", "Texte1", 7},
            {"adresse", "Texte2", 30},
            {"adresse", "Texte3", 20},
            {"adresse", "Texte4", 28},
            {"adresse", "Texte5", 7},
            {"adresse", "Texte6", 17},
            {"jeuamat", "Text1", 23},
            {"jeuamat", "Texte1", 7},
            {"jeuamat", "Texte2", 30},
            {"jeuamat", "Texte3", 20},
            {"jeuamat", "Texte4", 28},
            {"jeuamat", "Texte5", 7},
            {"jeuamat", "Texte6", 17},
            // A release site's name, in both programs' editors of the general file.
            {"basedist", "Text6", 25},
            {"tarvio basedist", "Text6", 25},
            // A stake line: label 8, a space, code 5.
            {"enjeu", "Text1", 14},
        };
        for (const auto& r : rows)
            QTest::addRow("%s %s", r.window, r.box)
                << QString::fromLatin1(r.window) << QString::fromLatin1(r.box) << r.width;
    }
    void eachBoxStopsAtTheWidthOfItsField() {
        QFETCH(QString, window);
        QFETCH(QString, box);
        QFETCH(int, width);
        QWidget& w = open(window);
        auto* edit = child<QLineEdit>(w, box.toLatin1().constData());
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, typedText(width + 5));
        QCOMPARE(edit->text(), typedText(width));
        QCOMPARE(script().asked().size(), 0);
    }

    // The name of the issue: the box shows what the club file then holds.
    void theClubNameIsStoredAsTheBoxShowsIt() {
        QWidget& w = open(QStringLiteral("societe"));
        auto* name = child<QLineEdit>(w, "txt1");
        name->setFocus();
        name->selectAll();
        QTest::keyClicks(name, QStringLiteral("UNION COLOMBOPHILE AMIENS"));
        QCOMPARE(name->text(), QStringLiteral("UNION COLOMBOPHILE AMIE"));
        QTest::keyClick(name, Qt::Key_Return);
        script().answer(MsgAnswer::Yes);
        child<QAction>(w, "quitte")->trigger();
        QCOMPARE(RecordFileOf<ClubRecord>(club->path("societe.nom")).read(1).clubName(),
                 QStringLiteral("UNION COLOMBOPHILE AMIE"));
    }

    // A paste longer than the room left in the club name (its 23 characters less the text
    // that stays) is refused with the width, and the box keeps what it held; one that fits
    // goes in whole.
    void aPasteThatDoesNotFitIsRefusedWhole_data() {
        QTest::addColumn<int>("way");
        QTest::addColumn<QString>("held");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("after");
        const QString amiens = QStringLiteral("UNION COLOMBOPHILE AMIENS");
        QTest::newRow("Ctrl+V, 25 into 23") << int(Paste::CtrlV) << QString() << false << amiens
                                            << QString();
        QTest::newRow("Shift+Insert, 25 into 23")
            << int(Paste::ShiftInsert) << QString() << false << amiens << QString();
        QTest::newRow("the menu's paste, 25 into 23")
            << int(Paste::ContextMenu) << QString() << false << amiens << QString();
        QTest::newRow("18 after 8 kept") << int(Paste::CtrlV) << QStringLiteral("LES AMIS")
                                         << false << QStringLiteral("UNION COLOMBOPHILE")
                                         << QStringLiteral("LES AMIS");
        QTest::newRow("17 after 6 kept: fits")
            << int(Paste::CtrlV) << QStringLiteral("UNION ") << false
            << QStringLiteral("COLOMBOPHILE AMIE") << QStringLiteral("UNION COLOMBOPHILE AMIE");
        QTest::newRow("23 over a selection: fits")
            << int(Paste::CtrlV) << QStringLiteral("LES AMIS") << true
            << QStringLiteral("UNION COLOMBOPHILE AMIE") << QStringLiteral("UNION COLOMBOPHILE AMIE");
        QTest::newRow("the menu's paste, 23 over a selection: fits")
            << int(Paste::ContextMenu) << QStringLiteral("LES AMIS") << true
            << QStringLiteral("UNION COLOMBOPHILE AMIE") << QStringLiteral("UNION COLOMBOPHILE AMIE");
    }
    void aPasteThatDoesNotFitIsRefusedWhole() {
        QFETCH(int, way);
        QFETCH(QString, held);
        QFETCH(bool, selected);
        QFETCH(QString, pasted);
        QFETCH(QString, after);
        QWidget& w = open(QStringLiteral("societe"));
        auto* name = child<QLineEdit>(w, "txt1");
        name->setFocus();
        name->setText(held);
        if (selected)
            name->selectAll();
        QGuiApplication::clipboard()->setText(pasted);
        const bool refused = after == held;
        if (refused)
            script().answer(MsgAnswer::Ok);
        paste(name, Paste(way));
        QCOMPARE(name->text(), after);
        if (refused) {
            QCOMPARE(script().messages().size(), 1);
            QCOMPARE(script().messages().last().text,
                     QStringLiteral("Le texte collé ne tient pas dans la case : 23 caractères "
                                    "au plus."));
        } else {
            QCOMPARE(script().messages().size(), 0);
        }
    }

    // The sheet-name box refuses a pasted name of 63 characters with its own message, and
    // keeps the name it showed: nothing is stored.
    void aPastedSheetNameThatDoesNotFitIsRefusedWithItsMessage() {
        QWidget& w = open(QStringLiteral("enjeu"));
        const QByteArray before = readBytes(club->path("fichenl.jeu"));
        std::unique_ptr<Dialogs> scriptedOnes = setDialogs(std::make_unique<QtDialogs>());
        QString refusal, kept;
        int width = 0;
        whenShown<QInputDialog>([&](QInputDialog* box) {
            auto* edit = box->findChild<QLineEdit*>();
            QVERIFY(edit);
            width = edit->maxLength();
            QGuiApplication::clipboard()->setText(QString(63, u'N'));
            whenShown<QMessageBox>([&](QMessageBox* message) {
                refusal = message->text();
                message->accept();
            });
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
            kept = edit->text();
            box->reject();
        });
        child<QAction>(w, "modif")->trigger();
        setDialogs(std::move(scriptedOnes));
        QCOMPARE(width, 50);
        QCOMPARE(refusal, QStringLiteral("Le nom du jeu ne peut pas dépasser 50 caractères."));
        QCOMPARE(kept, QStringLiteral("COMPTES"));
        QCOMPARE(readBytes(club->path("fichenl.jeu")), before);
    }

    // A stake sheet's name is asked in an input box that stops at 50 characters; a
    // longer answer is refused with a message, and the names file keeps the old name.
    void aSheetNameLongerThanItsFieldIsRefused() {
        QWidget& w = open(QStringLiteral("enjeu"));
        const QByteArray before = readBytes(club->path("fichenl.jeu"));
        script().answerInput(QString(51, u'N')).answer(MsgAnswer::Ok);
        child<QAction>(w, "modif")->trigger();
        QCOMPARE(script().asked().first().input.maxLength, 50);
        QCOMPARE(script().messages().last().text,
                 QStringLiteral("Le nom du jeu ne peut pas dépasser 50 caractères."));
        QCOMPARE(readBytes(club->path("fichenl.jeu")), before);
        QCOMPARE(child<QComboBox>(w, "Combo1")->itemText(0), QStringLiteral("COMPTES"));

        // Fifty characters fit.
        script().answerInput(QString(50, u'N'));
        child<QAction>(w, "modif")->trigger();
        QCOMPARE(readBytes(club->path("fichenl.jeu")).left(50), QByteArray(50, 'N'));
        QCOMPARE(script().pendingAnswers(), 0);
    }

    // Fourteen characters whose ninth is not the space between label and code would lose
    // that character: Enter refuses the line, naming it, and the sheet stays as it was.
    void aLineTextThatDoesNotSplitIntoLabelAndCodeIsRefused() {
        QWidget& w = open(QStringLiteral("enjeu"));
        auto* combo = child<QComboBox>(w, "Combo1");
        combo->setCurrentIndex(1);
        emit combo->activated(1);
        auto* grid = child<QTableWidget>(w, "Grid1");
        auto* text1 = child<QLineEdit>(w, "Text1");
        const QByteArray before = readBytes(club->path("gr1.jeu"));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(0, 1)).center());
        text1->selectAll();
        QTest::keyClicks(text1, QStringLiteral("Speciales Sp12"));
        QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("Speciales Sp12"));
        script().answer(MsgAnswer::Ok);
        QTest::keyClick(grid, Qt::Key_Return);
        QCOMPARE(script().messages().last().text,
                 QStringLiteral("Le texte de la ligne 1 est trop long : 8 caractères de libellé, "
                                "un espace et 5 de code au plus (« Speciales Sp12 »)"));
        QCOMPARE(readBytes(club->path("gr1.jeu")), before);

        // The same line with its space in place is written.
        text1->selectAll();
        QTest::keyClicks(text1, QStringLiteral("Speciale Sp12"));
        QTest::keyClick(grid, Qt::Key_Return);
        QCOMPARE(decodeText(readBytes(club->path("gr1.jeu")).left(13)),
                 QStringLiteral("Speciale Sp12"));
        QCOMPARE(script().pendingAnswers(), 0);
    }

    // The calendar keeps 15 characters of a site's name: a longer one is stored only once
    // the user has agreed to the shorter name.
    void theCalendarAsksBeforeKeepingPartOfALongSiteName() {
        session().ListMode = 1;
        windows().window<calend>().chooseCalendar(1);
        QVERIFY(windows().isLoaded<chdate>());
        chdate& editor = windows().window<chdate>();
        auto* list1 = child<QListWidget>(editor, "List1");
        auto* lst1 = child<QListWidget>(editor, "lst1");
        const QString calendar = club->yearPath(QStringLiteral("gr1.cal"));
        QCOMPARE(RecordFileOf<CalendarRaceRecord>(calendar).count(), 2);
        QCOMPARE(trim(lst1->item(2)->text()), LongSite);

        auto compose = [&] {
            click(list1, 2); // the free line after the two races
            click(lst1, 2);
            click(child<QListWidget>(editor, "Lst2"), 5);
            click(child<QListWidget>(editor, "lst3"), 13);
        };
        compose();
        script().answer(MsgAnswer::No);
        child<QPushButton>(editor, "Commande1")->click();
        const MessageRequest q = script().messages().last();
        QCOMPARE(q.text, QStringLiteral("Le calendrier garde 15 caractères du nom du lieu de "
                                        "lâcher :\n« SAINT QUENTIN EN YVELINES » y sera « SAINT "
                                        "QUENTIN E ».\nMémoriser le concours ?"));
        QCOMPARE(q.buttons, MsgButtons::YesNo);
        QCOMPARE(RecordFileOf<CalendarRaceRecord>(calendar).count(), 2);

        compose();
        script().answer(MsgAnswer::Yes);
        child<QPushButton>(editor, "Commande1")->click();
        QCOMPARE(RecordFileOf<CalendarRaceRecord>(calendar).read(3).siteName(),
                 QStringLiteral("SAINT QUENTIN E"));

        // A name of 15 characters or fewer is stored without a question.
        click(list1, 0);
        click(lst1, 0);
        child<QPushButton>(editor, "Commande1")->click();
        QCOMPARE(script().pendingAnswers(), 0);
        QCOMPARE(script().messages().size(), 2);
    }
};

QTEST_MAIN(BoxWidthsTest)
#include "box_widths_wtest.moc"
