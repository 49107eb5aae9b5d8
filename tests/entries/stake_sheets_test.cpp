#include "entries/stake_catalogue.h"
#include "entries/stake_sheets.h"

#include "common/record_file.h"
#include "common/text.h"
#include "tests/support/club_fixture.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace vt;
using vt::testing::ClubFixture;
using vt::testing::readBytes;

namespace {

QString hex(const QByteArray& b) { return QString::fromLatin1(b.toHex(' ')); }

void writeNames(const QString& path, const QStringList& names) {
    QList<SheetNameRecord> records;
    for (const QString& n : names) {
        SheetNameRecord r;
        r.setSheetName(n);
        records.append(r);
    }
    RecordFileOf<SheetNameRecord>(path).rewrite(records);
}

QStringList storedNames(const QString& path) {
    QStringList out;
    for (const SheetNameRecord& r : RecordFileOf<SheetNameRecord>(path).readAll())
        out << trim(r.sheetName());
    return out;
}

} // namespace

TEST(SheetNames, AreNormalisedWhenTheEditorOpens) {
    const struct {
        const char* stored;
        const char* shown;
    } cases[] = {
        {"comptes", "COMPTES"},
        {"C:\\JEUX\\CONCOURS.JEU", "CONCOURS"},
        {"ABC\\", "ABC\\"},
        {"X.JEU", "X"},
        {"A.BC", "A.BC"},
        {"", ""},
        {"  jeu du dimanche  ", "JEU DU DIMANCHE"},
        {"d:\\été.jeu", "ÉTÉ"},
    };
    ClubFixture club;
    QStringList stored, shown;
    for (const auto& c : cases) {
        stored << QString::fromUtf8(c.stored);
        shown << QString::fromUtf8(c.shown);
        EXPECT_EQ(normaliseSheetName(stored.last()), shown.last()) << c.stored;
    }
    const QString path = club.path("fichenl.jeu");
    writeNames(path, stored);
    EXPECT_EQ(loadSheetNames(path), shown);
    EXPECT_EQ(storedNames(path), shown);
    EXPECT_EQ(QFile(path).size(), 50 * qint64(std::size(cases)));
    EXPECT_EQ(readBytes(path).mid(50, 50), QByteArray("CONCOURS") + QByteArray(42, ' '));
    EXPECT_TRUE(loadSheetNames(club.path("absent.jeu")).isEmpty());
    EXPECT_FALSE(QFile::exists(club.path("absent.jeu")));
}

TEST(SheetNames, NewSheetTakesTheFirstBlankSlot) {
    const struct {
        QStringList names;
        int slot;
    } cases[] = {
        {{"COMPTES", "GRA", "", "GRC"}, 2},
        {{"COMPTES", "GRA", "GRB", "GRC"}, 4},
        {{}, 0},
        {{"COMPTES", "2EME"}, 2}, // a name beginning with a digit is in use
        {{"COMPTES", " -X"}, 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(findFreeSlot(c.names), c.slot) << c.names.join(u',').toStdString();
}

TEST(SheetFiles, SlotsNameTheirFiles) {
    ClubFixture club;
    EXPECT_EQ(sheetFileName(0), QStringLiteral("cptenl.jeu"));
    EXPECT_EQ(sheetFileName(12), QStringLiteral("gr12.jeu"));
    vt::testing::writeBytes(club.path("GR3.JEU"), QByteArray());
    EXPECT_EQ(sheetFilePath(club.dataFolder(), 3), club.path("GR3.JEU"));
    EXPECT_EQ(sheetFilePath(club.dataFolder(), 4), club.path("gr4.jeu"));
    EXPECT_TRUE(readSheet(club.path("gr4.jeu")).isEmpty());
    EXPECT_TRUE(QFile::exists(club.path("gr4.jeu")));
}

TEST(SheetValues, EnterNormalisesValuesAndPricesPools) {
    const struct {
        const char* text;
        const char* typed;
        const char* value;
        const char* newText;
        const char* valueBytes;
    } cases[] = {
        {"Poule", "2", "2,00", "Poule    2,00", "00 00 00 40"},
        {"Poule    AS.1", "1,5", "1,50", "Poule    AS.1", "00 00 c0 3f"},
        {"Poule     AS.1", "1,5", "1,50", "Poule     AS.1", "00 00 c0 3f"},
        {"Poule    AS  ", "1", "1,00", "Poule    AS  ", "00 00 80 3f"},
        {"Poule    PSPE", "1.5", "1,50", "Poule    1,50", "00 00 c0 3f"},
        {"téléph.  tele", "5", "1,00", "téléph.  tele", "00 00 80 3f"},
        {"Mise     Mise", "2.5", "2,50", "Mise     Mise", "00 00 20 40"},
        {"Mise     Mise", "1.234", "1,234", "Mise     Mise", "b6 f3 9d 3f"},
        {"Mise     Mise", "1,1", "1,10", "Mise     Mise", "cd cc 8c 3f"},
        {"Trio", "3", "3,00", "Trio     3,00", "00 00 40 40"},
    };
    for (const auto& c : cases) {
        const EnteredValue e =
            enterValue(QString::fromUtf8(c.text), QString::fromUtf8(c.typed), 4);
        ASSERT_TRUE(e.ok()) << c.text;
        EXPECT_EQ(e.value, QString::fromUtf8(c.value)) << c.text;
        EXPECT_EQ(e.text, QString::fromUtf8(c.newText)) << c.text;
        const SheetRecords built = buildSheetRecords({{e.text, e.value, "0", ""}});
        ASSERT_TRUE(built.ok());
        EXPECT_EQ(hex(built.records[0].bytes().mid(15)), QString::fromLatin1(c.valueBytes))
            << c.text;
    }
    const EnteredValue poule = enterValue(QStringLiteral("Poule"), QStringLiteral("2"), 1);
    EXPECT_EQ(hex(buildSheetRecords({{poule.text, poule.value, "", ""}}).records[0].bytes()),
              QStringLiteral("50 6f 75 6c 65 20 20 20 20 32 2c 30 30 00 00 00 00 00 40"));
    const EnteredValue bad = enterValue(QStringLiteral("Mise     Mise"), QStringLiteral("1,2x"), 7);
    EXPECT_FALSE(bad.ok());
    EXPECT_EQ(bad.refusal, QStringLiteral("La valeur de la ligne 7 n'est pas un nombre : « 1,2x »"));
}

TEST(SheetValues, RecordsAreBuiltFromNonBlankRowsOrRefusedNamingTheRow) {
    const QList<SheetRow> rows = {
        {"Mise     Mise", "1,50", "", ""},
        {"", "", "", ""},
        {"TOTAL du jeu ", "0", "", ""},
        {"    % à  dedu", "10,00", "", ""},
    };
    const SheetRecords built = buildSheetRecords(rows);
    ASSERT_TRUE(built.ok());
    QByteArray bytes;
    for (const auto& r : built.records)
        bytes += r.bytes();
    EXPECT_EQ(hex(bytes), QStringLiteral(
                              "4d 69 73 65 20 20 20 20 20 4d 69 73 65 00 00 00 00 c0 3f "
                              "54 4f 54 41 4c 20 64 75 20 6a 65 75 20 00 00 00 00 00 00 "
                              "20 20 20 20 25 20 e0 20 20 64 65 64 75 00 00 00 00 20 41"));

    const struct {
        SheetRow row;
        const char* refusal;
    } refused[] = {
        {{"Mise     Mise", "1,2x", "", ""}, "La valeur de la ligne 2 n'est pas un nombre : « 1,2x »"},
        {{"Mise     Mise", "1", "40000", ""}, "Le nombre de la ligne 2 est hors limites"},
        {{"Mise     Mise", "1e3", "", ""}, "La valeur de la ligne 2 n'est pas un nombre : « 1e3 »"},
        {{QStringLiteral("Mise    Ω"), "1", "", ""},
         "Le texte de la ligne 2 contient un caractère que le programme ne peut pas "
         "enregistrer : « Ω »"},
        // Label 8 and code 5: a ninth character that is not the space between them, or a
        // fifteenth, would be lost.
        {{"Speciales Sp12", "1", "", ""},
         "Le texte de la ligne 2 est trop long : 8 caractères de libellé, un espace et 5 de "
         "code au plus (« Speciales Sp12 »)"},
        {{"Speciale  Sp12x", "1", "", ""},
         "Le texte de la ligne 2 est trop long : 8 caractères de libellé, un espace et 5 de "
         "code au plus (« Speciale  Sp12x »)"},
    };
    for (const auto& r : refused) {
        const SheetRecords b = buildSheetRecords({rows[0], r.row});
        EXPECT_FALSE(b.ok());
        EXPECT_EQ(b.refusedRow, 2);
        EXPECT_EQ(b.refusal, QString::fromUtf8(r.refusal));
    }
    // The catalogue form (13 characters), the loaded form (14, a space ninth) and shorter
    // texts all keep every character.
    EXPECT_TRUE(buildSheetRecords({{"Spéciale Sp12", "1", "", ""},
                                   {"Spéciale  Sp12", "1", "", ""},
                                   {"Poule", "1", "", ""}})
                    .ok());
    // Counts are read with the decimal point and rounded halves to even.
    const SheetRecords counts = buildSheetRecords(
        {{"Série    Mixt", "1", "2.5", ""}, {"Série    Mixt", "1", "3,5", ""}, {"Mise", "1", "3.5", ""}});
    EXPECT_EQ(counts.records[0].count(), 2);
    EXPECT_EQ(counts.records[1].count(), 3);
    EXPECT_EQ(counts.records[2].count(), 4);

    QList<SheetRow> many(MaxSheetLines, SheetRow{"Mise     Mise", "1", "", ""});
    EXPECT_TRUE(buildSheetRecords(many).ok());
    many.append(SheetRow{"", "", "", ""});
    EXPECT_TRUE(buildSheetRecords(many).ok());
    many.append(SheetRow{"Pot       pot", "1", "", ""});
    const SheetRecords over = buildSheetRecords(many);
    EXPECT_EQ(over.refusal, QStringLiteral("Une feuille de jeu ne peut pas avoir plus de 100 lignes."));
    EXPECT_EQ(over.refusedRow, 102);
}

TEST(SheetRows, StoredLinesShowWithTwoOrThreeDecimals) {
    const struct {
        float value;
        int16_t count;
        const char* shown;
        const char* amount;
    } cases[] = {
        {1.234f, 0, "1,234", "0,00"}, {1.5f, 2, "1,50", "3,00"}, {1.1f, 3, "1,10", "3,30"},
        {0.125f, 1, "0,125", "0,13"}, {0.0f, 0, "0,00", "0,00"},
    };
    for (const auto& c : cases) {
        const SheetRow row = sheetRow(stakeRecord(QStringLiteral("Mise     Mise"), c.count, c.value));
        EXPECT_EQ(row.value, QString::fromLatin1(c.shown));
        EXPECT_EQ(row.amount, QString::fromLatin1(c.amount));
        EXPECT_EQ(row.text, QStringLiteral("Mise      Mise"));
        EXPECT_EQ(row.count, QString::number(c.count));
    }
}
