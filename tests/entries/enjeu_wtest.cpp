#include "entries/enjeu_window.h"

#include "common/record_file.h"
#include "platform/help.h"
#include "platform/scripted_dialogs.h"
#include "platform/window_registry.h"
#include "tests/support/club_fixture.h"
#include "tests/support/window_child.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QScrollBar>
#include <QStyle>
#include <QTableWidget>
#include <QtTest>

using namespace vt;
using vt::testing::child;
using vt::testing::ClubFixture;
using vt::testing::readBytes;
using vt::testing::StakeLineSpec;

namespace {

const QList<StakeLineSpec> threeLines = {
    {QStringLiteral("Mise    "), QStringLiteral(" Mise"), 1.5f},
    {QStringLiteral("Pot     "), QStringLiteral("  pot"), 2.0f},
    {QStringLiteral("TOTAL du"), QStringLiteral(" jeu "), 0.0f},
};

QPoint cellCentre(QTableWidget* grid, int tableRow, int column) {
    return grid->visualRect(grid->model()->index(tableRow, column)).center();
}

} // namespace

class EnjeuWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ClubFixture> club;
    std::unique_ptr<ScriptedDialogsScope> scripted;

    ScriptedDialogs& script() { return **scripted; }

    enjeu& open() {
        enjeu& w = windows().show<enjeu>();
        if (!QTest::qWaitForWindowExposed(&w))
            qWarning("window not exposed");
        return w;
    }

private slots:
    void init() {
        club = std::make_unique<ClubFixture>();
        club->writeStakeSheet(0, QStringLiteral("COMPTES"), {});
        club->writeStakeSheet(1, QStringLiteral("JEU A"), threeLines);
        club->configureSession();
        scripted = std::make_unique<ScriptedDialogsScope>();
    }
    void cleanup() {
        windows().unloadAll();
        scripted.reset();
        club.reset();
    }

    void controlsCarryTheirNames() {
        enjeu& w = open();
        for (const char* name : {"Combo1", "List1", "Grid1", "Text1", "Label1"}) {
            QWidget* c = child<QWidget>(w, name);
            QCOMPARE(c->accessibleDescription(), QString::fromLatin1(name));
        }
        QStringList menus;
        for (QAction* a : w.menuBar()->actions())
            menus << a->text();
        QCOMPARE(menus, QStringList({"Fichier", "Inserer une mise", "?"}));
        for (const char* name : {"modif", "supp", "memoj", "nouv", "quitte", "insere", "aide", "aideg"})
            QVERIFY2(w.findChild<QAction*>(QString::fromLatin1(name)), name);
        auto* list = child<QListWidget>(w, "List1");
        QCOMPARE(list->count(), 58);
        QCOMPARE(list->item(43)->text(), QStringLiteral("TOTAL du jeu "));
        QCOMPARE(list->toolTip(), QStringLiteral("Cliquez 2 fois pour afficher le jeu dans la grille"));
        QCOMPARE(child<QLabel>(w, "Label1")->text(), QStringLiteral("Modifier la  dénomination"));
        auto* grid = child<QTableWidget>(w, "Grid1");
        QCOMPARE(grid->horizontalHeaderItem(1)->text(), QStringLiteral("VALEUR"));
        QCOMPARE(grid->columnWidth(2), 1);
        QCOMPARE(w.windowTitle(), QStringLiteral("gestion des jeux de COMPTES"));
        QCOMPARE(child<QComboBox>(w, "Combo1")->count(), 2);
        QCOMPARE(grid->rowCount(), 2); // an empty accounts sheet: one empty line, the empty row
    }

    // A sheet of a hundred lines: the grid gives up rows so that the window, title bar
    // included, stays on the screen, and the rows left scroll.
    void aLongSheetKeepsTheWindowOnTheScreen() {
        QList<StakeLineSpec> many;
        for (int i = 0; i < 99; ++i)
            many.append({QStringLiteral("Mise    "), QStringLiteral(" Mise"), 1.0f});
        many.append({QStringLiteral("TOTAL du"), QStringLiteral(" jeu "), 0.0f});
        club->writeStakeSheet(2, QStringLiteral("JEU LONG"), many);
        enjeu& w = open();
        auto* combo = child<QComboBox>(w, "Combo1");
        auto* grid = child<QTableWidget>(w, "Grid1");
        QCOMPARE(combo->count(), 3);
        combo->setCurrentIndex(2);
        emit combo->activated(2);
        QTest::qWait(50);
        const int screenHeight = w.screen()->availableGeometry().height();
        const int titleBar = w.style()->pixelMetric(QStyle::PM_TitleBarHeight);
        QVERIFY2(w.height() + titleBar <= screenHeight,
                 qPrintable(QStringLiteral("window %1 + title %2 on a screen of %3")
                                .arg(w.height())
                                .arg(titleBar)
                                .arg(screenHeight)));
        const QRect gridInWindow(grid->mapTo(&w, QPoint(0, 0)), grid->size());
        QVERIFY(w.rect().contains(gridInWindow));
        QVERIFY(grid->verticalScrollBar()->maximum() > 0); // the rows left scroll
    }

    void clicksKeysAndEnterWriteTheSheet() {
        enjeu& w = open();
        auto* combo = child<QComboBox>(w, "Combo1");
        auto* grid = child<QTableWidget>(w, "Grid1");
        auto* text1 = child<QLineEdit>(w, "Text1");
        auto* list = child<QListWidget>(w, "List1");
        combo->setCurrentIndex(1);
        emit combo->activated(1);
        QCOMPARE(w.windowTitle(), QStringLiteral("gestion des jeux de JEU A"));
        QCOMPARE(grid->rowCount(), 4);
        QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("Mise      Mise"));

        // A click on the empty last row adds a row; the clicked row takes the new line.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(grid, 3, 1));
        QCOMPARE(grid->rowCount(), 5);
        QCOMPARE(grid->currentRow(), 3);
        QVERIFY(!w.findChild<QAction*>("quitte")->isEnabled());
        QVERIFY(!combo->isVisible());
        const QPoint trio = list->visualItemRect(list->item(24)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, trio);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, trio);
        QCOMPARE(grid->item(3, 0)->text(), QStringLiteral("Trio     Trio"));
        QCOMPARE(text1->text(), QStringLiteral("Trio     Trio"));
        QTest::keyClicks(grid, QStringLiteral("2.5"));
        QTest::keyClick(grid, Qt::Key_Return);
        QCOMPARE(grid->item(3, 1)->text(), QStringLiteral("2,50"));
        QCOMPARE(grid->currentRow(), 0); // Enter on the last line wraps to the first
        QCOMPARE(readBytes(club->path("gr1.jeu")).size(), 4 * 19);
        QCOMPARE(readBytes(club->path("gr1.jeu")).mid(57, 13), QByteArray("Trio     Trio"));

        // A keyboard move onto the empty last row wraps to row 1.
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(grid, Qt::Key_Down);
        QCOMPARE(grid->currentRow(), 0);

        // The close box is refused until the sheet is memorised.
        script().answer(MsgAnswer::Ok);
        QVERIFY(!w.close());
        QCOMPARE(script().messages().last().text,
                 QStringLiteral("Mémorisez la feuille avant de quitter."));
        w.findChild<QAction*>("memoj")->trigger();
        QVERIFY(w.findChild<QAction*>("quitte")->isEnabled());
        QVERIFY(combo->isVisible());
    }

    // "Modifier" and "Nouveau dossier" read the grid again: lines removed or typed and not
    // memorised are asked about first. Annuler keeps the grid, Non drops the lines (and the
    // window may close again), Oui memorises them before the name is asked.
    void renamingOrANewFolderAsksAboutUnsavedLines_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<MsgAnswer>("answer");
        QTest::newRow("Modifier, Annuler") << QStringLiteral("modif") << MsgAnswer::Cancel;
        QTest::newRow("Modifier, Non") << QStringLiteral("modif") << MsgAnswer::No;
        QTest::newRow("Modifier, Oui") << QStringLiteral("modif") << MsgAnswer::Yes;
        QTest::newRow("Nouveau dossier, Non") << QStringLiteral("nouv") << MsgAnswer::No;
        QTest::newRow("Nouveau dossier, Oui") << QStringLiteral("nouv") << MsgAnswer::Yes;
    }
    void renamingOrANewFolderAsksAboutUnsavedLines() {
        QFETCH(QString, item);
        QFETCH(MsgAnswer, answer);
        enjeu& w = open();
        auto* combo = child<QComboBox>(w, "Combo1");
        auto* grid = child<QTableWidget>(w, "Grid1");
        combo->setCurrentIndex(1);
        emit combo->activated(1);
        const QByteArray sheet = readBytes(club->path("gr1.jeu"));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(grid, 1, 1));
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(grid, 1, 1));
        QCOMPARE(grid->rowCount(), 3); // "Pot" removed, not memorised

        script().answer(answer);
        if (answer != MsgAnswer::Cancel)
            script().answerInput(item == QStringLiteral("modif") ? QStringLiteral("JEU A bis")
                                                                 : QStringLiteral("JEU B"));
        w.findChild<QAction*>(item)->trigger();
        const MessageRequest q = script().messages().first();
        QCOMPARE(q.text, QStringLiteral("Les lignes de la feuille JEU A ne sont pas mémorisées.\n"
                                        "Voulez-vous les mémoriser ?"));
        QCOMPARE(q.buttons, MsgButtons::YesNoCancel);
        QCOMPARE(script().pendingAnswers(), 0);
        if (answer == MsgAnswer::Cancel) {
            QCOMPARE(grid->rowCount(), 3);
            QCOMPARE(readBytes(club->path("gr1.jeu")), sheet);
            return;
        }
        QCOMPARE(readBytes(club->path("gr1.jeu")).size(),
                 answer == MsgAnswer::Yes ? 2 * 19 : sheet.size());
        if (item == QStringLiteral("modif"))
            QCOMPARE(grid->rowCount(), answer == MsgAnswer::Yes ? 3 : 4);
        // Nothing is left unsaved: the window closes without "Mémorisez la feuille".
        QVERIFY(w.findChild<QAction*>("quitte")->isEnabled());
        QVERIFY(w.close());
        QCOMPARE(script().messages().size(), 1);
    }

    void namesHelpAndDeletion() {
        enjeu& w = open();
        auto* combo = child<QComboBox>(w, "Combo1");
        // A key in the name box asks a new name for the slot shown.
        script().answerInput(QStringLiteral("Comptes du club"));
        QTest::keyClick(combo, Qt::Key_A);
        QCOMPARE(script().asked().last().input.title,
                 QStringLiteral("ENTREZ UN NOUVEAU NOM POUR COMPTES"));
        QCOMPARE(combo->itemText(0), QStringLiteral("Comptes du club"));
        QCOMPARE(w.windowTitle(), QStringLiteral("gestion des jeux de Comptes du club"));

        w.findChild<QAction*>("aideg")->trigger();
        QCOMPARE(lastHelpTopic(), 7);
        script().answer(MsgAnswer::Ok);
        w.findChild<QAction*>("aide")->trigger();
        QVERIFY(script().messages().last().text.startsWith(
            QStringLiteral("Pour la mémorisation des COMPTES :\n")));

        script().answer(MsgAnswer::No);
        w.findChild<QAction*>("supp")->trigger();
        const MessageRequest q = script().messages().last();
        QCOMPARE(q.text, QStringLiteral("Etes vous sur de vouloir Supprimer Comptes du club"));
        QCOMPARE(q.defaultButton, MsgAnswer::No);
        QCOMPARE(combo->itemText(0), QStringLiteral("Comptes du club"));
        QCOMPARE(script().pendingAnswers(), 0);
    }

    // A new club's first "Nouveau dossier" makes the accounts sheet, and its naming box
    // says so; the next one says that the race sheets start there.
    void newFoldersTellWhereTheRaceSheetsStart() {
        club = std::make_unique<ClubFixture>();
        club->configureSession();
        enjeu& w = open();
        QAction* nouv = w.findChild<QAction*>("nouv");
        script().answerInput(QStringLiteral("comptes"));
        nouv->trigger();
        const InputRequest first = script().asked().last().input;
        QCOMPARE(first.title, QStringLiteral("ENTREZ UN NOUVEAU NOM POUR "));
        QVERIFY2(first.prompt.startsWith(
                     QStringLiteral("Ce premier dossier est le fichier des comptes de la société")),
                 qPrintable(first.prompt));
        QVERIFY(first.prompt.contains(QStringLiteral("le deuxième dossier est le jeu n° 1")));
        QCOMPARE(first.maxLength, 50);
        QCOMPARE(readBytes(club->path("fichenl.jeu")),
                 QByteArray("comptes").leftJustified(50, ' '));
        QVERIFY(QFile::exists(club->path("cptenl.jeu")));

        script().answerInput(QStringLiteral("JEU A"));
        nouv->trigger();
        const InputRequest second = script().asked().last().input;
        QCOMPARE(second.prompt,
                 QStringLiteral("Le premier dossier, « comptes », est le fichier des comptes de la "
                                "société : il garde ses lignes de comptes.\nCe nouveau dossier est "
                                "la première feuille de jeu des concours, le jeu n° 1."));
        QCOMPARE(w.windowTitle(), QStringLiteral("gestion des jeux de JEU A"));
        QVERIFY(QFile::exists(club->path("gr1.jeu")));

        // Once a race sheet exists, the naming box needs no explanation.
        script().answerInput(QStringLiteral("JEU B"));
        nouv->trigger();
        QCOMPARE(script().asked().last().input.prompt, QString());
        QCOMPARE(child<QComboBox>(w, "Combo1")->count(), 3);

        // The help page of the editor says the same.
        w.findChild<QAction*>("aideg")->trigger();
        QCOMPARE(lastHelpTopic(), 7);
        QFile page(QStringLiteral(":/help/topic7.html"));
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(page.readAll());
        QVERIFY(html.contains(QStringLiteral("c'est le fichier des comptes de la société")));
        QVERIFY(html.contains(QStringLiteral("le deuxième dossier est le jeu n° 1")));
        QCOMPARE(script().pendingAnswers(), 0);
    }
};

QTEST_MAIN(EnjeuWindowTest)
#include "enjeu_wtest.moc"
