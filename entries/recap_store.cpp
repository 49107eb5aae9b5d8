#include "entries/recap_store.h"

#include "common/damage.h"
#include "common/numbers.h"
#include "common/record_file.h"
#include "common/text.h"
#include "entries/stake_blocks.h"
#include "entries/stake_catalogue.h"
#include "platform/damage_notice.h"
#include "platform/dialogs.h"

#include <QDir>
#include <QFileInfo>

#include <array>
#include <cmath>

namespace vt {

QString stakeCopyFileName(const QString& stakeFile) {
    return stakeFile.left(3) + QStringLiteral("mis") + stakeFile.mid(6);
}

QString betLineRecapFileName(const QString& stakeFile) {
    const QString copy = stakeCopyFileName(stakeFile);
    return QStringLiteral("r") + copy.left(3) + copy.right(4);
}

int lastBetLine(const QList<StakeTypeRecord>& lines) {
    const int last = std::min<int>(lines.size(), StakeAmountBlock::MaxLine);
    for (int k = 1; k <= last; ++k)
        if (recordKinds(lines[k - 1]).testFlag(StakeKind::FeesCode))
            return k - 2;
    return 0;
}

double validRecapCount(float v) { return v >= 1 && v <= 500 ? double(v) : 0.0; }

RecapSheetSections::RecapSheetSections(const QList<StakeTypeRecord>& lines) {
    const int n = static_cast<int>(lines.size());
    // The first line of `kind` after line `from`, 0 when there is none.
    const auto next = [&](int from, StakeKind kind) {
        for (int k = from + 1; k <= n; ++k)
            if (recordKinds(lines[k - 1]).testFlag(kind))
                return k;
        return 0;
    };
    gameTotal = next(0, StakeKind::GameTotal);
    subTotal = gameTotal ? next(gameTotal, StakeKind::SubTotal) : 0;
    deductionTotal = subTotal ? next(subTotal, StakeKind::DeductionTotal) : 0;
    grandTotal = deductionTotal ? next(deductionTotal, StakeKind::GrandTotal) : 0;
}

bool recapSheetReadsTotal(const QList<StakeTypeRecord>& lines, const RecapSheetSections& s,
                          int k) {
    if (k == 0)
        return true;
    if (k > lines.size() || k > StakeAmountBlock::MaxLine)
        return false;
    // A section without its end line runs to the last line.
    const int ends[] = {s.gameTotal, s.subTotal, s.deductionTotal, s.grandTotal};
    for (int section = 0; section < 4; ++section) {
        if (ends[section] == 0 || k < ends[section]) {
            const StakeKinds kinds = recordKinds(lines[k - 1]);
            return section != 2 || !(kinds.testFlag(StakeKind::Deduction) ||
                                     kinds.testFlag(StakeKind::Telephone) ||
                                     kinds.testFlag(StakeKind::Rings));
        }
        if (k == ends[section])
            return false;
    }
    return false; // after the general total
}

namespace {

constexpr int Elements = StakeAmountBlock::MaxLine + 1;

// The race as the messages name it: its site and date ("ORLEANS du 12 mai 2005"), or its
// code when it has no base record.
QString raceName(const QString& yearFolder, int raceCode) {
    const RecordFileOf<RaceBaseRecord> bases(
        resolveFile(yearFolder, raceFileName(QStringLiteral("bases"), raceCode)));
    if (bases.count() < 1)
        return raceExtension(raceCode).mid(1);
    const RaceBaseRecord base = bases.read(1);
    return trim(base.siteName()) + QStringLiteral(" du ") + trim(base.calendarDateLong());
}

// The line of element k as the entry sheet names it.
QString elementName(const QList<StakeTypeRecord>& lines, int k) {
    return k == 0 ? QStringLiteral("ENGAGES") : loadedLineText(lines[k - 1]).simplified();
}

} // namespace

RaceRecapFiles computeRaceRecap(const QString& yearFolder, int raceCode,
                                const QString& stakeFile, int fancierRecords) {
    RaceRecapFiles out;
    out.raceCode = raceCode;
    out.recapPath = resolveFile(yearFolder, raceFileName(QStringLiteral("recap"), raceCode));
    out.betLineRecapPath = resolveFile(yearFolder, betLineRecapFileName(stakeFile));
    out.stakeCopyPath = resolveFile(yearFolder, stakeCopyFileName(stakeFile));

    const QList<StakeTypeRecord> lines =
        readStakeLines(resolveFile(yearFolder, raceFileName(QStringLiteral("basejeu"), raceCode)));
    // The race's stakes are read in one piece; damaged counts read as 0 and are noted.
    const RecordFileOf<StakeAmountBlock> miseFile(
        resolveFile(yearFolder, raceFileName(QStringLiteral("mise"), raceCode)));
    checkWholeRecords(miseFile);
    const LoadedRecords stakes(miseFile);
    const StakeBlockCheck check(lines);
    const int L = lastBetLine(lines);

    std::array<bool, Elements> isResult{};
    for (int k = 1; k < Elements && k <= lines.size(); ++k)
        isResult[k] = recordKinds(lines[k - 1]).testFlag(StakeKind::ResultCode);

    std::array<double, Elements> totals{};
    long long fanciers = 0;
    for (int n = 1; n <= fancierRecords; ++n) {
        const StakeAmountBlock block =
            check.checked(stakes.read<StakeAmountBlock>(n), miseFile.path(), n);
        StakeAmountBlock copy;
        for (int k = 0; k <= L; ++k)
            copy.setStakeCount(k, float(validRecapCount(block.stakeCount(k))));
        out.stakeCopies.append(copy);
        if (block.pigeonsEntered() > 0) {
            ++fanciers;
            for (int k = 0; k < Elements; ++k)
                totals[k] += isResult[k] ? 1.0 : validRecapCount(block.stakeCount(k));
        }
    }

    if (fanciers > RecapTotalCeiling)
        throw Error(QStringLiteral("Le nombre d'amateurs du concours %1 (%2) dépasse 32767 : "
                                   "rien n'a été mémorisé.")
                        .arg(raceName(yearFolder, raceCode))
                        .arg(fanciers));
    out.recap.setFancierCount(static_cast<int16_t>(fanciers));
    const RecapSheetSections sections(lines);
    for (int k = 0; k < Elements; ++k) {
        // A total rounded to an Integer, halves to even.
        if (const auto v = cint(totals[k]))
            out.recap.setTotal(k, *v);
        else if (!recapSheetReadsTotal(lines, sections, k))
            out.recap.setTotal(k, RecapTotalCeiling);
        else
            throw Error(QStringLiteral("Le total de la ligne « %1 » du concours %2 (%3) dépasse "
                                       "32767 : rien n'a été mémorisé.")
                            .arg(elementName(lines, k), raceName(yearFolder, raceCode))
                            .arg(static_cast<long long>(std::nearbyint(totals[k]))));
    }
    if (L > 0) {
        out.hasBetLineRecap = true;
        out.betLineRecap.setFancierCount(out.recap.fancierCount());
        for (int k = 0; k <= L; ++k)
            out.betLineRecap.setTotal(k, out.recap.total(k));
    }
    return out;
}

void writeRaceRecap(const RaceRecapFiles& files, WrittenFiles* written) {
    WrittenFiles ignored;
    WrittenFiles& done = written ? *written : ignored;
    RecordFileOf<RaceRecapRecord>(files.recapPath).rewrite({files.recap});
    done.add(files.recapPath);
    RecordFileOf<RaceRecapRecord> betLines(files.betLineRecapPath);
    if (files.hasBetLineRecap)
        betLines.rewrite({files.betLineRecap});
    else
        betLines.rewrite({});
    done.add(files.betLineRecapPath);
    // The stake copy is replaced whole: an interruption must not leave some fanciers' blocks
    // of this storage beside others of the previous one. Blocks past the last fancier keep
    // what they held.
    QList<std::pair<int, StakeAmountBlock>> copies;
    for (int n = 1; n <= files.stakeCopies.size(); ++n)
        copies.append({n, files.stakeCopies[n - 1]});
    RecordFileOf<StakeAmountBlock>(files.stakeCopyPath).writeRecords(copies);
    done.add(files.stakeCopyPath);

    // The race's own files are opened as the storage always did: a missing one is created
    // empty, once the recaps are written, so that a failed storage creates nothing.
    const QString folder = QFileInfo(files.recapPath).absolutePath();
    for (RecordFile own :
         {RecordFile(resolveFile(folder, raceFileName(QStringLiteral("basejeu"), files.raceCode)),
                     StakeTypeRecord::Size),
          RecordFile(resolveFile(folder, raceFileName(QStringLiteral("mise"), files.raceCode)),
                     StakeAmountBlock::Size)}) {
        if (own.exists())
            continue;
        own.create();
        done.add(own.path());
    }
}

bool storeRaceRecaps(Dialogs& dialogs, Session& s) {
    if (!dialogs.askYesNo(QStringLiteral("ETES VOUS SUR DE VOULOIR MEMORISER les RECAPITULATIFS\n"),
                          QStringLiteral("   MEMORISATION des RECAPITULATIFS  "), MsgAnswer::Yes))
        return false;
    s.ClubCount = 1;
    WrittenFiles written;
    DamageNotice damage(dialogs);
    try {
        const RecordFile fancierFile(s.FancierFilePath, FancierRecord::Size);
        checkWholeRecords(fancierFile);
        const int fancierRecords = fancierFile.count();
        QList<RaceRecapFiles> races;
        for (int slot = 1; slot <= MaxChosenRaces && s.ChosenRaceCodes[slot] != 0; ++slot)
            races.append(computeRaceRecap(s.YearFolder, s.ChosenRaceCodes[slot],
                                          s.ChosenRaceStakeFiles[slot], fancierRecords));
        // What was found damaged is told before anything is stored from the reading.
        damage.tell();
        for (const RaceRecapFiles& race : races)
            writeRaceRecap(race, &written);
    } catch (const Error& e) {
        damage.tell();
        dialogs.inform(e.message() + written.note(),
                       QStringLiteral("MEMORISATION des RECAPITULATIFS"), MsgIcon::Exclamation);
        return false;
    }
    return true;
}

} // namespace vt
