#pragma once
// The recap list of a basketing and the save of an entry sheet, without any window.
//
// Recap list: one line per listed fancier (RecapListItem): name in 23, his record number
// right-aligned in characters 24 to 28, a space, the club in 18, and from character 48 the
// total he owes over the chosen races ("0.#00", right-aligned in 9) when it is above 0.
// Every reader takes the record number back from characters 24 to 28 and counts a line as
// a fancier with entries when its text from character 48 on is not blank.
//
// Save: everything is built and checked in memory first (planEntrySave), the questions are
// asked next, and only then are the files written (applyEntrySave), one after the other,
// each write checked. saveEntrySheet runs the three steps with the program's dialogs.
#include "common/records.h"
#include "entries/race_grids.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>

namespace vt {

class Dialogs;

// --- The recap list ---

inline constexpr int RecapLineTotalColumn = 48; // the total starts at this character

// The line of one fancier. `afterSave` gives the line the save builds: 11 spaces in place
// of a total of 0 or less (58 characters); the list's load leaves them out (47 characters).
QString recapListItem(const QString& name, int recordNo, const QString& clubName,
                      long long totalThousandths, bool afterSave = false);
// What the fancier owes over the chosen races, slots 1 to 11 up to the first empty slot,
// in thousandths of the currency unit. A stored amount no entry sheet can have saved
// (negative, or beyond MaxAmountOwedThousandths) counts 0 and is noted as damage of record
// `recordNo` of `path`.
long long fancierTotal(const FancierRecord& record, const std::array<int16_t, 12>& chosenRaceCodes,
                       const QString& path = QString(), int recordNo = 0);
// The record number of a line: the number read from characters 24 to 28.
int recordNoOfRecapLine(const QString& line);
// The line stands for a fancier with entries: its text from character 48 on is not blank.
bool recapLineHasTotal(const QString& line);

struct RecapListLoad {
    QStringList lines;  // in list order (name order)
    QList<int> records; // the record number of each line
    QList<int> written; // records mended in the file, in file order
    QString error;      // a French message when the file could not be read or written
};
// Reads the season's fanciers file (Session::FancierFilePath) and lists every fancier whose
// name begins with A to Z, with his total over the session's chosen races and the club's
// name. Mends in the file, in place, what is invalid for its field: a status flag outside
// 0 and 1 becomes 0, the club number becomes "1", and a record whose name is blank is made
// a clean free slot (name of spaces, club "0"). A name that does not begin with A to Z is
// neither listed nor changed. A missing file gives an empty list and creates nothing.
RecapListLoad loadRecapList();

// --- The save of an entry sheet ---

// The boxes of the entry sheet, as typed.
enum class EntryBox {
    None,
    Name,        // Text1
    Licence,     // Texte1
    Address,     // Texte2
    Complement,  // Texte3
    Town,        // Texte4
    PostCode,    // Texte5
    Telephone,   // Texte6
    Latitude,    // Text4
    East,        // Text5
    West,        // Text6
};

struct EntryBoxes {
    QString name, licence, address, complement, town, postCode, telephone;
    QString latitude, east, west;
};

struct EntrySaveInput {
    int recordNo = 0; // the record the sheet edits (claimed when it opened)
    int clubNo = 1;   // the club shown in Label4
    EntryBoxes boxes;
    // The name the sheet opened with; unset, the name the season record holds at the save.
    // A master record holding any other name is written over only after a question.
    std::optional<QString> nameAtOpen;
};

struct StakeBlockWrite {
    QString path;
    int raceCode = 0;
    StakeAmountBlock block;
};

struct EntrySavePlan {
    enum Status {
        Ready,         // the writes below are ready
        Refused,       // `message` says why; `focus` is the box at fault
        NothingToSave, // no name stored nor typed: `message` says so
    } status = Refused;
    QString message;
    EntryBox focus = EntryBox::None;

    QStringList warnings;     // shown before the questions ("Deux longitudes ...")
    QString deletionQuestion; // asked (Yes/No, default No) when not empty
    QString masterQuestion;   // asked (Yes/No, default No) when not empty

    int recordNo = 0;
    bool deletion = false;
    QString seasonPath, masterPath;
    FancierRecord seasonRecord; // the identity, with the amounts the season file held
    FancierRecord finalRecord;  // the same with his new amount for each chosen race
    FancierRecord masterRecord;
    QList<StakeBlockWrite> blocks;
    QString recapLine; // the line for the recap list; empty when the name is blank
};

// Builds and checks every byte of the save. `grids` are the sheet's race grids with every
// edit committed (RaceGrids::commitAll). A race whose base file is gone (withdrawn while
// the sheet was open) gets neither a stake block nor an amount owed, and a warning names
// it. Reads the files, writes nothing.
EntrySavePlan planEntrySave(const EntrySaveInput& input, const RaceGrids& grids);
// Writes a ready plan in order: season record, master record, each race's block, the
// season record again with the new amounts. Stops at the first failure and returns its
// French message naming the file; empty on success.
QString applyEntrySave(const EntrySavePlan& plan);

struct EntrySaveResult {
    bool saved = false;
    EntryBox focus = EntryBox::None; // the box to give the focus when refused
    EntrySavePlan plan;              // what was (or would have been) written
};
// The whole save: the plan, its messages and questions through `dialogs`, then the writes.
EntrySaveResult saveEntrySheet(const EntrySaveInput& input, const RaceGrids& grids,
                               Dialogs& dialogs);

} // namespace vt
