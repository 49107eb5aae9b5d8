#include "entries/recap_prints.h"

#include "common/record_file.h"
#include "entries/amount_owed.h"
#include "entries/recap_store.h"
#include "platform/recording_surface.h"
#include "platform/scripted_dialogs.h"
#include "tests/support/club_fixture.h"
#include "tests/support/qt_print.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace vt;
using vt::testing::ClubFixture;
using vt::testing::RaceFilesSpec;
using vt::testing::StakeLineSpec;

namespace {

StakeLineSpec line(const char* text13, float unit = 0) {
    return vt::testing::stakeLineSpec(QString::fromUtf8(text13), unit);
}

// The detail example race: PERONNE, VIEUX, GENERAL, with a free-entries line.
RaceFilesSpec detailRace(int code = 101) {
    RaceFilesSpec r;
    r.raceCode = code;
    r.site = QStringLiteral("PERONNE");
    r.date = QStringLiteral("21 juin 2026");
    r.lines = {line("Mise     Mise", 1), line("Série     2/3", 2), line("TOTAL du jeu "),
               line("FRAIS    frai", 0.5f), line("GRATUITS grat"), line("S/total  s/to")};
    return r;
}

// The recap-sheet example: the detail race followed by rings, a percentage and the totals.
RaceFilesSpec sheetRace(int code = 101, bool telephone = false) {
    RaceFilesSpec r = detailRace(code);
    r.lines << line("Bagues   bagu", 0.2f) << line("    % à  dedu", 10);
    if (telephone)
        r.lines << line("téléph.  tele", 1);
    r.lines << line("Total    s/td") << line("TOTAL    t/ge");
    return r;
}

void writeRecap(const ClubFixture& club, int code, int fanciers, std::initializer_list<int> totals) {
    RaceRecapRecord r;
    r.setFancierCount(int16_t(fanciers));
    int k = 0;
    for (int t : totals)
        r.setTotal(k++, int16_t(t));
    RecordFileOf<RaceRecapRecord>(club.yearPath(raceFileName(QStringLiteral("recap"), code)))
        .rewrite({r});
}

struct PrintFixture : ::testing::Test {
    ClubFixture club;
    Session* s = nullptr;
    RecordingSurface surface;
    void SetUp() override {
        club.writeClub(QStringLiteral("LA COLOMBE"), QStringLiteral("123"));
        for (const char* name : {"DUPONT", "MARTIN", "BERNARD"})
            club.addFancier(vt::testing::namedFancier(QString::fromLatin1(name)));
        s = &club.configureSession();
    }
    void setAmounts(int recordNo, std::initializer_list<std::pair<int, int>> amounts) {
        RecordFileOf<FancierRecord> f(s->FancierFilePath);
        FancierRecord r = f.read(recordNo);
        for (auto [code, a] : amounts)
            r.setRaceAmount(code, a);
        f.write(recordNo, r);
    }
    QStringList page(int i = 0) const {
        return RecordingSurface::pageLines(surface.pages().at(i));
    }
    // The page's lines whose texts are all drawn with the attribute.
    QStringList linesWhere(int i, bool (*test)(const RecordedText&)) const {
        RecordedPage only;
        for (const RecordedText& t : surface.pages().at(i).texts)
            if (test(t) && !t.text.trimmed().isEmpty())
                only.texts.append(t);
        return RecordingSurface::pageLines(only);
    }
};

} // namespace

TEST(ListedFanciers, AreTheLinesWithATotalInListOrder) {
    const QStringList lines = {
        QStringLiteral("BERNARD                    3 LA COLOMBE        "),
        QStringLiteral("DUPONT                     1 LA COLOMBE           38,500"),
        QStringLiteral("MARTIN                     2 LA COLOMBE        "
                       "           "),
        QStringLiteral("ZOLA                      12 LA COLOMBE            8,000")};
    EXPECT_EQ(listedFanciers(lines), (QList<int>{1, 12}));
}

TEST_F(PrintFixture, RecapSheetOfTheExample) {
    club.writeRaceFiles(sheetRace());
    writeRecap(club, 101, 1, {10, 10, 6, 22, 10, 2, 26});
    ClubFixture::chooseRaces(*s, {101});
    ScriptedDialogsScope dialogs;
    QStringList status;
    EXPECT_FALSE(
        printClubRecaps(*dialogs, surface, *s, [&](const QString& t) { status << t; }).nothing());
    EXPECT_EQ(status, (QStringList{QStringLiteral("Patientez impression en cours"), QString()}));
    ASSERT_EQ(surface.pages().size(), 1);
    EXPECT_EQ(page(), (QStringList{
                          QStringLiteral("              SOCIETE de LA COLOMBE"),
                          QStringLiteral("PERONNE VIEUX GENERAL                  du 21 juin 2026"),
                          QStringLiteral("Nombre d'Amateurs        1"),
                          QStringLiteral("Nombre de Pigeons       10"),
                          QStringLiteral("Mise     Mise 1,000    10   10,000"),
                          QStringLiteral("Série     2/3 2,000     6   12,000"),
                          QStringLiteral("           TOTAL DU JEU =   22,000"),
                          QStringLiteral("FRAIS         0,500    10    5,000"),
                          QStringLiteral("GRATUITS      0,500     2    1,000"),
                          QStringLiteral("             SOUS TOTAL =   26,000"),
                          QStringLiteral("Bagues        0,200    10    2,000"),
                          QStringLiteral("Réglage  10 % sur   22,000 =  2,200"),
                          QStringLiteral("        TOTAL A DEDUIRE =    4,200"),
                          QStringLiteral("          TOTAL GENERAL =   21,800"),
                      }));
    EXPECT_EQ(linesWhere(0, [](const RecordedText& t) { return t.color == 255; }),
              (QStringList{QStringLiteral("Bagues        0,200    10    2,000"),
                           QStringLiteral("Réglage  10 % sur   22,000 =  2,200"),
                           QStringLiteral("        TOTAL A DEDUIRE =    4,200")}));
    for (const RecordedText& t : surface.pages()[0].texts) {
        EXPECT_EQ(t.fontSize, 13);
        EXPECT_TRUE(t.bold && t.italic);
    }
    EXPECT_EQ(surface.pages()[0].orientation, Orientation::Portrait);
}

TEST_F(PrintFixture, TelephoneCostsTakeADecimalCommaAndAreAskedBeforePrinting) {
    club.writeRaceFiles(sheetRace(101, true));
    writeRecap(club, 101, 1, {10, 10, 6, 22, 10, 2, 26});
    ClubFixture::chooseRaces(*s, {101});
    ScriptedDialogsScope dialogs;
    dialogs->answerInput(QStringLiteral("douze")).answer(MsgAnswer::Ok).answerInput(
        QStringLiteral("12,50"));
    printClubRecaps(*dialogs, surface, *s);
    ASSERT_EQ(dialogs->asked().size(), 3);
    EXPECT_EQ(dialogs->asked()[0].input.title, QStringLiteral("MONTANT des FRAIS de Téléphone"));
    EXPECT_EQ(dialogs->asked()[0].input.prompt, QString());
    // The telephone amount takes 6 characters: the quantity column widens to 7 for the
    // whole sheet, so that it stays apart from the unit, and the totals follow it.
    EXPECT_EQ(page().mid(4), (QStringList{
                                 QStringLiteral("Mise     Mise 1,000     10   10,000"),
                                 QStringLiteral("Série     2/3 2,000      6   12,000"),
                                 QStringLiteral("           TOTAL DU JEU =    22,000"),
                                 QStringLiteral("FRAIS         0,500     10    5,000"),
                                 QStringLiteral("GRATUITS      0,500      2    1,000"),
                                 QStringLiteral("             SOUS TOTAL =    26,000"),
                                 QStringLiteral("Bagues        0,200     10    2,000"),
                                 QStringLiteral("Réglage  10 % sur   22,000 =  2,200"),
                                 QStringLiteral("téléph.       1,000 12,500   12,500"),
                                 QStringLiteral("        TOTAL A DEDUIRE =    16,700"),
                                 QStringLiteral("          TOTAL GENERAL =     9,300"),
                             }));
}

TEST_F(PrintFixture, ElevenRacesGiveElevenSheetsAfterAllTheQuestions) {
    QList<int> codes;
    for (int race = 1; race <= 11; ++race) {
        codes << 100 + race;
        club.writeRaceFiles(sheetRace(100 + race, true));
        writeRecap(club, 100 + race, 1, {10, 10, 6, 22, 10, 2, 26});
    }
    ClubFixture::chooseRaces(*s, codes);
    ScriptedDialogsScope dialogs;
    for (int i = 0; i < 11; ++i)
        dialogs->answerInput(QString());
    printClubRecaps(*dialogs, surface, *s);
    EXPECT_EQ(dialogs->asked().size(), 11);
    ASSERT_EQ(surface.pages().size(), 11);
    EXPECT_TRUE(page(10).contains(QStringLiteral("          TOTAL GENERAL =   21,800")));
}

TEST_F(PrintFixture, ARecapNeverStoredIsToldAndPrintsZeros) {
    club.writeRaceFiles(sheetRace());
    ClubFixture::chooseRaces(*s, {101});
    ScriptedDialogsScope dialogs;
    dialogs->answer(MsgAnswer::Ok);
    printClubRecaps(*dialogs, surface, *s);
    ASSERT_EQ(dialogs->messages().size(), 1);
    EXPECT_EQ(dialogs->messages()[0].text,
              QStringLiteral("Récapitulatif non mémorisé : PERONNE (101)"));
    EXPECT_EQ(page()[2], QStringLiteral("Nombre d'Amateurs        0"));
    EXPECT_FALSE(QFile::exists(club.yearPath("recap.101")));
}

TEST_F(PrintFixture, StoredRecapsPrintWhatTheStorageCounted) {
    RaceFilesSpec r = sheetRace();
    r.blocks = {{10, 10, 6, 22, 10, 2, 26}};
    club.writeRaceFiles(r);
    ClubFixture::chooseRaces(*s, {101});
    ScriptedDialogsScope dialogs;
    dialogs->answer(MsgAnswer::Yes);
    ASSERT_TRUE(storeRaceRecaps(*dialogs, *s));
    printClubRecaps(*dialogs, surface, *s);
    EXPECT_EQ(page().last(), QStringLiteral("          TOTAL GENERAL =   21,800"));
}

TEST_F(PrintFixture, LongSheetsGoOnInTheRightColumn) {
    RaceFilesSpec r;
    r.raceCode = 101;
    r.site = QStringLiteral("PERONNE");
    for (int k = 1; k <= 37; ++k)
        r.lines << StakeLineSpec{QStringLiteral("L%1").arg(k), QStringLiteral("c%1").arg(k), 1};
    r.lines << line("TOTAL du jeu ") << line("FRAIS    frai") << line("S/total  s/to");
    club.writeRaceFiles(r);
    writeRecap(club, 101, 1, {1});
    ClubFixture::chooseRaces(*s, {101});
    ScriptedDialogsScope dialogs;
    printClubRecaps(*dialogs, surface, *s);
    const RecordedPage& pg = surface.pages()[0];
    double firstBetY = -1, line34Y = -1, line34X = -1, line33X = -1;
    for (const RecordedText& t : pg.texts) {
        if (t.text.startsWith(QLatin1String("L1 ")))
            firstBetY = t.y;
        if (t.text.startsWith(QLatin1String("L33 ")))
            line33X = t.x;
        if (t.text.startsWith(QLatin1String("L34 ")))
            line34Y = t.y, line34X = t.x;
    }
    EXPECT_EQ(line33X, 0);
    EXPECT_DOUBLE_EQ(line34X, surface.scaleWidth() / 2);
    EXPECT_DOUBLE_EQ(line34Y, firstBetY);
}

TEST_F(PrintFixture, DetailOfTheExampleGivesWhatTheFancierOwes) {
    RaceFilesSpec r = detailRace();
    r.blocks = {{10, 10, 6, 22, 10, 2, 26}, {0, 5, 5}};
    club.writeRaceFiles(r);
    ClubFixture::chooseRaces(*s, {101});
    ScriptedDialogsScope dialogs;
    printFancierDetail(*dialogs, surface, *s, {1, 2});
    ASSERT_EQ(surface.pages().size(), 1);
    EXPECT_EQ(page(), (QStringList{
                          QStringLiteral("                         PERONNE VIEUX GENERAL      "
                                         "            du 21 juin 2026"),
                          QStringLiteral("                       Pig. Mis 2/3   Total  fra gra  S/total"),
                          QStringLiteral("DUPONT                   10  10   6   22,000  10   2   26,000"),
                          QStringLiteral("                         10  10   6   22,000  10   2   26,000"),
                      }));
    EXPECT_EQ(surface.pages()[0].orientation, Orientation::Landscape);
    for (const RecordedText& t : surface.pages()[0].texts)
        EXPECT_TRUE(t.fontSize == 9 && t.bold && t.italic);
}

TEST_F(PrintFixture, DetailWrapsAfterTwentyFiveStakeColumns) {
    RaceFilesSpec r;
    r.raceCode = 101;
    r.site = QStringLiteral("PERONNE");
    QList<float> block{2};
    for (int k = 1; k <= 27; ++k) {
        r.lines << StakeLineSpec{QStringLiteral("Mise"), QStringLiteral("M%1").arg(k, 3, 10, QChar(u'0')), 1};
        block << 1;
    }
    r.lines << line("TOTAL du jeu ") << line("FRAIS    frai", 0.5f) << line("S/total  s/to");
    block << 0 << 2;
    r.blocks = {block};
    club.writeRaceFiles(r);
    ClubFixture::chooseRaces(*s, {101});
    ScriptedDialogsScope dialogs;
    printFancierDetail(*dialogs, surface, *s, {1});
    const QStringList lines = page();
    ASSERT_EQ(lines.size(), 7) << lines.join(u'\n').toStdString();
    EXPECT_EQ(lines[2], QStringLiteral("                        M02 M02   Total  fra  S/total"));
    EXPECT_EQ(lines[4], QStringLiteral("                          1   1   27,000   2   28,000"));
}

// A "Ri.2" line shows the stored 2 and charges it once, as the entry sheet does: what he
// owes is 1,00 + 4 x 0,50.
TEST_F(PrintFixture, DetailShowsARiTwoLineAsStoredAndChargesItOnce) {
    RaceFilesSpec r;
    r.raceCode = 101;
    r.site = QStringLiteral("PERONNE");
    r.lines = {line("Richome  Ri.2", 1), line("TOTAL du jeu "), line("FRAIS    frai", 0.5f),
               line("S/total  s/to")};
    r.blocks = {{4, 2, 0, 4, 0}};
    club.writeRaceFiles(r);
    ClubFixture::chooseRaces(*s, {101});
    ScriptedDialogsScope dialogs;
    printFancierDetail(*dialogs, surface, *s, {1});
    EXPECT_EQ(page()[2], QStringLiteral("DUPONT                    4   2    1,000   4    3,000"));
}

TEST_F(PrintFixture, DetailWithoutSubTotalAndElevenRaces) {
    QList<int> codes;
    for (int race = 1; race <= 11; ++race) {
        RaceFilesSpec r = detailRace(100 + race);
        r.lines.removeLast();
        r.blocks = {{3, 1}};
        club.writeRaceFiles(r);
        codes << 100 + race;
    }
    ClubFixture::chooseRaces(*s, codes);
    ScriptedDialogsScope dialogs;
    printFancierDetail(*dialogs, surface, *s, {1});
    ASSERT_EQ(surface.pages().size(), 11);
    EXPECT_EQ(page(10).mid(1), (QStringList{QStringLiteral("                       Pig."),
                                           QStringLiteral("DUPONT                    3"),
                                           QStringLiteral("                          3")}));
}

// A record that cannot be read once the document has begun abandons the whole job: no
// page of it is left, and the outcome says it failed and why.
TEST_F(PrintFixture, AFailedDetailIsAbandoned) {
    RaceFilesSpec r = detailRace();
    r.blocks = {{10, 10, 6, 22, 10, 2, 26}};
    club.writeRaceFiles(r);
    ClubFixture::chooseRaces(*s, {101});
    ScriptedDialogsScope dialogs;
    const PrintOutcome outcome = printFancierDetail(*dialogs, surface, *s, {1, 0});
    EXPECT_TRUE(outcome.failed());
    EXPECT_TRUE(outcome.message.startsWith(
        QStringLiteral("L'impression « Détail par amateur » a échoué : ")))
        << outcome.message.toStdString();
    ASSERT_FALSE(surface.runs().isEmpty());
    EXPECT_TRUE(surface.runs().last().abandoned);
    EXPECT_TRUE(surface.documents().isEmpty());
}

TEST_F(PrintFixture, TotalsPerRaceOfTheExample) {
    RaceFilesSpec arras = detailRace(402);
    arras.site = QStringLiteral("ARRAS");
    club.writeRaceFiles(detailRace(101));
    club.writeRaceFiles(arras);
    setAmounts(1, {{101, 26000}, {402, 12500}});
    setAmounts(2, {{402, 8000}});
    ClubFixture::chooseRaces(*s, {101, 402});
    ScriptedDialogsScope dialogs;
    printRaceTotals(*dialogs, surface, *s, {1, 2});
    ASSERT_EQ(surface.pages().size(), 1);
    EXPECT_EQ(page(), (QStringList{
                          QStringLiteral("                           PERONNE   ARRAS"),
                          QStringLiteral("                           GENERAL  SOCIETE   TOTAUX"),
                          QStringLiteral(" DUPONT                    26,000   12,500    38,500"),
                          QStringLiteral(" MARTIN                              8,000     8,000"),
                          QStringLiteral("                           26,000   20,500    46,500"),
                      }));
    EXPECT_EQ(linesWhere(0, [](const RecordedText& t) { return t.bold; }),
              (QStringList{QStringLiteral("                           26,000   20,500    46,500")}));
    EXPECT_EQ(surface.pages()[0].orientation, Orientation::Landscape);

    // A negative amount is nothing; one race has no row totals.
    setAmounts(1, {{402, -5000}});
    dialogs->answer(MsgAnswer::Ok); // the negative amount is named as damage
    printRaceTotals(*dialogs, surface, *s, {1, 2});
    EXPECT_TRUE(dialogs->messages().last().text.contains(
        QStringLiteral("enregistrement 1 : montant dû au concours 402 : -5,000")));
    EXPECT_EQ(page()[2], QStringLiteral(" DUPONT                    26,000             26,000"));
    EXPECT_EQ(page()[4], QStringLiteral("                           26,000    8,000    34,000"));
    ClubFixture::chooseRaces(*s, {101});
    printRaceTotals(*dialogs, surface, *s, {1});
    EXPECT_EQ(page(), (QStringList{QStringLiteral("                           PERONNE"),
                                   QStringLiteral("                           GENERAL   TOTAUX"),
                                   QStringLiteral(" DUPONT                    26,000"),
                                   QStringLiteral("                           26,000    26,000")}));
}

TEST_F(PrintFixture, TotalsHeaderCentresAndCutsSiteNames) {
    RaceFilesSpec lyon = detailRace(201);
    lyon.site = QStringLiteral("LYON");
    RaceFilesSpec sq = detailRace(302);
    sq.site = QStringLiteral("SAINT-QUENTIN");
    club.writeRaceFiles(lyon);
    club.writeRaceFiles(sq);
    ClubFixture::chooseRaces(*s, {201, 302});
    ScriptedDialogsScope dialogs;
    printRaceTotals(*dialogs, surface, *s, {1});
    // A heading of 9 characters widens the race columns to 10, so that a space follows it.
    EXPECT_EQ(page(), (QStringList{QStringLiteral("                             LYON   SAINT-QUE"),
                                   QStringLiteral("                          GROUPEMEN  SECTEUR    TOTAUX"),
                                   QStringLiteral(" DUPONT                                          0,000"),
                                   QStringLiteral("                                                 0,000")}));
}

// A large club's recaps. The computed rows' totals (TOTAL du jeu, S/total, TOTAL t/ge) add
// up amounts and pass 32767 long before any printed figure does; no print reads them, so
// they are stored as 32767, the storage goes on, and the recap sheet's SOUS TOTAL is the sum
// of what the fanciers owe by their saved entry sheets.
TEST(LargeClubRecaps, AreStoredAndTheirSubTotalIsTheSumOwed) {
    const QList<StakeLineSpec> specs = {
        {QStringLiteral("Mise"), QStringLiteral("mise"), 1.0f},
        {QStringLiteral("Richome"), QStringLiteral("Ri.2"), 1.0f},
        {QStringLiteral("TOTAL du"), QStringLiteral("jeu"), 0},
        {QStringLiteral("FRAIS"), QStringLiteral("frai"), 1.5f},
        {QStringLiteral("Résultat"), QStringLiteral("resu"), 0.5f},
        {QStringLiteral("S/total"), QStringLiteral("s/to"), 0},
        {QStringLiteral("Bagues"), QStringLiteral("bagu"), 0.2f},
        {QStringLiteral("Total"), QStringLiteral("s/td"), 0},
        {QStringLiteral("TOTAL"), QStringLiteral("t/ge"), 0}};
    QList<StakeTypeRecord> lines;
    for (const StakeLineSpec& l : specs)
        lines.append(vt::testing::stakeTypeRecord(l));
    const RaceAmountsOwed owed(lines);

    for (int fanciers : {1000, 2000}) {
        SCOPED_TRACE(fanciers);
        ClubFixture club;
        RaceFilesSpec race;
        race.raceCode = 101;
        race.site = QStringLiteral("ORLEANS");
        race.date = QStringLiteral("12 mai 2005");
        race.lines = specs;
        long long sumOwed = 0;
        for (int n = 1; n <= fanciers; ++n) {
            club.addFancier(vt::testing::namedFancier(QStringLiteral("AMATEUR %1").arg(n)));
            // As typed on his entry sheet: pigeons, Mise, the Ri.2 entry; then as saved.
            StakeAmountBlock typed;
            const int pigeons = 10 + n % 10;
            typed.setStakeCount(0, float(pigeons));
            typed.setStakeCount(1, float(pigeons));
            typed.setStakeCount(2, 1);
            const StakeAmountBlock saved = owed.savedBlock(typed);
            sumOwed += owed.thousandths(saved).value_or(0);
            QList<float> values;
            for (int k = 0; k <= int(lines.size()); ++k)
                values.append(saved.stakeCount(k));
            race.blocks.append(values);
        }
        club.writeRaceFiles(race);
        Session& s = club.configureSession();
        ClubFixture::chooseRaces(s, {101});

        ScriptedDialogsScope dialogs;
        dialogs->answer(MsgAnswer::Yes);
        ASSERT_TRUE(storeRaceRecaps(*dialogs, s));
        const RaceRecapRecord recap = RecordFileOf<RaceRecapRecord>(club.yearPath("recap.101")).read(1);
        EXPECT_EQ(recap.total(6), RecapTotalCeiling); // S/total
        EXPECT_EQ(recap.total(2), fanciers * 2);      // the Ri.2 entries, stored as 2

        RecordingSurface surface;
        printClubRecaps(*dialogs, surface, s);
        ASSERT_EQ(surface.pages().size(), 1);
        QString subTotal, riTwo;
        for (const QString& l : RecordingSurface::pageLines(surface.pages().first())) {
            if (l.trimmed().startsWith(QStringLiteral("SOUS TOTAL =")))
                subTotal = l.section(u'=', 1).trimmed();
            if (l.startsWith(QStringLiteral("Richome Ri.2")))
                riTwo = l.mid(13).simplified();
        }
        EXPECT_EQ(subTotal, QString::number(sumOwed / 1000) + u',' +
                                QString::number(sumOwed % 1000).rightJustified(3, u'0'));
        // Unit x number of entries = amount, on paper.
        EXPECT_EQ(riTwo, QStringLiteral("1,000 %1 %1,000").arg(fanciers));
    }
}
