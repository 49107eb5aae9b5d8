// Race files damaged on disk, read by the recap prints: stake counts that are NaN,
// infinite, far beyond seven digits or negative are charged as the entry sheet charges
// them, so that the printed sub-total is what the fancier owes, and nothing is undefined.
#include "entries/race_grid.h"
#include "entries/recap_prints.h"

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
    RecordingSurface surface;
    printFancierDetail(*dialogs, surface, s, {1, 2, 3});
    ASSERT_EQ(surface.pages().size(), 1);
    const QStringList lines = RecordingSurface::pageLines(surface.pages()[0]);
    ASSERT_GE(lines.size(), 5);
    // NaN and negative counts charge nothing; fees 10 × 0,50 less 2 free entries.
    EXPECT_EQ(lines[2],
              QStringLiteral("DUPONT                   10   0  -3    0,000  10   2    4,000"));
    // Beyond seven digits, the grid's largest count; an infinite count is no number.
    EXPECT_TRUE(lines[3].startsWith(QStringLiteral("MARTIN"))) << lines[3].toStdString();
    EXPECT_TRUE(lines[3].endsWith(QStringLiteral("09999999,000"))) << lines[3].toStdString();
    EXPECT_TRUE(lines[4].endsWith(QStringLiteral("4,000"))) << lines[4].toStdString();

    // What the entry sheet says the first one owes for the race.
    EXPECT_EQ(loadRaceGrid(club.yearFolder(), 101, 1).subTotalThousandths(),
              std::optional<int32_t>(4000));
}

} // namespace
