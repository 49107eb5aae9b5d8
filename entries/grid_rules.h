#pragma once
// The betting rules of one race grid of the entry sheet: what kind of line each row is,
// and how an edited count corrects the rows (caps by the pigeons entered, the ".1" and
// ".2" lines, the pool cascade, the series cuts, the "Mixt", "Prem", "Ri.2" and
// "Sér." lines). The totals pass is in grid_totals.h; the grid itself, its building and
// its editing are in race_grid.h.
//
// Rows are numbered as the grid shows them: row 0 the header, row 1 "ENGAGES" (pigeons
// entered), row j + 1 stake line j, and a last empty row.
#include "common/damage.h"
#include "entries/grid_amount.h"
#include "entries/stake_catalogue.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace vt {

// The group cut of a series row: 0 none, else the group size (2, 3, 5 or 6).
struct SeriesCut {
    int group = 0;
    bool byLabel = false; // a "Sér. 3/3" label, which the totals pass does not cut again
};

// The kinds of a row, recognised once from its label text by the stake catalogue.
struct GridRowKinds {
    StakeKinds flags;
    SeriesCut series;
    bool blank = true; // no label
    bool is(StakeKind k) const { return flags.testFlag(k); }
};

// Recognises the kinds of a row from its column-0 text.
GridRowKinds classifyGridRow(const QString& labelText);

// Applies a series cut to a count (7 on "2/3" gives 6; 9 on "4/6" gives 6; 7 on "3/5"
// gives 5; 5 on "2/2" gives 4; other remainders stay).
long long cutSeries(long long count, int group);

// The largest count a NOMBRE cell holds: seven digits.
constexpr long long MaxGridCount = 9999999;
// The largest count the user may type (MaxTypedCount, common/damage.h): the recap counts
// nothing above it, so a larger one would be charged on the entry sheet and missing from
// the recap sheet.

// A "Ri.2" entry is shown and stored as this count, and charged once.
constexpr long long RiTwoShownCount = 2;

// One row of a race grid: the three texts the grid shows, with the values the rules read
// from them, kept in step by the setters.
struct GridRow {
    QString label;  // column 0
    QString valeur; // column 1, "VALEUR"
    QString nombre; // column 2, "NOMBRE"

    GridRowKinds kinds;
    int line = 0;          // stake line number (1 to L), 0 for the other rows
    bool locked = false;   // not editable and changed by no rule (header, last row, line 101 on)
    bool computed = false; // NOMBRE written by the totals pass
    bool capped = false;   // capped by the pigeons entered (stake lines and GRATUITS)

    long long count = 0;      // NOMBRE read as a count (leading number, whole part)
    bool plainCount = false;  // NOMBRE is exactly the plain text of count
    long long unitMilli = 0;  // VALEUR in thousandths
    bool valeurBlank = true;  // VALEUR is blank
    bool valeurReadable = true; // VALEUR reads as a number the grids compute with
    // What the row adds to the sub-total the fancier owes, written by the totals pass: a
    // stake line its unit x the count charged, a fee line its amount (free entries
    // negative); 0 on the end lines and after the sub-total.
    GridAmount charge;

    bool is(StakeKind k) const { return kinds.is(k); }
    void setCount(long long c);             // NOMBRE = the plain text of c
    void setNombreText(const QString& text); // NOMBRE = text, count = its leading number
    void setValeur(const QString& text);
    // The pool price in cents, Int(VALEUR x 100 + 0.5), used only to compare pools.
    long long poolCents() const;
};

// What the totals pass found, each present once the pass met its end line.
struct GridTotals {
    std::optional<GridAmount> stakes;     // "TOTAL du jeu": S
    std::optional<GridAmount> subTotal;   // "S/total": S + F, what the fancier owes
    std::optional<GridAmount> deductions; // "Total    s/td": D
    std::optional<GridAmount> grandTotal; // "TOTAL    t/ge": S + F + rest - D
    GridAmount fees;                      // F, the fee lines (FRAIS less GRATUITS, and others)
};

// The whole state of one race grid that the rules change.
struct GridState {
    std::vector<GridRow> rows; // index = grid row
    int16_t ixtCount = 0;      // count of the sheet's last "ixt" line
    float remUnit = 0;         // unit value of the sheet's last "rem" line
    int firstJeuRow = 0;       // the first TOTAL du jeu row, 0 when there is none
    QString caption;
    QString tabLabel;
    GridTotals totals;
    int target = 1;            // the row the cursor placement starts from
    int currentRow = 1;

    int rowCount() const { return static_cast<int>(rows.size()); }
    long long pigeonsEntered() const { return rows[1].count; }
};

// The recalculation of an edited row (the grid's "memo"): row r was edited and its typed
// count is v. Applies the edited-row caps, the cap of every capped row by the pigeons
// entered, the pool cascade, the series cut, the stake-line rules, then the totals pass
// and the cursor placement. Row r must be editable.
void recalculateRow(GridState& g, int r, long long v);

// The Mixt and Prem rules on a stake row's count c, with N pigeons entered.
long long stakeLineRules(const GridState& g, const GridRow& row, long long c, long long N);

// The pool cascade from row r with count v: the cheaper pools above rise to at least v,
// the dearer ones below drop to at most v. Does nothing unless row r is a pool with a
// price that is not blank nor negative.
void cascadePools(GridState& g, int r, long long v);

// The cursor placement after a recalculation: the row after the target, back to 1 after
// the last line. The window scrolls the grid so that the cursor's row is in view.
void placeCursor(GridState& g);

} // namespace vt
