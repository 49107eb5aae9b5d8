// Damaged files read by the entries side of a basketing: the recap list and its repairs,
// the entry sheet's opening, save and distance line, the recap storage, the recap grid,
// the three recap prints and the stake-sheet editor. The season's fanciers file, its
// master, the sheets and every race file may be truncated, over-long, full of NUL or 0xFF,
// or hold NaN and infinite numbers. Each reader gives its result or a message; the recap
// list's repairs write only valid records and a second pass writes nothing; the prints and
// the grid create and change no file.
#include "fuzz_support.h"

#include "common/damage.h"
#include "common/record_file.h"
#include "common/records.h"
#include "common/session.h"
#include "common/text.h"
#include "entries/entry_save.h"
#include "entries/entry_sheet.h"
#include "entries/race_grids.h"
#include "entries/recap_grid.h"
#include "entries/recap_prints.h"
#include "entries/recap_store.h"
#include "entries/stake_sheet_editor.h"
#include "platform/recording_surface.h"

#include <cmath>

namespace {

using fuzz::get;
using fuzz::put;

// Input parts: 0 parameters, 1 answers, 2 season noms.vba, 3 master noms.vba, 4 bases,
// 5 basejeu (also the stake sheet gr1.jeu), 6 mise, 7 recap, 8 fichenl.jeu, 9 cptenl.jeu.
struct Setup {
    vt::Session& s = vt::session();
    QList<int> codes;
};

Setup prepare(const fuzz::Parts& in) {
    fuzz::clearFolder();
    Setup u;
    vt::Session& s = u.s;
    s.StartDir = fuzz::folder().path();
    s.DataFolder = fuzz::pathOf(QStringLiteral("region1"));
    s.YearFolder = fuzz::pathOf(QStringLiteral("region1/2026"));
    s.SeasonYear = 2026;
    s.FancierFilePath = s.YearFolder + QStringLiteral("/noms.vba");
    s.MasterFancierPath = s.DataFolder + QStringLiteral("/noms.vba");
    s.ClubCount = 1 + in.param(1) % 3;
    s.ClubNames = {QString(), QStringLiteral("ENTENTE"), QStringLiteral("AMICALE")};
    s.ClubCodes = {QString(), QStringLiteral("12"), QStringLiteral("13")};
    s.clearChosenRaces();
    // Up to three chosen races, one of them possibly a code no race file has.
    const int chosen = in.param(2) % 4;
    for (int i = 1; i <= chosen; ++i) {
        const int code = i == 3 ? in.param(3) % 700 : 100 * i + 1 + in.param(3) % 3;
        s.ChosenRaceCodes[i] = static_cast<int16_t>(code);
        s.ChosenRaceStakeFiles[i] =
            QStringLiteral("gr%1jeu.").arg(i) + vt::raceExtension(code).mid(1);
        u.codes << code;
    }
    QDir().mkpath(s.YearFolder);
    put(s.FancierFilePath, in.part(2));
    put(s.MasterFancierPath, in.part(3));
    for (int code : u.codes) {
        if (code < 100 || code > vt::MaxRaceCode)
            continue;
        const auto file = [&](const char* base) {
            return QDir(s.YearFolder).filePath(vt::raceFileName(QString::fromLatin1(base), code));
        };
        put(file("bases"), in.part(4));
        put(file("basejeu"), in.part(5));
        put(file("mise"), in.part(6));
        if (!in.part(7).isEmpty())
            put(file("recap"), in.part(7));
    }
    return u;
}

// A record the recap list wrote is valid for its fields: flag 0 or 1, club "1", or a clean
// free slot (blank name, club "0").
void checkMended(const vt::FancierRecord& r) {
    FUZZ_CHECK(r.statusFlag() == 0 || r.statusFlag() == 1);
    const QString club = vt::trim(r.clubNumber());
    FUZZ_CHECK(club == QLatin1String("1") ||
               (club == QLatin1String("0") && vt::isBlank(r.fancierName())));
}

QStringList recapList(const Setup& u) {
    const QByteArray before = get(u.s.FancierFilePath);
    const vt::RecapListLoad first = vt::loadRecapList();
    const QByteArray after = get(u.s.FancierFilePath);
    FUZZ_CHECK(after.size() == before.size());
    FUZZ_CHECK(first.lines.size() == first.records.size());
    if (first.error.isEmpty()) {
        const vt::RecordFileOf<vt::FancierRecord> file(u.s.FancierFilePath);
        for (int r : first.written)
            checkMended(file.read(r));
        for (int i = 0; i < first.lines.size(); ++i) {
            FUZZ_CHECK(vt::recordNoOfRecapLine(first.lines[i]) == first.records[i]);
            FUZZ_CHECK(vt::recapLineRecord(first.lines[i]) == first.records[i]);
        }
        const vt::RecapListLoad second = vt::loadRecapList();
        FUZZ_CHECK(second.written.isEmpty() && second.lines == first.lines);
        FUZZ_CHECK(get(u.s.FancierFilePath) == after);
    }
    return first.lines;
}

// The sheet saved as it opened, after a few digits typed in each race grid: a plan that
// is ready writes a record that reads back as planned, and stake blocks whose counts on
// the race's lines are whole numbers from 0.
void saveSheet(const Setup& u, const vt::EntrySheetOpening& o, const fuzz::Parts& in) {
    vt::RaceGrids grids;
    // The sheet's grids are read as the entry sheet reads them: a damaged price or count is
    // noted (the window shows it) and read as 0, so no grid shows or saves it.
    vt::DamageScope damage;
    try {
        grids.load(u.s.YearFolder, u.s.ChosenRaceCodes, o.recordNo);
    } catch (const vt::Error&) {
        return;
    }
    for (int tab = 1; tab <= grids.count(); ++tab)
        for (int r = 1; r < grids.grid(tab).rowCount(); ++r) {
            const vt::GridRow& row = grids.grid(tab).row(r);
            FUZZ_CHECK(row.count >= 0 && row.count <= vt::MaxGridCount);
        }
    for (int tab = 1; tab <= grids.count(); ++tab) {
        vt::RaceGrid& grid = grids.grid(tab);
        for (int r = 1; r < grid.rowCount() && r < 6; ++r)
            if (grid.isEditable(r))
                (void)grid.key(r, vt::GridKey::Digit, QChar(u'0' + in.param(5 + r) % 10));
    }
    grids.commitAll();
    const vt::EntrySaveInput input{o.recordNo, o.clubNo, o.boxes, o.boxes.name};
    const vt::EntrySavePlan plan = vt::planEntrySave(input, grids);
    if (plan.status != vt::EntrySavePlan::Ready || !plan.deletionQuestion.isEmpty())
        return;
    // Nothing the sheet stores is an amount the next reading would take for damage.
    if (in.part(4).size() >= vt::RaceBaseRecord::Size)
        for (int tab = 1; tab <= grids.count(); ++tab) {
            const int code = u.s.ChosenRaceCodes[tab];
            if (code >= 100 && code <= vt::FancierRecord::MaxRaceCode) {
                const int32_t a = plan.finalRecord.raceAmount(code);
                FUZZ_CHECK(a >= 0 && a <= vt::MaxAmountOwedThousandths);
            }
        }
    if (!vt::applyEntrySave(plan).isEmpty())
        return;
    const vt::RecordFileOf<vt::FancierRecord> season(u.s.FancierFilePath);
    FUZZ_CHECK(season.read(o.recordNo) == plan.finalRecord);
    FUZZ_CHECK(vt::trim(plan.finalRecord.fancierName()) == vt::trim(o.boxes.name));
    for (const vt::StakeBlockWrite& w : plan.blocks) {
        const vt::StakeAmountBlock block =
            vt::RecordFileOf<vt::StakeAmountBlock>(w.path).read(o.recordNo);
        FUZZ_CHECK(block == w.block);
    }
}

void entrySheet(const Setup& u, const fuzz::Parts& in) {
    const int requested = in.param(4) % 8 - 1; // -1 and 0 claim a new record
    const vt::EntrySheetOpening o = vt::openEntrySheet(requested);
    if (!o.error.isEmpty())
        return;
    FUZZ_CHECK(o.recordNo >= 1);
    FUZZ_CHECK(o.clubNo >= 1 && o.clubNo <= u.s.ClubCount);
    FUZZ_CHECK(vt::isCp1252(o.boxes.name) && vt::isCp1252(o.boxes.latitude));
    // Opened again, the same record is read as it was left: nothing more is written.
    const QByteArray settled = get(u.s.FancierFilePath);
    const vt::EntrySheetOpening again = vt::openEntrySheet(o.recordNo);
    FUZZ_CHECK(again.error.isEmpty() && again.clubNo == o.clubNo);
    FUZZ_CHECK(get(u.s.FancierFilePath) == settled);
    saveSheet(u, o, in);
    for (int code : u.codes) {
        const std::optional<vt::PackedPoint> site = vt::raceSite(code);
        const QString line =
            vt::loftDistanceLine(o.boxes.latitude, o.boxes.east, o.boxes.west, site);
        FUZZ_CHECK(line.isEmpty() || line.startsWith(QLatin1String(" Distance = ")));
    }
}

void recapStore(const Setup& u) {
    const int fanciers = vt::RecordFile(u.s.FancierFilePath, vt::FancierRecord::Size).count();
    for (int slot = 1; slot <= vt::MaxChosenRaces && u.s.ChosenRaceCodes[slot] != 0; ++slot) {
        vt::RaceRecapFiles files;
        try {
            files = vt::computeRaceRecap(u.s.YearFolder, u.s.ChosenRaceCodes[slot],
                                         u.s.ChosenRaceStakeFiles[slot], fanciers);
        } catch (const vt::Error&) {
            continue; // a total that does not fit: a message, nothing written
        }
        FUZZ_CHECK(files.stakeCopies.size() == fanciers);
        FUZZ_CHECK(files.recap.fancierCount() >= 0 && files.recap.fancierCount() <= fanciers);
        for (const vt::StakeAmountBlock& copy : files.stakeCopies)
            for (int k = 0; k <= vt::StakeAmountBlock::MaxLine; ++k) {
                const float v = copy.stakeCount(k);
                FUZZ_CHECK(v == 0 || (v >= 1 && v <= 500));
            }
        vt::writeRaceRecap(files);
        FUZZ_CHECK(get(files.recapPath).size() == vt::RaceRecapRecord::Size);
        FUZZ_CHECK(get(files.stakeCopyPath).size() ==
                   qsizetype(fanciers) * vt::StakeAmountBlock::Size);
    }
}

void recapViews(const Setup& u, const QStringList& lines, const fuzz::Parts& in) {
    const fuzz::Snapshot before = fuzz::snapshotBefore(fuzz::folder().path());
    const QList<int> listed = vt::listedFanciers(lines);
    QList<int> records;
    for (const QString& line : lines)
        if (const auto n = vt::recapLineRecord(line))
            records << *n;
    for (int code : u.codes) {
        try {
            const vt::RecapGridView view = vt::buildRecapGrid(u.s, code, records);
            for (const QStringList& row : view.rows)
                FUZZ_CHECK(row.size() == view.headers.size());
        } catch (const vt::Error&) {
        }
    }
    {
        fuzz::AnswerDialogs dialogs(in.part(1));
        vt::RecordingSurface surface;
        const QString where = vt::printClubRecaps(dialogs, surface, u.s).message;
        // A negative count of a stored recap reaches its sheet only with its message. (The
        // prints read the chosen races up to the first empty slot: a code 0 is no race.)
        for (int code : u.s.chosenRaces()) {
            const vt::RecordFileOf<vt::RaceRecapRecord> recap(
                vt::resolveFile(u.s.YearFolder, vt::raceFileName(QStringLiteral("recap"), code)));
            if (where.isEmpty() || recap.count() < 1)
                continue;
            const vt::RaceRecapRecord r = recap.read(1);
            bool negative = r.fancierCount() < 0;
            for (int j = 0; j <= 100; ++j)
                negative = negative || r.total(j) < 0;
            if (negative)
                FUZZ_CHECK(dialogs.named(recap.path(), 1));
        }
    }
    {
        fuzz::AnswerDialogs dialogs(in.part(1));
        vt::RecordingSurface surface;
        (void)vt::printRaceTotals(dialogs, surface, u.s, listed);
        // An amount owed that no entry sheet saves reaches the totals only with its message.
        const vt::RecordFileOf<vt::FancierRecord> names(u.s.FancierFilePath);
        for (int f : listed)
            for (int code : u.s.chosenRaces()) {
                if (code < 0 || code > vt::FancierRecord::MaxRaceCode || f > names.count())
                    continue;
                const int32_t a = names.read(f).raceAmount(code);
                if (a < 0 || a > vt::MaxAmountOwedThousandths)
                    FUZZ_CHECK(dialogs.named(names.path(), f));
            }
    }
    {
        fuzz::AnswerDialogs dialogs(in.part(1));
        vt::RecordingSurface surface;
        (void)vt::printFancierDetail(dialogs, surface, u.s, listed);
    }
    FUZZ_CHECK(fuzz::snapshot(fuzz::folder().path()) == before);
}

// The stake-sheet editor over damaged sheet names and sheets: every slot opens, and a
// sheet saved as it opened is written whole, then read the same.
void stakeSheetEditor(const Setup& u, const fuzz::Parts& in) {
    put(u.s.DataFolder + QStringLiteral("/fichenl.jeu"), in.part(8));
    put(u.s.DataFolder + QStringLiteral("/gr1.jeu"), in.part(5));
    put(u.s.DataFolder + QStringLiteral("/cptenl.jeu"), in.part(9));
    fuzz::AnswerDialogs dialogs(in.part(1));
    vt::StakeSheetEditor editor(u.s.DataFolder, u.s.DataFolder + QStringLiteral("/fichenl.jeu"),
                                dialogs);
    editor.load();
    const int count = static_cast<int>(editor.names().size());
    for (int k = 0; k < count && k < 4; ++k) {
        editor.selectSlot(k);
        (void)editor.caption();
    }
    if (count > 1) {
        editor.selectSlot(1);
        if (editor.save()) {
            const QByteArray sheet = get(u.s.DataFolder + QStringLiteral("/gr1.jeu"));
            FUZZ_CHECK(sheet.size() % vt::StakeTypeRecord::Size == 0);
            editor.selectSlot(1);
            FUZZ_CHECK(editor.save() && get(u.s.DataFolder + QStringLiteral("/gr1.jeu")) == sheet);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 64 * 1024)
        return 0;
    const fuzz::Parts in(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    const Setup u = prepare(in);
    const QStringList lines = recapList(u);
    recapViews(u, lines, in);
    entrySheet(u, in);
    recapStore(u);
    stakeSheetEditor(u, in);
    return 0;
}
