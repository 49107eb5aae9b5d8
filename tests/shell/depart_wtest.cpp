// The main window: its menu, the year entry, the status label and the clock.
#include "entries/enjeu_window.h"
#include "entries/jeuamat_window.h"
#include "entries/recapam_window.h"
#include "fanciers/basedist_window.h"
#include "fanciers/distance_window.h"
#include "shell/about_window.h"
#include "shell/calend_window.h"
#include "shell/chdate_window.h"
#include "shell/choiconc_window.h"
#include "shell/depart_window.h"
#include "shell/program.h"
#include "shell/societe_window.h"

#include "common/record_file.h"
#include "common/session.h"
#include "platform/clock.h"
#include "platform/help.h"
#include "platform/scripted_dialogs.h"
#include "platform/window_registry.h"
#include "tests/shell/shell_window_support.h"
#include "tests/support/club_fixture.h"
#include "tests/support/pending_events.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include <memory>

using namespace vt;
using vt::testing::processPending;

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

    // Types a general site into the open general release-site editor and stores it with
    // "Mémoriser": the editor keeps it until it is left.
    static void storeGeneralSite(const QString& name, const QString& latitude,
                                 const QString& east) {
        basedist& editor = windows().window<basedist>();
        QVERIFY(editor.isVisible());
        QTest::keyClicks(editor.findChild<QLineEdit*>(QStringLiteral("Text6")), name);
        QTest::keyClicks(editor.findChild<QLineEdit*>(QStringLiteral("Text1")), latitude);
        QTest::keyClicks(editor.findChild<QLineEdit*>(QStringLiteral("Text2")), east);
        QTest::mouseClick(editor.findChild<QPushButton*>(QStringLiteral("Command1")),
                          Qt::LeftButton);
        QVERIFY(editor.hasUnsavedChanges());
    }
    // distgen holds ARRAS; the general editor, opened from the menu, stores BORDEAUX.
    void openTheGeneralEditorWithAStoredSite() {
        fixture->addGeneralSite({QStringLiteral("ARRAS"), 501700, 24600, 0});
        action("dot")->trigger();
        storeGeneralSite(QStringLiteral("BORDEAUX"), QStringLiteral("445017"),
                         QStringLiteral("3436"));
    }
    QStringList generalSiteNames() const {
        QStringList names;
        for (const ReleaseSiteRecord& r :
             RecordFileOf<ReleaseSiteRecord>(session().GeneralSitesPath).readAll())
            names.append(r.siteName().trimmed());
        return names;
    }
    // Ticks the first site of the open local release-site selector.
    static void tickFirstLocalSite() {
        distance& selector = windows().window<distance>();
        QVERIFY(selector.isVisible());
        auto* list = selector.findChild<QListWidget*>(QStringLiteral("Listlieux"));
        list->item(0)->setCheckState(Qt::Checked);
        QVERIFY(selector.hasUnsavedChanges());
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
        processPending();
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
        QCOMPARE(main().findChild<QMenu*>(QStringLiteral("ficht"))->title(),
                 QStringLiteral("Fichier"));
        QCOMPARE(main().findChild<QMenu*>(QStringLiteral("aa"))->title(), QStringLiteral("?"));
        QVERIFY(!action("rec")->isVisible());
        QVERIFY(!action("edrecaps")->isVisible());
    }

    void theStatusLabelTheRaceMenusAndTheClock() {
        QCOMPARE(main().status(),
                 QStringLiteral("MISES EN LOGE de  La société de LES AMIS ANNEE 2005"));
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
        QCOMPARE(session().YearFolder,
                 QDir(fixture->dataFolder()).canonicalPath() + "/" + QString::number(year));
        QVERIFY(QFileInfo(session().YearFolder).isDir());
        QVERIFY(!yearBox()->isVisible());
        QVERIFY(!action("rec")->isVisible());
        QVERIFY(session().chosenRaces().isEmpty());
        QCOMPARE(main().status(),
                 QStringLiteral("MISES EN LOGE de  La société de LES AMIS ANNEE ") +
                     QString::number(year));
        QVERIFY(dialogs->asked().isEmpty());
    }

    void aYearBoxWithoutAYearChangesNothing() {
        ScriptedDialogsScope dialogs;
        typeYear(QString());
        QVERIFY(yearBox()->isVisible());
        QVERIFY(dialogs->asked().isEmpty());
        for (const QString& typed :
             {QStringLiteral("ab"), QStringLiteral("-5"), QStringLiteral("12345")}) {
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

    // "Gestion des Calendriers" opens the calendar editor; a year change closes it with
    // the season's other windows.
    void aYearChangeClosesTheCalendarEditor() {
        ScriptedDialogsScope dialogs;
        action("cal")->trigger();
        testing::clickCalendar();
        QVERIFY(windows().isLoaded<chdate>());
        QVERIFY(windows().window<chdate>().isVisible());
        typeYear(QStringLiteral("06"));
        QCOMPARE(session().SeasonYear, 2006);
        QVERIFY(!windows().isLoaded<chdate>());
        QVERIFY(!windows().isLoaded<calend>());
        QVERIFY(dialogs->asked().isEmpty());
    }

    // The release-site editors keep their changes until they are left: choosing their
    // menu item again asks whether to save them. Yes saves, No drops them; either way
    // the window opens afresh.
    void theSiteEditorsChosenAgainAskFirst() {
        ScriptedDialogsScope dialogs;
        openTheGeneralEditorWithAStoredSite();
        dialogs->answer(MsgAnswer::Yes);
        action("dot")->trigger();
        processPending();
        QCOMPARE(dialogs->messages().size(), 1);
        QCOMPARE(dialogs->messages().last().text,
                 QStringLiteral("Enregistrer les modifications des lieux de lâcher ?"));
        QCOMPARE(dialogs->messages().last().defaultButton, MsgAnswer::Yes);
        QCOMPARE(generalSiteNames(),
                 (QStringList{QStringLiteral("ARRAS"), QStringLiteral("BORDEAUX")}));
        QCOMPARE(windows().window<basedist>().editor().sites().size(), 2);
        QVERIFY(!windows().window<basedist>().hasUnsavedChanges());

        storeGeneralSite(QStringLiteral("CAHORS"), QStringLiteral("442651"),
                         QStringLiteral("12629"));
        dialogs->answer(MsgAnswer::No);
        action("dot")->trigger();
        processPending();
        QCOMPARE(dialogs->messages().size(), 2);
        QCOMPARE(generalSiteNames(),
                 (QStringList{QStringLiteral("ARRAS"), QStringLiteral("BORDEAUX")}));
        QCOMPARE(windows().window<basedist>().editor().sites().size(), 2);

        // Unchanged, the editor opens again without a question.
        action("dot")->trigger();
        processPending();
        QCOMPARE(dialogs->messages().size(), 2);

        action("glocal")->trigger();
        tickFirstLocalSite();
        dialogs->answer(MsgAnswer::Yes);
        action("glocal")->trigger();
        processPending();
        QCOMPARE(dialogs->messages().size(), 3);
        QCOMPARE(dialogs->messages().last().text, QStringLiteral("Enregistrer les lieux cochés ?"));
        const auto local = RecordFileOf<ReleaseSiteRecord>(session().LocalSitesPath).readAll();
        QCOMPARE(local.size(), 1);
        QCOMPARE(local[0].siteName().trimmed(), QStringLiteral("ARRAS"));
        QVERIFY(windows().window<distance>().isVisible());
        QVERIFY(dialogs->pendingAnswers() == 0);
    }

    // Ending the program from the main window asks each release-site window holding
    // unsaved changes first, the general editor, then the local selector; a save that
    // fails keeps the program running.
    void endingTheProgramAsksTheSiteWindowsFirst() {
        ScriptedDialogsScope dialogs;
        openTheGeneralEditorWithAStoredSite();
        action("glocal")->trigger();
        tickFirstLocalSite();

        // The general file cannot be written: the message, and the program goes on.
        const QString generalPath = session().GeneralSitesPath;
        RecordFile::writeFailureForTests = [generalPath](const QString& path) {
            return QFileInfo(path).fileName() == QFileInfo(generalPath).fileName();
        };
        dialogs->answer(MsgAnswer::Yes).answer(MsgAnswer::Ok);
        action("quitte")->trigger();
        RecordFile::writeFailureForTests = {};
        QVERIFY(!ended);
        QCOMPARE(dialogs->messages().size(), 2);
        QVERIFY(windows().window<basedist>().hasUnsavedChanges());
        QCOMPARE(generalSiteNames(), QStringList{QStringLiteral("ARRAS")});

        // The close box: the general editor's changes saved, the ticks dropped.
        dialogs->answer(MsgAnswer::Yes).answer(MsgAnswer::No);
        main().close();
        QVERIFY(ended);
        const auto asked = dialogs->messages();
        QCOMPARE(asked.size(), 4);
        QCOMPARE(asked[2].text,
                 QStringLiteral("Enregistrer les modifications des lieux de lâcher ?"));
        QCOMPARE(asked[3].text, QStringLiteral("Enregistrer les lieux cochés ?"));
        QCOMPARE(generalSiteNames(),
                 (QStringList{QStringLiteral("ARRAS"), QStringLiteral("BORDEAUX")}));
        QVERIFY(!QFile::exists(session().LocalSitesPath) ||
                RecordFileOf<ReleaseSiteRecord>(session().LocalSitesPath).count() == 0);
    }

    // Every question at the program's end lets the user cancel it: Annuler on the site
    // editor's question, or on the stake-sheet editor's about a value typed and not
    // memorised, keeps the program running with each window as it was.
    void aCancelAtTheEndKeepsTheProgramRunning() {
        ScriptedDialogsScope dialogs;
        openTheGeneralEditorWithAStoredSite();
        dialogs->answer(MsgAnswer::Cancel);
        action("quitte")->trigger();
        QVERIFY(!ended);
        QCOMPARE(dialogs->messages().size(), 1);
        QCOMPARE(dialogs->messages().last().buttons, MsgButtons::YesNoCancel);
        QVERIFY(windows().window<basedist>().hasUnsavedChanges());
        QCOMPARE(generalSiteNames(), QStringList{QStringLiteral("ARRAS")});

        fixture->writeStakeSheet(0, QStringLiteral("COMPTES"), {});
        fixture->writeStakeSheet(1, QStringLiteral("JEU A"),
                                 {{QStringLiteral("Mise    "), QStringLiteral(" Mise"), 1.5f}});
        const QByteArray sheet = testing::readBytes(fixture->path("gr1.jeu"));
        action("enj")->trigger();
        enjeu& stakes = windows().window<enjeu>();
        auto* combo = stakes.findChild<QComboBox*>(QStringLiteral("Combo1"));
        combo->setCurrentIndex(1);
        emit combo->activated(1);
        auto* grid = stakes.findChild<QTableWidget*>(QStringLiteral("Grid1"));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(0, 1)).center());
        QTest::keyClicks(grid, QStringLiteral("3"));

        dialogs->answer(MsgAnswer::No).answer(MsgAnswer::Cancel);
        action("quitte")->trigger();
        QVERIFY(!ended);
        QCOMPARE(dialogs->messages().size(), 3);
        QCOMPARE(dialogs->messages().last().text,
                 QStringLiteral("Les lignes de la feuille JEU A ne sont pas mémorisées.\n"
                                "Voulez-vous les mémoriser ?"));
        QVERIFY(stakes.isVisible());
        QCOMPARE(testing::readBytes(fixture->path("gr1.jeu")), sheet);

        // Oui on the stake sheet memorises the value typed, then the program ends.
        dialogs->answer(MsgAnswer::No).answer(MsgAnswer::Yes);
        main().close();
        QVERIFY(ended);
        QVERIFY(testing::readBytes(fixture->path("gr1.jeu")) != sheet);
        QCOMPARE(dialogs->pendingAnswers(), 0);
    }

    // "Mémorisation sur fichier", the calendar, then "Quitter" without exporting: the
    // basketing stays as it was, its races chosen, its menus shown and the recap window
    // working on them.
    void leavingTheExportKeepsTheBasketing() {
        fixture->addFancier(testing::namedFancier(QStringLiteral("DUPONT JEAN")));
        fixture->writeCalendar({{QStringLiteral("ORLEANS"), QStringLiteral("12/05/05"), 0}});
        fixture->writeStakeSheet(0, QStringLiteral("COMPTES"),
                                 {{QStringLiteral("TOTAL du"), QStringLiteral("jeu"), 0}});
        fixture->writeStakeSheet(1, QStringLiteral("JEU A"),
                                 {{QStringLiteral("Simple"), QStringLiteral("simp"), 0.5f}});
        ScriptedDialogsScope dialogs;
        action("chconc")->trigger();
        testing::clickCalendar();
        choiconc& chooser = windows().window<choiconc>();
        testing::doubleClickLine(chooser.findChild<QListWidget*>(QStringLiteral("List2")), 0);
        QCOMPARE(chooser.chosenLines().size(), 1);
        chooser.findChild<QAction*>(QStringLiteral("menu"))->trigger();
        processPending();
        QCOMPARE(session().ChosenRaceCodes[1], int16_t(101));
        QVERIFY(action("rec")->isVisible());
        QVERIFY(windows().isLoaded<recapam>());

        action("mfich")->trigger();
        testing::clickCalendar();
        choiconc& exporter = windows().window<choiconc>();
        exporter.findChild<QAction*>(QStringLiteral("menu"))->trigger();
        processPending();
        QVERIFY(!windows().isLoaded<choiconc>());
        QCOMPARE(session().ChosenRaceCodes[1], int16_t(101));
        QCOMPARE(session().ChosenRaceStakeFiles[1], QStringLiteral("gr1jeu.101"));
        QVERIFY(action("rec")->isVisible());
        QVERIFY(action("edrecaps")->isVisible());
        QVERIFY(windows().isLoaded<recapam>());
        QVERIFY(windows().window<recapam>().isVisible());
        QVERIFY(dialogs->asked().isEmpty());
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
