// Starting Vorel: first run through the club form, then the start-up window with the club.
#include "shell/depart_window.h"
#include "shell/plein_window.h"
#include "shell/program.h"
#include "shell/societe_window.h"
#include "shell/splash_window.h"

#include "common/record_file.h"
#include "common/records.h"
#include "common/session.h"
#include "platform/clock.h"
#include "platform/scripted_dialogs.h"
#include "platform/window_registry.h"
#include "tests/support/club_fixture.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

using namespace vt;
using vt::testing::readBytes;

class StartupWindowsTest : public QObject {
    Q_OBJECT
private:
    bool ended = false;

    static void click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }
    template <class W> static W& loaded() { return windows().window<W>(); }
    static QString data(const QTemporaryDir& dir, const QString& n) {
        return QDir(dir.path()).filePath(QStringLiteral("region1/") + n);
    }
    static void type(QWidget* form, const char* box, const QString& text) {
        auto* b = form->findChild<QLineEdit*>(QString::fromLatin1(box));
        QVERIFY(b);
        b->setFocus();
        b->selectAll();
        QTest::keyClicks(b, text);
        QTest::keyClick(b, Qt::Key_Return);
    }

private slots:
    void init() {
        session() = Session{};
        ended = false;
        setEndProgramForTests([this] { ended = true; });
        setClockForTests([] { return QDateTime(QDate(2026, 12, 10), QTime(8, 15, 0)); });
    }
    void cleanup() {
        windows().unloadAll();
        QCoreApplication::processEvents();
        setEndProgramForTests({});
        setClockForTests({});
    }

    void firstRunGoesThroughTheClubFormToTheMainWindow() {
        QTemporaryDir dir;
        ScriptedDialogsScope dialogs;
        QVERIFY(startVorel(dir.path()));
        QVERIFY(windows().isLoaded<societe>());
        QVERIFY(!windows().isLoaded<frmSplash>());
        QVERIFY(!windows().isLoaded<plein>());
        QCOMPARE(QFileInfo(data(dir, "societe.nom")).size(), 0);
        QVERIFY(QDir(data(dir, "")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());

        societe& form = loaded<societe>();
        type(&form, "txt1", QStringLiteral("LES AMIS"));
        type(&form, "Txt2", QStringLiteral("1234"));
        type(&form, "Text1", QStringLiteral("7"));
        dialogs->answer(MsgAnswer::Yes);
        form.findChild<QAction*>(QStringLiteral("quitte"))->trigger();
        QCoreApplication::processEvents();

        QCOMPARE(dialogs->messages().size(), 1);
        QCOMPARE(dialogs->messages()[0].defaultButton, MsgAnswer::No);
        const QByteArray expected = QByteArray("LES AMIS") + QByteArray(15, ' ') +
                                    QByteArray("\x07\x00", 2) + QByteArray("1234 ") +
                                    QByteArray(110, ' ');
        QCOMPARE(readBytes(data(dir, "societe.nom")), expected);
        QVERIFY(QFile::exists(data(dir, "socres")));
        QCOMPARE(QFileInfo(data(dir, "socres")).size(), 0);
        QVERIFY(windows().isLoaded<depart>());
        depart& main = loaded<depart>();
        QCOMPARE(main.windowTitle(), QStringLiteral(" La société de LES AMIS"));
        QCOMPARE(main.status(),
                 QStringLiteral("MISES EN LOGE de  La société de LES AMIS ANNEE 2026"));
        QCOMPARE(main.clockPanelText(), QStringLiteral("jeudi 10 décembre 2026 il est 08:15:00"));
        QVERIFY(QFileInfo(data(dir, "2026")).isDir());
        QVERIFY(!ended);
    }

    void leavingTheFirstRunWithoutANameEndsTheProgram() {
        QTemporaryDir dir;
        ScriptedDialogsScope dialogs;
        QVERIFY(startVorel(dir.path()));
        loaded<societe>().findChild<QAction*>(QStringLiteral("quitte"))->trigger();
        QVERIFY(ended);
        QVERIFY(!windows().isLoaded<depart>());
        QCOMPARE(QFileInfo(data(dir, "societe.nom")).size(), 0);
    }

    void secondStartShowsTheClubAndSuiteOpensTheSeason() {
        setClockForTests([] { return QDateTime(QDate(2005, 3, 8), QTime(14, 5, 9)); });
        vt::testing::ClubFixture fixture(2004); // a season folder of another year
        fixture.writeClub(QStringLiteral("LES AMIS"), QStringLiteral("1234"), 7,
                          QStringLiteral("Jean Martin"), QStringLiteral("12 rue des Lilas"),
                          QString(), QStringLiteral("59000"), QStringLiteral("LILLE"));
        FancierRecord a;
        a.setFancierName(QStringLiteral("DUPONT JEAN"));
        a.setRaceAmount(0, 5);
        a.setRaceAmount(105, 1234);
        a.setRaceAmount(649, 7);
        RecordFileOf<FancierRecord>(fixture.path("noms.vba")).rewrite({a, FancierRecord()});

        ScriptedDialogsScope dialogs;
        QVERIFY(startVorel(fixture.startDir()));
        QVERIFY(windows().isLoaded<plein>());
        frmSplash& splash = loaded<frmSplash>();
        QVERIFY(splash.isVisible());
        QCOMPARE(splash.findChild<QLabel*>(QStringLiteral("lblClubName"))->text(),
                 QStringLiteral("LES AMIS"));
        QCOMPARE(splash.findChild<QLabel*>(QStringLiteral("lblVersion"))->text(),
                 QStringLiteral("Version GPS 2.0.0"));
        QCOMPARE(session().SenderAddress.Street, QStringLiteral("12 rue des Lilas"));
        QCOMPARE(loaded<plein>().clockPanelText(),
                 QStringLiteral("mardi 08 mars 2005 il est 14:05:09"));
        QVERIFY(!QFileInfo::exists(fixture.path("2005")));

        click(splash.findChild<QLabel*>(QStringLiteral("Label1")));
        QCoreApplication::processEvents();
        QVERIFY(windows().isLoaded<depart>());
        QVERIFY(!windows().isLoaded<frmSplash>());
        QVERIFY(!windows().isLoaded<plein>());
        QCOMPARE(loaded<depart>().windowTitle(), QStringLiteral(" La société de LES AMIS"));

        const QByteArray master = readBytes(fixture.path("noms.vba"));
        QByteArray season = readBytes(fixture.path("2005/noms.vba"));
        QCOMPARE(season.size(), 6394);
        QCOMPARE(season.left(597), master.left(597));
        QCOMPARE(season.mid(597, 4), QByteArray("\x05\x00\x00\x00", 4));
        QCOMPARE(season.mid(601, 3197 - 601), QByteArray(3197 - 601, '\0'));
        QCOMPARE(season.mid(3197), master.mid(3197));

        // A third start finds the season file and leaves it as it is.
        RecordFileOf<FancierRecord> file(fixture.path("2005/noms.vba"));
        FancierRecord r = file.read(1);
        r.setRaceAmount(102, 4500);
        file.write(1, r);
        season = readBytes(fixture.path("2005/noms.vba"));
        windows().unloadAll();
        QCoreApplication::processEvents();
        session() = Session{};
        QVERIFY(startVorel(fixture.startDir()));
        loaded<frmSplash>().suite();
        QCoreApplication::processEvents();
        QCOMPARE(readBytes(fixture.path("2005/noms.vba")), season);
    }

    void theBackgroundBringsTheStartUpWindowBackAndQuitterEnds() {
        vt::testing::ClubFixture fixture;
        fixture.writeClub(QStringLiteral("LES AMIS"), QStringLiteral("1234"));
        ScriptedDialogsScope dialogs;
        QVERIFY(startVorel(fixture.startDir()));
        frmSplash& splash = loaded<frmSplash>();
        splash.hide();
        QTest::mouseClick(&loaded<plein>(), Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(splash.isVisible());
        splash.hide();
        QTest::qWait(1100);
        loaded<plein>().tick();
        QVERIFY(splash.isVisible());
        click(loaded<plein>().findChild<QLabel*>(QStringLiteral("Label1")));
        QVERIFY(ended);
        QVERIFY(!windows().isLoaded<depart>());
    }

    void aDataFolderThatCannotBeMadeIsReported() {
        QTemporaryDir dir;
        vt::testing::writeBytes(QDir(dir.path()).filePath("region1"), "a file");
        ScriptedDialogsScope dialogs;
        dialogs->answer(MsgAnswer::Ok);
        QVERIFY(!startVorel(dir.path()));
        QCOMPARE(dialogs->messages().size(), 1);
        QVERIFY(dialogs->messages()[0].text.startsWith(QStringLiteral("Impossible de créer ou d'ouvrir ")));
        QVERIFY(!windows().isLoaded<frmSplash>());
        QVERIFY(!windows().isLoaded<plein>());
    }
};

QTEST_MAIN(StartupWindowsTest)
#include "startup_wtest.moc"
