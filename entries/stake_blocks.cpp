#include "entries/stake_blocks.h"

#include "common/damage.h"
#include "common/record_file.h"
#include "common/text.h"
#include "entries/race_grid.h"

#include <cmath>

namespace vt {

StakeBlockCheck::StakeBlockCheck(const QList<StakeTypeRecord>& lines)
    : m_typed(StakeAmountBlock::MaxLine + 1, false),
      m_labels(StakeAmountBlock::MaxLine + 1) {
    // Which lines are typed follows from their kinds alone: laying out the whole grid for
    // it built every row's texts, for sheets of any length.
    const QList<bool> typed = RaceGrid::typedLines(lines.mid(0, StakeAmountBlock::MaxLine));
    m_typed[0] = true;
    for (int k = 1; k < typed.size(); ++k) {
        m_typed[k] = typed[k];
        m_labels[k] = trim(lines[k - 1].stakeLabel() + lines[k - 1].stakeCode());
    }
}

StakeAmountBlock StakeBlockCheck::checked(StakeAmountBlock block, const QString& path,
                                          int recordNo) const {
    for (int k = 0; k <= StakeAmountBlock::MaxLine; ++k) {
        const float v = block.stakeCount(k);
        if (m_typed[k] ? isPossibleTypedCount(v) : std::isfinite(v))
            continue;
        const QString where = k == 0 ? QStringLiteral("pigeons engagés")
                                     : QStringLiteral("ligne %1 « %2 »").arg(k).arg(m_labels[k]);
        noteDamage(path, recordNo, where + QStringLiteral(" : ") + damagedNumberText(v));
        block.setStakeCount(k, 0);
    }
    return block;
}

QList<StakeAmountBlock> readStakeBlocks(const QString& path, const QList<StakeTypeRecord>& lines) {
    const RecordFileOf<StakeAmountBlock> file(path);
    checkWholeRecords(file);
    QList<StakeAmountBlock> blocks = file.readAll();
    const StakeBlockCheck check(lines);
    for (int i = 0; i < blocks.size(); ++i)
        blocks[i] = check.checked(blocks[i], file.path(), i + 1);
    return blocks;
}

} // namespace vt
