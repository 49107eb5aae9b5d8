#include "entries/race_grid.h"

#include "common/damage.h"
#include "common/numbers.h"
#include "common/record_file.h"
#include "common/session.h"
#include "common/text.h"
#include "entries/stake_blocks.h"

#include <QDir>

#include <algorithm>
#include <cmath>

namespace vt {

long long storedGridCount(float v) {
    if (!std::isfinite(v) || v <= 0)
        return 0;
    if (v >= static_cast<float>(MaxGridCount))
        return MaxGridCount;
    return static_cast<long long>(std::trunc(v));
}

namespace {

long long textCount(const QString& text) {
    const double v = cellNumber(text);
    return v > 0 ? static_cast<long long>(std::trunc(std::min(v, double(MaxGridCount)))) : 0;
}

bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// Digits that make a count the user may type.
bool isTypedCount(const QString& digits) {
    qsizetype i = 0;
    while (i < digits.size() && digits[i] == u'0')
        ++i;
    return digits.size() - i <= 3 && digits.mid(i).toInt() <= MaxTypedCount;
}

// Calls `mark` for each stake line 1 to `lines` whose NOMBRE the totals pass writes,
// walking its sections over the lines' kinds (`kindsOf(j)` for line j).
template <class KindsOf, class Mark> void forComputedLines(int lines, KindsOf kindsOf, Mark mark) {
    enum { Stakes, Fees, Deductions, Rest, Done } section = Stakes;
    for (int j = 1; j <= lines && section != Done; ++j) {
        const GridRowKinds& row = kindsOf(j);
        if (row.is(StakeKind::ResultCode))
            mark(j); // it counts once for a fancier with pigeons entered
        switch (section) {
        case Stakes:
            if (row.is(StakeKind::GameTotal)) {
                mark(j);
                section = Fees;
            }
            break;
        case Fees:
            if (row.is(StakeKind::Fees) || row.is(StakeKind::SubTotal))
                mark(j);
            if (row.is(StakeKind::SubTotal))
                section = Deductions;
            break;
        case Deductions:
            if (row.is(StakeKind::RingsCode) || row.is(StakeKind::Deduction) || row.is(StakeKind::DeductionTotal))
                mark(j);
            if (row.is(StakeKind::DeductionTotal))
                section = Rest;
            break;
        case Rest:
            if (row.is(StakeKind::GrandTotal)) {
                mark(j);
                section = Done;
            }
            break;
        case Done:
            break;
        }
    }
}

// Marks the rows whose NOMBRE the totals pass writes (row j + 1 shows stake line j).
void markComputedRows(GridState& s) {
    forComputedLines(
        s.rowCount() - 3, [&](int j) -> const GridRowKinds& { return s.rows[j + 1].kinds; },
        [&](int j) { s.rows[j + 1].computed = true; });
}

GridRow fixedRow(const QString& label, const QString& valeur, const QString& nombre) {
    GridRow row;
    row.label = label;
    row.kinds = classifyGridRow(label);
    row.setValeur(valeur);
    row.setNombreText(nombre);
    row.locked = true;
    return row;
}

} // namespace

RaceGrid RaceGrid::build(const QString& caption, const QList<StakeTypeRecord>& lines,
                         const StakeAmountBlock& block) {
    RaceGrid grid = layOut(caption, lines);
    grid.fill(block);
    return grid;
}

RaceGrid RaceGrid::layOut(const QString& caption, const QList<StakeTypeRecord>& lines) {
    RaceGrid grid;
    grid.m_lines = lines;
    GridState& s = grid.m_state;
    s.caption = caption;
    s.tabLabel = caption;
    const int L = static_cast<int>(lines.size());
    s.rows.reserve(L + 3);

    s.rows.push_back(fixedRow(QString(), QStringLiteral("VALEUR"), QStringLiteral("   NOMBRE   ")));
    GridRow entered = fixedRow(QStringLiteral("ENGAGES"), QString(), QString());
    entered.locked = false;
    s.rows.push_back(entered);
    for (int j = 1; j <= L; ++j) {
        const StakeTypeRecord& line = lines[j - 1];
        GridRow row;
        row.label = line.stakeLabel() + line.stakeCode();
        row.kinds = classifyGridRow(row.label);
        row.line = j;
        row.locked = j > StakeAmountBlock::MaxLine;
        row.setValeur(unitText(line.unitValue()));
        row.setCount(0);
        // The code is the label text's last 5 characters (label 8, code 5).
        const QStringView code = trimView(QStringView(row.label).sliced(8));
        if (code.endsWith(u"ixt"))
            s.ixtCount = line.count();
        if (code.endsWith(u"rem"))
            s.remUnit = line.unitValue();
        s.rows.push_back(row);
    }
    s.rows.push_back(fixedRow(QString(), QString(), QString()));

    const int last = s.rowCount() - 2;
    for (int k = 2; k <= last; ++k) {
        if (s.rows[k].is(StakeKind::GameTotal)) {
            s.firstJeuRow = k;
            break;
        }
    }
    for (int k = 2; k <= last; ++k) {
        GridRow& row = s.rows[k];
        row.capped = s.firstJeuRow == 0 || k < s.firstJeuRow || row.is(StakeKind::Free);
    }
    markComputedRows(s);
    return grid;
}

QList<bool> RaceGrid::typedLines(const QList<StakeTypeRecord>& lines) {
    const int L = static_cast<int>(lines.size());
    std::vector<GridRowKinds> kinds;
    kinds.reserve(L);
    for (const StakeTypeRecord& line : lines)
        kinds.push_back(classifyGridRow(line.stakeLabel() + line.stakeCode()));
    QList<bool> typed(L + 1, false);
    for (int j = 1; j <= L; ++j)
        typed[j] = j <= StakeAmountBlock::MaxLine && !kinds[j - 1].blank;
    forComputedLines(
        L, [&](int j) -> const GridRowKinds& { return kinds[j - 1]; },
        [&](int j) { typed[j] = false; });
    return typed;
}

RaceGrid RaceGrid::withBlock(const StakeAmountBlock& block) const {
    RaceGrid grid;
    grid.m_lines = m_lines;
    grid.m_state = m_state;
    grid.fill(block);
    return grid;
}

void RaceGrid::fill(const StakeAmountBlock& block) {
    // Every count and every text the totals write is set again, so that a grid of the same
    // lines filled before gives what a grid just laid out gives.
    GridState& s = m_state;
    const int L = static_cast<int>(m_lines.size());
    const long long N = storedGridCount(block.pigeonsEntered());
    s.rows[1].setCount(N);
    for (int j = 1; j <= std::min(L, int(StakeAmountBlock::MaxLine)); ++j) {
        GridRow& row = s.rows[j + 1];
        long long c = storedGridCount(block.stakeCount(j));
        if (row.capped && c > N)
            c = N;
        row.setCount(stakeLineRules(s, row, c, N));
    }

    computeGridTotals(s, std::nullopt);
    s.target = 1;
    s.currentRow = 1;
}

void RaceGrid::rebuild() {
    commitEdit();
    *this = build(m_state.caption, m_lines, stakeBlock(StakeAmountBlock()));
}

QString RaceGrid::cell(int r, int column) const {
    const GridRow& row = m_state.rows[r];
    switch (column) {
    case 0:
        return row.label;
    case ValeurColumn:
        return row.valeur;
    case NombreColumn:
        return row.nombre;
    default:
        return QString();
    }
}

bool RaceGrid::isEditable(int r) const {
    if (r == 1)
        return true;
    if (r < 2 || r > rowCount() - 2)
        return false;
    const GridRow& row = m_state.rows[r];
    return !row.locked && !row.computed && !row.kinds.blank;
}

GridKeyOutcome RaceGrid::outcome(GridKeyOutcome::Result result) const {
    GridKeyOutcome o;
    o.result = result;
    o.currentRow = m_state.currentRow;
    return o;
}

void RaceGrid::beginEdit(int r) {
    if (!isEditable(r) || m_editRow == r)
        return;
    commitEdit();
    m_snapshot = m_state;
    m_editRow = r;
    m_buffer = m_state.rows[r].nombre;
    m_pending = false;
}

void RaceGrid::capBufferToEntered() {
    // On a capped line (not BELGE) a count above the pigeons entered becomes the pigeons
    // entered as it is typed.
    const GridRow& row = m_state.rows[m_editRow];
    if (m_editRow > 1 && row.capped && !row.is(StakeKind::Belge) &&
        cellNumber(m_buffer) > cellNumber(m_state.rows[1].nombre))
        m_buffer = m_state.rows[1].nombre;
}

void RaceGrid::preview() {
    const int r = m_editRow;
    m_state = m_snapshot;
    recalculateRow(m_state, r, textCount(m_buffer));
    m_buffer = m_state.rows[r].nombre;
    m_state.currentRow = r;
    m_pending = false;
}

GridKeyOutcome RaceGrid::commitEdit() {
    if (!isEditing())
        return outcome(GridKeyOutcome::Ignored);
    const int r = m_editRow;
    m_state = m_snapshot;
    m_editRow = 0;
    m_pending = false;
    recalculateRow(m_state, r, textCount(m_buffer));
    return outcome(GridKeyOutcome::Changed);
}

GridKeyOutcome RaceGrid::key(int r, GridKey key, QChar digit) {
    if (key == GridKey::NextRace) {
        commitEdit();
        return outcome(GridKeyOutcome::OpenNextRace);
    }
    if (!isEditable(r)) {
        if (key != GridKey::Enter)
            return outcome(GridKeyOutcome::Ignored);
        commitEdit();
        m_state.target = r;
        placeCursor(m_state);
        return outcome(GridKeyOutcome::Changed);
    }
    beginEdit(r);
    const GridRow& row = m_state.rows[r];
    switch (key) {
    case GridKey::Enter:
        return commitEdit();
    case GridKey::Clear:
        m_buffer = QStringLiteral("0");
        break;
    case GridKey::Backspace:
        if (m_buffer.isEmpty())
            return outcome(GridKeyOutcome::Ignored);
        m_buffer.chop(1);
        break;
    case GridKey::Digit: {
        if (!isAsciiDigit(digit))
            return outcome(GridKeyOutcome::Ignored);
        const QString typed = m_buffer + digit;
        if (!isTypedCount(typed))
            return outcome(GridKeyOutcome::Refused);
        m_buffer = typed;
        capBufferToEntered();
        if (row.kinds.series.group != 0) {
            // A series row is recalculated on Enter only: it shows what is typed.
            m_state.rows[r].setNombreText(m_buffer);
            m_state.currentRow = r;
            m_pending = true;
            return outcome(GridKeyOutcome::Changed);
        }
        break;
    }
    case GridKey::NextRace:
        break;
    }
    preview();
    return outcome(GridKeyOutcome::Changed);
}

bool RaceGrid::applyEdit(const QString& text) {
    if (!isEditing())
        return false;
    for (QChar c : text)
        if (!isAsciiDigit(c))
            return false;
    if (!isTypedCount(text))
        return false;
    m_buffer = text;
    capBufferToEntered();
    preview();
    return true;
}

std::optional<int32_t> RaceGrid::subTotalThousandths() const {
    const std::optional<GridAmount>& sub = m_state.totals.subTotal;
    if (!sub)
        return 0;
    // Beyond the largest amount owed a season file holds, the reader would take it for damage.
    const std::optional<int32_t> v = clng(static_cast<double>(sub->thousandths()));
    if (v && *v > MaxAmountOwedThousandths)
        return std::nullopt;
    return v;
}

StakeAmountBlock RaceGrid::stakeBlock(const StakeAmountBlock& previous) const {
    StakeAmountBlock block = previous;
    const int lastRow = std::min(rowCount() - 2, StakeAmountBlock::MaxLine + 1);
    for (int r = 1; r <= lastRow; ++r)
        block.setStakeCount(r - 1, nombreValue(m_state.rows[r].nombre));
    return block;
}

GridKeyOutcome RaceGrid::moveTo(int r) {
    if (r < 0 || r >= rowCount())
        return outcome(GridKeyOutcome::Ignored);
    if (isEditing() && r != m_editRow)
        commitEdit();
    m_state.currentRow = r == rowCount() - 1 ? 1 : r;
    return outcome(GridKeyOutcome::Changed);
}

QString raceGridCaption(const RaceBaseRecord& base) {
    const QString digit = base.categoryDigit();
    const int category = digit.size() == 1 && digit[0] >= u'0' && digit[0] <= u'3'
                             ? digit[0].unicode() - u'0'
                             : -1;
    const std::optional<int16_t> level = cint(base.levelIndex());
    const bool levelKnown = level && *level >= 0 && *level <= 3;
    return upperCase(trim(base.siteName())) + u' ' +
           (category >= 0 ? CategoryNames[category] : QStringLiteral("?")) + u' ' +
           (levelKnown ? LevelNames[*level] : QStringLiteral("?"));
}

RaceGrid loadRaceGrid(const QString& yearFolder, int raceCode, int fancierNo) {
    const QDir folder(yearFolder);
    const RecordFileOf<RaceBaseRecord> bases(folder.filePath(raceFileName(QStringLiteral("bases"), raceCode)));
    const RecordFileOf<StakeTypeRecord> lines(folder.filePath(raceFileName(QStringLiteral("basejeu"), raceCode)));
    const RecordFileOf<StakeAmountBlock> amounts(folder.filePath(raceFileName(QStringLiteral("mise"), raceCode)));
    QString caption;
    if (bases.count() >= 1) {
        caption = raceGridCaption(bases.read(1));
    } else {
        RaceBaseRecord unknown;
        unknown.setCategoryDigit(QStringLiteral("?"));
        unknown.setLevelIndex(-1);
        caption = raceGridCaption(unknown);
    }
    // Damaged prices and counts read as 0, noted for the window that opens the grid.
    const QList<StakeTypeRecord> stakeLines = readStakeLines(lines.path());
    checkWholeRecords(amounts);
    const StakeAmountBlock block =
        fancierNo >= 1
            ? StakeBlockCheck(stakeLines).checked(amounts.read(fancierNo), amounts.path(), fancierNo)
            : StakeAmountBlock();
    return RaceGrid::build(caption, stakeLines, block);
}

QString RaceGrid::refusalMessage() {
    return QStringLiteral("Un nombre ne peut pas dépasser 500 : la récapitulation ne compte pas "
                          "un nombre plus grand.");
}

} // namespace vt
