// Two programs on one folder, as two real processes. The built Vorel holds its data folder:
// a second Vorel started there says which computer holds it and ends without writing a
// byte; once the first is killed, its lock no longer holds and a new start works. Vorel
// and Tarvio run side by side, but their site editors never have distgen at once: the one
// opened second says the list is being edited in the other program and saves nothing.
//
// The second programs are this test binary started again in a child mode (VT_LOCK_CHILD),
// running the programs' own start and menu code with message boxes written to its output
// instead of shown, so the test reads what the user would have been told.
#include "calculator/basedist_window.h"
#include "calculator/depart_window.h"
#include "calculator/tarvio_texts.h"
#include "fanciers/basedist_window.h"
#include "shell/program.h"
#include "shell/splash_window.h"
#include "shell/startup.h"

#include "common/held_lock.h"
#include "common/session.h"
#include "fanciers/site_list.h"
#include "platform/dialogs.h"
#include "platform/window_registry.h"
#include "tests/support/club_fixture.h"

#include <QAction>
#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QSocketNotifier>
#include <QTimer>
#include <QtTest>

#include <cstdio>
#include <unistd.h>

using namespace vt;
using vt::testing::ClubFixture;

namespace {

constexpr const char* ChildVariable = "VT_LOCK_CHILD";

// Message boxes written to the output, each answered with its default button.
class PrintedDialogs : public Dialogs {
public:
    MsgAnswer message(const MessageRequest& r) override {
        std::printf("message: %s\n", r.text.toUtf8().constData());
        std::fflush(stdout);
        return r.buttons == MsgButtons::Ok ? MsgAnswer::Ok : r.defaultButton;
    }
    QString input(const InputRequest&) override { return {}; }
    QString chooseFolder(const QString&, const QString&) override { return {}; }
    bool printerSetup() override { return false; }
};

void say(const char* line) {
    std::printf("%s\n", line);
    std::fflush(stdout);
}

// Waits until the parent closes the child's input (or kills it).
void runUntilInputCloses(QApplication& app) {
    QSocketNotifier input(0, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&app] {
        char buffer[64];
        if (::read(0, buffer, sizeof buffer) <= 0)
            app.quit();
    });
    app.exec();
}

// The child modes: "vorel" starts Vorel in the current folder (and ends at once when it
// started); "vorel-sites" starts it and opens its site editor from the main menu's item;
// "tarvio-sites" opens Tarvio's site editor from its main window's "Fichier des LIEUX".
// An editor that opened says "editing" and stays open until the input closes.
int runChild(const QByteArray& mode, int argc, char** argv) {
    QApplication app(argc, argv);
    setDialogs(std::make_unique<PrintedDialogs>());
    const QString folder = QDir::currentPath();
    if (mode == "tarvio-sites") {
        tarvio::setProgramIdentity();
        tarvio::setStartDirectory(folder);
        tarvio::depart& main = windows().show<tarvio::depart>();
        main.findChild<QAction*>(QStringLiteral("GPS"))->trigger();
        const bool open = windows().isLoaded<tarvio::basedist>();
        say(open ? "editing" : "not editing");
        if (open)
            runUntilInputCloses(app);
        windows().unloadAll();
        return open ? 0 : 2;
    }
    setProgramIdentity();
    if (!startVorel(folder)) {
        say("ended");
        return 1;
    }
    say("running");
    int result = 0;
    if (mode == "vorel-sites") {
        basedist::reopen();
        const bool open = windows().isLoaded<basedist>();
        say(open ? "editing" : "not editing");
        if (open)
            runUntilInputCloses(app);
        result = open ? 0 : 2;
    }
    windows().unloadAll();
    releaseDataFolder();
    return result;
}

// Every file under the folder, hidden ones included, with its bytes.
QMap<QString, QByteArray> filesUnder(const QString& folder) {
    QMap<QString, QByteArray> out;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        out.insert(path, f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("?"));
    }
    return out;
}

struct Child {
    std::unique_ptr<QProcess> process = std::make_unique<QProcess>();
    QByteArray output;

    bool hasLine(const QByteArray& line) const {
        return ('\n' + output).contains('\n' + line + '\n');
    }
    // Waits for a line of the child's output; false when it ends or 30 s pass first.
    bool waitFor(const QByteArray& line) {
        QElapsedTimer t;
        t.start();
        while (!hasLine(line) && t.elapsed() < 30000) {
            if (!process->waitForReadyRead(500) && process->state() == QProcess::NotRunning)
                break;
            output += process->readAllStandardOutput();
        }
        output += process->readAllStandardOutput();
        return hasLine(line);
    }
    int finish() {
        process->closeWriteChannel();
        if (!process->waitForFinished(30000))
            return -1;
        output += process->readAllStandardOutput();
        return process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1;
    }
    void kill() {
        process->kill(); // SIGKILL: the lock file stays behind, as after a crash
        process->waitForFinished(10000);
    }
    QString text() const { return QString::fromUtf8(output); }
};

} // namespace

class OneProgramPerFolderTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ClubFixture> fx;

    Child start(const QString& program, const QByteArray& mode = {}) {
        Child c;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        if (!mode.isEmpty())
            env.insert(QString::fromLatin1(ChildVariable), QString::fromLatin1(mode));
        c.process->setProcessEnvironment(env);
        c.process->setWorkingDirectory(fx->startDir());
        c.process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        c.process->start(program, {});
        return c;
    }
    Child startChild(const QByteArray& mode) {
        return start(QCoreApplication::applicationFilePath(), mode);
    }
    QString lockFile() const { return dataFolderLockPath(fx->dataFolder()); }

private slots:
    void init() {
        fx = std::make_unique<ClubFixture>(2005);
        fx->writeSmallClub();
    }
    void cleanup() { fx.reset(); }

    void aSecondVorelOnAHeldFolderEndsWritingNothing() {
        Child first = start(QStringLiteral(VT_VOREL_PROGRAM));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(lockFile()), 30000);
        const QMap<QString, QByteArray> before = filesUnder(fx->startDir());

        Child second = startChild("vorel");
        QVERIFY2(second.waitFor("ended"), qPrintable(second.text()));
        QCOMPARE(second.finish(), 1);
        const QString told = second.text();
        QVERIFY2(told.contains(QStringLiteral("est déjà utilisé par Vorel sur l'ordinateur « %1 »")
                                   .arg(thisHostName())),
                 qPrintable(told));
        QVERIFY2(told.contains(QDir::toNativeSeparators(fx->dataFolder())), qPrintable(told));
        QVERIFY2(!told.contains("running"), qPrintable(told));
        QCOMPARE(filesUnder(fx->startDir()), before);
        QCOMPARE(first.process->state(), QProcess::Running);

        // Killed, the first leaves its lock file; a program that is gone holds nothing.
        first.kill();
        QVERIFY(QFile::exists(lockFile()));
        Child third = startChild("vorel");
        QVERIFY2(third.waitFor("running"), qPrintable(third.text()));
        QCOMPARE(third.finish(), 0);
        QVERIFY2(!third.text().contains("message:"), qPrintable(third.text()));
        // A program that ends gives the folder up.
        QVERIFY(!QFile::exists(lockFile()));
    }

    // Each editor opened first keeps the other program's editor closed; once it is gone
    // (quit, or killed), the other opens.
    void theSiteListIsEditedInOneProgramAtATime_data() {
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QByteArray>("second");
        QTest::addColumn<bool>("killFirst");
        QTest::newRow("Tarvio first, it quits") << QByteArray("tarvio-sites") << QByteArray("vorel-sites") << false;
        QTest::newRow("Vorel first, it quits") << QByteArray("vorel-sites") << QByteArray("tarvio-sites") << false;
        QTest::newRow("Tarvio first, killed") << QByteArray("tarvio-sites") << QByteArray("vorel-sites") << true;
    }
    void theSiteListIsEditedInOneProgramAtATime() {
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, second);
        QFETCH(bool, killFirst);
        fx->addGeneralSite({QStringLiteral("ARRAS"), 501736, 24659, 0});
        Child editing = startChild(first);
        QVERIFY2(editing.waitFor("editing"), qPrintable(editing.text()));
        const QMap<QString, QByteArray> before = filesUnder(fx->startDir());

        Child refused = startChild(second);
        QVERIFY2(refused.waitFor("not editing"), qPrintable(refused.text()));
        QCOMPARE(refused.finish(), 2);
        const QString told = refused.text();
        QVERIFY2(told.contains(QStringLiteral("est en cours de modification dans l'autre programme")),
                 qPrintable(told));
        QVERIFY2(told.contains(QStringLiteral("« %1 »").arg(thisHostName())), qPrintable(told));
        // Nothing written: distgen, distloc and the other files are as they were.
        const QMap<QString, QByteArray> after = filesUnder(fx->startDir());
        QCOMPARE(after.keys(), before.keys());
        for (const QString& file : before.keys())
            QVERIFY2(after.value(file) == before.value(file), qPrintable(file));

        if (killFirst)
            editing.kill();
        else
            QCOMPARE(editing.finish(), 0);
        Child now = startChild(second);
        QVERIFY2(now.waitFor("editing"), qPrintable(now.text()));
        QCOMPARE(now.finish(), 0);
    }
};

int main(int argc, char** argv) {
    const QByteArray mode = qgetenv(ChildVariable);
    if (!mode.isEmpty())
        return runChild(mode, argc, argv);
    QApplication app(argc, argv);
    OneProgramPerFolderTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "one_program_per_folder_wtest.moc"
