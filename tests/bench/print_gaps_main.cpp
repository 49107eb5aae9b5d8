// Measures how the print runs of a generated club keep the program answering: each print
// kind is started from its menu item, as a user starts it, and a timer that fires whenever
// events are handled records the longest interval without any. Prints one table line per
// kind: how long it ran, the longest interval without events, and whether the progress
// window showed.
//
//   print_gaps DIR [FANCIERS [KIND]]   a folder of FANCIERS (5000) fanciers is written in
//                                      DIR; only the kinds whose name holds KIND when given
#include "bench_folder.h"

#include "entries/recap_store.h"
#include "entries/recapam_window.h"
#include "fanciers/gnoms_window.h"
#include "platform/print_progress_window.h"
#include "platform/printing.h"
#include "platform/qt_print_surface.h"
#include "platform/scripted_dialogs.h"
#include "platform/window_registry.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QListWidget>
#include <QTimer>

#include <cstdio>
#include <functional>

using namespace vt;

namespace {

struct Measure {
    qint64 runMs = 0;
    qint64 longestGapMs = 0;
    qint64 longestGapEndsAtMs = 0; // from the start of the run
    bool progressShown = false;
};

// Runs `start` (which returns once the print has ended) with a timer that fires at every
// turn of the event loop.
Measure measure(const std::function<void()>& start) {
    Measure m;
    QElapsedTimer run, sinceEvents;
    QTimer tick;
    tick.setInterval(0);
    auto gap = [&](qint64 ms) {
        if (ms > m.longestGapMs) {
            m.longestGapMs = ms;
            m.longestGapEndsAtMs = run.elapsed();
        }
    };
    QObject::connect(&tick, &QTimer::timeout, [&] {
        gap(sinceEvents.restart());
        if (auto* w = dynamic_cast<PrintProgressWindow*>(QApplication::activeModalWidget()))
            m.progressShown = m.progressShown || w->isVisible();
    });
    QCoreApplication::processEvents();
    run.start();
    sinceEvents.start();
    tick.start();
    start();
    // The time from the last events to the end of the run counts too.
    gap(sinceEvents.elapsed());
    tick.stop();
    m.runMs = run.elapsed();
    return m;
}

QAction* action(QWidget& window, const char* name) {
    return window.findChild<QAction*>(QString::fromLatin1(name));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: print_gaps DIR [FANCIERS]\n");
        return 2;
    }
    bench::FolderSize size;
    if (argc > 2)
        size.fanciers = QString::fromLocal8Bit(argv[2]).toInt();
    const bench::BenchFolder folder =
        bench::writeBenchFolder(QString::fromLocal8Bit(argv[1]), size);
    bench::configureBenchSession(folder);
    const QString pdfs = QDir(folder.startDir).filePath(QStringLiteral("impressions"));
    setPdfFolder(pdfs);
    setPrinter(std::make_unique<QtPrintSurface>(QtPrintSurface::Target::Pdf));
    ScriptedDialogsScope asked;
    asked->answer(MsgAnswer::Yes);
    storeRaceRecaps(*asked, session());

    // Each kind opens its window first (that is not the print), then gives the menu item.
    struct Kind {
        const char* name;
        std::function<QAction*()> open;
    };
    auto gnomsAction = [](const char* name, bool selectAll) {
        return [name, selectAll] {
            gnoms& g = windows().show<gnoms>();
            if (selectAll)
                g.findChild<QListWidget*>(QStringLiteral("List1"))->selectAll();
            return action(g, name);
        };
    };
    auto recapAction = [](QAction* (recapam::*which)() const) {
        return [which] { return (windows().show<recapam>().*which)(); };
    };
    const Kind kinds[] = {
        {"Feuilles de distance (carnet)", gnomsAction("socdist", false)},
        {"Enveloppes 220 x 110", gnomsAction("envel1", true)},
        {"Etiquettes", gnomsAction("etiqu", true)},
        {"Récapitulatifs", recapAction(&recapam::listerAction)},
        {"Totaux par concours", recapAction(&recapam::listmtsAction)},
        {"Détail par amateur", recapAction(&recapam::listdetAction)},
    };
    std::printf("| print (%d fanciers, %d races) | run | longest interval without events "
                "(ending at) | progress window |\n|---|---|---|---|\n",
                size.fanciers, size.chosenRaces);
    const QString only = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    for (const Kind& k : kinds) {
        if (!QString::fromUtf8(k.name).contains(only))
            continue;
        // Yes to every question (the booklet form, the labels), Ok to the closing message.
        ScriptedDialogsScope answers;
        for (int i = 0; i < 4; ++i)
            answers->answer(MsgAnswer::Yes);
        QAction* item = k.open();
        const Measure m = measure([item] { item->trigger(); });
        std::printf("| %s | %.1f s | %lld ms (%.1f s) | %s |\n", k.name, m.runMs / 1000.0,
                    static_cast<long long>(m.longestGapMs), m.longestGapEndsAtMs / 1000.0,
                    m.progressShown ? "shown" : "not shown");
        std::fflush(stdout);
        windows().unloadAll();
        QDir(pdfs).removeRecursively();
    }
    return 0;
}
