#pragma once
// One race grid of the entry sheet, without any window: the rows built from the race's
// stake lines (basejeu.<code>) and the fancier's stake amounts (his block of
// mise.<code>), the editing of the NOMBRE cells key by key with the betting rules, the
// totals, and what the save takes back from the grid.
//
// How the entry-sheet window uses it:
//   - build one grid per chosen race: RaceGrid::build(caption, lines, block);
//   - show rowCount() rows of three cells: cell(r, 0..2); the tab label: tabLabel();
//     row 0 is the header, row 1 "ENGAGES", row j + 1 stake line j, the last row empty;
//   - forward the keys typed on the current row of the NOMBRE column: key(row, ...),
//     then refresh the cells and put the cursor on the outcome's row; a NOMBRE cell that
//     is typed into and not yet recalculated is isPending(row) (shown red);
//   - commit when the cursor leaves the cell, the tab changes ("+", a tab click), before
//     the save and before the window closes: commitEdit();
//   - save: subTotalThousandths() for FancierRecord.raceAmounts, stakeBlock(previous)
//     for the race's mise record.
//
// The pigeons entered that cap the counts are always those of this grid (row 1); an edit
// recalculates from the grid as it stood when the edit of the cell began, so the keys
// typed on the way to a value never lose stakes: the result is the same as committing
// the final value once.
#include "common/records.h"
#include "entries/grid_rules.h"
#include "entries/grid_totals.h"

#include <QList>
#include <QString>

#include <optional>

namespace vt {

// A stored count as the grid reads it: its whole part, a negative one (or a value that is
// not a number) as 0, and at most seven digits.
long long storedGridCount(float v);

// A key of the entry grids.
enum class GridKey {
    Digit,     // "0" to "9"
    Backspace, // removes the last character typed
    Clear,     // Esc or Del: the cell becomes "0"
    Enter,     // commits and moves on
    NextRace,  // "+": commits; the window then opens the next race tab (after the last, the first)
};

struct GridKeyOutcome {
    enum Result {
        Ignored,      // nothing changed (a key that the cell does not take)
        Changed,      // the cells changed: show them again
        Refused,      // the count would pass MaxTypedCount: show refusalMessage()
        OpenNextRace, // "+": the edit is committed; the window selects the next race tab
    } result = Ignored;
    int currentRow = 1; // the row the cursor goes to; the window keeps it in view
};

class RaceGrid {
public:
    static constexpr int ValeurColumn = 1;
    static constexpr int NombreColumn = 2;

    RaceGrid() = default;

    // Builds the grid of one race: `lines` are the records of basejeu.<code> in order,
    // `block` the fancier's record of mise.<code> (a zero block when he has none yet).
    // Counts are read as whole numbers, a negative one as 0, and the stake lines and
    // GRATUITS are capped by the pigeons entered; the "Mixt" and "Prem" rules apply; lines
    // after line 100 show 0 and cannot be edited. Then the totals are computed.
    static RaceGrid build(const QString& caption, const QList<StakeTypeRecord>& lines,
                          const StakeAmountBlock& block);

    // The rows of the race as build() lays them out, with their kinds, which rows take keys
    // and which ones the totals write, but no counts and no totals yet: withBlock() fills
    // it, and gives what build() gives for that block.
    static RaceGrid layOut(const QString& caption, const QList<StakeTypeRecord>& lines);
    // Element j (1 to the number of lines) tells whether stake line j takes typed counts,
    // as isEditable(j + 1) of their layout does, from the lines' kinds alone.
    static QList<bool> typedLines(const QList<StakeTypeRecord>& lines);

    // The same race's grid for another fancier's block: build(caption(), its lines, block)
    // without reading and classifying the lines again. Commits nothing of this grid.
    RaceGrid withBlock(const StakeAmountBlock& block) const;

    // The same race built again from the counts the grid holds now (a pending edit is
    // committed first), as the entry sheet does after a club pick: nothing typed is lost.
    void rebuild();

    int rowCount() const { return m_state.rowCount(); }
    int lineCount() const { return static_cast<int>(m_lines.size()); }
    const GridRow& row(int r) const { return m_state.rows[r]; }
    // The text of a cell, column 0 label, 1 VALEUR, 2 NOMBRE.
    QString cell(int r, int column) const;
    QString caption() const { return m_state.caption; }
    // The race's caption, then " = " and the sub-total once the sheet has an S/total line.
    QString tabLabel() const { return m_state.tabLabel; }
    const GridTotals& totals() const { return m_state.totals; }
    long long pigeonsEntered() const { return m_state.pigeonsEntered(); }
    int16_t ixtCount() const { return m_state.ixtCount; }
    float remUnit() const { return m_state.remUnit; }
    int currentRow() const { return m_state.currentRow; }

    // Row 1, and the stake and accounting lines up to line 100 that have a label and whose
    // NOMBRE the totals do not write. Only these take keys.
    bool isEditable(int r) const;

    // --- Editing (the NOMBRE cell of one row at a time) ---
    // A key on row r. Digits need `digit`. On a row that cannot be edited only Enter does
    // something: it commits a pending edit and moves the cursor on.
    GridKeyOutcome key(int r, GridKey key, QChar digit = {});
    // Starts editing row r (the grid as it stands is what every key recalculates from);
    // commits the edit of another row first. Does nothing on a row that cannot be edited.
    void beginEdit(int r);
    // Replaces the edited cell's text by `text` (digits only, a count up to MaxTypedCount)
    // and recalculates from the start of the edit; false (nothing changed) when the text is
    // not such a count or no edit is in progress.
    bool applyEdit(const QString& text);
    // Commits the edit in progress (Enter, leaving the cell, another tab, the save).
    // Returns the cursor placement; does nothing without an edit.
    GridKeyOutcome commitEdit();
    bool isEditing() const { return m_editRow > 0; }
    int editRow() const { return m_editRow; }
    // The cell was typed into and has not been recalculated yet (a series row until
    // Enter): the window shows it in red.
    bool isPending(int r) const { return m_pending && r == m_editRow; }

    // The cursor moves to row r (a click, an arrow key): the edit of another row is
    // committed first; the empty last row sends the cursor back to row 1, at the top.
    GridKeyOutcome moveTo(int r);

    // --- What the save stores ---
    // The sub-total the fancier owes for the race, in thousandths (FancierRecord.raceAmounts):
    // 0 when the sheet has no S/total line; nullopt when it does not fit a Long or is beyond
    // MaxAmountOwedThousandths.
    std::optional<int32_t> subTotalThousandths() const;
    // The fancier's block for the race's mise file: element r - 1 from the NOMBRE text of
    // row r for every row from ENGAGES to the last line up to 100, as the stored files
    // always held it (a total row's text such as "22,00" gives 22); other elements are
    // kept from `previous`. Commit a pending edit first.
    StakeAmountBlock stakeBlock(const StakeAmountBlock& previous) const;

    static QString refusalMessage();

private:
    void fill(const StakeAmountBlock& block);
    GridKeyOutcome outcome(GridKeyOutcome::Result result) const;
    void preview();
    void capBufferToEntered();

    QList<StakeTypeRecord> m_lines;
    GridState m_state;
    GridState m_snapshot; // the grid as it stood when the edit began
    int m_editRow = 0;    // 0: no edit in progress
    QString m_buffer;     // the edited cell's text
    bool m_pending = false;
};

// The caption of a race grid from the race's base record: the release site in capitals,
// the category and the level ("BRIVE VIEUX GENERAL"). "?" stands for a category digit or
// a level index outside 0 to 3.
QString raceGridCaption(const RaceBaseRecord& base);

// Builds the grid of a chosen race for fancier `fancierNo` from the race's files in the
// season's folder: bases.<code> (record 1, the caption), basejeu.<code> (the lines) and
// mise.<code> (his block; zeros past the end of the file). A missing file reads as empty;
// a missing base record gives the caption "?" for its category and level. Reads only;
// throws FileError when a file cannot be read.
RaceGrid loadRaceGrid(const QString& yearFolder, int raceCode, int fancierNo);

} // namespace vt
