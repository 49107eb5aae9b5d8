#pragma once
// A grid whose first column stays in view while its other columns scroll sideways, as
// the names column of a wide table must: a second view of the same cells, showing that
// column alone, stands over the grid's left edge and follows its rows.
#include <QTableView>

namespace vt {

// Freezes column 0 of `grid` (its model and its selection are shared). Call once, after
// the model is set; the grid's later rows, widths and scrolling are followed.
void freezeFirstColumn(QTableView* grid);

} // namespace vt
