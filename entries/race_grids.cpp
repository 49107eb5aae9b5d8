#include "entries/race_grids.h"

#include "common/session.h"

namespace vt {

void RaceGrids::load(const QString& yearFolder, const std::array<int16_t, 12>& chosenRaceCodes,
                     int fancierNo) {
    QList<RaceGrid> grids;
    QList<int> codes;
    for (int k = 1; k <= MaxChosenRaces && chosenRaceCodes[k] > 0; ++k) {
        grids.append(loadRaceGrid(yearFolder, chosenRaceCodes[k], fancierNo));
        codes.append(chosenRaceCodes[k]);
    }
    m_grids = grids;
    m_codes = codes;
    m_current = 1;
}

void RaceGrids::selectTab(int tab) {
    if (tab < 1 || tab > count())
        return;
    if (m_current >= 1 && m_current <= count())
        grid(m_current).commitEdit();
    m_current = tab;
}

GridKeyOutcome RaceGrids::key(int row, GridKey key, QChar digit) {
    if (count() == 0)
        return {};
    GridKeyOutcome o = grid(m_current).key(row, key, digit);
    if (o.result == GridKeyOutcome::OpenNextRace)
        selectTab(m_current % count() + 1);
    return o;
}

void RaceGrids::commitAll() {
    for (RaceGrid& g : m_grids)
        g.commitEdit();
}

void RaceGrids::rebuild() {
    for (RaceGrid& g : m_grids)
        g.rebuild();
    m_current = 1;
}

double RaceGrids::raceSubTotal(int tab) const {
    const std::optional<GridAmount>& sub = grid(tab).totals().subTotal;
    return sub ? sub->cents() : 0.0;
}

std::optional<QList<std::pair<int, int32_t>>> RaceGrids::raceAmounts(QString* error) const {
    QList<std::pair<int, int32_t>> out;
    for (int tab = 1; tab <= count(); ++tab) {
        const std::optional<int32_t> amount = grid(tab).subTotalThousandths();
        if (!amount) {
            if (error)
                *error = QStringLiteral("Le montant dû pour le concours %1 est trop grand pour "
                                        "être enregistré.")
                             .arg(grid(tab).caption());
            return std::nullopt;
        }
        out.append({raceCode(tab), *amount});
    }
    return out;
}

} // namespace vt
