#pragma once
// The fanciers list: its 76-character lines, the loader that reads the season's fanciers
// file and mends what is invalid in it, and the "MEMO" copy of the listed fanciers.
#include "common/records.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace vt {

// How the fanciers window fills its list: 0 the loader does nothing, 1 a club is being
// chosen for the names list, 2 only the chosen club's fanciers, 3 every fancier.
enum class ListMode { None = 0, ChooseClubToPrint = 1, OneClub = 2, All = 3 };

inline constexpr int FancierListItemLength = 76;

// Name (23, as stored) + club name in 20 + town (28, as stored) + the record number
// right-aligned in the last 5 characters.
QString fancierListItem(const QString& name, const QString& clubName, const QString& town,
                        int recordNo);
// The line of a record, its club name taken from the club tables (a club number outside
// 1 to ClubCount reads as 1).
QString fancierListItem(const FancierRecord& record, int recordNo);
// The record number a line stands for: Val of its last 5 characters.
int recordNoOfLine(const QString& line);

// The club list's line: club name in 20, then Str(club number) left-justified in 6.
QString clubListLine(const QString& clubName, int clubNumber);
// The club number a club line stands for: Val of its last 6 characters.
int clubNoOfLine(const QString& line);
// One line per club whose trimmed name is not empty, from the session's club tables.
QStringList clubListLines();

// The club a fancier belongs to as the list reads it: Val of the club number field,
// 1 when outside 1 to ClubCount.
int fancierClubNo(const FancierRecord& record);

// The first-name corrections of the loader, applied to a 23-character name: each pair is
// tried at positions 6 to 20, and only where its result is the first name it stands for.
QString correctFirstNames(const QString& name);

// A postcode that holds only zeros and blanks, which the loader blanks.
bool isZeroPostCode(const QString& postCode);

// The repairs the loader makes to a listed record (name trimmed, postcode of zeros,
// first names, "N°" prefix, latitude below 3000); the club fields are set apart.
void repairListedRecord(FancierRecord& record);

struct FancierListLoad {
    QStringList lines;  // sorted, one per listed fancier
    QList<int> written; // record numbers written back, in file order
    QString error;      // a French message when a file could not be read or written
};

// Reads the season's fanciers file, mends and writes back what the list's rules mend, and
// gives the lines to list. `chosenClub` is the club of mode OneClub.
FancierListLoad loadFancierList(ListMode mode, int chosenClub);

// Rewrites noms.vbar (the season file's path followed by "r") with the records of the
// listed fanciers, in list order, that were saved from the entry sheet. Throws FileError.
void writeMemoFile(const QStringList& listLines);
QString memoFilePath();

} // namespace vt
