#pragma once
// "Visuel" of the recap window: for one chosen race, a read-only table of the fanciers of
// the recap list who entered pigeons, with their pigeons and their count on each stake
// line up to the sub-total line. Each "Visuel" shows the next chosen race.
#include "common/session.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace vt {

// The record number in characters 24 to 28 of a recap list line; nullopt when none.
std::optional<int> recapLineRecord(const QString& recapLine);

// The slot shown after `position` (slots 1 to 11): the next one, back to 1 after the
// last chosen race; 0 when no race is chosen.
int nextRecapGridPosition(int position, const Session& s);

struct RecapGridView {
    QString caption;     // the race: site, category, level and date
    QStringList headers; // "Amateurs          ", "Pig.", then three characters per line
    QList<QStringList> rows;
};

// The table of one race for the fanciers of these records (list order); only those with
// pigeons entered are shown. Reads bases., basejeu., mise. and noms.vba without creating
// any file; throws FileError when one cannot be read.
RecapGridView buildRecapGrid(const Session& s, int raceCode, const QList<int>& recordNos);

} // namespace vt
