// What a fancier owes for a race, everywhere it is stored or printed: the entry sheet's
// S/total (what the save stores for the race), the amount the race set-up stores when the
// race's sheet is changed (here for an identical one, so that the counts stay on their
// lines), the S/total of the printed detail per fancier, and the SOUS TOTAL of the club's
// recap sheet. The cases are the rules that make a line's charge differ from what was typed
// or shown: each must give the same thousandths in all four places.
#include "common/record_file.h"
#include "common/session.h"
#include "entries/entry_save.h"
#include "entries/entry_sheet.h"
#include "entries/recap_prints.h"
#include "entries/recap_store.h"
#include "entry_test_support.h"
#include "platform/clock.h"
#include "platform/recording_surface.h"
#include "platform/scripted_dialogs.h"
#include "shell/race_setup.h"
#include "tests/support/club_fixture.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

using namespace vt;
using namespace vt::testing;

namespace {

constexpr int CalendarRace = 1; // ORLEANS of the small club's calendar, at GENERAL
constexpr int Race = 101;
constexpr int Fancier = 2; // MARTIN Paul of the small club

struct Typed {
    int row;
    const char* keys;
};

struct OwedCase {
    const char* name;
    std::vector<Line> stakeLines; // the bet lines; the fee lines below follow them
    std::vector<Typed> typed;     // rows: 1 ENGAGES, j + 1 bet line j
    int shownRow;                 // a row whose shown count is checked
    const char* shown;
    const char* sheetSubTotal; // the entry sheet's S/total cell
    const char* detailBets;    // the detail's "Total" column (bets only)
    const char* owed;          // what he owes: stored, printed in the detail and the recap
    float fee = 0.5f;          // the FRAIS price
    bool result = false;       // a "Résultat" line at 2,00 after the free entries
};

void PrintTo(const OwedCase& c, std::ostream* os) {
    *os << c.name;
}

// TOTAL du jeu, FRAIS, GRATUITS, [Résultat 2,00,] S/total, after the bet lines.
std::vector<Line> withFees(const OwedCase& c) {
    std::vector<Line> lines = c.stakeLines;
    lines.push_back({"TOTAL du jeu "});
    lines.push_back({"FRAIS    frai", c.fee});
    lines.push_back({"GRATUITS grat"});
    if (c.result)
        lines.push_back({"Résultat resu", 2.0f});
    lines.push_back({"S/total  s/to"});
    return lines;
}

// The text of a page line under the head line's column `head` (same characters).
QString underHead(const QStringList& page, const QString& head, const QString& rowStart) {
    const qsizetype at = page.value(1).indexOf(head);
    for (const QString& l : page)
        if (at >= 0 && l.startsWith(rowStart))
            return l.mid(at, head.size()).trimmed();
    return QStringLiteral("(absent)");
}

class OwedAmount : public ::testing::TestWithParam<OwedCase> {
protected:
    void SetUp() override {
        fx.writeSmallClub();
        s = &fx.configureSession();
        setClockForTests([] { return QDateTime(QDate(2005, 5, 10), QTime(9, 0)); });
    }
    void TearDown() override { setClockForTests({}); }

    // The race chosen at GENERAL with sheet `sheet` through the race set-up; `changing`
    // answers Yes to the question on a race with entries. The fees keep their prices.
    bool chooseRace(int sheet, bool changing) {
        const OwedCase& c = GetParam();
        ScriptedDialogsScope d;
        d->answerInput(QString::number(sheet));
        if (changing)
            d->answer(MsgAnswer::Yes);
        d->answerInput(QString::number(c.fee, 'f', 2));
        if (c.result)
            d->answerInput(QStringLiteral("2"));
        const CalendarRaceRecord r =
            writeRaceBase(fx.yearPath("gr1.cal"), fx.yearFolder(), CalendarRace, 0);
        const RaceSetupResult done =
            setupRace(*d, RaceSetupPaths::fromSession(*s), CalendarRace, 0, r);
        EXPECT_EQ(d->pendingAnswers(), 0);
        return done.added;
    }
    int32_t stored() const {
        return RecordFileOf<FancierRecord>(s->FancierFilePath).read(Fancier).raceAmount(Race);
    }

    ClubFixture fx;
    Session* s = nullptr;
};

} // namespace

TEST_P(OwedAmount, IsTheSameStoredAndPrinted) {
    const OwedCase& c = GetParam();
    const std::vector<Line> lines = withFees(c);
    fx.writeStakeSheet(0, QStringLiteral("COMPTES"),
                       {stakeLineSpec(QStringLiteral("TOTAL du jeu "))});
    for (int sheet : {1, 2}) {
        fx.writeStakeSheet(sheet, QStringLiteral("JEU %1").arg(sheet), {});
        RecordFileOf<StakeTypeRecord>(fx.path(QStringLiteral("gr%1.jeu").arg(sheet)))
            .rewrite(stakeLines(lines));
    }
    ASSERT_TRUE(chooseRace(1, false));
    ClubFixture::chooseRaces(*s, {Race});

    // The entry sheet: typed, then saved.
    RaceGrids grids;
    grids.load(fx.yearFolder(), s->ChosenRaceCodes, Fancier);
    for (const Typed& t : c.typed)
        typeKeys(grids.grid(1), t.row, t.keys);
    grids.commitAll();
    const RaceGrid& sheet = grids.grid(1);
    const int subTotalRow = static_cast<int>(lines.size()) + 1;
    EXPECT_EQ(sheet.cell(c.shownRow, RaceGrid::NombreColumn), QString::fromUtf8(c.shown));
    EXPECT_EQ(sheet.cell(subTotalRow, RaceGrid::NombreColumn), QString::fromUtf8(c.sheetSubTotal));
    const QStringList shownBefore = nombres(sheet);

    ScriptedDialogsScope dialogs;
    const EntrySheetOpening o = openEntrySheet(Fancier);
    const EntrySaveResult saved = saveEntrySheet({o.recordNo, o.clubNo, o.boxes, o.boxes.name}, grids, *dialogs);
    ASSERT_TRUE(saved.saved) << saved.plan.message.toStdString();
    const int32_t owed = sheet.subTotalThousandths().value();
    EXPECT_EQ(stored(), owed);
    EXPECT_EQ(QString::number(owed / 1000.0, 'f', 3).replace(u'.', u','),
              QString::fromUtf8(c.owed));

    // The race set up again with the other, identical sheet: the amounts are recomputed from
    // the stored counts, and give what the entry sheet stored.
    FancierRecord f = RecordFileOf<FancierRecord>(s->FancierFilePath).read(Fancier);
    f.setRaceAmount(Race, 1);
    RecordFileOf<FancierRecord>(s->FancierFilePath).write(Fancier, f);
    ASSERT_TRUE(chooseRace(2, true));
    EXPECT_EQ(stored(), owed);
    EXPECT_EQ(RecordFileOf<FancierRecord>(s->FancierFilePath).read(1).raceAmount(Race), 0);

    // The stored counts give the sheet back as it was saved.
    RaceGrids reopened;
    reopened.load(fx.yearFolder(), s->ChosenRaceCodes, Fancier);
    EXPECT_EQ(nombres(reopened.grid(1)), shownBefore);

    // The detail per fancier.
    RecordingSurface detail;
    printFancierDetail(*dialogs, detail, *s, {Fancier});
    ASSERT_EQ(detail.pages().size(), 1);
    const QStringList page = RecordingSurface::pageLines(detail.pages()[0]);
    const QString name = QStringLiteral("MARTIN Paul");
    EXPECT_EQ(underHead(page, QStringLiteral("   Total "), name), QString::fromUtf8(c.detailBets));
    EXPECT_EQ(underHead(page, QStringLiteral("  S/total"), name), QString::fromUtf8(c.owed));

    // The club's recap sheet from the stored recaps (this fancier is the only one).
    dialogs->answer(MsgAnswer::Yes);
    ASSERT_TRUE(storeRaceRecaps(*dialogs, *s));
    RecordingSurface recap;
    printClubRecaps(*dialogs, recap, *s);
    ASSERT_EQ(recap.pages().size(), 1);
    const QStringList sheetLines = RecordingSurface::pageLines(recap.pages()[0]);
    QString sousTotal = QStringLiteral("(absent)");
    for (const QString& l : sheetLines)
        if (l.trimmed().startsWith(QStringLiteral("SOUS TOTAL =")))
            sousTotal = l.section(u'=', 1).trimmed();
    EXPECT_EQ(sousTotal, QString::fromUtf8(c.owed));
}

// Rows: 1 ENGAGES, 2.. the bet lines, then TOTAL du jeu, FRAIS, GRATUITS, [Résultat,]
// S/total. Columns: name; bet lines; keys typed; a row and the count it shows; the sheet's
// S/total; the detail's "Total"; what he owes; the FRAIS price; a Résultat line.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Rules, OwedAmount,
    ::testing::Values(
        // The detail's "Total" is the bets alone (2 x 2,00); what he owes is its S/total,
        // with the fee of 4 x 0,50, as on the sheet.
        OwedCase{"BetsTotalIsNotTheSubTotal", {{"Mise     Mise", 1}, {"Série     2/3", 2}},
                 {{1, "4\r"}, {2, "0\r"}, {3, "2\r"}}, 3, "2", "6,00", "4,000", "6,000"},
        // Free entries come off at the FRAIS price: 4 + 4 x 0,50 - 2 x 0,50.
        OwedCase{"FreeEntriesAtTheFeePrice", {{"Mise     Mise", 1}},
                 {{1, "4\r"}, {2, "4\r"}, {5, "2\r"}}, 5, "2", "5,00", "4,000", "5,000"},
        // A count above the pigeons entered is cut to them (9 -> 4), BELGE included.
        OwedCase{"CapAtThePigeonsEntered", {{"Mise     Mise", 1}},
                 {{1, "4\r"}, {2, "9\r"}}, 2, "4", "6,00", "4,000", "6,000"},
        OwedCase{"BelgeCappedBeforeTheBetsTotal", {{"BELGE    Mise", 1}},
                 {{1, "4\r"}, {2, "8\r"}}, 2, "4", "6,00", "4,000", "6,000"},
        // The series cut: 7 on "2/3" leaves 6.
        OwedCase{"SeriesCut", {{"Série     2/3", 1}},
                 {{1, "7\r"}, {2, "7\r"}}, 2, "6", "9,50", "6,000", "9,500"},
        // "Sér. 2/3" takes at most (N + 1) \ 3: 1 with 4 pigeons.
        OwedCase{"SerTwoThreeCap", {{"Mise     Mise", 1}, {"Sér. 2/3 Obj.", 1}},
                 {{1, "4\r"}, {3, "2\r"}}, 3, "1", "3,00", "1,000", "3,000"},
        // "Mixt" priced 0 shows the sheet's count (3) and charges nothing.
        OwedCase{"MixtAtZeroShowsTheSheetCount", {{"Mise     Mise", 1}, {"Série    Mixt", 0, 3}},
                 {{1, "4\r"}, {2, "2\r"}}, 3, "3", "4,00", "2,000", "4,000"},
        // "Prem" priced 0 shows 1 and charges nothing; priced, it takes at most 1.
        OwedCase{"PremAtZeroShowsOne", {{"Mise     Mise", 1}, {"Premier  Prem", 0}},
                 {{1, "4\r"}, {2, "1\r"}}, 3, "1", "3,00", "1,000", "3,000"},
        OwedCase{"PremTakesOne", {{"Premier  Prem", 1.5f}},
                 {{1, "4\r"}, {2, "3\r"}}, 2, "1", "3,50", "1,500", "3,500"},
        // A ".1" line takes at most 1.
        OwedCase{"DotOneTakesOne", {{"Unique   Un.1", 0.5f}},
                 {{1, "4\r"}, {2, "3\r"}}, 2, "1", "2,50", "0,500", "2,500"},
        // "Ri.2" is shown and stored as 2 and charged once: 1,00 + 2,00, in the prints too.
        OwedCase{"RiTwoIsChargedOnce", {{"Richome  Ri.2", 1}},
                 {{1, "4\r"}, {2, "3\r"}}, 2, "2", "3,00", "1,000", "3,000"},
        // 3 on the dearer pool lifts the cheaper one above it to 3: 1,50 + 3,00 + 2,00.
        OwedCase{"PoolCascade", {{"Poule    0,50", 0.5f}, {"Poule    1,00", 1}},
                 {{1, "4\r"}, {3, "3\r"}}, 2, "3", "6,50", "4,500", "6,500"},
        // The reported sheet: Simple 0,50, Ri.2 1,00, FRAIS 1,00; 10 pigeons, 10 on Simple,
        // Ri.2, 2 free entries: 5 + 1 + 10 - 2.
        OwedCase{"TheReportedSheet", {{"Simple   simp", 0.5f}, {"Richome  Ri.2", 1}},
                 {{1, "10\r"}, {2, "10\r"}, {3, "2\r"}, {6, "2\r"}}, 3, "2", "14,00", "6,000",
                 "14,000", 1.0f},
        // A result fee taken once: 4 + 2,00 of fees + 2,00.
        OwedCase{"ResultFee", {{"Mise     Mise", 1}},
                 {{1, "4\r"}, {2, "4\r"}, {6, "1\r"}}, 6, "1", "8,00", "4,000", "8,000", 0.5f,
                 true}),
    [](const ::testing::TestParamInfo<OwedCase>& info) { return std::string(info.param.name); });
// clang-format on
