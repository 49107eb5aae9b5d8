#pragma once
// What a fancier owes for a race: the sub-total ("S/total") of his entry sheet's grid for
// the race, built from the race's stake lines (basejeu.<code>) and his stored counts (his
// block of mise.<code>). The entry sheet shows and saves that sub-total; the race set-up
// stores it again when the race's lines change, the detail per fancier prints it, and the
// generated large folders write it. So every one of them charges a line the same way:
// counts capped by the pigeons entered, the "Mixt" and "Prem" rules, a "Ri.2" entry
// shown as 2 and charged once, FRAIS per pigeon entered, free entries (GRATUITS) taken off
// at the FRAIS price, nothing after the "S/total" line.
#include "common/records.h"
#include "entries/race_grid.h"

#include <QList>

#include <cstdint>
#include <optional>

namespace vt {

// The amounts owed for one race, fancier after fancier: the race's lines are laid out in
// a grid once.
class RaceAmountsOwed {
public:
    explicit RaceAmountsOwed(const QList<StakeTypeRecord>& lines);

    // The race grid of the fancier's entry sheet as it opens: row j + 1 gives stake line
    // j's count shown and charge (GridRow::count, GridRow::charge), and its totals the
    // bets total and the sub-total.
    RaceGrid grid(const StakeAmountBlock& block) const { return m_layout.withBlock(block); }

    // The amount owed in thousandths, as FancierRecord.raceAmounts holds it: the grid's
    // sub-total; 0 when he entered no pigeon in the race (he is not in the race, and
    // neither the prints nor the recaps count him) or the sheet has no S/total line;
    // nullopt when it does not fit a Long.
    std::optional<int32_t> thousandths(const StakeAmountBlock& block) const;

private:
    RaceGrid m_layout;
};

// The same for one fancier.
std::optional<int32_t> amountOwedThousandths(const QList<StakeTypeRecord>& lines,
                                             const StakeAmountBlock& block);

} // namespace vt
