// The grids of every chosen race on one entry sheet: tabs, "+", and the amounts saved.
#include "common/record_file.h"
#include "common/session.h"
#include "entries/race_grids.h"
#include "grid_test_support.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

using namespace vt;
using namespace vt::testing;

namespace {

void writeRace(const QString& folder, int code, const char* site, const std::vector<Line>& lines,
               int fancierNo, std::initializer_list<float> block) {
    const QDir dir(folder);
    RaceBaseRecord base;
    base.setSiteName(QString::fromUtf8(site));
    base.setCategoryDigit(QStringLiteral("0"));
    base.setLevelIndex(0);
    RecordFileOf<RaceBaseRecord>(dir.filePath(raceFileName(QStringLiteral("bases"), code))).write(1, base);
    RecordFileOf<StakeTypeRecord>(dir.filePath(raceFileName(QStringLiteral("basejeu"), code)))
        .rewrite(stakeLines(lines));
    RecordFileOf<StakeAmountBlock>(dir.filePath(raceFileName(QStringLiteral("mise"), code)))
        .write(fancierNo, stakeBlock(block));
}

const std::vector<Line> Sheet = {{"Série     2/3", 1.0f}, {"TOTAL du jeu "}, {"S/total  s/to"}};

} // namespace

TEST(RaceGrids, TabsNextRaceAndSavedAmounts) {
    QTemporaryDir dir;
    writeRace(dir.path(), 105, "Brive", Sheet, 3, {10, 4});
    writeRace(dir.path(), 412, "Tours", Sheet, 3, {6, 2});
    std::array<int16_t, 12> codes{};
    codes[1] = 105;
    codes[2] = 412;
    codes[4] = 301; // after an empty slot: not a chosen race
    RaceGrids sheet;
    sheet.load(dir.path(), codes, 3);
    ASSERT_EQ(sheet.count(), 2);
    EXPECT_EQ(sheet.grid(2).tabLabel(), QStringLiteral("TOURS VIEUX GENERAL = 2,00"));

    // A series count typed on race 1, then "+": committed (7 becomes 6), race 2 opens.
    sheet.key(2, GridKey::Clear);
    sheet.key(2, GridKey::Digit, u'7');
    EXPECT_EQ(sheet.key(2, GridKey::NextRace).result, GridKeyOutcome::OpenNextRace);
    EXPECT_EQ(sheet.currentTab(), 2);
    EXPECT_EQ(sheet.grid(1).cell(2, 2), QStringLiteral("6"));
    sheet.key(2, GridKey::NextRace);
    EXPECT_EQ(sheet.currentTab(), 1);

    // Selecting another tab commits the open edit.
    sheet.key(2, GridKey::Digit, u'4'); // "64" capped at 10, shown as typed until Enter
    sheet.selectTab(2);
    EXPECT_EQ(sheet.grid(1).cell(2, 2), QStringLiteral("9"));
    EXPECT_EQ(sheet.raceSubTotal(1), 900.0);

    QString error;
    const auto amounts = sheet.raceAmounts(&error);
    ASSERT_TRUE(amounts.has_value());
    EXPECT_EQ(*amounts, (QList<std::pair<int, int32_t>>{{105, 9000}, {412, 2000}}));
}

TEST(RaceGrids, SubTotalTooLargeIsReportedWithTheRace) {
    QTemporaryDir dir;
    writeRace(dir.path(), 105, "Brive", {{"Mise     Mise", 1000000.0f}, {"TOTAL du jeu "},
                                         {"S/total  s/to"}}, 1, {500, 500});
    std::array<int16_t, 12> codes{};
    codes[1] = 105;
    RaceGrids sheet;
    sheet.load(dir.path(), codes, 1);
    QString error;
    EXPECT_FALSE(sheet.raceAmounts(&error).has_value());
    EXPECT_TRUE(error.contains(QStringLiteral("BRIVE VIEUX GENERAL"))) << error.toStdString();
}
