#include "bench_main.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstring>
#include <map>
#include <memory>
#include <tuple>

namespace vt::bench {

namespace {

BenchSizes& sizes() {
    static BenchSizes s;
    return s;
}

struct StoredFolder {
    QTemporaryDir dir;
    BenchFolder folder;
};

} // namespace

const BenchSizes& benchSizes() {
    return sizes();
}

const BenchFolder& benchFolder(const FolderSize& size) {
    static std::map<std::tuple<int, int, int>, std::unique_ptr<StoredFolder>> folders;
    auto& stored = folders[{size.fanciers, size.sites, size.chosenRaces}];
    if (!stored) {
        stored = std::make_unique<StoredFolder>();
        stored->folder = writeBenchFolder(stored->dir.path(), size);
    }
    return stored->folder;
}

} // namespace vt::bench

int main(int argc, char** argv) {
    // Windows and print surfaces need the application object; QT_QPA_PLATFORM=offscreen
    // keeps them off the screen.
    QApplication app(argc, argv);
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--vt_tiny") == 0) {
            vt::bench::BenchSizes& s = vt::bench::sizes();
            s = {{20, 40}, {10, 20}, true};
        } else {
            argv[kept++] = argv[i];
        }
    }
    argc = kept;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    vt::bench::registerBenchmarks();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
