#pragma once
// The race grids of one fancier's entry sheet: one RaceGrid per chosen race, the open
// tab, and what the save takes from them. The entry-sheet window shows grid(currentTab())
// and its tab labels, and forwards the keys of the open grid to key().
#include "entries/race_grid.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace vt {

class RaceGrids {
public:
    // Builds the grid of every chosen race, slots 1 to 11 up to the first empty slot, for
    // fancier `fancierNo`, from the race files in `yearFolder`; race 1 is open. Throws
    // FileError when a file cannot be read (nothing is changed then).
    void load(const QString& yearFolder, const std::array<int16_t, 12>& chosenRaceCodes,
              int fancierNo);

    int count() const { return static_cast<int>(m_grids.size()); }
    // Tabs are numbered from 1, like the tabs of the sheet.
    RaceGrid& grid(int tab) { return m_grids[tab - 1]; }
    const RaceGrid& grid(int tab) const { return m_grids[tab - 1]; }
    int raceCode(int tab) const { return m_codes[tab - 1]; }
    int currentTab() const { return m_current; }

    // Opens another tab; the edit in progress in the open grid is committed first.
    void selectTab(int tab);
    // A key in the open grid; "+" commits and opens the next tab (after the last, the
    // first): the outcome then says OpenNextRace and currentTab() is already the new one.
    GridKeyOutcome key(int row, GridKey key, QChar digit = {});
    // Commits the edit in progress of every grid (before the save, before closing).
    void commitAll();
    // Builds every grid again from the counts it holds (after a club pick), race 1 open.
    void rebuild();

    // The sub-total of a tab in cents, as the sheet keeps it per race; 0 without S/total.
    double raceSubTotal(int tab) const;
    // What the save writes into FancierRecord.raceAmounts: (RaceCode, thousandths) per
    // race. nullopt, with the French message in `error`, when a sub-total does not fit;
    // nothing must then be written. Commit first.
    std::optional<QList<std::pair<int, int32_t>>> raceAmounts(QString* error) const;

private:
    QList<RaceGrid> m_grids;
    QList<int> m_codes;
    int m_current = 1;
};

} // namespace vt
