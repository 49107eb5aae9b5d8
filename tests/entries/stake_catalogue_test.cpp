#include "entries/stake_catalogue.h"

#include "common/errors.h"

#include <gtest/gtest.h>

using namespace vt;

namespace {

struct CatalogueLine {
    int number;
    const char* text; // UTF-8
    const char* kinds;
};

// Every line of the catalogue with the kinds the programs recognise on it.
const CatalogueLine catalogue[] = {
    {1, "BELGE    Mise", "Belge"},
    {2, "Pot       pot", ""},
    {3, "Spécial  Sp12", ""},
    {4, "Belles   Bell", ""},
    {5, "Hourraie hour", ""},
    {6, "Lingots  Ling", ""},
    {7, "Mise     Mise", ""},
    {8, "Mise 1   Mis1", ""},
    {9, "Mise 2   Mis2", ""},
    {10, "Mise 3   Mis3", ""},
    {11, "Obligat  Obli", ""},
    {12, "Mise+Obl M.O.", "ObligatoryPart"},
    {13, "Honn+Obl H.O.", "ObligatoryPart"},
    {14, "Honneur  Hon.", ""},
    {15, "Quarté   Quar", ""},
    {16, "Unique   Uniq", ""},
    {17, "Unique   Un.1", "DotOne"},
    {18, "Richome  Rich", ""},
    {19, "Richome  Ri.2", "DotTwo|RiTwo"},
    {20, "Poule", "Poule"},
    {21, "Poule    AS  ", "Poule|PouleAs|MarkedPoule"},
    {22, "Poule    AS.1", "DotOne|Poule|PouleAs|MarkedPoule"},
    {23, "Poule    PSPE", "Poule|MarkedPoule"},
    {24, "P.Double Doub", ""},
    {25, "Trio     Trio", ""},
    {26, "Spéciale Sp20", ""},
    {27, "Spéciale Sp30", ""},
    {28, "Spéciale Sp50", ""},
    {29, "Série     2/T", ""},
    {30, "Série     N/D", ""},
    {31, "Série     2/2", "SeriesTwoTwo"},
    {32, "Série     2/3", "SeriesTwoThree"},
    {33, "Série     2/4", ""},
    {34, "Série     3/3", "SeriesThreeThree"},
    {35, "Série     3/5", "SeriesThreeFive"},
    {36, "Série     4/6", "SeriesFourSix"},
    {37, "Série    Mixt", "Mixt"},
    {38, "Série   Objet", ""},
    {39, "Sér. 2/3 Obj.", "SerTwoThree"},
    {40, "Sér. 2/3 Sér.", "SerTwoThree"},
    {41, "Sér. 3/5 Obj.", "SerThreeFive"},
    {42, "Premier  Insc", ""},
    {43, "Premier  Prem", "Prem"},
    {44, "TOTAL du jeu ", "GameTotal"},
    {45, "FRAIS    frai", "FeesCode|Fees"},
    {46, "GRATUITS grat", "Free"},
    {47, "Résultat resu", "ResultCode|Result"},
    {48, "Feuille  feui", ""},
    {49, "Constat. cons", ""},
    {50, "S/total  s/to", "SubTotal"},
    {51, "    % à  dedu", "Deduction"},
    {52, "Bagues   bagu", "RingsCode|Rings"},
    {53, "téléph.  tele", "TelephoneCode|Telephone"},
    {54, "Total    s/td", "DeductionTotal"},
    {55, "Chal 3p  ch3p", ""},
    {56, "Chal 1p  ch1p", ""},
    {57, "TOTAL    t/ge", "GrandTotal"},
    {58, "Challeng Chal", ""},
};

QString hex(const QByteArray& b) { return QString::fromLatin1(b.toHex(' ')); }

} // namespace

TEST(StakeCatalogue, HoldsTheFiftyEightLinesWithTheirKinds) {
    ASSERT_EQ(std::size(catalogue), size_t(StakeCatalogue::Count));
    for (const auto& line : catalogue) {
        const QString text = QString::fromUtf8(line.text);
        SCOPED_TRACE(line.number);
        EXPECT_EQ(StakeCatalogue::text(line.number), text);
        EXPECT_EQ(StakeCatalogue::texts()[size_t(line.number - 1)], text);
        EXPECT_EQ(text.size(), line.number == 20 ? 5 : 13);
        const QString kinds = QString::fromLatin1(line.kinds);
        EXPECT_EQ(kindNames(textKinds(text)), kinds) << "grid text";
        EXPECT_EQ(kindNames(recordKinds(StakeCatalogue::record(line.number))), kinds)
            << "stored record";
        // The loaded form (label, space, code) is the same line for every reader.
        const StakeTypeRecord r = StakeCatalogue::record(line.number);
        EXPECT_EQ(kindNames(textKinds(loadedLineText(r))), kinds) << "loaded text";
        EXPECT_EQ(stakeRecord(loadedLineText(r), 0, 0.0f), r);
        EXPECT_EQ(stakeRecord(lineText(r), 0, 0.0f), r);
    }
    EXPECT_THROW(StakeCatalogue::text(0), Error);
    EXPECT_THROW(StakeCatalogue::text(59), Error);
}

TEST(StakeCatalogue, LinesEncodeToTheStoredBytes) {
    const struct {
        const char* text;
        float value;
        const char* bytes;
    } cases[] = {
        {"Mise     Mise", 1.5f, "4d 69 73 65 20 20 20 20 20 4d 69 73 65 00 00 00 00 c0 3f"},
        {"Mise      Mise", 1.5f, "4d 69 73 65 20 20 20 20 20 4d 69 73 65 00 00 00 00 c0 3f"},
        {"téléph.  tele", 1.0f, "74 e9 6c e9 70 68 2e 20 20 74 65 6c 65 00 00 00 00 80 3f"},
        {"Poule", 0.0f, "50 6f 75 6c 65 20 20 20 50 6f 75 6c 65 00 00 00 00 00 00"},
        {"    % à  dedu", 10.0f, "20 20 20 20 25 20 e0 20 20 64 65 64 75 00 00 00 00 20 41"},
    };
    for (const auto& c : cases) {
        const StakeTypeRecord r = stakeRecord(QString::fromUtf8(c.text), 0, c.value);
        EXPECT_EQ(hex(r.bytes()), QString::fromLatin1(c.bytes)) << c.text;
    }
    const StakeTypeRecord poule = StakeCatalogue::record(20);
    EXPECT_EQ(poule.stakeLabel(), QStringLiteral("Poule   "));
    EXPECT_EQ(poule.stakeCode(), QStringLiteral("Poule"));
}

TEST(StakeCatalogue, EditedTextsAreRecognisedByTheirParts) {
    const struct {
        const char* text;
        const char* gridKinds;
        const char* recordKinds;
    } cases[] = {
        // A priced pool line carries its price as its code and loses the marker.
        {"Poule    2,00", "Poule", "Poule"},
        {"Poule     1,50", "Poule", "Poule"},
        // A user's own wording keeps the recognised code.
        {"Mon total jeu ", "GameTotal", "GameTotal"},
        {"belge    Mise", "Belge", "Belge"},
        // The grid trims the text before its BELGE test; the stored label is not trimmed.
        {"  BELGE  Mise", "Belge", ""},
        {"FRAISXX  xxxx", "Fees", "Fees"},
        // The grid looks at the text's end; a stored code must be the whole code.
        {"Total   xs/to", "SubTotal", ""},
        {"Sér. 3/3 Obj.", "SeriesThreeThree", "SeriesThreeThree"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(kindNames(textKinds(text)), QString::fromLatin1(c.gridKinds)) << c.text;
        EXPECT_EQ(kindNames(recordKinds(lineLabel(text), lineCode(text))),
                  QString::fromLatin1(c.recordKinds))
            << c.text;
    }
    EXPECT_TRUE(textKinds(QStringLiteral("Série     4/6")) & SeriesKinds);
    EXPECT_FALSE(textKinds(QStringLiteral("Série     2/4")) & SeriesKinds);
}
