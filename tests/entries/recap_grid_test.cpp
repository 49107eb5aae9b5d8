#include "entries/recap_grid.h"

#include "tests/support/club_fixture.h"
#include "tests/support/qt_print.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace vt;
using vt::testing::ClubFixture;
using vt::testing::RaceFilesSpec;
using vt::testing::StakeLineSpec;

namespace {

StakeLineSpec line(const char* text13, float unit = 1) {
    return vt::testing::stakeLineSpec(QString::fromUtf8(text13), unit);
}

} // namespace

TEST(RecapGridPosition, CyclesThroughTheChosenRaces) {
    Session s;
    EXPECT_EQ(nextRecapGridPosition(0, s), 0);
    ClubFixture::chooseRaces(s, {101, 102, 103});
    QList<int> seen;
    int position = 0;
    for (int i = 0; i < 5; ++i)
        seen << (position = nextRecapGridPosition(position, s));
    EXPECT_EQ(seen, (QList<int>{1, 2, 3, 1, 2}));
    QList<int> eleven;
    for (int r = 1; r <= 11; ++r)
        eleven << 100 + r;
    ClubFixture::chooseRaces(s, eleven);
    EXPECT_EQ(nextRecapGridPosition(10, s), 11);
    EXPECT_EQ(nextRecapGridPosition(11, s), 1);
    // A new choice with fewer races wraps back to the first.
    ClubFixture::chooseRaces(s, {101, 102});
    EXPECT_EQ(nextRecapGridPosition(5, s), 1);
}

TEST(RecapGrid, ShowsTheFanciersWhoEnteredPigeonsUpToTheSubTotal) {
    ClubFixture club;
    for (const char* name : {"DUPONT", "MARTIN", "BERNARD"})
        club.addFancier(vt::testing::namedFancier(QString::fromLatin1(name)));
    Session& s = club.configureSession();
    RaceFilesSpec r;
    r.raceCode = 101;
    r.site = QStringLiteral("peronne");
    r.date = QStringLiteral("21 juin 2026");
    r.lines = {line("Mise     Mise"), line("Mise     Mis1"), line("Série     2/3"),
               line("TOTAL du jeu "), line("FRAIS    frai"), line("X         ab"),
               line("S/total  s/to"), line("TOTAL    t/ge")};
    // DUPONT owes nothing on the last line but entered 12 pigeons; MARTIN entered none.
    r.blocks = {{12, 10, 2.5f, 6, 22, 12, 1, 26, 0}, {0, 5, 5, 5, 5, 5, 5, 5, 9}, {3}};
    club.writeRaceFiles(r);
    const RecapGridView v = buildRecapGrid(s, 101, {3, 1, 2});
    EXPECT_EQ(v.caption, QStringLiteral("PERONNE VIEUX GENERAL                  du 21 juin 2026     "));
    EXPECT_EQ(v.headers, (QStringList{QStringLiteral("Amateurs          "), QStringLiteral("Pig."),
                                      QStringLiteral("Mis"), QStringLiteral("Mis"),
                                      QStringLiteral("2/3"), QStringLiteral("fra"),
                                      QStringLiteral("ab ")}));
    ASSERT_EQ(v.rows.size(), 2);
    EXPECT_EQ(v.rows[0].first(), QStringLiteral("BERNARD").leftJustified(23));
    EXPECT_EQ(v.rows[1], (QStringList{QStringLiteral("DUPONT").leftJustified(23),
                                      QStringLiteral("12"), QStringLiteral("10"),
                                      QStringLiteral("2,5"), QStringLiteral("6"),
                                      QStringLiteral("12"), QStringLiteral("1")}));
    EXPECT_FALSE(QFile::exists(club.yearPath("recap.101")));
}

TEST(RecapGrid, SubTotalFirstLeavesOnlyNamesAndPigeons) {
    ClubFixture club;
    club.addFancier(vt::testing::namedFancier(QStringLiteral("DUPONT")));
    Session& s = club.configureSession();
    RaceFilesSpec r;
    r.raceCode = 101;
    r.lines = {line("S/total  s/to"), line("Mise     Mise")};
    r.blocks = {{4, 1, 1}};
    club.writeRaceFiles(r);
    const RecapGridView v = buildRecapGrid(s, 101, {1});
    EXPECT_EQ(v.headers, (QStringList{QStringLiteral("Amateurs          "), QStringLiteral("Pig.")}));
    ASSERT_EQ(v.rows.size(), 1);
    EXPECT_EQ(v.rows[0].size(), 2);
}
