// The list windows of Vorel at two sizes: the time from the window's creation until it is
// shown with its list filled (the first paint done), then it is unloaded again.
#include "bench_main.h"

#include "entries/recapam_window.h"
#include "fanciers/gnoms_window.h"
#include "platform/scripted_dialogs.h"
#include "platform/window_registry.h"

#include <QApplication>
#include <QListWidget>

#include <benchmark/benchmark.h>

namespace vt::bench {

namespace {

template <class W> void measureWindow(benchmark::State& state, const char* listName) {
    FolderSize size;
    size.fanciers = static_cast<int>(state.range(0));
    size.sites = benchSizes().sites[1];
    configureBenchSession(benchFolder(size));
    // A message box would wait for a click: any question fails the run instead.
    ScriptedDialogsScope dialogs;
    for (auto _ : state) {
        W& w = windows().show<W>();
        QApplication::processEvents();
        w.repaint(); // painted now, with its list, if the platform has not painted it yet
        const auto* list = w.template findChild<QListWidget*>(QString::fromLatin1(listName));
        if (!list || list->count() < size.fanciers) {
            state.SkipWithError("the list is not filled");
            break;
        }
        state.PauseTiming();
        windows().unload<W>();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
        state.ResumeTiming();
    }
    windows().unloadAll();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// "GESTION des NOMS": every fancier of the season, sorted.
void BM_FanciersWindow(benchmark::State& state) {
    measureWindow<gnoms>(state, "List1");
}
// "CHOIX DES AMATEURS": every fancier with what he owes over the chosen races.
void BM_RecapWindow(benchmark::State& state) {
    measureWindow<recapam>(state, "Liste1");
}

} // namespace

void registerBenchmarks() {
    for (int n : benchSizes().fanciers) {
        benchmark::RegisterBenchmark("BM_FanciersWindow", BM_FanciersWindow)
            ->Arg(n)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_RecapWindow", BM_RecapWindow)
            ->Arg(n)
            ->Unit(benchmark::kMillisecond);
    }
}

} // namespace vt::bench
