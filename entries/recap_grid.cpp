#include "entries/recap_grid.h"

#include "common/numbers.h"
#include "common/damage.h"
#include "common/record_file.h"
#include "common/records.h"
#include "common/text.h"
#include "entries/stake_blocks.h"

#include <cmath>

namespace vt {

std::optional<int> recapLineRecord(const QString& recapLine) {
    bool ok = false;
    const int n = trim(recapLine.mid(23, 5)).toInt(&ok);
    if (!ok || n < 1)
        return std::nullopt;
    return n;
}

int nextRecapGridPosition(int position, const Session& s) {
    if (s.ChosenRaceCodes[1] == 0)
        return 0;
    ++position;
    if (position > MaxChosenRaces || position < 1 || s.ChosenRaceCodes[position] == 0)
        position = 1;
    return position;
}

namespace {

QString withoutSpaces(QString t) {
    t.remove(u' ');
    return t;
}

} // namespace

RecapGridView buildRecapGrid(const Session& s, int raceCode, const QList<int>& recordNos) {
    RecapGridView view;
    const RecordFileOf<RaceBaseRecord> bases(
        resolveFile(s.YearFolder, raceFileName(QStringLiteral("bases"), raceCode)));
    const RaceBaseRecord base = bases.read(1);
    bool ok = false;
    const int category = trim(base.categoryDigit()).toInt(&ok);
    const double level = std::nearbyint(base.levelIndex());
    const bool hasBase = bases.count() > 0;
    view.caption = upperCase(trim(base.siteName())) + u' ' +
                   (hasBase && ok && category >= 0 && category <= 3 ? CategoryNames[category]
                                                                    : QString()) +
                   u' ' +
                   (hasBase && level >= 0 && level <= 3 ? LevelNames[int(level)] : QString())
                       .leftJustified(24, u' ') +
                   QStringLiteral(" du ") + base.calendarDateLong();

    const QList<StakeTypeRecord> lines =
        readStakeLines(resolveFile(s.YearFolder, raceFileName(QStringLiteral("basejeu"), raceCode)));
    int n = lines.size();
    for (int k = 1; k <= lines.size(); ++k)
        if (withoutSpaces(lines[k - 1].stakeLabel()) == QLatin1String("S/total"))
            n = k - 1;
    QList<int> shown;
    view.headers << QStringLiteral("Amateurs          ") << QStringLiteral("Pig.");
    for (int k = 1; k <= n; ++k) {
        const QString code = withoutSpaces(lines[k - 1].stakeCode());
        if (code == QLatin1String("jeu"))
            continue;
        shown << k;
        view.headers << code.left(3).leftJustified(3, u' ');
    }

    // Both files are read once for the whole grid.
    const RecordFileOf<StakeAmountBlock> miseFile(
        resolveFile(s.YearFolder, raceFileName(QStringLiteral("mise"), raceCode)));
    checkWholeRecords(miseFile);
    const LoadedRecords stakes(miseFile);
    const StakeBlockCheck check(lines);
    const LoadedRecords fanciers(RecordFileOf<FancierRecord>(s.FancierFilePath));
    for (int r : recordNos) {
        const auto block = check.checked(stakes.read<StakeAmountBlock>(r), miseFile.path(), r);
        if (!(block.pigeonsEntered() > 0))
            continue;
        QStringList row{fanciers.read<FancierRecord>(r).fancierName(),
                        numberText(block.pigeonsEntered())};
        for (int k : shown)
            row << (k <= StakeAmountBlock::MaxLine ? numberText(block.stakeCount(k)) : QString());
        view.rows << row;
    }
    return view;
}

} // namespace vt
