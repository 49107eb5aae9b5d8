// The rule of each kind of line on a typed count, and the exact amounts of the grids.
#include "entries/grid_amount.h"
#include "entries/grid_rules.h"
#include "grid_test_support.h"

#include <gtest/gtest.h>

using namespace vt;
using namespace vt::testing;

namespace {

// After the bet lines: TOTAL du jeu, FRAIS, GRATUITS, S/total, téléph., Résultat (in the
// deductions), Total s/td, TOTAL t/ge.
const std::vector<Line> Tail = {{"TOTAL du jeu "}, {"FRAIS    frai", 0.5f}, {"GRATUITS grat"},
                                {"S/total  s/to"}, {"téléph.  tele", 1.0f},
                                {"Résultat resu", 2.0f}, {"Total    s/td"}, {"TOTAL    t/ge"}};

struct KindCase {
    const char* what;
    std::vector<Line> bets;
    float pigeons;
    int row; // grid row typed on; bet line j is row j + 1, the tail starts after the bets
    const char* keys;
    const char* shown;
};

} // namespace

TEST(GridRules, EachKindOfLineOnATypedCount) {
    const Line mise{"Mise     Mise", 1.0f};
    const KindCase cases[] = {
        {"stake line capped", {mise}, 10, 2, "12\r", "10"},
        {"stake line below the cap", {mise}, 10, 2, "7\r", "7"},
        {"BELGE capped by the totals", {{"BELGE    Mise", 1.0f}}, 10, 2, "12\r", "10"},
        {"BELGE below the cap", {{"BELGE    Mise", 1.0f}}, 10, 2, "7\r", "7"},
        {".1 at most 1", {{"Unique   Un.1", 0.5f}}, 10, 2, "3\r", "1"},
        {".1 with 1", {{"Unique   Un.1", 0.5f}}, 10, 2, "1\r", "1"},
        {"marked .1 pool", {{"Poule    AS.1", 1.0f}}, 10, 2, "4\r", "1"},
        {"Ri.2 shows 2", {{"Richome  Ri.2", 1.0f}}, 10, 2, "4\r", "2"},
        {"Ri.2 with 0", {{"Richome  Ri.2", 1.0f}}, 10, 2, "0\r", "0"},
        {".O. line capped", {{"Mise+Obl M.O.", 1.0f}}, 10, 2, "12\r", "10"},
        {".O. line below the cap", {{"Mise+Obl M.O.", 1.0f}}, 10, 2, "3\r", "3"},
        {"pool capped", {{"Poule    0,50", 0.5f}}, 10, 2, "12\r", "10"},
        {"pool below the cap", {{"Poule    0,50", 0.5f}}, 10, 2, "3\r", "3"},
        {"2/3 cut", {{"Série     2/3", 0.5f}}, 10, 2, "7\r", "6"},
        {"2/3 kept", {{"Série     2/3", 0.5f}}, 10, 2, "8\r", "8"},
        {"3/3 cut", {{"Série     3/3", 0.5f}}, 10, 2, "4\r", "3"},
        {"3/3 kept", {{"Série     3/3", 0.5f}}, 10, 2, "5\r", "5"},
        {"2/2 cut", {{"Série     2/2", 0.25f}}, 10, 2, "5\r", "4"},
        {"2/2 kept", {{"Série     2/2", 0.25f}}, 10, 2, "4\r", "4"},
        {"4/6 cut", {{"Série     4/6", 1.0f}}, 10, 2, "9\r", "6"},
        {"4/6 kept", {{"Série     4/6", 1.0f}}, 10, 2, "10\r", "10"},
        {"3/5 cut", {{"Série     3/5", 2.0f}}, 10, 2, "7\r", "5"},
        {"3/5 kept", {{"Série     3/5", 2.0f}}, 10, 2, "8\r", "8"},
        {"Sér. 3/3 label cut", {{"Sér. 3/3 Obj.", 1.0f}}, 10, 2, "7\r", "6"},
        {"Sér. 3/3 label kept", {{"Sér. 3/3 Obj.", 1.0f}}, 10, 2, "8\r", "8"},
        {"Sér. 2/3 capped at (N + 1) \\ 3", {{"Sér. 2/3 Obj.", 1.0f}}, 5, 2, "5\r", "2"},
        {"Sér. 2/3 below", {{"Sér. 2/3 Sér.", 1.0f}}, 5, 2, "1\r", "1"},
        {"Sér. 3/5 capped at (N + 2) \\ 5", {{"Sér. 3/5 Obj.", 1.0f}}, 12, 2, "5\r", "2"},
        {"Sér. 3/5 below", {{"Sér. 3/5 Obj.", 1.0f}}, 12, 2, "1\r", "1"},
        {"free Mixt takes the sheet's count", {{"Série    Mixt", 0.0f, 4}}, 10, 2, "7\r", "4"},
        {"free Mixt without a count takes N", {{"Série    Mixt", 0.0f, 0}}, 10, 2, "3\r", "10"},
        {"priced Mixt keeps the count", {{"Série    Mixt", 1.0f, 4}}, 10, 2, "7\r", "7"},
        {"free Prem counts 1", {{"Premier  Prem", 0.0f}}, 10, 2, "0\r", "1"},
        {"priced Prem at most 1", {{"Premier  Prem", 1.0f}}, 10, 2, "3\r", "1"},
        {"priced Prem with 0", {{"Premier  Prem", 1.0f}}, 10, 2, "0\r", "0"},
        {"GRATUITS capped", {mise}, 10, 5, "12\r", "10"},
        {"GRATUITS below the cap", {mise}, 10, 5, "2\r", "2"},
        {"FRAIS shows the pigeons entered", {mise}, 10, 4, "3\r", "10"},
        {"téléph. not capped", {mise}, 4, 7, "12\r", "12"},
        {"Résultat counts once for a fancier entered", {mise}, 4, 8, "12\r", "1"},
        {"Résultat counts 0 with no pigeon entered", {mise}, 0, 8, "1\r", "0"},
    };
    for (const KindCase& c : cases) {
        std::vector<Line> lines = c.bets;
        lines.insert(lines.end(), Tail.begin(), Tail.end());
        RaceGrid g = makeGrid(lines, {c.pigeons});
        typeKeys(g, c.row, c.keys);
        EXPECT_EQ(g.cell(c.row, RaceGrid::NombreColumn), QString::fromUtf8(c.shown)) << c.what;
    }
}

TEST(GridRules, AmountsChargedByKind) {
    // Ri.2 is shown 2 and charged once; free entries are valued at the FRAIS price.
    std::vector<Line> lines = {{"Richome  Ri.2", 1.5f}};
    lines.insert(lines.end(), Tail.begin(), Tail.end());
    RaceGrid g = makeGrid(lines, {4});
    typeKeys(g, 2, "3\r");
    typeKeys(g, 5, "2\r");
    typeKeys(g, 7, "1\r");
    typeKeys(g, 8, "1\r");
    EXPECT_EQ(g.totals().stakes->text(), QStringLiteral("1,50"));
    EXPECT_EQ(g.cell(5, RaceGrid::ValeurColumn), QStringLiteral("0,50"));
    EXPECT_EQ(g.totals().subTotal->text(), QStringLiteral("2,50")); // 1,50 + 4 x 0,50 - 2 x 0,50
    EXPECT_EQ(g.totals().deductions->text(), QStringLiteral("3,00")); // téléph. 1 + Résultat 2
    EXPECT_EQ(g.totals().grandTotal->text(), QStringLiteral("-0,50"));
}

TEST(GridRules, PoolCascadeStops) {
    // A marked pool and a pool of the same price end the cascade.
    RaceGrid marked = makeGrid({{"Poule    0,50", 0.5f}, {"Poule    AS  ", 1.0f},
                                {"Poule    2,00", 2.0f}, {"TOTAL du jeu "}},
                               {6, 0, 0, 5});
    typeKeys(marked, 2, "3\r");
    EXPECT_EQ(nombres(marked), texts({"6", "3", "0", "5", "11,50"}));

    RaceGrid same = makeGrid({{"Poule    1,00", 1.0f}, {"Poule    1,00", 1.0f},
                              {"Poule    2,00", 2.0f}, {"TOTAL du jeu "}},
                             {6, 0, 5, 5});
    typeKeys(same, 2, "2\r");
    EXPECT_EQ(nombres(same), texts({"6", "2", "5", "5", "17,00"}));

    // A pool with a negative price does not cascade.
    RaceGrid negative = makeGrid({{"Poule    0,50", 0.5f}, {"Poule   -1,00", -1.0f},
                                  {"Poule    2,00", 2.0f}, {"TOTAL du jeu "}},
                                 {6, 0, 0, 5});
    typeKeys(negative, 3, "3\r");
    EXPECT_EQ(nombres(negative), texts({"6", "0", "3", "5", "7,00"}));
}

TEST(GridRules, RowKindsFromTheCatalogue) {
    EXPECT_EQ(classifyGridRow(QStringLiteral("Sér. 3/3 Obj.")).series.group, 3);
    EXPECT_TRUE(classifyGridRow(QStringLiteral("Sér. 3/3 Obj.")).series.byLabel);
    EXPECT_FALSE(classifyGridRow(QStringLiteral("Série     3/3")).series.byLabel);
    EXPECT_EQ(classifyGridRow(QStringLiteral("Série     2/4")).series.group, 0);
    EXPECT_TRUE(classifyGridRow(QStringLiteral("             ")).blank);
    EXPECT_TRUE(classifyGridRow(QStringLiteral("  BELGE  Mise")).is(StakeKind::Belge));
    EXPECT_TRUE(classifyGridRow(QStringLiteral("Poule    PSPE")).is(StakeKind::MarkedPoule));
    EXPECT_FALSE(classifyGridRow(QStringLiteral("Poule    0,50")).is(StakeKind::MarkedPoule));
}

TEST(GridAmounts, TextsHaveTwoOrThreeDecimalsExactly) {
    const struct {
        long long e8;
        const char* text;
        const char* two;
    } cases[] = {
        {2200000000LL, "22,00", "22,00"},
        {110500000LL, "1,105", "1,11"},  // 5 per cent of 22,10
        {16875000LL, "0,169", "0,17"},   // 5 per cent of 3,375
        {-420000000LL, "-4,20", "-4,20"},
        {0, "0,00", "0,00"},
        {37500000LL, "0,375", "0,38"},
        {-40000LL, "0,000", "0,00"},     // a negative amount that rounds to nothing has no sign
        {300000000000000LL, "3000000,00", "3000000,00"},
        {-5, "0,000", "0,00"},           // fewer digits than the decimals written
        {-9223372036854775807LL - 1, "-92233720368,548", "-92233720368,55"},
    };
    for (const auto& c : cases) {
        const GridAmount a = GridAmount::fromRaw(c.e8);
        EXPECT_EQ(a.text(), QString::fromLatin1(c.text)) << c.text;
        EXPECT_EQ(a.twoDecimals(), QString::fromLatin1(c.two)) << c.text;
    }
    // 0,10 x 3 in thousandths is exactly 30 cents.
    const GridAmount tenCents = GridAmount::fromThousandths(100);
    EXPECT_EQ((tenCents + tenCents + tenCents).text(), QStringLiteral("0,30"));
    EXPECT_EQ((tenCents + tenCents + tenCents).cents(), 30.0);

    // Three lines of 0,10 in a grid show 0,30.
    RaceGrid g = makeGrid({{"Mise     Mise", 0.1f}, {"TOTAL du jeu "}, {"S/total  s/to"}}, {3, 3});
    EXPECT_EQ(g.cell(3, 2), QStringLiteral("0,30"));
    EXPECT_EQ(g.subTotalThousandths(), 300);
}

TEST(GridAmounts, ValeurTexts) {
    const struct {
        const char* text;
        std::optional<long long> milli;
    } cases[] = {
        {"0,125", 125}, {"2,50", 2500}, {"3,00", 3000}, {"-1,00", -1000}, {"", 0},
        {"   ", 0},     {"1.5", 1500},  {"12", 12000},  {"0,1230", 123}, {"0,1234", std::nullopt},
        {"abc", std::nullopt},          {"1,2,3", std::nullopt},       {",", std::nullopt},
        {"1000000000,00", 1000000000000LL}, {"1000000000,01", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(valeurThousandths(QString::fromLatin1(c.text)), c.milli) << c.text;

    // A unit value shown with its own decimals, and charged as shown.
    RaceGrid g = makeGrid({{"Mise     Mise", 0.1234f}, {"Pot       pot", 2.5f}, {"TOTAL du jeu "}},
                          {10, 10, 1});
    EXPECT_EQ(g.cell(2, 1), QStringLiteral("0,123"));
    EXPECT_EQ(g.cell(3, 1), QStringLiteral("2,50"));
    EXPECT_EQ(g.totals().stakes->text(), QStringLiteral("3,73"));
}
