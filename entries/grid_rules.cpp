#include "entries/grid_rules.h"

#include "common/numbers.h"
#include "common/text.h"
#include "entries/grid_totals.h"

#include <algorithm>
#include <cmath>

namespace vt {

GridRowKinds classifyGridRow(const QString& text0) {
    GridRowKinds k;
    const QString lab = trim(text0);
    k.blank = lab.isEmpty();
    if (k.blank)
        return k;
    k.flags = textKinds(text0);
    const QString end3 = Right(lab, 3);
    if (k.is(StakeKind::SeriesTwoThree) || k.is(StakeKind::SeriesThreeThree))
        k.series = {3, end3 != u"2/3" && end3 != u"3/3"};
    else if (k.is(StakeKind::SeriesTwoTwo))
        k.series = {2, false};
    else if (k.is(StakeKind::SeriesFourSix))
        k.series = {6, false};
    else if (k.is(StakeKind::SeriesThreeFive))
        k.series = {5, false};
    return k;
}

long long cutSeries(long long n, int group) {
    switch (group) {
    case 3:
        return n % 3 == 1 ? n - 1 : n;
    case 2:
        return n % 2 == 1 ? n - 1 : n;
    case 6:
        return n % 6 < 4 ? n - n % 6 : n;
    case 5:
        return n % 5 < 3 ? n - n % 5 : n;
    default:
        return n;
    }
}

void GridRow::setCount(long long c) {
    if (plainCount && count == c)
        return; // the text is already the plain text of c
    count = c;
    nombre = QString::number(c);
    plainCount = true;
}

void GridRow::setNombreText(const QString& text) {
    nombre = text;
    plainCount = false;
    const double v = cellNumber(text);
    count = std::isfinite(v) ? static_cast<long long>(std::trunc(std::clamp(v, -1e15, 1e15))) : 0;
}

void GridRow::setValeur(const QString& text) {
    valeur = text;
    valeurBlank = isBlank(text);
    const std::optional<long long> milli = valeurThousandths(text);
    valeurReadable = milli.has_value();
    unitMilli = milli.value_or(0);
}

long long GridRow::poolCents() const {
    // Int(x * 100 + 0.5) with x = unitMilli / 1000: floor((unitMilli + 5) / 10).
    const long long t = unitMilli + 5;
    return t >= 0 ? t / 10 : -((-t + 9) / 10);
}

long long stakeLineRules(const GridState& g, const GridRow& row, long long c, long long N) {
    if (row.is(StakeKind::Mixt) && row.unitMilli == 0)
        c = g.ixtCount > 0 ? g.ixtCount : N;
    if (row.is(StakeKind::Prem)) {
        if (row.unitMilli == 0 && g.remUnit == 0.0f)
            c = 1;
        if (c > 1)
            c = 1;
    }
    return c;
}

namespace {

bool poolQualifies(const GridRow& row) {
    // A pool whose VALEUR is neither blank nor negative: VALEUR x 100 + 0.5 > 0.
    return row.is(StakeKind::Poule) && !row.valeurBlank && row.unitMilli > -5;
}

bool endsCascade(const GridRow& row) {
    return !row.is(StakeKind::Poule) || row.is(StakeKind::MarkedPoule) || row.valeurBlank || row.locked;
}

} // namespace

void cascadePools(GridState& g, int r, long long v) {
    if (!poolQualifies(g.rows[r]))
        return;
    const long long u = g.rows[r].poolCents();
    for (int k = r - 1; k >= 2; --k) {
        GridRow& row = g.rows[k];
        if (endsCascade(row) || row.poolCents() >= u)
            break;
        if (row.count < v)
            row.setCount(v);
    }
    const int last = g.rowCount() - 2;
    for (int k = r + 1; k <= last; ++k) {
        GridRow& row = g.rows[k];
        if (endsCascade(row) || row.poolCents() <= u)
            break;
        if (row.count > v)
            row.setCount(v);
        if (v == 0)
            g.target = k;
    }
}

void placeCursor(GridState& g) {
    const int R = g.rowCount();
    const int t = g.target;
    g.currentRow = t < R - 2 ? t + 1 : 1;
}

void recalculateRow(GridState& g, int r, long long v) {
    const int last = g.rowCount() - 2;
    GridRow& edited = g.rows[r];
    const long long typed = v;
    long long N;
    if (r == 1) {
        N = v;
    } else {
        N = g.pigeonsEntered();
        if (edited.capped && !edited.is(StakeKind::Belge) && v > N)
            v = N;
        if (edited.is(StakeKind::DotOne) && v > 1)
            v = 1;
        if (edited.is(StakeKind::DotTwo) && v > 0)
            v = 2;
    }
    edited.setCount(v);

    if (!edited.is(StakeKind::Belge)) {
        for (int k = 2; k <= last; ++k) {
            GridRow& row = g.rows[k];
            if (row.capped && row.count > N)
                row.setCount(N);
        }
    }

    g.target = r;
    cascadePools(g, r, v);

    if (edited.kinds.series.group != 0)
        edited.setCount(cutSeries(edited.count, edited.kinds.series.group));

    for (int k = 2; k <= last; ++k) {
        GridRow& row = g.rows[k];
        if (!row.locked) {
            const long long c = stakeLineRules(g, row, row.count, N);
            row.setCount(c);
            if (row.is(StakeKind::RiTwo) && c > 0)
                row.setCount(RiTwoShownCount);
            if (row.is(StakeKind::SerThreeFive) && c > (N + 2) / 5)
                row.setCount((N + 2) / 5);
            if (row.is(StakeKind::SerTwoThree) && c > (N + 1) / 3)
                row.setCount((N + 1) / 3);
        }
        if (row.is(StakeKind::GameTotal))
            break;
    }

    computeGridTotals(g, GridEdit{r, typed});
}

} // namespace vt
