#pragma once
// The totals pass of one race grid: the stakes ("TOTAL du jeu"), the fee lines down to
// the sub-total the fancier owes ("S/total"), the deductions ("Total    s/td") and the
// grand total ("TOTAL    t/ge"), written into their rows, with the tab label.
#include "entries/grid_rules.h"

#include <optional>

namespace vt {

// The row that was just edited and the count typed into it.
struct GridEdit {
    int row = 1;
    long long typed = 0;
};

// Runs the totals pass on the grid. For an edit, the edited row's pool cascade or series
// cut is applied again and the cursor is placed; while a grid is built there is no edit
// and neither happens.
//
// Sections, each starting after the end line of the one before: the stake lines up to
// the first "jeu" line (S = sum of unit x count, a "Ri.2" line charged once); the fee
// lines up to "s/to" (FRAIS takes the pigeons entered as its count, GRATUITS takes the
// FRAIS price and is subtracted; a "resu" line, in any section, counts 1 for a fancier with
// pigeons entered); the deduction lines up to "s/td" (rings = unit x pigeons
// entered, the percentage line = its percentage of S); the rest up to "t/ge". A section
// whose end line is missing writes nothing, and the later sections have no rows. The end
// lines' own VALEUR x NOMBRE is not added, so the pass gives the same result run twice.
void computeGridTotals(GridState& g, std::optional<GridEdit> edit);

} // namespace vt
