// The operations without windows, each at two sizes: opening a season (against `cp` of the
// same master file), saving an entry sheet across the chosen races, storing the recaps of
// the chosen races, and Tarvio's site list for one date.
#include "bench_main.h"

#include "calculator/calculator_model.h"
#include "common/record_file.h"
#include "entries/entry_save.h"
#include "entries/entry_sheet.h"
#include "entries/race_grids.h"
#include "entries/recap_store.h"
#include "platform/scripted_dialogs.h"
#include "shell/season.h"

#include <QDate>
#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>

#include <initializer_list>
#include <vector>

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace vt::bench {

namespace {

// A year the generated folder has no season for: each run of openYear makes it afresh.
constexpr int NewSeasonYear = BenchYear + 1;

// The session on the folder of that size, with its first `races` races chosen.
Session& sessionOn(int fanciers, int sites = 0, int races = MaxChosenRaces) {
    FolderSize size;
    size.fanciers = fanciers;
    size.sites = sites > 0 ? sites : benchSizes().sites[1];
    Session& s = configureBenchSession(benchFolder(size));
    for (int k = races + 1; k <= MaxChosenRaces; ++k) {
        s.ChosenRaceCodes[k] = 0;
        s.ChosenRaceStakeFiles[k].clear();
    }
    return s;
}

void removeFile(benchmark::State& state, const QString& path) {
    if (QFile::exists(path) && !QFile::remove(path))
        state.SkipWithError("cannot remove the file of the last run");
}

void BM_OpenSeason(benchmark::State& state) {
    Session& s = sessionOn(static_cast<int>(state.range(0)));
    const QString seasonFile =
        QDir(QDir(s.DataFolder).filePath(QString::number(NewSeasonYear))).filePath("noms.vba");
    for (auto _ : state) {
        state.PauseTiming();
        removeFile(state, seasonFile);
        state.ResumeTiming();
        openYear(s, NewSeasonYear);
    }
    state.SetBytesProcessed(state.iterations() * QFile(s.MasterFancierPath).size());
}

// Runs a command and waits for it; false when it cannot start or does not succeed.
bool run(std::initializer_list<const char*> command) {
    std::vector<char*> args;
    for (const char* a : command)
        args.push_back(const_cast<char*>(a));
    args.push_back(nullptr);
    pid_t pid = 0;
    int status = 0;
    return posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ) == 0 &&
           waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The reference of the season's opening: the master file copied by cp; with `sync`, the
// copy is then flushed to the disk as the season's opening flushes the file it writes.
void copyMaster(benchmark::State& state, bool sync) {
    const Session& s = sessionOn(static_cast<int>(state.range(0)));
    const QByteArray master = QFile::encodeName(s.MasterFancierPath);
    const QString copyPath = QDir(s.DataFolder).filePath("noms-cp.vba");
    const QByteArray copy = QFile::encodeName(copyPath);
    for (auto _ : state) {
        state.PauseTiming();
        removeFile(state, copyPath);
        state.ResumeTiming();
        if (!run({"cp", master.constData(), copy.constData()}) ||
            (sync && !run({"sync", "--data", copy.constData()}))) {
            state.SkipWithError("cp failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * QFile(s.MasterFancierPath).size());
}
void BM_CopyMasterWithCp(benchmark::State& state) {
    copyMaster(state, false);
}
void BM_CopyMasterWithCpAndSync(benchmark::State& state) {
    copyMaster(state, true);
}

// The entry sheet of a fancier in the middle of the file, saved across `races` races: the
// plan (reads and checks) and the writes, as the sheet's save button runs them.
void BM_SaveEntrySheet(benchmark::State& state) {
    const int races = static_cast<int>(state.range(0));
    const Session& s = sessionOn(benchSizes().fanciers[1], 0, races);
    const int recordNo = benchSizes().fanciers[1] / 2;
    const EntrySheetOpening opening = openEntrySheet(recordNo);
    if (!opening.error.isEmpty()) {
        state.SkipWithError("the entry sheet does not open");
        return;
    }
    RaceGrids grids;
    grids.load(s.YearFolder, s.ChosenRaceCodes, recordNo);
    grids.commitAll();
    const EntrySaveInput input{recordNo, opening.clubNo, opening.boxes, opening.boxes.name};
    for (auto _ : state) {
        const EntrySavePlan plan = planEntrySave(input, grids);
        if (plan.status != EntrySavePlan::Ready || !applyEntrySave(plan).isEmpty()) {
            state.SkipWithError("the save failed");
            break;
        }
    }
}

// "Mémoriser la Récap" over the 11 chosen races, the question answered Yes.
void BM_StoreRaceRecaps(benchmark::State& state) {
    Session& s = sessionOn(static_cast<int>(state.range(0)));
    const Session chosen = s;
    for (auto _ : state) {
        state.PauseTiming();
        s = chosen;
        ScriptedDialogs dialogs;
        dialogs.answer(MsgAnswer::Yes);
        state.ResumeTiming();
        if (!storeRaceRecaps(dialogs, s)) {
            state.SkipWithError("the recaps were not stored");
            break;
        }
    }
}

// Tarvio's site list for one date: distgen read, the model built for the date, and the
// lines of the list.
void BM_TarvioSiteList(benchmark::State& state) {
    const Session& s = sessionOn(benchSizes().fanciers[1], static_cast<int>(state.range(0)));
    const QDate date(BenchYear, 6, 21);
    for (auto _ : state) {
        tarvio::CalculatorModel model(date,
                                      tarvio::readGeneralSitesInFileOrder(s.GeneralSitesPath));
        benchmark::DoNotOptimize(model.siteItems());
    }
}

} // namespace

void registerBenchmarks() {
    const BenchSizes& z = benchSizes();
    for (int n : z.fanciers) {
        benchmark::RegisterBenchmark("BM_OpenSeason", BM_OpenSeason)
            ->Arg(n)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_CopyMasterWithCp", BM_CopyMasterWithCp)
            ->Arg(n)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_CopyMasterWithCpAndSync", BM_CopyMasterWithCpAndSync)
            ->Arg(n)
            ->Unit(benchmark::kMillisecond);
    }
    for (int races : {6, 11})
        benchmark::RegisterBenchmark("BM_SaveEntrySheet", BM_SaveEntrySheet)
            ->Arg(races)
            ->Unit(benchmark::kMillisecond);
    for (int n : z.fanciers)
        benchmark::RegisterBenchmark("BM_StoreRaceRecaps", BM_StoreRaceRecaps)
            ->Arg(n)
            ->Unit(benchmark::kMillisecond);
    for (int n : z.sites)
        benchmark::RegisterBenchmark("BM_TarvioSiteList", BM_TarvioSiteList)
            ->Arg(n)
            ->Unit(benchmark::kMillisecond);
}

} // namespace vt::bench
