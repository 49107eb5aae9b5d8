// The main window: its menu, the year entry, the status label and the clock.
#include "entries/jeuamat_window.h"
#include "entries/recapam_window.h"
#include "shell/about_window.h"
#include "shell/calend_window.h"
#include "shell/choiconc_window.h"
#include "shell/depart_window.h"
#include "shell/program.h"
#include "shell/societe_window.h"

#include "common/session.h"
#include "platform/clock.h"
#include "platform/help.h"
#include "platform/scripted_dialogs.h"
#include "platform/window_registry.h"
#include "tests/support/club_fixture.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QtTest>

#include <memory>

using namespace vt;

class DepartTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<vt::testing::ClubFixture> fixture;
    bool ended = false;

    depart& main() { return windows().window<depart>(); }
    QAction* action(const char* name) {
        return main().findChild<QAction*>(QString::fromLatin1(name));
    }
    QLineEdit* yearBox() { return main().findChild<QLineEdit*>(QStringLiteral("Text1")); }
    void typeYear(const QString& text) {
        action("annee")->trigger();
        yearBox()->clear();
        QTest::keyClicks(yearBox(), text);
        QTest::keyClick(yearBox(), Qt::Key_Return);
    }

private slots:
    void init() {
        setClockForTests([] { return QDateTime(QDate(2026, 12, 10), QTime(8, 15, 0)); });
        ended = false;
        setEndProgramForTests([this] { ended = true; });
        fixture = std::make_unique<vt::testing::ClubFixture>(2005);
        fixture->writeClub(QStringLiteral("LES AMIS"), QStringLiteral("1234"), 7);
        fixture->configureSession();
        windows().show<depart>();
    }
    void cleanup() {
        windows().unloadAll();
        QCoreApplication::processEvents();
        fixture.reset();
        setEndProgramForTests({});
        setClockForTests({});
    }

    void everyMenuItemIsThereUnderItsCaption() {
        struct Item {
            const char* name;
            const char* caption;
            bool enabled;
        };
        const Item items[] = {
            {"annee", "Changer l'année", true},
            {"chconc", "Choisir les CONCOURS", true},
            {"rec", "Traitement des RODAVAZOVAR des Amateurs", false},
            {"edrecaps", "Editer les récapitulatifs", false},
            {"mfich", "Mémorisation sur fichier", true},
            {"soc", "Gestion de la société", true},
            {"noms", "Gestion des Amateurs", true},
            {"enj", "Gestion des Enjeux", true},
            {"cal", "Gestion des Calendriers", true},
            {"glocal", "Gestion des Lieux de Lâcher (Fichier LOCAL)", true},
            {"dot", "Gestion des Lieux de Lâcher (Fichier GENERAL)", true},
            {"quitte", "Quitter", true},
            {"aaide", "Aide", true},
            {"vers", "Version", true},
        };
        for (const Item& i : items) {
            QAction* a = action(i.name);
            QVERIFY2(a, i.name);
            QCOMPARE(a->text(), QString::fromUtf8(i.caption));
            QCOMPARE(a->isEnabled(), i.enabled);
        }
        for (const char* sep : {"c", "ddd", "ss"})
            QVERIFY2(action(sep) && action(sep)->isSeparator(), sep);
        QCOMPARE(main().findChild<QMenu*>(QStringLiteral("ficht"))->title(), QStringLiteral("Fichier"));
        QCOMPARE(main().findChild<QMenu*>(QStringLiteral("aa"))->title(), QStringLiteral("?"));
        QVERIFY(!action("rec")->isVisible());
        QVERIFY(!action("edrecaps")->isVisible());
    }

    void theStatusLabelTheRaceMenusAndTheClock() {
        QCOMPARE(main().status(), QStringLiteral("MISES EN LOGE de  La société de LES AMIS ANNEE 2005"));
        QCOMPARE(main().windowTitle(), QStringLiteral(" La société de LES AMIS"));
        setMainStatus(QStringLiteral("Patientez impression en cours"));
        QCOMPARE(main().findChild<QLabel*>(QStringLiteral("Label1"))->text(),
                 QStringLiteral("Patientez impression en cours"));
        revealRaceMenus();
        QVERIFY(action("rec")->isVisible());
        QVERIFY(action("rec")->isEnabled());
        QVERIFY(action("edrecaps")->isVisible());
        QCOMPARE(main().clockPanelText(), QStringLiteral("jeudi 10 décembre 2026 il est 08:15:00"));
        setClockForTests([] { return QDateTime(QDate(2005, 3, 8), QTime(14, 5, 9)); });
        QTest::qWait(1100);
        QCOMPARE(main().clockPanelText(), QStringLiteral("mardi 08 mars 2005 il est 14:05:09"));
    }

    void theYearBoxOpensTheYearTyped_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("year");
        QTest::newRow("81") << "81" << 1981;
        QTest::newRow("80") << "80" << 2080;
        QTest::newRow("5") << "5" << 2005;
        QTest::newRow("05") << "05" << 2005;
        QTest::newRow("2005") << "2005" << 2005;
        QTest::newRow("2099") << "2099" << 1999;
    }
    void theYearBoxOpensTheYearTyped() {
        QFETCH(QString, typed);
        QFETCH(int, year);
        revealRaceMenus();
        session().ChosenRaceCodes[1] = 102;
        ScriptedDialogsScope dialogs;
        action("annee")->trigger();
        QVERIFY(yearBox()->isVisible());
        QCOMPARE(yearBox()->text(), QStringLiteral("05"));
        QCOMPARE(yearBox()->selectedText(), QStringLiteral("05"));
        QCOMPARE(main().status(), QStringLiteral(" Entrez l'année "));
        typeYear(typed);
        QCOMPARE(session().SeasonYear, year);
        QCOMPARE(session().YearFolder, QDir(fixture->dataFolder()).canonicalPath() + "/" +
                                           QString::number(year));
        QVERIFY(QFileInfo(session().YearFolder).isDir());
        QVERIFY(!yearBox()->isVisible());
        QVERIFY(!action("rec")->isVisible());
        QVERIFY(session().chosenRaces().isEmpty());
        QCOMPARE(main().status(), QStringLiteral("MISES EN LOGE de  La société de LES AMIS ANNEE ") +
                                      QString::number(year));
        QVERIFY(dialogs->asked().isEmpty());
    }

    void aYearBoxWithoutAYearChangesNothing() {
        ScriptedDialogsScope dialogs;
        typeYear(QString());
        QVERIFY(yearBox()->isVisible());
        QVERIFY(dialogs->asked().isEmpty());
        for (const QString& typed : {QStringLiteral("ab"), QStringLiteral("-5"), QStringLiteral("12345")}) {
            dialogs->answer(MsgAnswer::Ok);
            typeYear(typed);
            QCOMPARE(dialogs->messages().last().text,
                     QStringLiteral("Tapez l'année en chiffres, par exemple 05 ou 2005"));
            QVERIFY(yearBox()->isVisible());
            QCOMPARE(session().SeasonYear, 2005);
        }
        QTest::keyClick(yearBox(), Qt::Key_Escape);
        QCOMPARE(yearBox()->text(), QString());
        QTest::mouseClick(main().findChild<QLabel*>(QStringLiteral("Label1")), Qt::LeftButton);
        QVERIFY(!yearBox()->isVisible());
        QCOMPARE(session().SeasonYear, 2005);
    }

    void aYearChangeClosesTheWindowsOfTheSeason() {
        auto* seasonWindow = new QWidget;
        markSeasonWindow(seasonWindow);
        seasonWindow->show();
        QPointer<QWidget> watch(seasonWindow);
        typeYear(QStringLiteral("06"));
        QCOMPARE(session().SeasonYear, 2006);
        QVERIFY(!watch || !watch->isVisible());
        delete watch.data();
    }

    // The recap window and an open entry sheet belong to the season: a year change
    // closes them, so the sheet cannot save into the season opened after it.
    void aYearChangeClosesTheRecapWindowAndTheEntrySheet() {
        windows().show<recapam>();
        session().CurrentFancierNo = 0;
        windows().show<jeuamat>();
        typeYear(QStringLiteral("06"));
        QCOMPARE(session().SeasonYear, 2006);
        QVERIFY(!windows().isLoaded<recapam>());
        QVERIFY(!windows().isLoaded<jeuamat>());
    }

    void aYearChangeDropsTheRaceChoiceOfTheSeasonLeft() {
        windows().show<calend>();
        choiconc& chooser = windows().show<choiconc>();
        // A race already chosen: leaving by "Quitter" would store it and open the recaps.
        chooser.findChild<QListWidget*>(QStringLiteral("List3"))
            ->addItem(QStringLiteral("ORLEANS                12/05 101"));
        typeYear(QStringLiteral("07"));
        QCOMPARE(session().SeasonYear, 2007);
        QVERIFY(!windows().isLoaded<calend>());
        QVERIFY(!windows().isLoaded<choiconc>());
        QVERIFY(!windows().isLoaded<recapam>());
        QCOMPARE(session().ChosenRaceCodes[1], int16_t(0));
    }

    void theOtherItems() {
        action("aaide")->trigger();
        QCOMPARE(lastHelpTopic(), 1);
        action("vers")->trigger();
        QVERIFY(windows().isLoaded<frmAbout>());
        action("soc")->trigger();
        QVERIFY(windows().isLoaded<societe>());
        QVERIFY(!ended);
        action("quitte")->trigger();
        QVERIFY(ended);
        ended = false;
        QTest::mouseClick(main().findChild<QLabel*>(QStringLiteral("Label2")), Qt::LeftButton);
        QVERIFY(ended);
    }
};

QTEST_MAIN(DepartTest)
#include "depart_wtest.moc"
