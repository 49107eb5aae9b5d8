#pragma once
// What the entry sheet reads when it opens, and its distance line, without any window.
#include "common/fancier_slots.h"
#include "entries/entry_save.h"
#include "fanciers/geodesy.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace vt {

struct EntrySheetOpening {
    int recordNo = 0;     // the record the sheet edits
    FancierClaim claim;   // a new fancier's record, held while the sheet is open
    FancierRecord record; // as stored in the season file (after the repairs below)
    int clubNo = 1;       // the club shown in Label4
    EntryBoxes boxes;     // the texts of the boxes
    QString error;        // a French message when the file could not be read or written
};

// Opens the fancier of record `requestedRecordNo` of the season's fanciers file. Below 1, a
// new fancier: the lowest record blank in both the season and the master file and held by
// no open window (or the next one after both) is claimed, held in `claim`, and written in
// the season file as a blank record of club "1",
// and his blocks left in the chosen races' mise files are zeroed. A club number outside 1 to
// ClubCount becomes 1 and is written back. Coordinates are shown with the decimal comma; a
// longitude of 0 leaves its box empty.
EntrySheetOpening openEntrySheet(int requestedRecordNo);

// Writes the club number into the fancier's record of the season file (a club picked in
// the club list). Throws FileError.
void storeClubNumber(int recordNo, int clubNo);

// The club list: one line per club, "   1 ENTENTE" (number right-aligned in 4, a space,
// the name), and the number a line stands for.
QStringList clubChoiceLines();
int clubNoOfChoiceLine(const QString& line);

// A coordinate box given back with "." for every ",".
QString coordinateText(const QString& box);
// The release site of a chosen race (record 1 of bases.<code> in the season folder);
// nullopt when the file or its record is missing.
std::optional<PackedPoint> raceSite(int raceCode);
// The distance line: " Distance = " and the whole metres after a sign position, or an empty
// text when the latitude is not above 0, a box is not a number, or there is no site.
QString loftDistanceLine(const QString& latitude, const QString& east, const QString& west,
                         const std::optional<PackedPoint>& site);

// The message refusing a name that does not begin with A to Z, or an empty text.
QString nameRefusal(const QString& name);
// The message refusing a coordinate box that is not a number, is negative or names no
// place (impossibleCoordinateRefusal), or an empty text.
QString coordinateRefusal(const QString& text, const QString& caption, bool latitude);

} // namespace vt
