#pragma once
// What a fancier owes for a race: the sub-total ("S/total") of his entry sheet's grid for
// the race, built from the race's stake lines (basejeu.<code>) and his stored counts (his
// block of mise.<code>). The entry sheet shows and saves that sub-total; the race set-up
// stores it again when the race's lines change, the detail per fancier prints it, and the
// generated large folders write it. So every one of them charges a line the same way:
// counts capped by the pigeons entered, the "Mixt" and "Prem" rules, a "Ri.2" entry
// shown as 2 and charged once, a "Résultat" line charged once for a fancier with pigeons
// entered, FRAIS per pigeon entered, free entries (GRATUITS) taken off at the FRAIS
// price, nothing after the "S/total" line.
#include "common/records.h"
#include "entries/race_grid.h"

#include <QList>
#include <QStringList>

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

    // The block his entry sheet saves when it is opened on `block` and saved unchanged:
    // the counts as the grid caps them, the rows the totals write (TOTAL du jeu, FRAIS,
    // S/total, ...) as they write them.
    StakeAmountBlock savedBlock(const StakeAmountBlock& block) const;

    // Stake line j (1 to 100) holds a count the user types, not a value the totals write.
    bool holdsTypedCount(int j) const;

private:
    RaceGrid m_layout;
};

// A race's counts carried from the stake sheet they were typed on to another one: a count
// follows its stake line. A new line takes the count of the old line of the same label and
// code (so a repriced line keeps its counts); two such lines of one sheet are matched in
// their order on the sheets. The rows the totals write are never carried: the new sheet's
// totals compute them again. Counts on old lines that the new sheet lacks are dropped.
class SheetChange {
public:
    SheetChange(const QList<StakeTypeRecord>& from, const QList<StakeTypeRecord>& to);

    // The block laid out as the new sheet: the pigeons entered, each new line's count from
    // its old line, every other element 0.
    StakeAmountBlock carry(const StakeAmountBlock& block) const;

    // The labels of the old lines that the new sheet lacks and on which one of `blocks`
    // holds a count, in sheet order: what the change drops.
    QStringList droppedLines(const QList<StakeAmountBlock>& blocks) const;

private:
    QList<int> m_source;    // for new line j at index j - 1: its old line, 0 for none
    QList<int> m_unmatched; // old lines holding typed counts that no new line takes
    QStringList m_unmatchedLabels;
};

} // namespace vt
