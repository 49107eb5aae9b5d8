#pragma once
// Values found in a data file that no window of the program can have written (a number
// that is not finite, a negative count or amount, a count beyond what the entry sheet
// takes, a coordinate beyond the globe, an impossible date) and files cut in the middle of
// a record. A reader that meets one reads it as 0 (or leaves the record out) and notes
// it; the window that asked for the reading opens a DamageScope around it and then tells
// the user, once per file, which file, which record and what was found.
#include "records.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace vt {

class RecordFile;

struct DamageFinding {
    QString path;
    int recordNo = 0; // the record read as 0 or left out
    QString what;     // what was found there, in French
    bool operator==(const DamageFinding&) const = default;
};

// The findings of one opening of a window (or one print run). Scopes nest: a reader's
// finding goes to the innermost scope open on this thread.
class DamageScope {
public:
    DamageScope();
    ~DamageScope();
    DamageScope(const DamageScope&) = delete;
    DamageScope& operator=(const DamageScope&) = delete;

    const QList<DamageFinding>& findings() const { return m_findings; }
    bool isEmpty() const { return m_findings.isEmpty(); }
    // One French text for each damaged file not told yet, in the order the files were
    // met; the files are then told, so that a later call names only files met since.
    QStringList takeMessages();

    // Notes a finding in the innermost open scope; the same finding twice is kept once.
    // Without an open scope it is counted in unheardFindings(): a reading no window asked
    // for, which the fuzz targets look for.
    static void note(const DamageFinding& finding);
    static int unheardFindings();
    static QString title() { return QStringLiteral("Fichier endommagé"); }

private:
    DamageScope* m_outer = nullptr;
    QList<DamageFinding> m_findings;
    QStringList m_told;
};

inline void noteDamage(const QString& path, int recordNo, const QString& what) {
    DamageScope::note({path, recordNo, what});
}

// A number as a message shows what was found ("NaN", "1E+30", "-2", "40000").
QString damagedNumberText(double v);

// The most pigeons, and the most stakes on one line, that the entry sheet takes.
constexpr int MaxTypedCount = 500;
// The most an amount owed for one race may be, in thousandths (a million): beyond, it is
// no amount the entry sheet saves.
constexpr int32_t MaxAmountOwedThousandths = 1'000'000'000;
// The highest stake price a sheet may hold: one stake of it fits an amount owed.
constexpr double MaxStakePrice = MaxAmountOwedThousandths / 1000.0;

// Notes a file cut in the middle of a record (its whole records are read, the rest left
// out). Returns true when the file is whole (or missing).
bool checkWholeRecords(const RecordFile& file);

// The message for a file whose cut last record the program is about to write over (zeros
// in its place, the file made whole); empty when the file ends on a whole record.
QString incompleteTailNotice(const RecordFile& file);

// A stake price a sheet line may hold: finite, from 0 to MaxStakePrice.
bool isPossibleStakePrice(double v);
// A count the entry sheet can have typed: finite, from 0 to MaxTypedCount.
bool isPossibleTypedCount(double v);
// A packed DDMMSS coordinate a release site or a loft may hold: finite, from 0 to 90
// degrees of latitude or 180 of longitude.
bool isPossibleCoordinate(double packed, bool latitude);

// The lines of a stake sheet file (basejeu.<code>, a sheet), every damaged price read as 0
// and noted with its record.
QList<StakeTypeRecord> readStakeLines(const QString& path);
// What a fancier owes for a race, as stored: a negative amount, or one beyond
// MaxAmountOwedThousandths, reads as 0 and is noted.
int32_t checkedRaceAmount(const FancierRecord& record, int raceCode, const QString& path,
                          int recordNo);
// A stored recap with its negative counts read as 0 and noted.
RaceRecapRecord checkedRecap(RaceRecapRecord recap, const QString& path, int recordNo);
// A release site with its impossible coordinates read as 0 and noted.
ReleaseSiteRecord checkedSite(ReleaseSiteRecord site, const QString& path, int recordNo);
// The release sites of a site file (distgen) whose name is not blank, in file order, each
// impossible coordinate read as 0 and noted with its record; a cut last record is noted
// and left out. A missing file gives no site.
QList<ReleaseSiteRecord> readCheckedSites(const QString& path);

} // namespace vt
