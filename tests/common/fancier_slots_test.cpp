#include "common/fancier_slots.h"
#include "common/record_file.h"
#include "tests/support/club_fixture.h"

#include <gtest/gtest.h>

using namespace vt;

TEST(FancierSlots, NamePredicates) {
    struct Case {
        QString name;
        bool freeForReaders, blank, acceptable;
    };
    const Case cases[] = {
        {"DUPONT Jean", false, false, true},  {"dupont jean", false, false, true},
        {"   DUPONT", false, false, true},    {QString(23, u' '), true, true, true},
        {QStringLiteral("Émile DURAND"), true, false, false},
        {QStringLiteral("ÉTIENNE"), true, false, false},
        {"1ER", true, false, false},          {"-X", true, false, false},
        {QStringLiteral("ßeta"), true, false, false}, {QStringLiteral("ÿves"), true, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(isFreeForReaders(c.name), c.freeForReaders) << c.name.toStdString();
        EXPECT_EQ(isBlankName(c.name), c.blank) << c.name.toStdString();
        EXPECT_EQ(isAcceptableNewName(c.name), c.acceptable) << c.name.toStdString();
    }
    EXPECT_TRUE(isFreeForReaders(FancierRecord().fancierName()));
}

TEST(FancierSlots, BlankRecordBytes) {
    const QByteArray b = blankFancierRecord().bytes();
    EXPECT_EQ(b.mid(0, 132), QByteArray(132, ' '));
    EXPECT_EQ(b.mid(132, 16), QByteArray(16, '\0'));
    EXPECT_EQ(b.mid(148, 9), QByteArray(9, ' '));
    EXPECT_EQ(b.mid(157, 2), QByteArray(2, '\0'));
    EXPECT_EQ(b.mid(159, 4), QByteArray(4, ' '));
    EXPECT_EQ(b.mid(163, 418), QByteArray(418, '\0'));
    EXPECT_EQ(b.mid(581, 8), QByteArray(8, ' '));
    EXPECT_EQ(b.mid(589), QByteArray(3197 - 589, '\0'));
}

TEST(FancierSlots, ClaimTakesTheLowestRecordBlankInBothFiles) {
    auto named = [](const QString& n) {
        FancierRecord r = blankFancierRecord();
        r.setFancierName(n);
        return r;
    };
    const FancierRecord blank = blankFancierRecord();
    struct Case {
        QList<FancierRecord> season, master;
        int expected;
    };
    const Case cases[] = {
        {{}, {}, 1},
        {{named("A"), named("B")}, {named("A"), named("B")}, 3},
        {{named("A"), blank, named("C")}, {named("A"), named("B"), named("C")}, 4},
        {{named("A"), blank, named("C")}, {named("A"), blank, named("C")}, 2},
        {{named("A"), named(QStringLiteral("ÉTIENNE")), named("C")},
         {named("A"), named(QStringLiteral("ÉTIENNE")), named("C")}, 4},
        {{named("A")}, {named("A"), named("B"), blank}, 3},
    };
    for (const Case& c : cases) {
        vt::testing::ClubFixture fx;
        RecordFileOf<FancierRecord>(fx.yearPath("noms.vba")).rewrite(c.season);
        RecordFileOf<FancierRecord>(fx.path("noms.vba")).rewrite(c.master);
        EXPECT_EQ(findClaimableRecord(fx.yearPath("noms.vba"), fx.path("noms.vba")), c.expected);
    }
}

TEST(FancierSlots, ClearStaleStakesZeroesOnlyNonZeroBlocks) {
    vt::testing::ClubFixture fx;
    RecordFileOf<StakeAmountBlock> mise(fx.yearPath("mise.101"));
    StakeAmountBlock b;
    b.setStakeCount(0, 3);
    mise.write(2, b);
    clearStaleStakes(2, {101, 402}, fx.yearFolder());
    EXPECT_TRUE(mise.read(2).isZero());
    EXPECT_EQ(mise.count(), 2);
    EXPECT_FALSE(QFileInfo::exists(fx.yearPath("mise.402")));
}

TEST(FancierSlots, AHeldClaimIsPassedOverUntilItIsReleased) {
    vt::testing::ClubFixture fx;
    const QString season = fx.yearPath("noms.vba"), master = fx.path("noms.vba");
    FancierRecord a = blankFancierRecord();
    a.setFancierName(QStringLiteral("A"));
    RecordFileOf<FancierRecord>(season).rewrite({a, blankFancierRecord(), a});
    RecordFileOf<FancierRecord>(master).rewrite({a, blankFancierRecord(), a});

    FancierClaim first = claimFancierRecord(season, master);
    EXPECT_EQ(first.recordNo(), 2);
    EXPECT_TRUE(isClaimHeld(season, 2));
    EXPECT_FALSE(isClaimHeld(fx.path("autre/noms.vba"), 2)); // another season's file
    FancierClaim second = claimFancierRecord(season, master);
    EXPECT_EQ(second.recordNo(), 4); // past the end of both files
    EXPECT_EQ(claimFancierRecord(season, master).recordNo(), 5);
    {
        const FancierClaim copy = second; // copies share the hold
        second.release();
        EXPECT_EQ(copy.recordNo(), 0);
    }
    EXPECT_FALSE(isClaimHeld(season, 4));
    EXPECT_EQ(findClaimableRecord(season, master), 4);
    first = FancierClaim(); // the last copy gone
    EXPECT_EQ(findClaimableRecord(season, master), 2);
}

TEST(FancierSlots, OverwrittenFancier) {
    struct Case {
        const char *stored, *opened, *typed, *expected;
    };
    const Case cases[] = {
        {"", "", "LEROY Marc", ""},
        {"  ", "DUPONT Jean", "", ""},
        {"DUPONT Jean", "DUPONT Jean", "DUPONT Jean-Pierre", ""}, // a rename of his own
        {"DUPONT Jean", "", "DUPONT JEAN", ""},
        {"DUPONT Michel", "DUPONT michel", "DUPONT michel", ""}, // case mended meanwhile
        {"MOREL Yves", "", "LEROY Marc", "MOREL Yves"},
        {" MOREL Yves ", "DUPONT Jean", "", "MOREL Yves"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(overwrittenFancier(QString::fromUtf8(c.stored), QString::fromUtf8(c.opened),
                                     QString::fromUtf8(c.typed)),
                  QString::fromUtf8(c.expected))
            << c.stored << " / " << c.opened << " / " << c.typed;
    EXPECT_EQ(overwriteQuestion(4, QStringLiteral("MOREL Yves ")),
              QStringLiteral("La fiche n° 4 du fichier général contient « MOREL Yves ». La "
                             "remplacer ?"));
}
