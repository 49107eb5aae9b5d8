// The progress window of a print run: it shows only once the run has lasted half a second,
// and "Annuler" counts as a stop only when a document is left unprinted because of it.
#include "platform/print_progress_window.h"

#include "platform/clock.h"

#include <QLabel>
#include <QPushButton>
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
};

QTEST_MAIN(PrintProgressWindowTest)
#include "print_progress_window_wtest.moc"
