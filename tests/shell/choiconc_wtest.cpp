#include "shell/calend_window.h"
#include "shell/choiconc_window.h"

#include "common/record_file.h"
#include "common/records.h"
#include "common/session.h"
#include "platform/scripted_dialogs.h"
#include "platform/window_registry.h"
#include "tests/support/club_fixture.h"

#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace vt;
using namespace vt::testing;

class ChoiconcTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ClubFixture> club;
    choiconc* chooser = nullptr;
    QListWidget *list2 = nullptr, *list3 = nullptr;

    void open(int subMode) {
        windows().unloadAll();
        session().ListMode = 2;
        session().SubMode = subMode;
        windows().window<calend>().chooseCalendar(1);
        QVERIFY(windows().isLoaded<choiconc>());
        chooser = &windows().window<choiconc>();
        list2 = chooser->findChild<QListWidget*>("List2");
        list3 = chooser->findChild<QListWidget*>("List3");
    }
    void level(int i) { chooser->findChild<QRadioButton*>(QStringLiteral("Option1_%1").arg(i))->click(); }

private slots:
    void init() {
        club = std::make_unique<ClubFixture>();
        club->writeClub(QStringLiteral("LES AILES"), QStringLiteral("59012"));
        FancierSpec f;
        f.name = QStringLiteral("DUPONT JEAN");
        club->addFancier(f);
        QList<CalendarRaceSpec> races;
        for (int i = 1; i <= 6; ++i)
            races.append({QStringLiteral("ORLEANS"), QStringLiteral("%1/05/05").arg(10 + i), 0});
        club->writeCalendar(races);
        club->writeStakeSheet(0, QStringLiteral("COMPTES"),
                              {{QStringLiteral("TOTAL du"), QStringLiteral("jeu"), 0}});
        club->writeStakeSheet(1, QStringLiteral("JEU A"),
                              {{QStringLiteral("Simple"), QStringLiteral("simp"), 0.5f}});
        club->configureSession();
    }
    void cleanup() { windows().unloadAll(); }

    void choosesRacesAndHandsThemOver() {
        open(2);
        QCOMPARE(list2->count(), 6);
        QVERIFY(chooser->findChild<QRadioButton*>("Option1_0")->isChecked());
        ScriptedDialogsScope d;
        chooser->chooseOffered(4); // race 5, GENERAL
        QCOMPARE(list3->count(), 1);
        QVERIFY(list3->item(0)->text().endsWith(QStringLiteral(".105")));
        QVERIFY(QFile::exists(club->yearPath("bases.105")));
        QVERIFY(QFile::exists(club->yearPath("mise.105")));
        d->answer(MsgAnswer::Ok);
        chooser->chooseOffered(4); // the same race again: refused
        QCOMPARE(d->messages().size(), 1);
        QVERIFY(d->messages().first().text.endsWith(QStringLiteral("\nest déja sélectionné")));
        QCOMPARE(list3->count(), 1);
        level(3);
        chooser->chooseOffered(1); // race 2, SOCIETE
        QCOMPARE(list3->count(), 2);
        chooser->quit();
        QCOMPARE(session().ChosenRaceCodes[1], int16_t(105));
        QCOMPARE(session().ChosenRaceCodes[2], int16_t(402));
        QCOMPARE(session().ChosenRaceCodes[3], int16_t(0));
        QCOMPARE(session().ChosenRaceStakeFiles[2], QStringLiteral("gr4jeu.102"));
    }

    void elevenRacesHideTheOfferedList() {
        open(2);
        ScriptedDialogsScope d;
        for (int l = 0; l < 2; ++l) {
            level(l);
            for (int row = 0; row < 6 && list3->count() < 11; ++row)
                chooser->chooseOffered(row);
        }
        QCOMPARE(list3->count(), 11);
        QVERIFY(list2->isHidden());
        QCOMPARE(chooser->findChild<QLabel*>("Etiquette4")->text(),
                 QStringLiteral("Vous ne pouvez choisir plus de 11 concours"));
        chooser->removeChosen(0);
        QCOMPARE(list3->count(), 10);
        QVERIFY(!list2->isHidden());
        QVERIFY(chooser->findChild<QLabel*>("Etiquette4")->text().isEmpty());
    }

    void exportModeWritesTheFileWithoutABaseFile() {
        open(2);
        {
            ScriptedDialogsScope d;
            chooser->chooseOffered(0);
            chooser->quit();
        }
        StakeAmountBlock b;
        b.setStakeCount(0, 3);
        RecordFileOf<StakeAmountBlock>(club->yearPath("mise.101")).write(1, b);
        open(12);
        chooser->show();
        const QString out = QDir(club->startDir()).filePath("sortie");
        QDir().mkpath(out);
        level(1);
        chooser->chooseOffered(1); // race 2 at GROUPEMENT: only the pickers
        QVERIFY(list2->isHidden());
        QVERIFY(chooser->findChild<QPushButton*>("Command1")->isVisible());
        QVERIFY(!QFile::exists(club->yearPath("bases.202")));
        level(0);
        chooser->removeChosen(-1);
        // Back to the race actually set up: race 1 at GENERAL.
        chooser->findChild<QListWidget*>("List2")->show();
        chooser->chooseOffered(0);
        chooser->setExportFolder(out);
        ScriptedDialogsScope d;
        chooser->exportChosen();
        QCOMPARE(QDir(out).entryList(QDir::Files),
                 QStringList{QStringLiteral("ORLEANS GENERAL_11_05 .VIEUX")});
    }
};

QTEST_MAIN(ChoiconcTest)
#include "choiconc_wtest.moc"
