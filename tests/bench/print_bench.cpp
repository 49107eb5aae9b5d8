// The distance sheets of every fancier of the season printed to PDF files through the
// program's Qt print surface, at two sizes. One iteration prints every sheet once.
#include "bench_main.h"

#include "fanciers/distance_sheets.h"
#include "platform/printing.h"
#include "platform/qt_print_surface.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <optional>

namespace vt::bench {

namespace {

void BM_DistanceSheetsToPdf(benchmark::State& state) {
    FolderSize size;
    size.fanciers = static_cast<int>(state.range(0));
    size.sites = benchSizes().sites[1];
    configureBenchSession(benchFolder(size));
    QList<int> records;
    for (int n = 1; n <= size.fanciers; ++n)
        records.append(n);
    std::optional<QTemporaryDir> pdfs;
    for (auto _ : state) {
        state.PauseTiming();
        pdfs.reset(); // the files of the last iteration are removed outside the measure
        pdfs.emplace();
        setPdfFolder(pdfs->path());
        QtPrintSurface surface(QtPrintSurface::Target::Pdf);
        state.ResumeTiming();
        // The booklet, the layout the print offers first.
        const DistanceSheetRun run = printDistanceSheets(records, SheetLayout::Booklet, surface);
        if (run.printed != size.fanciers) {
            state.SkipWithError("a sheet was not printed");
            break;
        }
    }
    setPdfFolder(QString());
    state.SetItemsProcessed(state.iterations() * size.fanciers);
}

} // namespace

void registerBenchmarks() {
    for (int n : benchSizes().fanciers)
        benchmark::RegisterBenchmark("BM_DistanceSheetsToPdf", BM_DistanceSheetsToPdf)
            ->Arg(n)
            ->Iterations(1)
            ->Unit(benchmark::kMillisecond);
}

} // namespace vt::bench
