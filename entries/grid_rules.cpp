#include "entries/grid_rules.h"

#include "common/numbers.h"
#include "common/text.h"
#include "entries/grid_totals.h"

#include <algorithm>
#include <cmath>

namespace vt {

namespace {

// The label text without its last four characters, trimmed: "Sér. 2/3" of "Sér. 2/3 Obj.".
QString labelHead(const QString& lab) {
    return lab.size() > 4 ? trim(lab.left(lab.size() - 4)) : QString();
}

} // namespace

GridRowKinds classifyGridRow(const QString& text0) {
    GridRowKinds k;
    const QString lab = trim(text0);
    auto set = [&k](bool on, GridRowKind kind) {
        if (on)
            k.flags |= kind;
    };
    if (lab.isEmpty()) {
        k.flags = RowBlank;
        return k;
    }
    const QString end2 = Right(lab, 2), end3 = Right(lab, 3), end4 = Right(lab, 4);
    const QString head = labelHead(lab);
    set(upperCase(Left(lab, 5)) == u"BELGE", RowBelge);
    set(end2 == u".1", RowDot1);
    set(end2 == u".2", RowDot2);
    set(end3 == u"i.2", RowRi2);
    set(trim(Left(lab, 7)) == u"Poule", RowPoule);
    set(text0.size() >= 11 && text0[10] == u'S', RowMarked);
    set(head == u"Sér. 2/3", RowSer23);
    set(head == u"Sér. 3/5", RowSer35);
    set(end3 == u"ixt", RowMixt);
    set(end3 == u"rem", RowPrem);
    set(end3 == u"jeu", RowJeu);
    set(Left(text0, 5) == u"FRAIS", RowFrais);
    set(Left(text0, 5) == u"GRATU", RowGratu);
    set(end4 == u"s/to", RowSTo);
    set(end4 == u"bagu", RowBagu);
    set(end4 == u"dedu", RowDedu);
    set(end4 == u"s/td", RowSTd);
    set(end4 == u"t/ge", RowTGe);
    if (end3 == u"2/3" || end3 == u"3/3")
        k.series = {3, false};
    else if (head == u"Sér. 3/3")
        k.series = {3, true};
    else if (end3 == u"2/2")
        k.series = {2, false};
    else if (end3 == u"4/6")
        k.series = {6, false};
    else if (end3 == u"3/5")
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
    count = c;
    nombre = QString::number(c);
}

void GridRow::setNombreText(const QString& text) {
    nombre = text;
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
    if (row.is(RowMixt) && row.unitMilli == 0)
        c = g.ixtCount > 0 ? g.ixtCount : N;
    if (row.is(RowPrem)) {
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
    return row.is(RowPoule) && !row.valeurBlank && row.unitMilli > -5;
}

bool endsCascade(const GridRow& row) {
    return !row.is(RowPoule) || row.is(RowMarked) || row.valeurBlank || row.locked;
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
    if (t > 17 && g.topRow == 1 && R >= 22)
        g.topRow = R - 21;
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
        if (edited.capped && !edited.is(RowBelge) && v > N)
            v = N;
        if (edited.is(RowDot1) && v > 1)
            v = 1;
        if (edited.is(RowDot2) && v > 0)
            v = 2;
    }
    edited.setCount(v);

    if (!edited.is(RowBelge)) {
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
            if (row.is(RowRi2) && c > 0)
                row.setCount(2);
            if (row.is(RowSer35) && c > (N + 2) / 5)
                row.setCount((N + 2) / 5);
            if (row.is(RowSer23) && c > (N + 1) / 3)
                row.setCount((N + 1) / 3);
        }
        if (row.is(RowJeu))
            break;
    }

    computeGridTotals(g, GridEdit{r, typed});
}

} // namespace vt
