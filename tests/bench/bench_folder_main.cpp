// vt_bench_folder FOLDER [FANCIERS [SITES]]: writes a large club's data folder into FOLDER
// (5,000 fanciers and 1,000 release sites by default) so that the programs can be tried on
// it: start Vorel in FOLDER, the season is 2026 and races 101 to 111 hold the entries.
#include "bench_folder.h"

#include "common/errors.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    vt::bench::FolderSize size;
    bool ok = args.size() >= 2 && args.size() <= 4;
    if (ok && args.size() >= 3)
        size.fanciers = args[2].toInt(&ok);
    if (ok && args.size() >= 4)
        size.sites = args[3].toInt(&ok);
    if (!ok || size.fanciers < 1 || size.sites < 1) {
        std::fprintf(stderr, "usage: vt_bench_folder FOLDER [FANCIERS [SITES]]\n");
        return 2;
    }
    try {
        const vt::bench::BenchFolder folder = vt::bench::writeBenchFolder(args[1], size);
        std::printf("%d fanciers, %d sites, season %d, races 101 to %d: %s\n", size.fanciers,
                    size.sites, folder.year, 100 + size.chosenRaces, qPrintable(folder.startDir));
    } catch (const vt::Error& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    }
    return 0;
}
