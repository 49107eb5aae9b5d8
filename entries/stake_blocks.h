#pragma once
// Fanciers' stake blocks (mise.<code>) as a race's lines read them. The entry sheet types
// the pigeons entered and the stakes on its stake lines, from 0 to 500; the other elements
// hold what its totals computed. A typed element outside 0 to 500, or any element that is
// not a finite number, is no value the sheet can have saved: it reads as 0 and is noted.
#include "common/records.h"
#include "entries/race_grid.h"

#include <QList>
#include <QString>

namespace vt {

class StakeBlockCheck {
public:
    explicit StakeBlockCheck(const QList<StakeTypeRecord>& lines);
    // The block with its damaged elements read as 0, each noted with the file and record.
    StakeAmountBlock checked(StakeAmountBlock block, const QString& path, int recordNo) const;

private:
    QList<bool> m_typed;   // element k is typed on the entry sheet (0 to 100)
    QStringList m_labels;  // the label of line k, for the message
};

// The blocks of a mise file, whole records only (a cut tail is noted), each checked.
QList<StakeAmountBlock> readStakeBlocks(const QString& path, const QList<StakeTypeRecord>& lines);

} // namespace vt
