#pragma once
// Stake sheets on disk and the rules of their lines.
//
// The club's stake sheets live in DataFolder: fichenl.jeu names them (record k + 1
// names slot k), slot 0 is the accounts sheet cptenl.jeu, slot n the sheet gr<n>.jeu.
// A sheet is a list of StakeTypeRecord lines; the editor shows each line as four
// texts (line text, unit value, count, amount) and builds the records back from them.
#include "common/records.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace vt {

inline constexpr int MaxSheetLines = 100;

// "cptenl.jeu" for slot 0, "gr<n>.jeu" for slot n.
QString sheetFileName(int slot);
// The sheet file of a slot in the data folder (an existing file is found whatever the
// case of its name).
QString sheetFilePath(const QString& dataFolder, int slot);

// The stored form of a sheet name: trimmed, upper case, without a folder part (text up
// to a last "\") and without a three-character extension. A name ending with "\" is
// only upper-cased; a name of 4 characters or fewer keeps its dot.
QString normaliseSheetName(const QString& stored);

// Reads fichenl.jeu, normalises every name and stores the normalised names back (the
// file is rewritten only when a name changed). Returns the names in slot order; a
// blank name is an unused slot. A missing file gives no names and is not created.
QStringList loadSheetNames(const QString& namesPath);

// The slot "Nouveau dossier" names: the first wholly blank name, else a new slot after
// the last. A name that is not blank is in use, whatever its first character.
int findFreeSlot(const QStringList& names);

// Stores a name in record slot + 1 of fichenl.jeu (padded and cut to 50), appending a
// record for a new slot. Throws EncodingError or FileError; nothing is then written.
void storeSheetName(const QString& namesPath, int slot, const QString& name);

// The lines of a sheet file; a missing file is created empty.
QList<StakeTypeRecord> readSheet(const QString& sheetPath);

// A sheet line as the editor's grid shows it.
struct SheetRow {
    QString text;   // label and code (13 or 14 characters)
    QString value;  // unit value, decimal comma
    QString count;  // the line's count, hidden
    QString amount; // count × unit value, hidden
    bool isBlank() const;
};

// The row of a stored line: loaded text, unit value with two or three decimals, count,
// amount with two decimals.
SheetRow sheetRow(const StakeTypeRecord& r);

// The records of the grid rows, in order, blank rows left out. `rows[i]` is grid row
// i + 1; a refusal names that grid row.
struct SheetRecords {
    QList<StakeTypeRecord> records;
    int refusedRow = 0; // grid row of the refusal, 0 when accepted
    int refusedColumn = 1;
    QString refusal;    // French message
    bool ok() const { return refusal.isEmpty(); }
};
SheetRecords buildSheetRecords(const QList<SheetRow>& rows);

// Enter in the value cell of a row: the telephone line takes 1, a point becomes a
// comma, the value shows two or three decimals, and a pool line other than "AS" (or any
// text shorter than 9 characters) takes its price as its code.
struct EnteredValue {
    QString text;    // the row's new line text
    QString value;   // the value cell's new text
    QString refusal; // not empty when the value is not a number (nothing changes)
    bool ok() const { return refusal.isEmpty(); }
};
EnteredValue enterValue(const QString& lineText, const QString& valueCell, int gridRow);

// The amount cell: count × unit value with two decimals.
QString sheetAmountText(double count, double unitValue);

// The text of the naming box of "Nouveau dossier" for a slot: the first slot is the
// club's accounts sheet and the race sheets come after it, which a new user cannot
// guess. Empty when neither applies (a third sheet and after).
QString newSheetPrompt(const QStringList& names, int slot);

// The message of the "Aide sur fichier comptes" box.
QString accountsHelpText();

} // namespace vt
