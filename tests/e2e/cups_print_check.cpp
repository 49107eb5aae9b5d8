// Prints through the machine's default printer as a user does: Vorel starts on a small
// club, the calendar editor prints the calendar ("Imprimer") and the fanciers window
// prints one fancier's distance sheet as a list ("Les amateurs sélectionnés", answer No
// to the booklet question). scripts/cups-check.sh runs it against a CUPS queue that it
// has made the default printer (VT_CUPS_QUEUE names it), then reads the queue's PDFs
// back; run otherwise, it skips.
#include "fanciers/gnoms_window.h"
#include "shell/calend_window.h"
#include "shell/chdate_window.h"
#include "shell/depart_window.h"
#include "shell/program.h"
#include "shell/splash_window.h"

#include "common/session.h"
#include "platform/printing.h"
#include "platform/qt_print_surface.h"
#include "platform/scripted_dialogs.h"
#include "platform/window_registry.h"
#include "tests/support/pending_events.h"
#include "tests/support/window_child.h"
#include "tests/support/club_fixture.h"

#include <QAction>
#include <QDate>
#include <QDirIterator>
#include <QListWidget>
#include <QPrinterInfo>
#include <QRadioButton>
#include <QtTest>

#include <memory>

using namespace vt;
using vt::testing::processPending;
using vt::testing::child;

class CupsPrintCheck : public QObject {
    Q_OBJECT

    QString m_queue = qEnvironmentVariable("VT_CUPS_QUEUE");

private slots:
    void initTestCase() {
        if (m_queue.isEmpty())
            QSKIP("VT_CUPS_QUEUE is not set: scripts/cups-check.sh runs this check");
        setProgramIdentity();
    }
    void cleanupTestCase() {
        windows().unloadAll();
        processPending();
    }

    void calendarAndDistanceSheetGoToTheDefaultPrinter() {
        const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
        QCOMPARE(printer.printerName(), m_queue);

        // The season of today's year, so that the main window opens the calendar written.
        testing::ClubFixture club(QDate::currentDate().year());
        club.writeSmallClub();
        ScriptedDialogsScope dialogs;
        QVERIFY(startVorel(club.startDir()));
        windows().window<frmSplash>().suite();
        processPending();
        QVERIFY(windows().isLoaded<depart>());
        depart& main = windows().window<depart>();

        // "Gestion des Calendriers", the club's calendar, "Imprimer".
        child<QAction>(main, "cal")->trigger();
        child<QRadioButton>(windows().window<calend>(), "Option1_1")->click();
        QVERIFY(windows().isLoaded<chdate>());
        dialogs->answer(MsgAnswer::Ok); // the message that says where the calendar went
        child<QAction>(windows().window<chdate>(), "imp")->trigger();
        processPending();
        QCOMPARE(dialogs->messages().size(), 1);
        QCOMPARE(dialogs->messages().at(0).text,
                 QStringLiteral("Impression envoyée à l'imprimante %1 : 1 page").arg(m_queue));
        child<QAction>(windows().window<chdate>(), "quitte")->trigger();
        processPending();

        // "Gestion des Amateurs", the first fancier, "Les amateurs sélectionnés", a list.
        child<QAction>(main, "noms")->trigger();
        gnoms& fanciers = windows().window<gnoms>();
        QListWidget* list = child<QListWidget>(fanciers, "List1");
        QVERIFY(list->count() > 0);
        QVERIFY(list->item(0)->text().startsWith(QStringLiteral("DUPONT Jean")));
        list->item(0)->setSelected(true);
        dialogs->answer(MsgAnswer::No).answer(MsgAnswer::Ok);
        child<QAction>(fanciers, "amdist")->trigger();
        processPending();
        const QList<MessageRequest> messages = dialogs->messages();
        QCOMPARE(messages.size(), 3);
        QVERIFY2(messages.at(2).text.contains(QStringLiteral("Feuilles imprimées : 1")),
                 qPrintable(messages.at(2).text));

        // Nothing went to a file: both documents are jobs of the queue.
        QDirIterator pdfs(club.startDir(), {QStringLiteral("*.pdf")}, QDir::Files,
                          QDirIterator::Subdirectories);
        QVERIFY2(!pdfs.hasNext(), qPrintable(pdfs.hasNext() ? pdfs.next() : QString()));
    }
};

QTEST_MAIN(CupsPrintCheck)
#include "cups_print_check.moc"
