#pragma once
// Which fancier records are free, which names may be saved, and which record a new
// fancier takes.
#include "records.h"

#include <QList>
#include <QString>

#include <memory>

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
// is blank there), or the next one after both, passing over the records held by a
// FancierClaim on the same season file.
int findClaimableRecord(const QString& seasonFile, const QString& masterFile);

// A record claimed for a new fancier, held for the window that claimed it until that
// window is left: release(), or the last copy of the claim going. The record stays blank
// until the window saves a name into it, so without the hold a second window opened on a
// new fancier would claim the same record, and its save would write over the first one.
class FancierClaim {
public:
    FancierClaim() = default;
    int recordNo() const; // 0 when nothing is held
    void release();       // ends the hold for every copy

private:
    friend FancierClaim claimFancierRecord(const QString&, const QString&);
    struct Hold;
    std::shared_ptr<Hold> m_hold;
};

// Finds the record a new fancier takes (findClaimableRecord) and holds it. Writes nothing.
FancierClaim claimFancierRecord(const QString& seasonFile, const QString& masterFile);
bool isClaimHeld(const QString& seasonFile, int recordNo);

// The fancier that a save would write over: `storedName`, what the record holds now, when
// it is not blank and is neither the name the window opened with nor the name typed (the
// case of the letters aside). Empty when there is none.
QString overwrittenFancier(const QString& storedName, const QString& openedName,
                           const QString& typedName);
// The question asked before writing over him (Yes/No, default No).
QString overwriteQuestion(int recordNo, const QString& storedName);

// Zeroes the stake block of record `recordNo` in each chosen race's mise file where it
// is not already zero, so a new fancier inherits no one's stakes. Each file written is
// added to `written` when given.
void clearStaleStakes(int recordNo, const QList<int>& chosenRaceCodes, const QString& yearFolder,
                      WrittenFiles* written = nullptr);

} // namespace vt
