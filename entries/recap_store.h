#pragma once
// "Mémoriser la Récap": for every chosen race, the race recap recap.<code> (fanciers who
// entered pigeons and the race's total per stake-block element), the bet-line recap and
// the stake copy named from the race's stake file. Everything is computed and checked in
// memory first; nothing is written when a total that the recap sheet prints does not fit
// a 16-bit Integer.
#include "common/records.h"
#include "common/session.h"

#include <QList>
#include <QString>

namespace vt {

class Dialogs;
class WrittenFiles;

// The stake copy file of a race stake file: characters 4 to 6 become "mis"
// (gr2jeu.105 gives gr2mis.105).
QString stakeCopyFileName(const QString& stakeFile);
// The bet-line recap file: "r", the first 3 characters of the stake copy name and its
// last 4 (gr2mis.105 gives rgr2.105).
QString betLineRecapFileName(const QString& stakeFile);

// The last bet line of a race: the first of lines 1 to 100 whose code is "frai", minus 2;
// 0 when there is none (so -1 when "frai" is line 1).
int lastBetLine(const QList<StakeTypeRecord>& lines);

// A stake count as the recap takes it: the value when it lies from 1 to 500, else 0.
double validRecapCount(float v);

// Where the sections of a race's lines end, as the recap sheet walks them (line numbers,
// 0 when the section's end line is missing, and then the later sections are empty): the
// bet lines end at the first TOTAL du jeu, the fees at the next S/total, the deductions
// at the next "s/td", the further charges at the next "t/ge".
struct RecapSheetSections {
    int gameTotal = 0, subTotal = 0, deductionTotal = 0, grandTotal = 0;
    explicit RecapSheetSections(const QList<StakeTypeRecord>& lines);
};

// Whether the recap sheet prints the race's stored total of block element k: the pigeons
// entered (k = 0) and every bet, fee, deduction and further-charge line, but not the end
// lines of the sections, the lines after them, the rings (charged per pigeon entered), the
// percentage and the telephone line (whose amount is asked at printing time).
bool recapSheetReadsTotal(const QList<StakeTypeRecord>& lines, const RecapSheetSections& sections,
                          int k);

// The largest total a recap record holds; a total that no print reads is stored as this
// when it is larger.
constexpr int16_t RecapTotalCeiling = 32767;

// What one race's storage writes, computed without touching a file.
struct RaceRecapFiles {
    int raceCode = 0;
    QString recapPath, betLineRecapPath, stakeCopyPath;
    RaceRecapRecord recap;
    bool hasBetLineRecap = false; // false: the bet-line recap file is left empty
    RaceRecapRecord betLineRecap;
    QList<StakeAmountBlock> stakeCopies; // record n = fancier n
};

// Computes the recap of one race from basejeu.<code> and mise.<code> in the year folder,
// for the `fancierRecords` records of the season's fanciers file. Reads only; a missing
// file reads as empty. Throws vt::Error (nothing written) when the fanciers or a total that
// the recap sheet prints do not fit, naming the race by its site and date and the line.
RaceRecapFiles computeRaceRecap(const QString& yearFolder, int raceCode,
                                const QString& stakeFile, int fancierRecords);

// Writes one computed race: recap.<code>, the bet-line recap and the stake copy, each
// through a temporary file. Throws FileError naming the file.
// Each file written is added to `written` when given.
void writeRaceRecap(const RaceRecapFiles& files, WrittenFiles* written = nullptr);

// The whole operation with its question (Yes by default). Returns true when the recaps
// of every chosen race were written; false when the user said No or an error was shown.
bool storeRaceRecaps(Dialogs& dialogs, Session& s);

} // namespace vt
