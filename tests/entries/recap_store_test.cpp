#include "entries/recap_store.h"

#include "common/record_file.h"
#include "platform/scripted_dialogs.h"
#include "tests/support/club_fixture.h"
#include "tests/support/qt_print.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace vt;
using vt::testing::ClubFixture;
using vt::testing::RaceFilesSpec;
using vt::testing::readBytes;

namespace {

// Little-endian 16-bit integers, padded with zeros to `size` bytes.
QByteArray int16s(std::initializer_list<int> values, int size = 204) {
    QByteArray out;
    for (int v : values) {
        char b[2];
        qToLittleEndian<int16_t>(int16_t(v), b);
        out.append(b, 2);
    }
    return out.leftJustified(size, '\0');
}

// Little-endian Singles, padded with zeros to one 404-byte block.
QByteArray singles(std::initializer_list<float> values) {
    QByteArray out;
    for (float v : values) {
        char b[4];
        qToLittleEndian<float>(v, b);
        out.append(b, 4);
    }
    return out.leftJustified(404, '\0');
}

// The race of the storage example: Mise, Série 2/3, the game total, FRAIS, Résultat, S/total.
RaceFilesSpec exampleRace(int code = 101) {
    RaceFilesSpec r;
    r.raceCode = code;
    r.site = QStringLiteral("PERONNE");
    r.date = QStringLiteral("21 juin 2026");
    r.lines = {{QStringLiteral("Mise"), QStringLiteral("Mise"), 1.0f},
               {QStringLiteral("Série"), QStringLiteral("2/3"), 2.0f},
               {QStringLiteral("TOTAL du"), QStringLiteral("jeu"), 0},
               {QStringLiteral("FRAIS"), QStringLiteral("frai"), 0.5f},
               {QStringLiteral("Résultat"), QStringLiteral("resu"), 0},
               {QStringLiteral("S/total"), QStringLiteral("s/to"), 0}};
    r.blocks = {{10, 10, 6, 22, 10, 0, 26}, {0, 5}, {4, 600, 0.5f, 0, 4, 1, 2}};
    return r;
}

struct StoreFixture : ::testing::Test {
    ClubFixture club;
    Session* s = nullptr;
    void SetUp() override {
        for (const char* name : {"DUPONT", "MARTIN", "BERNARD"})
            club.addFancier(vt::testing::namedFancier(QString::fromLatin1(name)));
        s = &club.configureSession();
    }
    bool store(MsgAnswer answer = MsgAnswer::Yes) {
        ScriptedDialogsScope dialogs;
        dialogs->answer(answer);
        // The example's count of 600 is named, one box for each race's mise file.
        for (int race = 1; race <= MaxChosenRaces; ++race)
            dialogs->answer(MsgAnswer::Ok);
        const bool ok = storeRaceRecaps(*dialogs, *s);
        questions = dialogs->asked();
        return ok;
    }
    QList<AskedQuestion> questions;
};

} // namespace

TEST(RecapFileNames, ComeFromTheRaceStakeFile) {
    EXPECT_EQ(stakeCopyFileName(QStringLiteral("gr2jeu.105")), QStringLiteral("gr2mis.105"));
    EXPECT_EQ(betLineRecapFileName(QStringLiteral("gr2jeu.105")), QStringLiteral("rgr2.105"));
}

TEST(RecapCounts, OnlyOneToFiveHundredCount) {
    for (auto [v, expected] : {std::pair{0.0f, 0.0}, {0.5f, 0.0}, {1.0f, 1.0}, {2.5f, 2.5},
                               {500.0f, 500.0}, {600.0f, 0.0}, {-3.0f, 0.0}})
        EXPECT_EQ(validRecapCount(v), expected) << v;
}

TEST_F(StoreFixture, ExampleRaceGivesTheRecapAndItsCompanionsByteForByte) {
    club.writeRaceFiles(exampleRace());
    ClubFixture::chooseRaces(*s, {101});
    s->ClubCount = 4;
    ASSERT_TRUE(store());

    ASSERT_EQ(questions.size(), 2);
    EXPECT_EQ(questions[1].message.title, QStringLiteral("Fichier endommagé"));
    EXPECT_TRUE(questions[1].message.text.contains(
        QStringLiteral("enregistrement 3 : ligne 1 « Mise    Mise » : 600")));
    const MessageRequest& q = questions[0].message;
    EXPECT_EQ(q.text, QStringLiteral("ETES VOUS SUR DE VOULOIR MEMORISER les RECAPITULATIFS\n"));
    EXPECT_EQ(q.title, QStringLiteral("   MEMORISATION des RECAPITULATIFS  "));
    EXPECT_EQ(q.buttons, MsgButtons::YesNo);
    EXPECT_EQ(q.icon, MsgIcon::Question);
    EXPECT_EQ(q.defaultButton, MsgAnswer::Yes);
    EXPECT_EQ(s->ClubCount, 1);

    EXPECT_EQ(readBytes(club.yearPath("recap.101")), int16s({2, 14, 10, 6, 22, 14, 2, 28}));
    EXPECT_EQ(readBytes(club.yearPath("rgr1.101")), int16s({2, 14, 10, 6}));
    EXPECT_EQ(readBytes(club.yearPath("gr1mis.101")),
              singles({10, 10, 6}) + singles({0, 5}) + singles({4}));
}

TEST_F(StoreFixture, TwoRacesAreStoredAndStoringTwiceGivesTheSameBytes) {
    club.writeRaceFiles(exampleRace(101));
    RaceFilesSpec second = exampleRace(402);
    second.site = QStringLiteral("ARRAS");
    second.blocks = {{3, 2.5f, 0, 0, 3}, {5, 3.5f, 1}, {0, 9, 9}};
    club.writeRaceFiles(second);
    ClubFixture::chooseRaces(*s, {101, 402});
    ASSERT_TRUE(store());
    const QByteArray first = readBytes(club.yearPath("recap.402"));
    // 2.5 + 3.5 = 6; the Résultat line counts one per fancier whatever was typed.
    EXPECT_EQ(first, int16s({2, 8, 6, 1, 0, 3, 2}));
    EXPECT_EQ(readBytes(club.yearPath("rgr4.402")), int16s({2, 8, 6, 1}));
    EXPECT_EQ(readBytes(club.yearPath("gr4mis.402")),
              singles({3, 2.5f, 0}) + singles({5, 3.5f, 1}) + singles({0, 9, 9}));
    ASSERT_TRUE(store());
    EXPECT_EQ(readBytes(club.yearPath("recap.402")), first);
    EXPECT_EQ(readBytes(club.yearPath("recap.101")), int16s({2, 14, 10, 6, 22, 14, 2, 28}));
}

TEST_F(StoreFixture, HalfTotalsGoToTheEvenNeighbour) {
    RaceFilesSpec r = exampleRace();
    r.blocks = {{1, 2.5f}, {1, 0, 3.5f}};
    club.writeRaceFiles(r);
    ClubFixture::chooseRaces(*s, {101});
    ASSERT_TRUE(store());
    EXPECT_EQ(readBytes(club.yearPath("recap.101")), int16s({2, 2, 2, 4, 0, 0, 2}));
}

TEST_F(StoreFixture, WhereTheFeesLineStandsDecidesTheBetLines) {
    const struct {
        int feesLine;     // 0: no FRAIS line
        QByteArray copy1; // the first fancier's stake copy
        bool betLineRecap;
    } cases[] = {
        {2, singles({10}), false},  // L = 0: pigeons only
        {0, singles({10}), false},  // no FRAIS line: L = 0
        {1, singles({}), false},    // L = -1: all zeros
        {4, singles({10, 10, 6}), true},
    };
    for (const auto& c : cases) {
        RaceFilesSpec r = exampleRace();
        for (auto& l : r.lines)
            if (l.code == QLatin1String("frai"))
                l.code = QStringLiteral("fra");
        if (c.feesLine > 0)
            r.lines[c.feesLine - 1].code = QStringLiteral("frai");
        club.writeRaceFiles(r);
        ClubFixture::chooseRaces(*s, {101});
        ASSERT_TRUE(store());
        EXPECT_EQ(readBytes(club.yearPath("gr1mis.101")).left(404), c.copy1) << c.feesLine;
        EXPECT_EQ(readBytes(club.yearPath("rgr1.101")).size(), c.betLineRecap ? 204 : 0);
        EXPECT_EQ(readBytes(club.yearPath("recap.101")).size(), 204);
    }
}

TEST_F(StoreFixture, NoLeavesEveryFileAsItWas) {
    club.writeRaceFiles(exampleRace());
    ClubFixture::chooseRaces(*s, {101});
    EXPECT_FALSE(store(MsgAnswer::No));
    EXPECT_FALSE(QFile::exists(club.yearPath("recap.101")));
    EXPECT_FALSE(QFile::exists(club.yearPath("gr1mis.101")));
    EXPECT_FALSE(QFile::exists(club.yearPath("rgr1.101")));
}

TEST_F(StoreFixture, ATotalBeyondAnIntegerWritesNothingForAnyRace) {
    club.writeRaceFiles(exampleRace(101));
    ClubFixture::chooseRaces(*s, {101});
    ASSERT_TRUE(store());
    ClubFixture::chooseRaces(*s, {101, 402});
    RaceFilesSpec big = exampleRace(402);
    big.blocks.clear();
    // 164 fanciers of 210 pigeons: a race of 34,440 pigeons, which the recap sheet prints.
    for (int n = 0; n < 164; ++n) {
        club.addFancier(vt::testing::namedFancier(QStringLiteral("F%1").arg(n)));
        big.blocks.append({210, 1});
    }
    club.writeRaceFiles(big);
    const QByteArray recap = readBytes(club.yearPath("recap.101"));
    const QByteArray copy = readBytes(club.yearPath("gr1mis.101"));
    const QByteArray bets = readBytes(club.yearPath("rgr1.101"));

    ScriptedDialogsScope dialogs;
    dialogs->answer(MsgAnswer::Yes).answer(MsgAnswer::Ok).answer(MsgAnswer::Ok);
    EXPECT_FALSE(storeRaceRecaps(*dialogs, *s));
    // The example's damaged count of race 101 is named, then the total that does not fit.
    ASSERT_EQ(dialogs->messages().size(), 3);
    EXPECT_EQ(dialogs->messages()[1].title, QStringLiteral("Fichier endommagé"));
    EXPECT_EQ(dialogs->messages()[2].text,
              QStringLiteral("Le total de la ligne « ENGAGES » du concours PERONNE du 21 juin "
                             "2026 (34440) dépasse 32767 : rien n'a été mémorisé."));
    EXPECT_EQ(readBytes(club.yearPath("recap.101")), recap);
    EXPECT_EQ(readBytes(club.yearPath("gr1mis.101")), copy);
    EXPECT_EQ(readBytes(club.yearPath("rgr1.101")), bets);
    EXPECT_FALSE(QFile::exists(club.yearPath("recap.402")));
    EXPECT_FALSE(QFile::exists(club.yearPath("gr4mis.402")));
}

TEST_F(StoreFixture, ElevenChosenRacesGiveElevenRecaps) {
    QList<int> codes;
    for (int race = 1; race <= 11; ++race) {
        codes.append(100 + race);
        club.writeRaceFiles(exampleRace(100 + race));
    }
    ClubFixture::chooseRaces(*s, codes);
    ASSERT_TRUE(store());
    for (int code : codes)
        EXPECT_EQ(readBytes(club.yearPath(QStringLiteral("recap.%1").arg(code))),
                  int16s({2, 14, 10, 6, 22, 14, 2, 28}))
            << code;
}
