#pragma once
// What every benchmark program of this folder shares: the two sizes each operation is
// measured at, the generated data folders (written once per size and kept for the run),
// and the main that starts Qt offscreen before Google Benchmark.
#include "bench_folder.h"

namespace vt::bench {

// The sizes of a run. `--vt_tiny` (the ctest smoke run) makes them a few records only.
struct BenchSizes {
    int fanciers[2] = {2500, 5000};
    int sites[2] = {500, 1000};
    bool tiny = false;
};
const BenchSizes& benchSizes();

// The folder of that size, written the first time it is asked for, in a temporary folder
// removed at the end of the run.
const BenchFolder& benchFolder(const FolderSize& size);

// Each program registers its benchmarks here, once the sizes are known.
void registerBenchmarks();

} // namespace vt::bench
