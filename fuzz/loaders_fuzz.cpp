// Damaged files read by the program's list loaders: the release-site list, the fanciers
// list, the stake-sheet names and lines, the calendar's lines and the race grids built
// from damaged basejeu and mise files. Every loader gives lines of its fixed widths or a
// message, never a crash, and what it writes back is stable: a second load changes nothing.
// A value no window can have written (a price or a count that is not finite or beyond what
// its field takes, an impossible date) or a file cut in the middle of a record reaches a
// grid or the race chooser only read as 0, and named for the window's message.
#include "fuzz_support.h"

#include "common/damage.h"
#include "common/errors.h"
#include "common/record_file.h"
#include "common/records.h"
#include "common/session.h"
#include "common/text.h"
#include "entries/race_grid.h"
#include "entries/stake_sheets.h"
#include "fanciers/fancier_list.h"
#include "fanciers/site_list.h"
#include "shell/calendar.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>

namespace {

using fuzz::folder;
using fuzz::get;
using fuzz::put;

QString pathOf(const char* name) { return fuzz::pathOf(QString::fromLatin1(name)); }

// The records of a file that ends part-way through a record, and the record cut there,
// are named: true when `path` is whole or its cut record is among the findings.
bool cutRecordNamed(const vt::DamageScope& damage, const QString& path, int recordSize) {
    const qsizetype size = get(path).size();
    return size % recordSize == 0 || fuzz::named(damage, path, int(size / recordSize) + 1);
}

void releaseSites(const QByteArray& bytes) {
    const QString path = pathOf("distgen");
    put(path, bytes);
    const vt::SiteList sites = vt::SiteList::load(path);
    const QStringList items = sites.items();
    for (const QString& item : items)
        FUZZ_CHECK(item.size() == 55);
    sites.save(path);
    const QByteArray saved = get(path);
    FUZZ_CHECK(saved.size() == qsizetype(sites.size()) * vt::ReleaseSiteRecord::Size);
    const vt::SiteList again = vt::SiteList::load(path);
    FUZZ_CHECK(again.items() == items);
    again.save(path);
    FUZZ_CHECK(get(path) == saved);
}

void fancierList(const QByteArray& bytes) {
    vt::Session& s = vt::session();
    s.FancierFilePath = pathOf("noms.vba");
    s.ClubFilePath = pathOf("societe.nom");
    const qsizetype clubBytes = qMin<qsizetype>(bytes.size(), 2 * vt::ClubRecord::Size);
    put(s.ClubFilePath, bytes.left(clubBytes));
    put(s.FancierFilePath, bytes);
    s.ClubCount = 2;
    s.ClubNames = {QString(), QStringLiteral("UN"), QStringLiteral("DEUX")};
    s.ClubCodes = {QString(), QStringLiteral("1"), QStringLiteral("2")};
    vt::DamageScope damage; // the fanciers window holds one while it loads the list
    const vt::FancierListLoad first = vt::loadFancierList(vt::ListMode::All, 1);
    FUZZ_CHECK(first.error.isEmpty());
    FUZZ_CHECK(cutRecordNamed(damage, s.FancierFilePath, vt::FancierRecord::Size));
    for (const QString& line : first.lines) {
        FUZZ_CHECK(line.size() == vt::FancierListItemLength);
        const int n = vt::recordNoOfLine(line);
        FUZZ_CHECK(n >= 1 && n <= bytes.size() / vt::FancierRecord::Size);
    }
    const QByteArray mended = get(s.FancierFilePath);
    FUZZ_CHECK(mended.size() == bytes.size());
    const vt::FancierListLoad second = vt::loadFancierList(vt::ListMode::All, 1);
    FUZZ_CHECK(second.written.isEmpty() && second.lines == first.lines);
    FUZZ_CHECK(get(s.FancierFilePath) == mended);
}

void stakeSheets(const QByteArray& bytes) {
    const QString names = pathOf("fichenl.jeu");
    put(names, bytes);
    const QStringList first = vt::loadSheetNames(names);
    const QByteArray stored = get(names);
    FUZZ_CHECK(stored.size() == bytes.size() - bytes.size() % vt::SheetNameRecord::Size ||
          stored == bytes);
    // Every opening normalises the stored names once more, as the sheet editor always has:
    // a name that still ends in a dotted three-letter part loses it again. Each load gives
    // exactly the previous names normalised, never shortens the file, and a load whose
    // names are already normal writes nothing. Once a load changed neither the names nor
    // the file, the next one reads the same file with the same names: it is not made.
    QStringList previous = first;
    QByteArray before = stored;
    for (int pass = 0; pass < 3; ++pass) {
        QStringList expected;
        for (const QString& name : previous)
            expected << vt::normaliseSheetName(name);
        const QStringList again = vt::loadSheetNames(names);
        const QByteArray after = get(names);
        FUZZ_CHECK(again == expected && after.size() == stored.size());
        FUZZ_CHECK(again != previous || after == before);
        if (again == previous)
            break;
        previous = again;
        before = after;
    }
    (void)vt::findFreeSlot(first);

    const QString sheet = pathOf("gr1.jeu");
    put(sheet, bytes);
    QList<vt::SheetRow> rows;
    for (const vt::StakeTypeRecord& r : vt::readSheet(sheet)) {
        rows.append(vt::sheetRow(r));
        (void)vt::enterValue(rows.last().text, rows.last().value, int(rows.size()));
    }
    const vt::SheetRecords built = vt::buildSheetRecords(rows);
    FUZZ_CHECK(built.ok() || built.refusedRow >= 1);
    FUZZ_CHECK(get(sheet) == bytes); // reading a sheet never writes it
}

void calendar(const QByteArray& bytes) {
    const QString path = pathOf("calend.cal");
    put(path, bytes);
    vt::DamageScope damage; // the calendar editor and the race chooser hold one
    const QList<vt::CalendarRaceRecord> records = vt::readCalendar(path).mid(0, vt::MaxCalendarRaces);
    FUZZ_CHECK(cutRecordNamed(damage, path, vt::CalendarRaceRecord::Size));
    // A race with a site and a date that is no date is named, never silently left out.
    for (int i = 0; i < records.size(); ++i) {
        const vt::CalendarRaceRecord& r = records[i];
        if (!vt::isBlank(r.siteName()) && !vt::isBlank(r.raceDate()) &&
            !vt::calendarDate(r).isValid())
            FUZZ_CHECK(fuzz::named(damage, path, i + 1));
    }
    const QStringList lines = vt::editorLines(records);
    for (const QString& line : lines) {
        const int race = vt::calendarLineRace(line);
        FUZZ_CHECK(race >= 1 && race <= vt::MaxCalendarRaces);
    }
    const vt::RaceChoiceLists choice = vt::raceChoiceLists(records);
    FUZZ_CHECK(choice.keys.size() == choice.offered.size());
    for (const QString& key : choice.keys) {
        const int race = vt::raceFromSortKey(key);
        FUZZ_CHECK(race >= 1 && race <= records.size());
    }
    for (int i = 0; i < records.size(); ++i)
        (void)vt::ChosenRaceLine(i % 4, records[i], i + 1);
}

// A grid as the entry sheet shows it: a stake line's price that no sheet holds shows as 0
// and is named, and so is a count of the fancier's block that no grid can have typed.
void checkGridDamage(const vt::RaceGrid& grid, const vt::DamageScope& damage,
                     const QList<vt::StakeTypeRecord>& lines, const QString& linesPath,
                     const std::optional<vt::StakeAmountBlock>& block, const QString& blockPath,
                     int fancier) {
    for (int r = 2; r < grid.rowCount() - 1; ++r) {
        const vt::GridRow& row = grid.row(r);
        if (row.line < 1 || row.line > lines.size())
            continue;
        FUZZ_CHECK(row.unitMilli >= 0 && row.unitMilli <= 1000 * qint64(vt::MaxStakePrice));
        if (!vt::isPossibleStakePrice(lines[row.line - 1].unitValue()))
            FUZZ_CHECK(row.unitMilli == 0 && fuzz::named(damage, linesPath, row.line));
    }
    for (int r = 1; r < grid.rowCount(); ++r)
        if (grid.isEditable(r))
            FUZZ_CHECK(grid.row(r).count >= 0 && grid.row(r).count <= vt::MaxTypedCount);
    if (!block)
        return;
    for (int k = 0; k <= vt::StakeAmountBlock::MaxLine; ++k) {
        const float v = block->stakeCount(k);
        const bool typed = k == 0 || (k + 1 < grid.rowCount() && grid.isEditable(k + 1));
        if (!std::isfinite(v) || (typed && !vt::isPossibleTypedCount(v)))
            FUZZ_CHECK(fuzz::named(damage, blockPath, fancier));
    }
}

void raceGrid(const QByteArray& bytes) {
    // The first two bytes say where the basejeu part ends and the mise part begins.
    if (bytes.size() < 2)
        return;
    const int split = (uint8_t(bytes[0]) | uint8_t(bytes[1]) << 8) % (bytes.size() - 1);
    const QByteArray rest = bytes.mid(2);
    const QDir year(folder().path());
    const QString linesPath = year.filePath(vt::raceFileName(QStringLiteral("basejeu"), 1));
    const QString blocksPath = year.filePath(vt::raceFileName(QStringLiteral("mise"), 1));
    put(year.filePath(vt::raceFileName(QStringLiteral("bases"), 1)), rest.left(vt::RaceBaseRecord::Size));
    put(linesPath, rest.left(split));
    put(blocksPath, rest.mid(split));
    const QList<vt::StakeTypeRecord> lines = vt::RecordFileOf<vt::StakeTypeRecord>(linesPath).readAll();
    const vt::RecordFileOf<vt::StakeAmountBlock> blocks(blocksPath);
    // Fancier 0 has no block yet (a zero block); 1 and 2 read theirs. A fancier past the end
    // of the mise file reads the same zero block as fancier 0: his grid is not built again.
    for (int fancier = 0; fancier <= std::min(2, blocks.count()); ++fancier) {
        vt::DamageScope damage; // the entry sheet holds one while it opens the grids
        vt::RaceGrid grid = vt::loadRaceGrid(year.path(), 1, fancier);
        FUZZ_CHECK(cutRecordNamed(damage, linesPath, vt::StakeTypeRecord::Size));
        FUZZ_CHECK(cutRecordNamed(damage, blocksPath, vt::StakeAmountBlock::Size));
        checkGridDamage(grid, damage, lines, linesPath,
                        fancier >= 1 ? std::optional(blocks.read(fancier)) : std::nullopt,
                        blocksPath, fancier);
        for (int r = 1; r < grid.rowCount(); ++r)
            for (int c = 0; c <= vt::RaceGrid::NombreColumn; ++c)
                (void)grid.cell(r, c);
        (void)grid.subTotalThousandths();
        (void)grid.stakeBlock(vt::StakeAmountBlock());
        for (int r = 1; r < grid.rowCount() && r < 8; ++r) {
            if (!grid.isEditable(r))
                continue;
            grid.key(r, vt::GridKey::Digit, u'9');
            (void)grid.commitEdit();
        }
        (void)grid.subTotalThousandths();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 32 * 1024)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        releaseSites(bytes);
        fancierList(bytes);
        stakeSheets(bytes);
        calendar(bytes);
        raceGrid(bytes);
    } catch (const vt::Error&) {
        // A message for the user: allowed, as long as nothing crashed.
    }
    return 0;
}
