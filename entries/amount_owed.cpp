#include "entries/amount_owed.h"

#include "common/text.h"
#include "entries/stake_catalogue.h"

#include <QHash>

#include <deque>

namespace vt {

RaceAmountsOwed::RaceAmountsOwed(const QList<StakeTypeRecord>& lines)
    : m_layout(RaceGrid::layOut(QString(), lines)) {}

std::optional<int32_t> RaceAmountsOwed::thousandths(const StakeAmountBlock& block) const {
    if (!(block.pigeonsEntered() > 0))
        return 0;
    return grid(block).subTotalThousandths();
}

StakeAmountBlock RaceAmountsOwed::savedBlock(const StakeAmountBlock& block) const {
    return grid(block).stakeBlock(block);
}

bool RaceAmountsOwed::holdsTypedCount(int j) const {
    if (j < 1 || j > m_layout.lineCount() || j > StakeAmountBlock::MaxLine)
        return false;
    const GridRow& row = m_layout.row(j + 1);
    return !row.computed && !row.locked;
}

namespace {

QString lineKey(const StakeTypeRecord& line) {
    return trim(line.stakeLabel()) + u'\x1f' + trim(line.stakeCode());
}

} // namespace

SheetChange::SheetChange(const QList<StakeTypeRecord>& from, const QList<StakeTypeRecord>& to) {
    const RaceAmountsOwed oldLayout(from), newLayout(to);
    // The old lines of each label and code, in sheet order, still free to be matched.
    QHash<QString, std::deque<int>> free;
    for (int j = 1; j <= std::min<int>(from.size(), StakeAmountBlock::MaxLine); ++j)
        if (oldLayout.holdsTypedCount(j))
            free[lineKey(from[j - 1])].push_back(j);
    for (int j = 1; j <= to.size(); ++j) {
        int source = 0;
        if (newLayout.holdsTypedCount(j)) {
            std::deque<int>& same = free[lineKey(to[j - 1])];
            if (!same.empty()) {
                source = same.front();
                same.pop_front();
            }
        }
        m_source.append(source);
    }
    QList<int> left;
    for (const std::deque<int>& lines : free)
        left.append(QList<int>(lines.begin(), lines.end()));
    std::sort(left.begin(), left.end());
    for (int j : left) {
        m_unmatched.append(j);
        m_unmatchedLabels.append(loadedLineText(from[j - 1]).simplified());
    }
}

StakeAmountBlock SheetChange::carry(const StakeAmountBlock& block) const {
    StakeAmountBlock out;
    out.setStakeCount(0, block.pigeonsEntered());
    for (int j = 1; j <= std::min<int>(m_source.size(), StakeAmountBlock::MaxLine); ++j)
        if (m_source[j - 1] > 0)
            out.setStakeCount(j, block.stakeCount(m_source[j - 1]));
    return out;
}

QStringList SheetChange::droppedLines(const QList<StakeAmountBlock>& blocks) const {
    QStringList out;
    for (qsizetype i = 0; i < m_unmatched.size(); ++i) {
        const int j = m_unmatched[i];
        const bool held = std::any_of(blocks.begin(), blocks.end(), [&](const StakeAmountBlock& b) {
            return storedGridCount(b.stakeCount(j)) > 0;
        });
        if (held)
            out.append(m_unmatchedLabels[i]);
    }
    return out;
}

} // namespace vt
