// The race grid as the entry sheet uses it: the worked examples of the betting rules,
// typed key by key, with the totals, the tab label and what the save stores.
#include "common/record_file.h"
#include "entries/race_grid.h"
#include "grid_test_support.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vt;
using namespace vt::testing;

namespace {

const std::vector<Line> Accounts = {
    {"TOTAL du jeu "}, {"FRAIS    frai", 0.50f}, {"GRATUITS grat"}, {"S/total  s/to"},
    {"Bagues   bagu", 0.20f}, {"    % à  dedu", 10.0f}, {"Total    s/td"}, {"TOTAL    t/ge"}};

std::vector<Line> with(std::vector<Line> lines, const std::vector<Line>& more) {
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
}

const std::vector<Line> Series = {{"Mise     Mise", 1.0f}, {"Série     2/3", 0.5f},
                                  {"Série     4/6", 1.0f}, {"Série     3/5", 2.0f},
                                  {"Série     2/2", 0.25f}, {"TOTAL du jeu "},
                                  {"S/total  s/to"}};

const std::vector<Line> Pools = {{"Poule    0,50", 0.5f}, {"Poule    1,00", 1.0f},
                                 {"Poule    2,00", 2.0f}, {"Mise     Mise", 1.0f},
                                 {"TOTAL du jeu "}, {"S/total  s/to"}};

} // namespace

TEST(RaceGridExamples, FeesGratuitsRingsAndDeduction) {
    RaceGrid g = makeGrid(with({{"Mise     Mise", 1.0f}, {"Série     2/3", 2.0f}}, Accounts), {},
                          "BRIVE VIEUX GENERAL");
    typeKeys(g, 1, "10\r");
    typeKeys(g, 2, "10\r");
    typeKeys(g, 3, "6\r");
    GridKeyOutcome last = typeKeys(g, 6, "2\r");

    EXPECT_EQ(nombres(g), texts({"10", "10", "6", "22,00", "10", "2", "26,00", "   2,00", "2,20",
                                 "4,20", "21,80"}));
    EXPECT_EQ(g.cell(6, RaceGrid::ValeurColumn), QStringLiteral("0,50"));
    EXPECT_EQ(g.tabLabel(), QStringLiteral("BRIVE VIEUX GENERAL = 26,00"));
    EXPECT_EQ(g.subTotalThousandths(), 26000);
    EXPECT_EQ(g.totals().subTotal->cents(), 2600.0);
    EXPECT_EQ(g.totals().grandTotal->text(), QStringLiteral("21,80"));
    EXPECT_EQ(last.currentRow, 7);

    // The stored block keeps the totals' texts read as the files always held them.
    const StakeAmountBlock block = g.stakeBlock(StakeAmountBlock());
    const float expected[] = {10, 10, 6, 22, 10, 2, 26, 2, 2, 4, 21};
    for (int k = 0; k < 11; ++k)
        EXPECT_EQ(block.stakeCount(k), expected[k]) << k;
}

TEST(RaceGridExamples, CapsAndSeriesCutsThenEngagesLoweredKeyByKey) {
    RaceGrid g = makeGrid(Series);
    typeKeys(g, 1, "10\r");
    const char* typed[] = {"12\r", "7\r", "9\r", "7\r", "5\r"};
    for (int r = 2; r <= 6; ++r)
        typeKeys(g, r, typed[r - 2]);
    EXPECT_EQ(nombres(g), texts({"10", "10", "6", "6", "5", "4", "30,00", "30,00"}));
    EXPECT_EQ(g.subTotalThousandths(), 30000);

    RaceGrid once = g;
    typeKeys(once, 1, "E4\r");

    // 10 -> 4 as Backspace, Backspace, 4, Enter: on the way the count is 1, then empty,
    // which must not zero the stakes for good.
    typeKeys(g, 1, "B");
    EXPECT_EQ(g.cell(2, RaceGrid::NombreColumn), QStringLiteral("1"));
    typeKeys(g, 1, "B4\r");
    EXPECT_EQ(nombres(g), texts({"4", "4", "4", "4", "4", "4", "19,00", "19,00"}));
    EXPECT_EQ(g.subTotalThousandths(), 19000);
    EXPECT_EQ(nombres(g), nombres(once));

    // Stakes already below the new count keep their value.
    RaceGrid low = makeGrid(Series, {10, 3, 8});
    typeKeys(low, 1, "BB4\r");
    EXPECT_EQ(low.cell(2, 2), QStringLiteral("3"));
    EXPECT_EQ(low.cell(3, 2), QStringLiteral("4"));
}

TEST(RaceGridExamples, PoolCascade) {
    RaceGrid g = makeGrid(Pools, {6, 1, 0, 6, 0});
    EXPECT_EQ(g.totals().stakes->text(), QStringLiteral("12,50"));

    GridKeyOutcome o = typeKeys(g, 3, "3\r"); // the 1,00 pool
    EXPECT_EQ(nombres(g).mid(1, 3), texts({"3", "3", "3"}));
    EXPECT_EQ(g.totals().stakes->text(), QStringLiteral("10,50"));
    EXPECT_EQ(o.currentRow, 4);
    const RaceGrid afterThree = g;

    o = typeKeys(g, 2, "E"); // Esc alone: the cursor stays
    EXPECT_EQ(o.currentRow, 2);
    o = typeKeys(g, 2, "\r");
    EXPECT_EQ(nombres(g).mid(1, 3), texts({"0", "0", "0"}));
    EXPECT_EQ(g.totals().subTotal->text(), QStringLiteral("0,00"));
    EXPECT_EQ(o.currentRow, 5); // after the 2,00 pool

    // Esc then 2 on the cheapest pool: the dearer pools were not cleared by the Esc.
    g = afterThree;
    o = typeKeys(g, 2, "E2\r");
    EXPECT_EQ(nombres(g).mid(1, 3), texts({"2", "2", "2"}));
    EXPECT_EQ(g.subTotalThousandths(), 7000);
    EXPECT_EQ(o.currentRow, 3);
}

TEST(RaceGridExamples, LineKindsWithFivePigeons) {
    RaceGrid g = makeGrid({{"BELGE    Mise", 1.0f},
                           {"Unique   Un.1", 0.5f},
                           {"Richome  Ri.2", 1.0f},
                           {"Série    Mixt", 0.0f, 4},
                           {"Premier  Prem", 0.0f},
                           {"Sér. 2/3 Obj.", 1.0f},
                           {"TOTAL du jeu "},
                           {"FRAIS    frai", 0.30f},
                           {"S/total  s/to"}});
    typeKeys(g, 1, "5\r");
    typeKeys(g, 2, "8"); // BELGE keeps the 8 as typed; the totals cap it at once
    EXPECT_EQ(g.cell(2, 2), QStringLiteral("5"));
    typeKeys(g, 2, "\r");
    typeKeys(g, 3, "3\r");
    typeKeys(g, 4, "4\r");
    typeKeys(g, 7, "5\r");
    EXPECT_EQ(nombres(g), texts({"5", "5", "1", "2", "4", "1", "2", "8,50", "5", "10,00"}));
    EXPECT_EQ(g.subTotalThousandths(), 10000);
}

TEST(RaceGridExamples, FractionsOfACent) {
    RaceGrid g = makeGrid({{"Mise     Mise", 1.0f},
                           {"Spécial  Sp12", 0.125f},
                           {"TOTAL du jeu "},
                           {"FRAIS    frai", 0.20f},
                           {"S/total  s/to"},
                           {"Bagues   bagu", 0.125f},
                           {"    % à  dedu", 5.0f},
                           {"Total    s/td"},
                           {"TOTAL    t/ge"}});
    typeKeys(g, 1, "3\r");
    typeKeys(g, 2, "3\r");
    typeKeys(g, 3, "3\r");
    EXPECT_EQ(nombres(g), texts({"3", "3", "3", "3,375", "3", "3,975", "   0,38", "0,169", "0,544",
                                 "3,431"}));
    EXPECT_EQ(g.cell(3, 1), QStringLiteral("0,125"));
    EXPECT_EQ(g.subTotalThousandths(), 3975);
    EXPECT_EQ(g.tabLabel(), QStringLiteral("X = 3,975"));
}

TEST(RaceGridExamples, BuiltFromStoredBlock) {
    const std::vector<Line> sheet = {{"Mise     Mise", 1.0f}, {"Série     2/3", 1.0f},
                                     {"Série    Mixt", 0.0f}, {"Premier  Prem", 0.0f},
                                     {"TOTAL du jeu "},       {"S/total  s/to"},
                                     {"téléph.  tele", 1.0f}, {"Total    s/td"},
                                     {"TOTAL    t/ge"}};
    // Too many on Mise, a negative count, and a telephone amount above the pigeons.
    RaceGrid g = makeGrid(sheet, {4, 6, -2, 0, 0, 4, 4, 12, 12, 0});
    EXPECT_EQ(nombres(g), texts({"4", "4", "0", "4", "1", "4,00", "4,00", "12", "12,00", "-8,00"}));
    EXPECT_EQ(g.subTotalThousandths(), 4000);
    EXPECT_EQ(g.tabLabel(), QStringLiteral("X = 4,00"));
    EXPECT_FALSE(g.isEditing());

    RaceGrid none = makeGrid(sheet);
    EXPECT_EQ(nombres(none), texts({"0", "0", "0", "0", "1", "0,00", "0,00", "0", "0,00", "0,00"}));

    // A negative pigeons-entered value reads as 0.
    EXPECT_EQ(makeGrid(sheet, {-3, 2}).cell(1, 2), QStringLiteral("0"));
}

TEST(RaceGridExamples, GratuitsAboveFraisAndNoSubTotal) {
    RaceGrid g = makeGrid({{"Mise     Mise", 1.0f},
                           {"TOTAL du jeu "},
                           {"GRATUITS grat"},
                           {"FRAIS    frai", 0.5f}});
    typeKeys(g, 1, "4\r");
    typeKeys(g, 2, "4\r");
    typeKeys(g, 4, "1\r");
    EXPECT_EQ(g.cell(4, 1), QString());
    EXPECT_EQ(g.cell(5, 2), QStringLiteral("4"));
    EXPECT_FALSE(g.totals().subTotal.has_value());
    EXPECT_EQ(g.tabLabel(), QStringLiteral("X"));
    EXPECT_EQ(g.subTotalThousandths(), 0);
}

TEST(RaceGridExamples, EachGridCapsByItsOwnPigeons) {
    const std::vector<Line> sheet = {{"Mise     Mise", 1.0f}, {"TOTAL du jeu "}, {"S/total  s/to"}};
    RaceGrid a = makeGrid(sheet, {10}, "A");
    RaceGrid b = makeGrid(sheet, {3, 3}, "B");
    typeKeys(a, 2, "8\r");
    EXPECT_EQ(a.cell(2, 2), QStringLiteral("8"));
    EXPECT_EQ(a.tabLabel(), QStringLiteral("A = 8,00"));
    EXPECT_EQ(a.subTotalThousandths(), 8000);
    EXPECT_EQ(b.tabLabel(), QStringLiteral("B = 3,00"));
    EXPECT_EQ(b.subTotalThousandths(), 3000);
}

TEST(RaceGridExamples, KeyOnBlankLineIsIgnored) {
    RaceGrid g = makeGrid({{"Mise     Mise", 1.0f},
                           {"             "},
                           {"TOTAL du jeu "},
                           {"S/total  s/to"}});
    typeKeys(g, 1, "10\r");
    typeKeys(g, 2, "5\r");
    EXPECT_EQ(typeKeys(g, 3, "1").result, GridKeyOutcome::Ignored);
    typeKeys(g, 2, "E3\r");
    EXPECT_EQ(nombres(g), texts({"10", "3", "0", "3,00", "3,00"}));
    const StakeAmountBlock block = g.stakeBlock(StakeAmountBlock());
    const float expected[] = {10, 3, 0, 3, 3};
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(block.stakeCount(k), expected[k]) << k;
}

TEST(RaceGridEditing, SeriesRowWaitsForEnterOrLeavingTheCell) {
    RaceGrid g = makeGrid(Series, {10});
    typeKeys(g, 3, "7"); // "2/3": typing appends to the cell's text
    EXPECT_EQ(g.cell(3, 2), QStringLiteral("07"));
    EXPECT_TRUE(g.isPending(3));
    EXPECT_EQ(g.totals().stakes->text(), QStringLiteral("0,00"));
    typeKeys(g, 3, "\r");
    EXPECT_EQ(g.cell(3, 2), QStringLiteral("6"));
    EXPECT_FALSE(g.isPending(3));

    // Backspace recalculates at once; leaving the cell commits the cut.
    typeKeys(g, 4, "9"); // "4/6"
    typeKeys(g, 4, "B");
    EXPECT_EQ(g.cell(4, 2), QStringLiteral("0"));
    typeKeys(g, 4, "9");
    g.beginEdit(5); // the cursor moves to another row
    EXPECT_EQ(g.cell(4, 2), QStringLiteral("6"));
    EXPECT_EQ(g.totals().stakes->text(), QStringLiteral("9,00"));
}

TEST(RaceGridEditing, OnlyCountCellsTakeKeys) {
    RaceGrid g = makeGrid(with({{"Mise     Mise", 1.0f}}, Accounts), {10, 2});
    const int frais = 4, sto = 6, bagu = 7, tge = 10;
    for (int r : {0, 3, frais, sto, bagu, tge, 11})
        EXPECT_FALSE(g.isEditable(r)) << r;
    for (int r : {1, 2, 5})
        EXPECT_TRUE(g.isEditable(r)) << r;

    EXPECT_EQ(typeKeys(g, frais, "7").result, GridKeyOutcome::Ignored);
    EXPECT_EQ(typeKeys(g, frais, "E").result, GridKeyOutcome::Ignored);
    EXPECT_EQ(g.cell(frais, 2), QStringLiteral("10"));
    // Enter on a computed row moves the cursor on; on the last line it goes back to 1.
    EXPECT_EQ(typeKeys(g, frais, "\r").currentRow, frais + 1);
    EXPECT_EQ(typeKeys(g, tge, "\r").currentRow, 1);

    // A count above 500, which no recap counts, is refused; the cell keeps what it held.
    RaceGrid t = makeGrid({{"TOTAL du jeu "}, {"S/total  s/to"}, {"téléph.  tele", 1.0f}});
    EXPECT_EQ(typeKeys(t, 4, "E0500").result, GridKeyOutcome::Changed);
    EXPECT_EQ(typeKeys(t, 4, "0").result, GridKeyOutcome::Refused);
    EXPECT_EQ(t.cell(4, 2), QStringLiteral("500"));
    EXPECT_EQ(typeKeys(t, 4, "BBB60").result, GridKeyOutcome::Changed);
    EXPECT_EQ(typeKeys(t, 4, "1").result, GridKeyOutcome::Refused);
    EXPECT_EQ(t.cell(4, 2), QStringLiteral("60"));
    t.beginEdit(4);
    EXPECT_FALSE(t.applyEdit(QStringLiteral("600")));
    EXPECT_TRUE(t.applyEdit(QStringLiteral("499")));
}

TEST(RaceGridEditing, NextRaceCommitsTheEdit) {
    RaceGrid g = makeGrid(Series, {10});
    typeKeys(g, 3, "7");
    const GridKeyOutcome o = typeKeys(g, 3, "+");
    EXPECT_EQ(o.result, GridKeyOutcome::OpenNextRace);
    EXPECT_FALSE(g.isEditing());
    EXPECT_EQ(g.cell(3, 2), QStringLiteral("6"));
}

TEST(RaceGridEditing, ApplyEditRecalculatesFromTheStartOfTheEdit) {
    RaceGrid g = makeGrid(Pools, {6, 1, 0, 6, 0});
    g.beginEdit(2);
    EXPECT_TRUE(g.applyEdit(QStringLiteral("0")));
    EXPECT_EQ(nombres(g).mid(1, 3), texts({"0", "0", "0"}));
    EXPECT_TRUE(g.applyEdit(QStringLiteral("1")));
    EXPECT_EQ(nombres(g).mid(1, 3), texts({"1", "0", "1"}));
    EXPECT_FALSE(g.applyEdit(QStringLiteral("1,5")));
    EXPECT_FALSE(g.applyEdit(QStringLiteral("12345678")));
    g.commitEdit();
    EXPECT_EQ(g.totals().stakes->text(), QStringLiteral("2,50"));

    // Committing the same value again changes nothing.
    RaceGrid again = g;
    typeKeys(again, 2, "\r");
    EXPECT_EQ(nombres(again), nombres(g));
}

TEST(RaceGridEditing, CursorGoesDownLongSheetsAndWraps) {
    std::vector<Line> lines(26, Line{"Mise     Mise", 1.0f});
    lines.push_back({"TOTAL du jeu "});
    RaceGrid g = makeGrid(lines, {5}); // 27 lines, 30 rows
    ASSERT_EQ(g.rowCount(), 30);
    GridKeyOutcome o = typeKeys(g, 18, "1\r");
    EXPECT_EQ(o.currentRow, 19);
    o = typeKeys(g, 27, "1\r");
    EXPECT_EQ(o.currentRow, 28);
    EXPECT_EQ(typeKeys(g, 28, "\r").currentRow, 1);
}

// The typed lines told from the kinds alone are the lines the laid-out grid lets the user
// type into, for sheets with every section, blank and result lines, lines after the grand
// total and more than a hundred lines.
TEST(RaceGridBuild, TypedLinesAreTheEditableRowsOfTheLayout) {
    std::vector<Line> long_(99, Line{"Mise     Mise", 1.0f});
    long_.push_back({"Résultatresu", 1.0f});
    long_.insert(long_.end(), Accounts.begin(), Accounts.end());
    const std::vector<std::vector<Line>> sheets = {
        with({{"Mise     Mise", 1.0f}}, Accounts),
        with({{"Mise     Mise", 1.0f}, {""}, {"Résultatresu", 1.0f}, {"Prem     Prem", 2.0f}},
             with(Accounts, {{"Mise     Mise", 1.0f}, {"TOTAL    t/ge"}})),
        Series,
        {{"FRAIS    frai", 0.5f}, {"S/total  s/to"}, {"Bagues   bagu", 0.2f}},
        long_,
        {},
    };
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        const QList<StakeTypeRecord> lines = stakeLines(sheets[i]);
        const RaceGrid layout = RaceGrid::layOut(QString(), lines);
        const QList<bool> typed = RaceGrid::typedLines(lines);
        ASSERT_EQ(typed.size(), lines.size() + 1) << i;
        for (int j = 1; j <= lines.size(); ++j)
            EXPECT_EQ(typed[j], layout.isEditable(j + 1)) << "sheet " << i << " line " << j;
    }
}

TEST(RaceGridBuild, LinesPastOneHundredAreReadOnly) {
    std::vector<Line> lines(101, Line{"Mise     Mise", 1.0f});
    lines.push_back({"TOTAL du jeu "});
    StakeAmountBlock block;
    block.setStakeCount(0, 5);
    for (int k = 1; k <= 100; ++k)
        block.setStakeCount(k, 1);
    RaceGrid g = RaceGrid::build(QStringLiteral("X"), stakeLines(lines), block);
    ASSERT_EQ(g.rowCount(), 105);
    EXPECT_TRUE(g.isEditable(101));
    EXPECT_FALSE(g.isEditable(102));
    EXPECT_EQ(g.cell(102, 2), QStringLiteral("0"));
    EXPECT_EQ(typeKeys(g, 102, "3").result, GridKeyOutcome::Ignored);
    EXPECT_EQ(g.totals().stakes->text(), QStringLiteral("100,00"));

    StakeAmountBlock previous;
    const StakeAmountBlock saved = g.stakeBlock(previous);
    EXPECT_EQ(saved.stakeCount(100), 1.0f);
}

TEST(RaceGridBuild, StakeTablesAndEmptySheet) {
    RaceGrid g = makeGrid({{"Série    Mixt", 1.0f, 3}, {"Premier  Prem", 1.5f},
                           {"Premier  Prem", 0.0f}, {"TOTAL du jeu "}},
                          {10, 7, 3, 3});
    EXPECT_EQ(g.ixtCount(), 3);
    EXPECT_EQ(g.remUnit(), 0.0f); // the last "rem" line wins
    EXPECT_EQ(nombres(g), texts({"10", "7", "1", "1", "8,50"}));

    RaceGrid empty = makeGrid({}, {4});
    EXPECT_EQ(empty.rowCount(), 3);
    EXPECT_EQ(empty.tabLabel(), QStringLiteral("X"));
    EXPECT_EQ(empty.subTotalThousandths(), 0);
    EXPECT_EQ(empty.cell(0, 2), QStringLiteral("   NOMBRE   "));
    EXPECT_EQ(empty.cell(1, 0), QStringLiteral("ENGAGES"));
}

TEST(RaceGridBuild, RebuildKeepsTypedCounts) {
    RaceGrid g = makeGrid(Series, {10, 2});
    typeKeys(g, 2, "E5\r");
    typeKeys(g, 3, "8");
    g.rebuild();
    EXPECT_EQ(nombres(g), texts({"10", "5", "8", "0", "0", "0", "9,00", "9,00"}));
}

TEST(RaceGridSave, SubTotalThatDoesNotFitIsRefused) {
    RaceGrid g = makeGrid({{"Mise     Mise", 1000000.0f}, {"TOTAL du jeu "}, {"S/total  s/to"}},
                          {3000, 3000});
    EXPECT_EQ(g.totals().subTotal->text(), QStringLiteral("3000000000,00"));
    EXPECT_FALSE(g.subTotalThousandths().has_value());
}

TEST(RaceGridEditing, MovingTheCursorCommitsAndWrapsOnTheLastRow) {
    RaceGrid g = makeGrid(Series, {10});
    typeKeys(g, 3, "7");
    GridKeyOutcome o = g.moveTo(4);
    EXPECT_FALSE(g.isEditing());
    EXPECT_EQ(g.cell(3, 2), QStringLiteral("6"));
    EXPECT_EQ(o.currentRow, 4);
    o = g.moveTo(g.rowCount() - 1);
    EXPECT_EQ(o.currentRow, 1);
}

TEST(RaceGridFiles, CaptionsOfTheRaceBase) {
    const struct {
        const char* site;
        const char* digit;
        float level;
        const char* caption;
    } cases[] = {
        {"  brive        ", "0", 0.0f, "BRIVE VIEUX GENERAL"},
        {"Orléans", "3", 2.6f, "ORLÉANS JEUNES SOCIETE"},
        {"Tours", "2", 1.5f, "TOURS UN AN SECTEUR"}, // 1.5 is read as 2, halves to even
        {"Tours", "7", 5.0f, "TOURS ? ?"},
        {"Tours", " ", -1.0f, "TOURS ? ?"},
    };
    for (const auto& c : cases) {
        RaceBaseRecord base;
        base.setSiteName(QString::fromUtf8(c.site));
        base.setCategoryDigit(QString::fromLatin1(c.digit));
        base.setLevelIndex(c.level);
        EXPECT_EQ(raceGridCaption(base), QString::fromUtf8(c.caption)) << c.caption;
    }
}

TEST(RaceGridFiles, LoadsTheRaceFilesOfAFancier) {
    QTemporaryDir dir;
    const int code = 105;
    RaceBaseRecord base;
    base.setSiteName(QStringLiteral("Brive"));
    base.setCategoryDigit(QStringLiteral("1"));
    base.setLevelIndex(3);
    RecordFileOf<RaceBaseRecord>(dir.filePath(QStringLiteral("bases.105"))).write(1, base);
    RecordFileOf<StakeTypeRecord>(dir.filePath(QStringLiteral("basejeu.105")))
        .rewrite(stakeLines({{"Mise     Mise", 1.0f}, {"TOTAL du jeu "}, {"S/total  s/to"}}));
    RecordFileOf<StakeAmountBlock> mise(dir.filePath(QStringLiteral("mise.105")));
    mise.write(1, stakeBlock({9, 9}));
    mise.write(2, stakeBlock({4, 3}));

    RaceGrid g = loadRaceGrid(dir.path(), code, 2);
    EXPECT_EQ(g.tabLabel(), QStringLiteral("BRIVE FEMELLES SOCIETE = 3,00"));
    EXPECT_EQ(nombres(g), texts({"4", "3", "3,00", "3,00"}));

    // A fancier past the end of the mise file has nothing staked; missing files read empty.
    EXPECT_EQ(loadRaceGrid(dir.path(), code, 7).subTotalThousandths(), 0);
    RaceGrid none = loadRaceGrid(dir.path(), 206, 1);
    EXPECT_EQ(none.rowCount(), 3);
    EXPECT_EQ(none.caption(), QStringLiteral(" ? ?"));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("mise.206"))));
}
