// One keystroke in a race grid of 50 and of 100 lines: the recalculation of the edited row
// from the start of the edit, and the totals pass.
#include "bench_main.h"

#include "entries/race_grid.h"
#include "tests/entries/grid_test_support.h"

#include <benchmark/benchmark.h>

using namespace vt;
using namespace vt::testing;

namespace {

// Bet lines of every kind, then the 8 accounting lines: `lineCount` lines in all.
RaceGrid gridOf(int lineCount) {
    const std::vector<Line> kinds = {
        {"Mise     Mise", 1.0f},    {"Série     2/3", 0.5f}, {"Série     4/6", 1.0f},
        {"Poule    0,50", 0.5f},    {"Poule    1,00", 1.0f}, {"Poule    2,00", 2.0f},
        {"Série    Mixt", 0.0f, 3}, {"Premier  Prem", 1.0f}, {"Richome  Ri.2", 1.0f},
        {"Unique   Un.1", 0.5f},    {"BELGE    Mise", 1.0f}, {"Sér. 2/3 Obj.", 1.0f},
    };
    std::vector<Line> lines;
    const int bets = lineCount - 8;
    for (int j = 0; j < bets; ++j)
        lines.push_back(kinds[j % kinds.size()]);
    const std::vector<Line> accounts = {
        {"TOTAL du jeu "},        {"FRAIS    frai", 0.50f}, {"GRATUITS grat"}, {"S/total  s/to"},
        {"Bagues   bagu", 0.20f}, {"    % à  dedu", 10.0f}, {"Total    s/td"}, {"TOTAL    t/ge"}};
    lines.insert(lines.end(), accounts.begin(), accounts.end());
    StakeAmountBlock block;
    block.setStakeCount(0, 20);
    for (int j = 1; j <= bets; ++j)
        block.setStakeCount(j, static_cast<float>(j % 7));
    return RaceGrid::build(QStringLiteral("BRIVE VIEUX GENERAL"), stakeLines(lines), block);
}

// The row of a "Mise" line near the middle of the sheet, the same kind of line at every
// size (row 50 of 100 lines; a line's row is its number + 1).
int middleMiseRow(int lineCount) {
    const int bets = lineCount - 8;
    const int kindsCycle = 12, cycles = (bets / 2 + kindsCycle) / (2 * kindsCycle);
    return 2 * kindsCycle * cycles + 2;
}

void BM_DigitOnAStakeLine(benchmark::State& state) {
    RaceGrid g = gridOf(static_cast<int>(state.range(0)));
    const int row = middleMiseRow(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        g.key(row, GridKey::Digit, QChar(u'5'));
        benchmark::DoNotOptimize(g.totals());
    }
}
BENCHMARK(BM_DigitOnAStakeLine)->Arg(50)->Arg(100);

// Esc on ENGAGES: every line is capped at 0 and the totals are all recomputed.
void BM_ClearEngages(benchmark::State& state) {
    RaceGrid g = gridOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        g.key(1, GridKey::Clear);
        benchmark::DoNotOptimize(g.totals());
    }
}
BENCHMARK(BM_ClearEngages)->Arg(50)->Arg(100);

void BM_EnterOnAStakeLine(benchmark::State& state) {
    RaceGrid g = gridOf(static_cast<int>(state.range(0)));
    const int row = middleMiseRow(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        g.key(row, GridKey::Enter);
        benchmark::DoNotOptimize(g.totals());
    }
}
BENCHMARK(BM_EnterOnAStakeLine)->Arg(50)->Arg(100);

void BM_BuildGrid(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(gridOf(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_BuildGrid)->Arg(50)->Arg(100);

} // namespace

// The grids are built in memory: their sizes do not hang on the generated folders.
void vt::bench::registerBenchmarks() {}
