#pragma once
// Which fancier records are free, which names may be saved, and which record a new
// fancier takes.
#include "records.h"

#include <QList>
#include <QString>

namespace vt {

class WrittenFiles;

// A reader's free slot: the trimmed name is empty or does not begin with A to Z
// after upper-casing. Readers never erase such a name.
bool isFreeForReaders(const QString& name);
// The trimmed name is empty.
bool isBlankName(const QString& name);
// A name the user may save: empty (a deletion) or one a reader will list.
bool isAcceptableNewName(const QString& name);

// Spaces in every text field, zeros everywhere else.
FancierRecord blankFancierRecord();

// The lowest record whose name is blank in both files (a record past the end of a file
// is blank there), or the next one after both.
int findClaimableRecord(const QString& seasonFile, const QString& masterFile);

// Zeroes the stake block of record `recordNo` in each chosen race's mise file where it
// is not already zero, so a new fancier inherits no one's stakes. Each file written is
// added to `written` when given.
void clearStaleStakes(int recordNo, const QList<int>& chosenRaceCodes, const QString& yearFolder,
                      WrittenFiles* written = nullptr);

} // namespace vt
