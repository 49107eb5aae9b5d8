#pragma once
// The betting rules of one race grid of the entry sheet: what kind of line each row is,
// and how an edited count corrects the rows (caps by the pigeons entered, the ".1" and
// ".2" lines, the pool cascade, the series cuts, the "Mixt", "Prem", "Ri.2" and
// "Sér." lines). The totals pass is in grid_totals.h; the grid itself, its building and
// its editing are in race_grid.h.
//
// Rows are numbered as the grid shows them: row 0 the header, row 1 "ENGAGES" (pigeons
// entered), row j + 1 stake line j, and a last empty row.
#include "entries/grid_amount.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace vt {

// The kinds a row can be, recognised once from its label text (label 8 + code 5).
enum GridRowKind : uint32_t {
    RowBelge = 1u << 0,   // "BELGE": exempt from the caps of an edit
    RowDot1 = 1u << 1,    // ends ".1": at most 1
    RowDot2 = 1u << 2,    // ends ".2": any positive count shows 2
    RowRi2 = 1u << 3,     // ends "i.2": shown 2, charged 1
    RowPoule = 1u << 4,   // a pool: pools rise with their price
    RowMarked = 1u << 5,  // a marked pool ("AS", "AS.1", unpriced "PSPE"): ends a cascade
    RowSer23 = 1u << 6,   // "Sér. 2/3": at most (N + 1) \ 3
    RowSer35 = 1u << 7,   // "Sér. 3/5": at most (N + 2) \ 5
    RowMixt = 1u << 8,    // ends "ixt": count from the sheet when its unit value is 0
    RowPrem = 1u << 9,    // ends "rem": 0 or 1
    RowJeu = 1u << 10,    // ends "jeu": TOTAL du jeu, end of the stake lines
    RowFrais = 1u << 11,  // starts "FRAIS": fee per pigeon entered
    RowGratu = 1u << 12,  // starts "GRATU": free entries at the fee price, subtracted
    RowSTo = 1u << 13,    // ends "s/to": sub-total, what the fancier owes
    RowBagu = 1u << 14,   // ends "bagu": rings, unit value x pigeons entered
    RowDedu = 1u << 15,   // ends "dedu": deduction, a percentage of the stakes
    RowSTd = 1u << 16,    // ends "s/td": total of the deductions
    RowTGe = 1u << 17,    // ends "t/ge": grand total
    RowBlank = 1u << 18,  // no label
};

// The group cut of a series row: 0 none, else the group size (2, 3, 5 or 6).
struct SeriesCut {
    int group = 0;
    bool byLabel = false; // "Sér. 3/3", which the totals pass does not cut again
};

struct GridRowKinds {
    uint32_t flags = 0;
    SeriesCut series;
    bool is(GridRowKind k) const { return (flags & k) != 0; }
};

// Recognises the kinds of a row from its column-0 text.
GridRowKinds classifyGridRow(const QString& labelText);

// Applies a series cut to a count (7 on "2/3" gives 6; 9 on "4/6" gives 6; 7 on "3/5"
// gives 5; 5 on "2/2" gives 4; other remainders stay).
long long cutSeries(long long count, int group);

// The largest count a NOMBRE cell takes: seven digits.
constexpr long long MaxGridCount = 9999999;

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
    long long unitMilli = 0;  // VALEUR in thousandths
    bool valeurBlank = true;  // VALEUR is blank
    bool valeurReadable = true; // VALEUR reads as a number the grids compute with

    bool is(GridRowKind k) const { return kinds.is(k); }
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
    int topRow = 1;

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
// the last line, with the grid scrolled so that the last 21 rows show when the target
// lies below row 17.
void placeCursor(GridState& g);

} // namespace vt
