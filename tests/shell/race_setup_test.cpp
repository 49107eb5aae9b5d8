#include "shell/race_setup.h"

#include "shell/calendar.h"

#include "common/record_file.h"
#include "common/records.h"
#include "common/session.h"
#include "platform/scripted_dialogs.h"
#include "tests/support/club_fixture.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace vt;
using namespace vt::testing;

namespace {

QByteArray hex(const char* h) { return QByteArray::fromHex(QByteArray(h).replace(' ', "")); }

const QList<StakeLineSpec> kSheetA = {{QStringLiteral("Simple"), QStringLiteral("simp"), 0.5f},
                                      {QStringLiteral("Double"), QStringLiteral("doub"), 1.0f}};

// A season of three fanciers, a calendar whose race 5 is ORLEANS 12/05/05 UN AN, the
// accounts sheet (the bets total, the fees, the sub-total, then a line that is not owed)
// and sheet 1 "JEU A" (bet lines only, so the accounts follow them in a race's lines).
struct SetupFolder {
    ClubFixture club;
    RaceSetupPaths paths{club.yearFolder(), club.dataFolder(), club.yearPath("noms.vba"),
                         club.path("fichenl.jeu")};
    QString cal = club.yearPath("gr1.cal");

    SetupFolder() {
        for (const QString& name : {QStringLiteral("DUPONT Jean"), QStringLiteral("MARTIN Paul"),
                                    QStringLiteral("LEFEBVRE André")})
            {
            FancierSpec spec;
            spec.name = name;
            club.addFancier(spec);
        }
        QList<CalendarRaceSpec> races;
        for (int i = 1; i <= 4; ++i)
            races.append({QStringLiteral("TOURS"), QStringLiteral("0%1/06/05").arg(i), 0});
        races.append({QStringLiteral("ORLEANS"), QStringLiteral("12/05/05"), 2, 475400, 15400, 0});
        club.writeCalendar(races);
        club.writeStakeSheet(0, QStringLiteral("COMPTES"),
                             {{QStringLiteral("TOTAL du"), QStringLiteral("jeu"), 0},
                              {QStringLiteral("FRAIS"), QStringLiteral("frai"), 0},
                              {QStringLiteral("S/total"), QStringLiteral("s/to"), 0},
                              {QStringLiteral("Bagues"), QStringLiteral("bagu"), 0.2f}});
        club.writeStakeSheet(1, QStringLiteral("JEU A"), kSheetA);
    }
    RaceSetupResult choose(Dialogs& d, int race = 5, int level = 0) {
        const CalendarRaceRecord r = writeRaceBase(cal, club.yearFolder(), race, level);
        return setupRace(d, paths, race, level, r);
    }
    QByteArray bytes(const char* name) const { return readBytes(club.yearPath(name)); }
    int32_t amount(int f, int code) const {
        return RecordFileOf<FancierRecord>(club.yearPath("noms.vba")).read(f).raceAmount(code);
    }
    // The first set-up (fees 12,50), then fancier 1 enters 10 pigeons, 10 and 5 stakes.
    bool setUpWithEntries() {
        ScriptedDialogsScope d;
        d->answerInput(QStringLiteral("12.5"));
        if (!choose(*d).added)
            return false;
        enterFancier1();
        return true;
    }
    void enterFancier1() {
        StakeAmountBlock b;
        b.setStakeCount(0, 10);
        b.setStakeCount(1, 10);
        b.setStakeCount(2, 5);
        RecordFileOf<StakeAmountBlock>(club.yearPath("mise.105")).write(1, b);
    }
};

} // namespace

TEST(RaceBase, WritesTheBaseRecordAndKeepsTheSheetOfARaceChosenAgain) {
    SetupFolder s;
    {
        ScriptedDialogsScope d;
        d->answerInput(QString());
        ASSERT_TRUE(s.choose(*d).added);
    }
    const CalendarRaceRecord r = writeRaceBase(s.cal, s.club.yearFolder(), 5, 3);
    const QByteArray b = s.bytes("bases.405");
    ASSERT_EQ(b.size(), 127);
    EXPECT_EQ(b.left(15), QByteArray("ORLEANS        "));
    EXPECT_EQ(b.mid(15, 1), QByteArray("2"));
    EXPECT_EQ(b.mid(16, 17), QByteArray("12 mai 2005      "));
    EXPECT_EQ(b.mid(33, 8), hex("00 00 00 00 20 04 1D 41"));
    EXPECT_EQ(b.mid(57, 14), QByteArray(14, '\0'));
    EXPECT_EQ(b.mid(71, 4), hex("00 00 40 40"));
    EXPECT_EQ(b.mid(75, 52), QByteArray(52, '\0'));
    const QString line = ChosenRaceLine(3, r, 405);
    EXPECT_EQ(line, QStringLiteral("SOCIETE") + QString(43, u' ') +
                        QStringLiteral("ORLEANS        12/05/05 .405"));
    EXPECT_EQ(line.size(), 78);
    EXPECT_EQ(chosenRaceSummary(r), QStringLiteral("12 mai 2005 ORLEANS UN AN"));

    // Chosen again at GENERAL: the sheet number (set up above) and reserved bytes stay.
    QByteArray before = s.bytes("bases.105");
    before[60] = 'R';
    writeBytes(s.club.yearPath("bases.105"), before);
    writeRaceBase(s.cal, s.club.yearFolder(), 5, 0);
    const QByteArray after = s.bytes("bases.105");
    EXPECT_EQ(after.mid(57, 70), before.mid(57, 70));
    EXPECT_EQ(after.mid(77, 2), hex("01 00"));

    // A race whose stored date is not a real date is refused.
    RecordFileOf<CalendarRaceRecord> cal(s.cal);
    CalendarRaceRecord bad = cal.read(1);
    bad.setRaceDate(QStringLiteral("31/02/05"));
    cal.write(1, bad);
    EXPECT_THROW(writeRaceBase(s.cal, s.club.yearFolder(), 1, 0), Error);
    EXPECT_FALSE(QFile::exists(s.club.yearPath("bases.101")));
}

TEST(RaceSetup, FirstSetUpMakesTheRaceFiles) {
    SetupFolder s;
    ScriptedDialogsScope d;
    d->answerInput(QStringLiteral("12.5"));
    const RaceSetupResult r = s.choose(*d);
    ASSERT_EQ(d->asked().size(), 1); // two sheet names: no sheet question
    EXPECT_EQ(d->asked()[0].input.title,
              QStringLiteral("MONTANT des FRAIS pour ORLEANS        UN AN"));
    EXPECT_EQ(d->asked()[0].input.defaultAnswer, QStringLiteral("0"));
    EXPECT_TRUE(r.added);
    EXPECT_EQ(r.chosenLine, QStringLiteral("GENERAL") + QString(43, u' ') +
                                QStringLiteral("ORLEANS        12/05/05 .105"));
    EXPECT_EQ(s.bytes("mise.105"), QByteArray(1212, '\0'));
    const QByteArray jeu = s.bytes("basejeu.105");
    ASSERT_EQ(jeu.size(), 6 * 19); // sheet 1 and the accounts lines (no "jeu" line)
    EXPECT_EQ(jeu.mid(2 * 19 + 8, 5), QByteArray("jeu  "));
    EXPECT_EQ(jeu.mid(3 * 19 + 15, 4), hex("00 00 48 41"));
    EXPECT_EQ(s.bytes("bases.105").mid(77, 2), hex("01 00"));
    for (int f = 1; f <= 3; ++f)
        EXPECT_EQ(s.amount(f, 105), 0);
}

TEST(RaceSetup, ChangingTheSheetRecalculatesTheAmountsAfterTheQuestion) {
    SetupFolder s;
    ASSERT_TRUE(s.setUpWithEntries());
    s.club.writeStakeSheet(2, QStringLiteral("JEU B"), kSheetA);
    const QByteArray jeu = s.bytes("basejeu.105"), bases = s.bytes("bases.105");
    const QByteArray noms = s.bytes("noms.vba");

    // No at the question asks the sheet again; 0 then abandons: nothing changed.
    {
        ScriptedDialogsScope d;
        d->answerInput(QStringLiteral("2")).answer(MsgAnswer::No).answerInput(QStringLiteral("0"));
        EXPECT_FALSE(s.choose(*d).added);
        ASSERT_EQ(d->asked().size(), 3);
        const AskedQuestion& sheet = d->asked()[0];
        EXPECT_EQ(sheet.input.title, QStringLiteral("JEU POUR ORLEANS UN AN GENERAL"));
        EXPECT_EQ(sheet.input.prompt, QStringLiteral("\n 0 COMPTES\n 1 JEU A\n 2 JEU B"));
        EXPECT_EQ(sheet.input.defaultAnswer, QStringLiteral("1"));
        const MessageRequest& q = d->asked()[1].message;
        EXPECT_EQ(q.text, QStringLiteral("Des amateurs sont engagés dans ce concours.\rChanger de "
                                         "jeu recalcule leurs montants. Voulez-vous changer de jeu ?"));
        EXPECT_EQ(q.buttons, MsgButtons::YesNo);
        EXPECT_EQ(q.defaultButton, MsgAnswer::No);
    }
    EXPECT_EQ(s.bytes("basejeu.105"), jeu);
    EXPECT_EQ(s.bytes("bases.105").mid(75), bases.mid(75));
    EXPECT_EQ(s.bytes("noms.vba"), noms);

    // Yes, with fees of 0: 10 × 0.50 + 5 × 1.00 before the sub-total = 10.00, stored as
    // 10000; the rings after the sub-total are not owed.
    ScriptedDialogsScope d;
    d->answerInput(QStringLiteral("2")).answer(MsgAnswer::Yes).answerInput(QString());
    const RaceSetupResult r = s.choose(*d);
    EXPECT_TRUE(r.added);
    EXPECT_EQ(r.sheet, 2);
    EXPECT_EQ(s.amount(1, 105), 10000);
    EXPECT_EQ(s.amount(2, 105), 0);
    EXPECT_EQ(s.bytes("bases.105").mid(77, 2), hex("02 00"));
    EXPECT_EQ(s.bytes("mise.105").size(), 1212);
}

TEST(RaceSetup, TheSameSheetKeepsAmountsAndLinesButAsksTheFeesAgain) {
    SetupFolder s;
    ASSERT_TRUE(s.setUpWithEntries());
    RecordFileOf<FancierRecord> season(s.club.yearPath("noms.vba"));
    FancierRecord f = season.read(1);
    f.setRaceAmount(105, 777);
    season.write(1, f);
    const QByteArray jeu = s.bytes("basejeu.105"), noms = s.bytes("noms.vba");

    // The same fees again: nothing is recalculated.
    {
        ScriptedDialogsScope d;
        d->answerInput(QStringLiteral("abc")).answer(MsgAnswer::Ok).answerInput(QStringLiteral("12,5"));
        EXPECT_TRUE(s.choose(*d).added);
        ASSERT_EQ(d->asked().size(), 3);
        EXPECT_EQ(d->asked()[0].input.defaultAnswer, QStringLiteral("12,5"));
        EXPECT_EQ(d->asked()[1].message.text, QStringLiteral("Tapez un montant, par exemple 12,50."));
    }
    EXPECT_EQ(s.bytes("noms.vba"), noms);
    EXPECT_EQ(s.bytes("basejeu.105"), jeu);

    // New fees change what the fanciers owe, as their entry sheets show it: 10 × 0.50 +
    // 5 × 1.00 + 10 pigeons × 12.35.
    ScriptedDialogsScope d;
    d->answerInput(QStringLiteral("12,345"));
    EXPECT_TRUE(s.choose(*d).added);
    EXPECT_EQ(s.amount(1, 105), 133500);
    EXPECT_EQ(s.amount(2, 105), 0);
    const QByteArray now = s.bytes("basejeu.105");
    EXPECT_EQ(now.left(3 * 19), jeu.left(3 * 19));
    EXPECT_FLOAT_EQ(RecordFileOf<StakeTypeRecord>(s.club.yearPath("basejeu.105")).read(4).unitValue(),
                    12.35f);
    EXPECT_EQ(s.bytes("mise.105").left(4), hex("00 00 20 41"));
}

TEST(RaceSetup, ANegativePriceIsRefusedAndAskedAgain) {
    SetupFolder s;
    ScriptedDialogsScope d;
    d->answerInput(QStringLiteral("-25")).answer(MsgAnswer::Ok).answerInput(QStringLiteral("2,5"));
    ASSERT_TRUE(s.choose(*d).added);
    ASSERT_EQ(d->messages().size(), 1);
    EXPECT_EQ(d->messages()[0].text, QStringLiteral("Un montant ne peut pas être négatif : tapez "
                                                    "par exemple 12,50 (0 pour aucun)."));
    EXPECT_FLOAT_EQ(RecordFileOf<StakeTypeRecord>(s.club.yearPath("basejeu.105")).read(4).unitValue(),
                    2.5f);
}

// Two lines of the same label and code keep their counts in their order; the rows the
// totals write are computed again, never carried.
TEST(RaceSetup, LinesOfTheSameNameAreMatchedInTheirOrder) {
    SetupFolder s;
    const QList<StakeLineSpec> twice = {{QStringLiteral("Simple"), QStringLiteral("simp"), 0.5f},
                                        {QStringLiteral("Simple"), QStringLiteral("simp"), 0.5f},
                                        {QStringLiteral("Double"), QStringLiteral("doub"), 1.0f}};
    s.club.writeStakeSheet(1, QStringLiteral("JEU A"), twice);
    s.club.writeStakeSheet(2, QStringLiteral("JEU B"),
                           {twice[2], twice[0], {QStringLiteral("Feuille"), QStringLiteral("feui"), 1},
                            twice[1]});
    {
        ScriptedDialogsScope d;
        d->answerInput(QStringLiteral("1")).answerInput(QString());
        ASSERT_TRUE(s.choose(*d).added);
    }
    // Lines: 1 Simple, 2 Simple, 3 Double, 4 TOTAL du jeu, 5 FRAIS, 6 S/total, 7 Bagues.
    StakeAmountBlock b;
    for (auto [k, v] : {std::pair{0, 10.f}, {1, 7.f}, {2, 3.f}, {3, 5.f}, {4, 9.f}, {6, 9.f}})
        b.setStakeCount(k, v);
    RecordFileOf<StakeAmountBlock>(s.club.yearPath("mise.105")).write(1, b);

    ScriptedDialogsScope d;
    d->answerInput(QStringLiteral("2")).answer(MsgAnswer::Yes).answerInput(QString());
    ASSERT_TRUE(s.choose(*d).added);
    EXPECT_EQ(d->messages()[0].text.count(QStringLiteral("effacés")), 0);
    // New lines: 1 Double, 2 Simple, 3 Feuille, 4 Simple, 5 TOTAL du jeu, 6 FRAIS, 7 S/total.
    const StakeAmountBlock now = RecordFileOf<StakeAmountBlock>(s.club.yearPath("mise.105")).read(1);
    const QList<float> expected = {10, 5, 7, 0, 3, 10, 10, 10}; // FRAIS holds the pigeons
    for (int k = 0; k < expected.size(); ++k)
        EXPECT_EQ(now.stakeCount(k), expected[k]) << "element " << k;
    EXPECT_EQ(s.amount(1, 105), 10000); // 5 × 1,00 + 10 × 0,50
}

// The question before a change names each dropped line once, and at most ten of them.
TEST(RaceSetup, TheQuestionNamesEachDroppedLineOnceAndAtMostTen) {
    SetupFolder s;
    QList<StakeLineSpec> old(3, {QStringLiteral("Simple"), QStringLiteral("simp"), 0.5f});
    for (int i = 1; i <= 11; ++i)
        old.append({QStringLiteral("Lig%1").arg(i), QStringLiteral("l%1").arg(i), 1.0f});
    s.club.writeStakeSheet(1, QStringLiteral("JEU A"), old);
    s.club.writeStakeSheet(2, QStringLiteral("JEU B"), {kSheetA[1]});
    {
        ScriptedDialogsScope d;
        d->answerInput(QStringLiteral("1")).answerInput(QString());
        ASSERT_TRUE(s.choose(*d).added);
    }
    StakeAmountBlock b;
    for (int k = 0; k <= old.size(); ++k) // the pigeons, then a count on every line
        b.setStakeCount(k, 2);
    RecordFileOf<StakeAmountBlock>(s.club.yearPath("mise.105")).write(1, b);

    ScriptedDialogsScope d;
    d->answerInput(QStringLiteral("2")).answer(MsgAnswer::No).answerInput(QString());
    (void)s.choose(*d);
    ASSERT_FALSE(d->messages().isEmpty());
    const QString q = d->messages()[0].text;
    EXPECT_EQ(q.count(QStringLiteral("« Simple")), 1) << qPrintable(q);
    EXPECT_TRUE(q.contains(QStringLiteral("« Simple simp », « Lig1 l1 »"))) << qPrintable(q);
    EXPECT_TRUE(q.contains(QStringLiteral("Lig9"))) << qPrintable(q);
    EXPECT_FALSE(q.contains(QStringLiteral("Lig10"))) << qPrintable(q);
    EXPECT_TRUE(q.contains(QStringLiteral(" » et 2 autres : les nombres engagés sur ces lignes"))) << qPrintable(q);
}

TEST(RaceSetup, ASheetNumberThatNamesNoSheetIsAskedAgain) {
    SetupFolder s;
    s.club.writeStakeSheet(2, QStringLiteral("JEU B"), kSheetA);
    QFile::remove(s.club.path("gr2.jeu"));
    ScriptedDialogsScope d;
    for (const char* wrong : {"9", "1,5", "-1", "abc", "2"})
        d->answerInput(QString::fromLatin1(wrong)).answer(MsgAnswer::Ok);
    d->answerInput(QStringLiteral("0"));
    EXPECT_FALSE(s.choose(*d).added);
    const QList<MessageRequest> m = d->messages();
    ASSERT_EQ(m.size(), 5);
    EXPECT_EQ(m[0].text, QStringLiteral("Le jeu n° 9 n'existe pas : tapez un numéro de la liste "
                                        "(0 pour abandonner)."));
    EXPECT_EQ(m[4].text.left(13), QStringLiteral("Le jeu n° 2 n"));
    EXPECT_FALSE(QFile::exists(s.club.yearPath("basejeu.105")));
    EXPECT_EQ(s.bytes("bases.105").mid(77, 2), hex("00 00"));

    // Cancel (an empty answer) abandons too.
    ScriptedDialogsScope d2;
    d2->answerInput(QString());
    EXPECT_FALSE(s.choose(*d2).added);
}

TEST(RaceSetup, AMissingSheetUnaskedAddsNothing) {
    SetupFolder s;
    QFile::remove(s.club.path("gr1.jeu"));
    ScriptedDialogsScope d;
    d->answer(MsgAnswer::Ok);
    EXPECT_FALSE(s.choose(*d).added);
    EXPECT_EQ(d->messages().first().text,
              QStringLiteral("Le jeu n° 1 n'existe pas : le concours n'est pas ajouté."));
    EXPECT_FALSE(QFile::exists(s.club.yearPath("basejeu.105")));
}

TEST(RaceChoice, QuitterHandsTheChosenRacesOver) {
    Session session;
    const QStringList lines = {QStringLiteral("GENERAL") + QString(43, u' ') +
                                   QStringLiteral("ORLEANS        12/05/05 .105"),
                               QStringLiteral("SOCIETE") + QString(43, u' ') +
                                   QStringLiteral("TOURS          02/06/05 .402")};
    session.ChosenRaceCodes[5] = 333;
    EXPECT_EQ(storeChosenRaces(session, lines, 1), 2);
    EXPECT_EQ(session.ChosenRaceCodes, (std::array<int16_t, 12>{0, 105, 402, 0}));
    EXPECT_EQ(session.ChosenRaceStakeFiles[1], QStringLiteral("gr1jeu.105"));
    EXPECT_EQ(session.ChosenRaceStakeFiles[2], QStringLiteral("gr4jeu.102"));
    EXPECT_TRUE(session.ChosenRaceStakeFiles[3].isEmpty());
    EXPECT_TRUE(isAlreadyChosen(lines, 105));
    EXPECT_FALSE(isAlreadyChosen(lines, 405));
    EXPECT_EQ(raceCode(3, 5), 405);
    EXPECT_EQ(storeChosenRaces(session, {}, 1), 0);
    EXPECT_EQ(session.ChosenRaceCodes[1], 0);
}
