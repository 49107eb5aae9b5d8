#include "fanciers/distance_window.h"

#include "common/record_file.h"
#include "platform/help.h"
#include "platform/printing.h"
#include "platform/recording_surface.h"
#include "platform/scripted_dialogs.h"
#include "platform/window_registry.h"
#include "tests/fanciers/site_window_fixture.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QtTest>

#include <memory>

using namespace vt;
using vt::testing::readBytes;

class DistanceTest : public QObject {
    Q_OBJECT

    testing::SiteWindowFixture fixture;

    distance& open() { return windows().show<distance>(); }
    static QListWidget* list(distance& w) {
        return w.findChild<QListWidget*>(QStringLiteral("Listlieux"));
    }
    static QAction* action(distance& w, const char* name) {
        return w.findChild<QAction*>(QString::fromLatin1(name));
    }
    static QList<bool> ticks(distance& w) {
        QList<bool> out;
        for (int i = 0; i < list(w)->count(); ++i)
            out.append(list(w)->item(i)->checkState() == Qt::Checked);
        return out;
    }
    void quit(distance& w) {
        action(w, "quitte")->trigger();
        testing::processPending();
    }

private slots:
    void init() {
        fixture.setUp({{"ABBEVILLE", 500600, 15000, 0},
                       {"BORDEAUX", 445017, 0, 3436},
                       {"CAHORS", 442651, 12629, 0}},
                      {{"CAHORS", 442651, 12629, 0}});
    }
    void cleanup() { fixture.tearDown(); }

    // Ticked sites come back ticked; ticking one more and quitting rebuilds distloc from
    // distgen's records, byte for byte.
    void tickAndQuit() {
        distance& w = open();
        QCOMPARE(w.windowTitle(), QStringLiteral("gestion des lieux de lâcher"));
        QCOMPARE(list(w)->count(), 3);
        QCOMPARE(list(w)->item(0)->text(), QStringLiteral("ABBEVILLE             "));
        QCOMPARE(ticks(w), (QList<bool>{false, false, true}));
        QCOMPARE(list(w)->currentRow(), 0);
        list(w)->item(0)->setCheckState(Qt::Checked);
        quit(w);
        QVERIFY(!windows().isLoaded<distance>());
        const QByteArray gen = readBytes(session().GeneralSitesPath);
        QCOMPARE(readBytes(session().LocalSitesPath), gen.left(49) + gen.mid(98, 49));
    }

    void selectAllThenNone() {
        distance& w = open();
        action(w, "tsel")->trigger();
        QCOMPARE(ticks(w), (QList<bool>{true, true, true}));
        action(w, "osel")->trigger();
        QCOMPARE(ticks(w), (QList<bool>{false, false, false}));
        QCOMPARE(list(w)->currentRow(), 0);
        w.close(); // the close box saves as "Quitter" does
        testing::processPending();
        QCOMPARE(readBytes(session().LocalSitesPath).size(), 0);
    }

    void generalSaveWhileOpenKeepsTicks() {
        distance& w = open();
        list(w)->item(1)->setCheckState(Qt::Checked);
        QList<ReleaseSiteRecord> saved =
            RecordFileOf<ReleaseSiteRecord>(session().GeneralSitesPath).readAll();
        saved.removeFirst();
        emit siteFiles().generalSitesSaved(saved);
        QCOMPARE(list(w)->count(), 2);
        QCOMPARE(ticks(w), (QList<bool>{true, true}));
    }

    void reopenAsksWhenTicksChanged() {
        distance& w = open();
        list(w)->item(0)->setCheckState(Qt::Checked);
        fixture.dialogs().answer(MsgAnswer::Yes);
        distance::reopen();
        testing::processPending();
        QCOMPARE(fixture.dialogs().messages().size(), 1);
        QCOMPARE(fixture.dialogs().messages().at(0).text,
                 QStringLiteral("Enregistrer les lieux cochés ?"));
        QCOMPARE(RecordFileOf<ReleaseSiteRecord>(session().LocalSitesPath).count(), 2);
        QCOMPARE(ticks(windows().window<distance>()), (QList<bool>{true, false, true}));
    }

    void printAndHelp() {
        auto* surface = new RecordingSurface;
        auto previous = setPrinter(std::unique_ptr<PrintSurface>(surface));
        distance& w = open();
        {
            // Where the list went is said once, in a message over the window.
            ScriptedDialogsScope d;
            d->answer(MsgAnswer::Ok);
            action(w, "lsoc")->trigger();
            QCOMPARE(d->messages().size(), 1);
            QCOMPARE(d->messages().at(0).text,
                     QStringLiteral("Impression « Lieux de lâcher du fichier local » : 1 page"));
            QCOMPARE(d->messages().at(0).title, w.windowTitle());
        }
        QCOMPARE(surface->documents().size(), 1);
        QCOMPARE(RecordingSurface::pageLines(surface->pages().at(0)).last(),
                 QStringLiteral("CAHORS"));
        setPrinter(std::move(previous));
        action(w, "aide")->trigger();
        QCOMPARE(lastHelpTopic(), 5);
        QVERIFY(!helpPage(5).isEmpty());
    }
};

QTEST_MAIN(DistanceTest)
#include "distance_wtest.moc"
