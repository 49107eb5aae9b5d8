#include "entries/amount_owed.h"

namespace vt {

RaceAmountsOwed::RaceAmountsOwed(const QList<StakeTypeRecord>& lines)
    : m_layout(RaceGrid::build(QString(), lines, StakeAmountBlock())) {}

std::optional<int32_t> RaceAmountsOwed::thousandths(const StakeAmountBlock& block) const {
    if (!(block.pigeonsEntered() > 0))
        return 0;
    return grid(block).subTotalThousandths();
}

std::optional<int32_t> amountOwedThousandths(const QList<StakeTypeRecord>& lines,
                                             const StakeAmountBlock& block) {
    return RaceAmountsOwed(lines).thousandths(block);
}

} // namespace vt
