#include "entries/grid_totals.h"

#include "common/numbers.h"

namespace vt {

namespace {

using Raw = GridAmount::Raw;

// unit (thousandths) x count, as an amount.
GridAmount lineAmount(long long unitMilli, long long count) {
    return GridAmount::fromRaw(static_cast<Raw>(unitMilli) * count * GridAmount::PerThousandth);
}

} // namespace

void computeGridTotals(GridState& g, std::optional<GridEdit> edit) {
    const int R = g.rowCount();
    const int last = R - 2;
    const long long N = g.pigeonsEntered();
    g.totals = GridTotals{};
    g.tabLabel = g.caption;
    for (GridRow& row : g.rows)
        row.charge = GridAmount();

    // Every row before TOTAL du jeu holds at most the pigeons entered, BELGE included.
    for (int k = 2; k <= R - 1; ++k) {
        GridRow& row = g.rows[k];
        if (row.is(StakeKind::GameTotal))
            break;
        if (row.count > N)
            row.setCount(N);
    }

    if (edit) {
        const int r = edit->row;
        GridRow& row = g.rows[r];
        g.target = r;
        if (row.is(StakeKind::Poule))
            cascadePools(g, r, edit->typed);
        else if (row.kinds.series.group != 0 && !row.kinds.series.byLabel)
            row.setCount(cutSeries(row.count, row.kinds.series.group));
    }

    enum Section { Stakes, Fees, Deductions, Rest, Done } section = Stakes;
    GridAmount S, F, D, rest;
    const GridRow* feeRow = nullptr;
    for (int k = 2; k <= last && section != Done; ++k) {
        GridRow& row = g.rows[k];
        // A Résultat line counts once for a fancier with pigeons entered, whatever was typed
        // or stored, as the recap counts it.
        if (row.is(StakeKind::ResultCode))
            row.setCount(N > 0 ? 1 : 0);
        switch (section) {
        case Stakes: {
            if (row.is(StakeKind::GameTotal)) {
                g.totals.stakes = S;
                row.setNombreText(S.text());
                section = Fees;
                break;
            }
            long long c = row.locked ? 0 : stakeLineRules(g, row, row.count, N);
            row.setCount(c);
            long long charged = c;
            if (row.is(StakeKind::RiTwo) && c > 0) {
                row.setCount(RiTwoShownCount);
                charged = 1;
            }
            row.charge = lineAmount(row.unitMilli, charged);
            S += row.charge;
            break;
        }
        case Fees:
            if (row.is(StakeKind::SubTotal)) {
                const GridAmount sub = S + F;
                g.totals.subTotal = sub;
                g.tabLabel = g.caption + QStringLiteral(" = ") + sub.text();
                row.setNombreText(sub.text());
                section = Deductions;
                break;
            }
            if (row.is(StakeKind::Fees)) {
                row.setNombreText(g.rows[1].nombre);
                feeRow = &row;
            }
            if (row.is(StakeKind::Free)) {
                row.setValeur(feeRow ? feeRow->valeur : QString());
                row.charge = GridAmount() - lineAmount(row.unitMilli, row.count);
            } else {
                row.charge = lineAmount(row.unitMilli, row.count);
            }
            F += row.charge;
            break;
        case Deductions:
            if (row.is(StakeKind::DeductionTotal)) {
                g.totals.deductions = D;
                row.setNombreText(D.text());
                section = Rest;
                break;
            }
            if (row.is(StakeKind::RingsCode)) {
                const GridAmount a = lineAmount(row.unitMilli, N);
                row.setNombreText(rightAlign(a.twoDecimals(), 7));
                D += a;
            } else if (row.is(StakeKind::Deduction)) {
                // unit per cent of S: thousandths of a per cent x (S in thousandths) gives
                // 1e-8 units exactly.
                const GridAmount a = GridAmount::fromRaw(static_cast<Raw>(row.unitMilli) * S.thousandths());
                row.setNombreText(a.text());
                D += a;
            } else {
                D += lineAmount(row.unitMilli, row.count);
            }
            break;
        case Rest:
            if (row.is(StakeKind::GrandTotal)) {
                const GridAmount grand = S + F + rest - D;
                g.totals.grandTotal = grand;
                row.setNombreText(grand.text());
                section = Done;
                break;
            }
            rest += lineAmount(row.unitMilli, row.count);
            break;
        case Done:
            break;
        }
    }
    g.totals.fees = F;

    if (edit)
        placeCursor(g);
}

} // namespace vt
