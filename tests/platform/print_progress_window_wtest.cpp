// The progress window of a print run: it shows only once the run has lasted half a second,
// also in the middle of a long document, and "Annuler" counts as a stop only when a
// document is left unprinted because of it; the end of a run is told from its outcome.
#include "platform/print_progress_window.h"

#include "platform/clock.h"
#include "platform/scripted_dialogs.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QtTest>

using namespace vt;

class PrintProgressWindowTest : public QObject {
    Q_OBJECT
    QDateTime clock{QDate(2026, 5, 4), QTime(10, 15)};
    int stepMs = 0;

    QPushButton* annuler(PrintProgressWindow& w) {
        return w.findChild<QPushButton*>(QStringLiteral("Annuler"));
    }

private slots:
    void init() {
        stepMs = 0;
        setClockForTests([this] { return clock = clock.addMSecs(stepMs); });
    }
    void cleanup() { setClockForTests({}); }

    // A run shorter than half a second shows nothing and stops nothing.
    void aShortRunShowsNothing() {
        stepMs = 1;
        PrintProgressWindow w(nullptr, QStringLiteral("récapitulatifs"),
                              QStringLiteral("imprimés"));
        for (int i = 0; i < 11; ++i)
            QVERIFY(w.next(i, 11, QStringLiteral("LACHER %1").arg(i)));
        QVERIFY(!w.isVisible());
        QVERIFY(!w.stopped());
        QCOMPARE(w.stoppedText(), QString());
    }

    // Past half a second it shows the count and the document being printed; "Annuler"
    // stops the next document, and the text agrees with what is counted.
    void annulerStopsTheNextDocument() {
        stepMs = 100;
        PrintProgressWindow w(nullptr, QStringLiteral("amateurs"), QStringLiteral("imprimés"));
        int i = 0;
        while (!w.isVisible() && i < 10) {
            QVERIFY(w.next(i, 10, QStringLiteral("DUPONT Jean")));
            ++i;
        }
        QVERIFY(w.isVisible());
        QCOMPARE(w.findChild<QLabel*>(QStringLiteral("Label1"))->text(),
                 QStringLiteral("%1 amateurs sur 10").arg(i - 1));
        QCOMPARE(w.findChild<QLabel*>(QStringLiteral("Label2"))->text(),
                 QStringLiteral("En cours : DUPONT Jean"));
        QTest::mouseClick(annuler(w), Qt::LeftButton);
        QVERIFY(!w.next(i, 10, QStringLiteral("MARTIN Paul")));
        QVERIFY(w.stopped());
        QCOMPARE(w.stoppedText(),
                 QStringLiteral("Impression arrêtée : %1 amateurs imprimés sur 10").arg(i));
    }

    // "Annuler" pressed while the last document is printed leaves nothing unprinted: the
    // run is not said to be stopped.
    void annulerDuringTheLastDocumentStopsNothing() {
        stepMs = 300;
        PrintProgressWindow w(nullptr, QStringLiteral("feuilles"));
        for (int i = 0; i < 4; ++i)
            QVERIFY(w.next(i, 4, QStringLiteral("DUPONT Jean")));
        QVERIFY(w.isVisible());
        QTest::mouseClick(annuler(w), Qt::LeftButton);
        QVERIFY(!w.stopped());
        QCOMPARE(w.stoppedText(), QString());
    }

    // A document that takes long says how far it is within it: the window shows in the
    // middle of it, its bar moves, and the other windows are painted meanwhile.
    void aLongDocumentShowsItsProgressWithinIt() {
        stepMs = 100;
        PrintProgressWindow w(nullptr, QStringLiteral("concours"), QStringLiteral("imprimés"));
        int ticks = 0;
        QTimer painting;
        painting.setInterval(0);
        connect(&painting, &QTimer::timeout, [&] { ++ticks; });
        painting.start();
        QVERIFY(w.next(0, 2, QStringLiteral("LIEU 0001")));
        const int atStart = ticks;
        for (int i = 1; i <= 10; ++i) {
            QThread::msleep(45); // the drawing of a few hundred lines
            w.within(i / 10.0);
        }
        QVERIFY(w.isVisible());
        QVERIFY(ticks > atStart + 5);
        auto* bar = w.findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
        QCOMPARE(bar->maximum(), 200);
        QCOMPARE(bar->value(), 100); // the whole first race of two
        // "Annuler" within the document stops the run before the next one.
        QTest::mouseClick(annuler(w), Qt::LeftButton);
        w.within(1);
        QVERIFY(!w.next(1, 2, QStringLiteral("LIEU 0002")));
        QCOMPARE(w.stoppedText(), QStringLiteral("Impression arrêtée : 1 concours imprimés sur 2"));
    }

    // What the program says at the end of a run follows the outcome's status, whatever its
    // words: a failure is critical, a stop says first how far it went, and a print that
    // went where it should goes to the status line when the window has one.
    void theEndOfARunIsToldFromItsOutcome_data() {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("stopAfterOne");
        QTest::addColumn<bool>("toStatus");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("icon");
        QTest::addColumn<QString>("statusLine");
        const auto done = int(PrintOutcome::Status::Done);
        const auto failed = int(PrintOutcome::Status::Failed);
        const QString odd = QStringLiteral("Impression impossible.pdf : 2 pages");
        const QString lost = QStringLiteral("Le disque est plein");
        QTest::newRow("done, words of a failure")
            << done << odd << false << false << odd << int(MsgIcon::Information) << QString();
        QTest::newRow("failed, other words")
            << failed << lost << false << false << lost << int(MsgIcon::Critical) << QString();
        QTest::newRow("stopped") << done << odd << true << false
                                 << QStringLiteral("Impression arrêtée : 2 feuilles imprimées "
                                                   "sur 3\n") +
                                        odd
                                 << int(MsgIcon::Information) << QString();
        QTest::newRow("done, status line")
            << done << odd << false << true << QString() << -1 << odd;
        QTest::newRow("failed, status line")
            << failed << lost << false << true << lost << int(MsgIcon::Critical) << QString();
    }
    void theEndOfARunIsToldFromItsOutcome() {
        QFETCH(int, status);
        QFETCH(QString, message);
        QFETCH(bool, stopAfterOne);
        QFETCH(bool, toStatus);
        QFETCH(QString, shown);
        QFETCH(int, icon);
        QFETCH(QString, statusLine);
        stepMs = 300; // the window shows at the second sheet
        QWidget window;
        window.setWindowTitle(QStringLiteral("Liste des amateurs"));
        ScriptedDialogsScope asked;
        asked->answer(MsgAnswer::Ok);
        QString statusShown;
        const PrintOutcome outcome = printWithProgress(
            &window, QStringLiteral("feuilles"), QStringLiteral("imprimées"),
            [&](PrintProgress& progress) {
                for (int i = 0; i < 3; ++i) {
                    if (!progress.next(i, 3, QStringLiteral("DUPONT Jean")))
                        break;
                    if (stopAfterOne && i == 1)
                        QTest::mouseClick(annuler(*dynamic_cast<PrintProgressWindow*>(&progress)),
                                          Qt::LeftButton);
                }
                return PrintOutcome{PrintOutcome::Status(status), QString(), 2, message};
            },
            toStatus ? TellPrinted::StatusWhenDone : TellPrinted::Message,
            [&](const QString& text) { statusShown = text; });
        QCOMPARE(outcome.stopped(), stopAfterOne);
        QCOMPARE(statusShown, statusLine);
        if (shown.isEmpty()) {
            QVERIFY(asked->messages().isEmpty());
            return;
        }
        QCOMPARE(asked->messages().size(), 1);
        QCOMPARE(asked->messages().at(0).text, shown);
        QCOMPARE(asked->messages().at(0).title, window.windowTitle());
        QCOMPARE(int(asked->messages().at(0).icon), icon);
    }
};

QTEST_MAIN(PrintProgressWindowTest)
#include "print_progress_window_wtest.moc"
