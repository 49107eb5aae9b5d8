// Race files damaged on disk, read by the recap prints and the race set-up: stake counts
// that are NaN, infinite, far beyond seven digits or negative are charged as the entry
// sheet charges them, so that what is printed and stored is what the fancier owes, and
// nothing is undefined.
#include "entries/race_grid.h"
#include "entries/recap_prints.h"
#include "shell/race_setup.h"

#include "common/record_file.h"

#include "platform/recording_surface.h"
#include "platform/scripted_dialogs.h"
#include "tests/support/club_fixture.h"

#include <gtest/gtest.h>

#include <limits>

using namespace vt;
using vt::testing::ClubFixture;
using vt::testing::RaceFilesSpec;

namespace {

constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
constexpr float Inf = std::numeric_limits<float>::infinity();

TEST(DamagedRaceFiles, DetailChargesDamagedCountsAsTheEntrySheetDoes) {
    ClubFixture club;
    club.writeClub(QStringLiteral("LA COLOMBE"), QStringLiteral("123"));
    for (const char* name : {"DUPONT", "MARTIN", "BERNARD"})
        club.addFancier(vt::testing::namedFancier(QString::fromLatin1(name)));
    Session& s = club.configureSession();
    RaceFilesSpec r;
    r.raceCode = 101;
    r.site = QStringLiteral("PERONNE");
    r.date = QStringLiteral("21 juin 2026");
    for (const char* text : {"Mise     Mise", "Série     2/3", "TOTAL du jeu ", "FRAIS    frai",
                             "GRATUITS grat", "S/total  s/to"})
        r.lines << vt::testing::stakeLineSpec(QString::fromUtf8(text));
    r.lines[0].unitValue = 1;
    r.lines[1].unitValue = 2;
    r.lines[3].unitValue = 0.5f;
    // Pigeons, then one count per line.
    r.blocks = {{10, NaN, -3, 0, 10, 2, 0}, {5, 1e30f, Inf, 0, 0, 0, 0}, {4, -Inf, 2, 0, 0, 0, 0}};
    club.writeRaceFiles(r);
    ClubFixture::chooseRaces(s, {101});

    ScriptedDialogsScope dialogs;
    dialogs->answer(MsgAnswer::Ok); // the damaged counts are named before the print
    RecordingSurface surface;
    printFancierDetail(*dialogs, surface, s, {1, 2, 3});
    ASSERT_EQ(dialogs->messages().size(), 1);
    EXPECT_TRUE(dialogs->messages()[0].text.contains(QStringLiteral("mise.101 est endommagé")));
    ASSERT_EQ(surface.pages().size(), 1);
    const QStringList lines = RecordingSurface::pageLines(surface.pages()[0]);
    ASSERT_GE(lines.size(), 5);
    // The counts as the entry sheet shows them: NaN and negative counts are 0, FRAIS the
    // pigeons entered; fees 10 × 0,50 less 2 free entries.
    EXPECT_EQ(lines[2],
              QStringLiteral("DUPONT                   10   0   0    0,000  10   2    4,000"));
    // A count of 1E30 and an infinite one are no count the sheet can have typed: both 0.
    EXPECT_EQ(lines[3],
              QStringLiteral("MARTIN                    5   0   0    0,000   5   0    2,500"));
    EXPECT_EQ(lines[4],
              QStringLiteral("BERNARD                   4   0   2    4,000   4   0    6,000"));

    // What the entry sheet says each one owes for the race.
    for (auto [f, owed] : {std::pair{1, 4000}, {2, 2500}, {3, 6000}})
        EXPECT_EQ(loadRaceGrid(club.yearFolder(), 101, f).subTotalThousandths(),
                  std::optional<int32_t>(owed));
}

TEST(DamagedRaceFiles, ChangingTheSheetChargesDamagedCountsAsTheEntrySheetDoes) {
    ClubFixture club;
    for (const char* name : {"DUPONT", "MARTIN", "BERNARD"})
        club.addFancier(vt::testing::namedFancier(QString::fromLatin1(name)));
    club.writeCalendar(
        {{QStringLiteral("ORLEANS"), QStringLiteral("12/05/05"), 0, 475400, 15400, 0}});
    club.writeStakeSheet(0, QStringLiteral("COMPTES"),
                         {{QStringLiteral("TOTAL du"), QStringLiteral("jeu"), 0}});
    const QList<vt::testing::StakeLineSpec> lines = {
        {QStringLiteral("Simple"), QStringLiteral("simp"), 0.5f},
        {QStringLiteral("Double"), QStringLiteral("doub"), 1.0f},
        {QStringLiteral("TOTAL du"), QStringLiteral("jeu"), 0},
        {QStringLiteral("S/TOTAL"), QStringLiteral("s/to"), 0}};
    club.writeStakeSheet(1, QStringLiteral("JEU A"), lines);
    club.writeStakeSheet(2, QStringLiteral("JEU B"), lines);
    const RaceSetupPaths paths{club.yearFolder(), club.dataFolder(), club.yearPath("noms.vba"),
                               club.path("fichenl.jeu")};
    const auto choose = [&](const QString& sheet) {
        ScriptedDialogsScope d;
        d->answerInput(sheet).answer(MsgAnswer::Yes);
        if (sheet == QStringLiteral("2"))
            d->answer(MsgAnswer::Ok); // the damaged counts, named before any amount is stored
        const CalendarRaceRecord r =
            writeRaceBase(club.yearPath("gr1.cal"), club.yearFolder(), 1, 0);
        return setupRace(*d, paths, 1, 0, r);
    };
    ASSERT_TRUE(choose(QStringLiteral("1")).added);

    // Counts damaged on disk: NaN, negative, infinite; each next to a sound one.
    const QList<QList<float>> blocks = {{4, NaN, 2}, {3, -2, 1}, {2, Inf, 3}};
    RecordFileOf<StakeAmountBlock> mise(club.yearPath("mise.101"));
    for (int f = 1; f <= 3; ++f) {
        StakeAmountBlock b;
        for (int k = 0; k < blocks[f - 1].size(); ++k)
            b.setStakeCount(k, blocks[f - 1][k]);
        mise.write(f, b);
    }
    ASSERT_TRUE(choose(QStringLiteral("2")).added);
    const RecordFileOf<FancierRecord> season(club.yearPath("noms.vba"));
    EXPECT_EQ(season.read(1).raceAmount(101), 2000); // 2 doubles at 1,00
    EXPECT_EQ(season.read(2).raceAmount(101), 1000);
    EXPECT_EQ(season.read(3).raceAmount(101), 2000); // 3 doubles capped by 2 pigeons
}

} // namespace
