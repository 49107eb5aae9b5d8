#pragma once
// A large club's data folder for measuring the programs: N fanciers with addresses and
// lofts, the general release-site list, a 99-race calendar, two stake sheets and the
// accounts, 11 chosen races with every fancier's entries (the counts an entry sheet keeps
// and saves), and the season's copy of the fanciers file with what each fancier owes for
// them (his entry sheet's sub-total). Everything is written with the program's own
// record layouts and is the same from one run to the next (a fixed pseudo-random series).
#include "common/session.h"

#include <QList>
#include <QString>

namespace vt::bench {

struct FolderSize {
    int fanciers = 5000;
    int sites = 1000;
    int calendarRaces = 99;
    int chosenRaces = 11; // 1 to 11, race codes 101, 102 ...
};

struct BenchFolder {
    QString startDir;   // holds distgen and the data folder region1
    QString dataFolder; // region1: club, master fanciers file, stake sheets
    QString yearFolder; // region1/<year>: the season's files
    int year = 0;
    QList<int> chosenRaceCodes;
    FolderSize size;
};

inline constexpr int BenchYear = 2026;

// Writes the folder under `startDir` (created when missing; files already there are
// replaced). Throws vt::Error when a file cannot be written.
BenchFolder writeBenchFolder(const QString& startDir, const FolderSize& size, int year = BenchYear);

// Points vt::session() at the folder: paths, season, club, and the chosen races.
Session& configureBenchSession(const BenchFolder& folder);

// The 100 lines of every chosen race: 92 bet lines, then the 8 account lines.
int stakeLineCount();

} // namespace vt::bench
