// The club form: its boxes, the Enter ring, the save question and the refused inputs.
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
#include <QApplication>
#include <QLineEdit>
#include <QtTest>

#include <memory>

using namespace vt;
using vt::testing::readBytes;
using vt::testing::writeBytes;

class SocieteTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<vt::testing::ClubFixture> fixture;
    bool ended = false;

    societe& form() { return windows().window<societe>(); }
    QLineEdit* box(const char* name) {
        return form().findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    void quitter() { form().findChild<QAction*>(QStringLiteral("quitte"))->trigger(); }

private slots:
    void init() {
        setClockForTests([] { return QDateTime(QDate(2005, 3, 8), QTime(8, 15, 0)); });
        ended = false;
        setEndProgramForTests([this] { ended = true; });
        fixture = std::make_unique<vt::testing::ClubFixture>(2005);
        fixture->writeClub(QStringLiteral("LES AMIS"), QStringLiteral("1234"), 7,
                           QStringLiteral("Jean Martin"), QStringLiteral("12 rue des Lilas"));
        writeBytes(fixture->path("socres"), "previous");
        fixture->configureSession();
        windows().show<depart>();
        windows().show<societe>();
        QApplication::setActiveWindow(&form());
        QVERIFY(QTest::qWaitForWindowActive(&form()));
    }
    void cleanup() {
        windows().unloadAll();
        QCoreApplication::processEvents();
        fixture.reset();
        setEndProgramForTests({});
        setClockForTests({});
    }

    void theBoxesShowTheClub() {
        QCOMPARE(form().windowTitle(), QStringLiteral("gestion des sociétés"));
        QCOMPARE(box("txt1")->text(), QStringLiteral("LES AMIS"));
        QCOMPARE(box("txt1")->selectedText(), QStringLiteral("LES AMIS"));
        QCOMPARE(box("Txt2")->text(), QStringLiteral("1234"));
        QCOMPARE(box("Text1")->text(), QStringLiteral("7"));
        QCOMPARE(box("Text2")->text(), QStringLiteral("Jean Martin"));
        QCOMPARE(box("Text3")->text(), QStringLiteral("12 rue des Lilas"));
        QCOMPARE(box("txt1")->toolTip(),
                 QStringLiteral("NOM DE LA SOCIETE (POUR OTER UNE SOCIETE EFFACEZ TOUS LES CARACTERES)"));
    }

    void enterGoesRoundTheRingAndEscOrDelClears() {
        const char* ring[] = {"txt1", "Txt2", "Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "txt1"};
        for (int i = 0; i + 1 < 9; ++i) {
            box(ring[i])->setFocus();
            QTest::keyClick(box(ring[i]), Qt::Key_Return);
            QCOMPARE(QApplication::focusWidget(), box(ring[i + 1]));
            QCOMPARE(box(ring[i + 1])->selectedText(), box(ring[i + 1])->text());
        }
        QTest::keyClick(box("Text2"), Qt::Key_Escape);
        QCOMPARE(box("Text2")->text(), QString());
        QTest::keyClick(box("Text3"), Qt::Key_Delete);
        QCOMPARE(box("Text3")->text(), QString());
    }

    void unchangedFormLeavesWithoutAQuestion() {
        ScriptedDialogsScope dialogs;
        const QByteArray club = readBytes(fixture->path("societe.nom"));
        quitter();
        QCoreApplication::processEvents();
        QVERIFY(dialogs->asked().isEmpty());
        QVERIFY(!windows().isLoaded<societe>());
        QVERIFY(windows().window<depart>().isVisible());
        QCOMPARE(readBytes(fixture->path("societe.nom")), club);
    }

    void anEditWithoutEnterAsksAndNoKeepsTheFile() {
        ScriptedDialogsScope dialogs;
        const QByteArray club = readBytes(fixture->path("societe.nom"));
        box("Text6")->setFocus();
        QTest::keyClicks(box("Text6"), QStringLiteral("LILLE"));
        dialogs->answer(MsgAnswer::No);
        quitter();
        QCoreApplication::processEvents();
        QCOMPARE(dialogs->messages().size(), 1);
        const MessageRequest q = dialogs->messages()[0];
        QCOMPARE(q.text, QStringLiteral("      LA LISTE DES SOCIETES A ETE MODIFIEE\r"
                                        "DESIREZ-VOUS MEMORISER LES MODIFICATIONS "));
        QCOMPARE(q.title, QStringLiteral("gestion des sociétés"));
        QCOMPARE(q.buttons, MsgButtons::YesNo);
        QCOMPARE(q.icon, MsgIcon::Question);
        QCOMPARE(q.defaultButton, MsgAnswer::No);
        QCOMPARE(readBytes(fixture->path("societe.nom")), club);
        QCOMPARE(readBytes(fixture->path("socres")), QByteArray("previous"));
        QVERIFY(!windows().isLoaded<societe>());
        QCOMPARE(windows().window<depart>().windowTitle(), QStringLiteral(" La société de LES AMIS"));
    }

    void yesSavesAndTheMainWindowKeepsItsSeason() {
        ScriptedDialogsScope dialogs;
        windows().window<depart>().startYearEntry();
        session().ChosenRaceCodes[1] = 102;
        const QByteArray club = readBytes(fixture->path("societe.nom"));
        box("txt1")->selectAll();
        QTest::keyClicks(box("txt1"), QStringLiteral("LES AMIS REUNIS"));
        QTest::keyClick(box("txt1"), Qt::Key_Return);
        dialogs->answer(MsgAnswer::Yes);
        quitter();
        QCoreApplication::processEvents();
        QCOMPARE(readBytes(fixture->path("socres")), club);
        QCOMPARE(session().ClubCaption, QStringLiteral(" La société de LES AMIS REUNIS"));
        QCOMPARE(session().SenderAddress.Street, QStringLiteral("12 rue des Lilas"));
        QCOMPARE(session().SeasonYear, 2005);
        QCOMPARE(session().ChosenRaceCodes[1], 102);
        QCOMPARE(windows().window<depart>().status(),
                 QStringLiteral("MISES EN LOGE de  La société de LES AMIS REUNIS ANNEE 2005"));
    }

    void refusedInputKeepsTheFormAndTheFiles() {
        ScriptedDialogsScope dialogs;
        const QByteArray club = readBytes(fixture->path("societe.nom"));
        box("Text1")->selectAll();
        QTest::keyClicks(box("Text1"), QStringLiteral("40000"));
        dialogs->answer(MsgAnswer::Ok);
        QTest::keyClick(box("Text1"), Qt::Key_Return);
        QCOMPARE(dialogs->messages().last().text,
                 QStringLiteral("Le numéro du groupement doit être un nombre entier de -32768 à 32767"));
        QCOMPARE(QApplication::focusWidget(), box("Text1"));
        dialogs->answer(MsgAnswer::Ok);
        quitter();
        QCOMPARE(dialogs->messages().size(), 2);
        QVERIFY(windows().isLoaded<societe>());

        box("Text1")->setText(QStringLiteral("7"));
        box("Txt2")->clear();
        dialogs->answer(MsgAnswer::Ok);
        quitter();
        const MessageRequest m = dialogs->messages().last();
        QCOMPARE(m.text, QStringLiteral("Le code société est obligatoire\r"));
        QCOMPARE(m.title, QStringLiteral("gestion des sociétés"));
        QCOMPARE(m.icon, MsgIcon::Information);
        QCOMPARE(QApplication::focusWidget(), box("Txt2"));
        QVERIFY(windows().isLoaded<societe>());
        QCOMPARE(readBytes(fixture->path("societe.nom")), club);
        QCOMPARE(readBytes(fixture->path("socres")), QByteArray("previous"));
    }

    void anEmptyNameEndsTheProgramWithoutSaving() {
        ScriptedDialogsScope dialogs;
        const QByteArray club = readBytes(fixture->path("societe.nom"));
        box("txt1")->clear();
        QTest::keyClick(box("txt1"), Qt::Key_Return);
        quitter();
        QVERIFY(ended);
        QVERIFY(dialogs->asked().isEmpty());
        QCOMPARE(readBytes(fixture->path("societe.nom")), club);
    }

    void helpIsTopicThree() {
        form().findChild<QAction*>(QStringLiteral("aide"))->trigger();
        QCOMPARE(lastHelpTopic(), 3);
    }
};

QTEST_MAIN(SocieteTest)
#include "societe_wtest.moc"
