#pragma once
// Choosing a race for a basketing: its code, its base file bases.<code>, and its set-up
// (stake amounts mise.<code>, stake types basejeu.<code> from the chosen stake sheet,
// the fee and result amounts, the amounts the fanciers owe), then the chosen races
// handed over when the choice ends.
#include "common/records.h"
#include "common/session.h"
#include "platform/dialogs.h"

#include <QString>
#include <QStringList>

namespace vt {

// (level index + 1) × 100 + race number: race 5 at level 3 ("SOCIETE") is 405.
int raceCode(int levelIndex, int race);

// Reads the race's calendar record and writes record 1 of bases.<code> in `yearFolder`
// (site, category digit, long date, coordinates, level; the stake sheet number and the
// reserved bytes keep what they held). Returns the calendar record. Throws Error when
// the race has no real date or a file cannot be written.
CalendarRaceRecord writeRaceBase(const QString& calendarPath, const QString& yearFolder,
                                 int race, int levelIndex);
// The chooser's summary of a race just chosen: long date, site, category.
QString chosenRaceSummary(const CalendarRaceRecord& record);

struct RaceSetupPaths {
    QString yearFolder;      // per-race files
    QString dataFolder;      // stake sheets gr<n>.jeu and cptenl.jeu
    QString fancierFile;     // the season's noms.vba
    QString sheetNamesPath;  // fichenl.jeu
    static RaceSetupPaths fromSession(const Session& s);
};

struct RaceSetupResult {
    bool added = false;  // the race goes into the chosen list
    QString chosenLine;  // its line there
    int sheet = 0;       // the stake sheet of the race
};

// Sets up the race after writeRaceBase: asks the stake sheet, the fees and the result
// amounts through `dialogs`, checks everything, then writes. Abandoned or failed set-ups
// are not added (a failure is reported through `dialogs`).
RaceSetupResult setupRace(Dialogs& dialogs, const RaceSetupPaths& paths, int race,
                          int levelIndex, const CalendarRaceRecord& record);

// The code of a chosen line: the number in its last three characters.
int chosenLineCode(const QString& line);
// True when a chosen line already ends with this race's extension.
bool isAlreadyChosen(const QStringList& chosenLines, int raceCode);
// Shows the chooser's duplicate message for the offered line.
void showAlreadyChosen(Dialogs& dialogs, const QString& offeredLine);

// The end of the choice: ChosenRaceCodes and ChosenRaceStakeFiles re-created and filled
// from the chosen lines (slots 1 to n, "gr" & level & "jeu." & the three digits of race +
// calendar × 100). Returns the number of races stored.
int storeChosenRaces(Session& s, const QStringList& chosenLines, int calendarNo);

} // namespace vt
