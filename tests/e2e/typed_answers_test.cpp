// Answers typed into the race set-up's questions (stake-sheet number, FRAIS and Résultat
// amounts) and the typed-amount rule under them: what is not a number, or does not fit
// the field, is asked again and nothing is written; a valid answer is taken exactly.
#include "shell/race_setup.h"

#include "common/errors.h"
#include "common/numbers.h"
#include "common/record_file.h"
#include "common/records.h"
#include "entries/entry_sheet.h"
#include "entries/recap_prints.h"
#include "entries/stake_sheets.h"
#include "platform/recording_surface.h"
#include "platform/scripted_dialogs.h"
#include "shell/club.h"
#include "tests/support/club_fixture.h"

#include <QDir>
#include <QMap>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace vt;
using namespace vt::testing;

namespace {

const QString Huge = QString(45, u'9'); // beyond a Single, well within a Double

// Inputs of every kind that no number box may take.
const QStringList NotNumbers = {
    QStringLiteral("abc"),      QStringLiteral("+-5"),        QStringLiteral("1e300"),
    QStringLiteral("48,05,06"), QStringLiteral("1 2"),        QStringLiteral("Ω"),
    QStringLiteral("5€"),       QStringLiteral("\U0001F426"), QStringLiteral("--1"),
};

TEST(TypedAmount, NumbersAreRoundedAndTheRestRefused) {
    const struct {
        QString typed;
        std::optional<float> amount;
    } cases[] = {
        {QString(), 0.0f},
        {QStringLiteral("   "), 0.0f},
        {QStringLiteral("12,5"), 12.5f},
        {QStringLiteral(" 12.505 "), 12.51f},
        {QStringLiteral("+3"), 3.0f},
        {QStringLiteral("-0,125"), -0.13f},
        {QStringLiteral(",5"), 0.5f},
        {QStringLiteral("99999999999"), 99999999999.0f},
        {Huge, std::nullopt},
        {QStringLiteral("-") + Huge, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        EXPECT_EQ(roundTypedAmount(c.typed), c.amount);
    }
    for (const QString& typed : NotNumbers) {
        SCOPED_TRACE(typed.toStdString());
        EXPECT_EQ(roundTypedAmount(typed), std::nullopt);
    }
}

// A season of two fanciers, race 1 of the calendar, the accounts and two stake sheets
// (so that the sheet number is asked) with a FRAIS and a Résultat line.
struct SetupFolder {
    ClubFixture club;
    RaceSetupPaths paths{club.yearFolder(), club.dataFolder(), club.yearPath("noms.vba"),
                         club.path("fichenl.jeu")};
    SetupFolder() {
        club.addFancier(namedFancier(QStringLiteral("DUPONT Jean")));
        club.addFancier(namedFancier(QStringLiteral("MARTIN Paul")));
        club.writeCalendar(
            {{QStringLiteral("ORLEANS"), QStringLiteral("12/05/05"), 0, 475400, 15400, 0}});
        club.writeStakeSheet(0, QStringLiteral("COMPTES"),
                             {{QStringLiteral("TOTAL du"), QStringLiteral("jeu"), 0}});
        const QList<StakeLineSpec> lines = {
            {QStringLiteral("Simple"), QStringLiteral("simp"), 0.5f},
            {QStringLiteral("S/TOTAL"), QStringLiteral("s/to"), 0},
            {QStringLiteral("FRAIS"), QStringLiteral("frai"), 1.0f},
            {QStringLiteral("Résultat"), QStringLiteral("resu"), 2.0f}};
        club.writeStakeSheet(1, QStringLiteral("JEU A"), lines);
        club.writeStakeSheet(2, QStringLiteral("JEU B"), lines);
    }
    RaceSetupResult choose(Dialogs& d) {
        const CalendarRaceRecord r =
            writeRaceBase(club.yearPath("gr1.cal"), club.yearFolder(), 1, 0);
        return setupRace(d, paths, 1, 0, r);
    }
    QMap<QString, QByteArray> files() const { return filesOf(club); }
    static QMap<QString, QByteArray> filesOf(const ClubFixture& club) {
        QMap<QString, QByteArray> out;
        for (const QString& folder : {club.dataFolder(), club.yearFolder()})
            for (const QString& name : QDir(folder).entryList(QDir::Files))
                out.insert(folder + u'/' + name, readBytes(QDir(folder).filePath(name)));
        return out;
    }
};

TEST(TypedAnswers, ASheetNumberThatIsNotOneIsAskedAgainAndNothingIsWritten) {
    SetupFolder s;
    {
        // The base record of the race is written when the race is picked, before any question.
        ScriptedDialogsScope d;
        d->answerInput(QStringLiteral("0"));
        ASSERT_FALSE(s.choose(*d).added);
    }
    const QMap<QString, QByteArray> before = s.files();
    ScriptedDialogsScope d;
    QStringList wrong = NotNumbers;
    wrong << QStringLiteral("99999999999") << Huge << QStringLiteral("3") << QStringLiteral("-1")
          << QStringLiteral("1,5");
    for (const QString& typed : wrong)
        d->answerInput(typed).answer(MsgAnswer::Ok);
    d->answerInput(QStringLiteral("0"));
    EXPECT_FALSE(s.choose(*d).added);
    const QList<MessageRequest> m = d->messages();
    ASSERT_EQ(m.size(), wrong.size());
    for (int i = 0; i < wrong.size(); ++i)
        EXPECT_EQ(m[i].text, QStringLiteral("Le jeu n° %1 n'existe pas : tapez un numéro de la "
                                            "liste (0 pour abandonner).")
                                 .arg(wrong[i].trimmed()));
    EXPECT_EQ(s.files(), before);
    EXPECT_EQ(d->pendingAnswers(), 0);
}

TEST(TypedAnswers, AnAmountThatIsNotOneIsAskedAgainThenTakenRounded) {
    SetupFolder s;
    ScriptedDialogsScope d;
    d->answerInput(QStringLiteral(" 2 ")); // the sheet: spaces around a valid number
    QStringList wrong = NotNumbers;
    wrong << Huge;
    for (const QString& typed : wrong)
        d->answerInput(typed).answer(MsgAnswer::Ok);
    d->answerInput(QStringLiteral("12,505")); // FRAIS
    d->answerInput(QStringLiteral("-") + Huge).answer(MsgAnswer::Ok);
    d->answerInput(QStringLiteral("+3")); // Résultat
    const RaceSetupResult r = s.choose(*d);
    ASSERT_TRUE(r.added);
    EXPECT_EQ(r.sheet, 2);
    EXPECT_EQ(d->pendingAnswers(), 0);
    for (const MessageRequest& m : d->messages())
        EXPECT_EQ(m.text, QStringLiteral("Tapez un montant, par exemple 12,50."));
    EXPECT_EQ(d->messages().size(), wrong.size() + 1);
    const QList<StakeTypeRecord> lines =
        RecordFileOf<StakeTypeRecord>(s.club.yearPath("basejeu.101")).readAll();
    ASSERT_GE(lines.size(), 4);
    EXPECT_FLOAT_EQ(lines[2].unitValue(), 12.51f);
    EXPECT_FLOAT_EQ(lines[3].unitValue(), 3.0f);
    for (const StakeTypeRecord& line : lines)
        EXPECT_TRUE(std::isfinite(line.unitValue()));
}

TEST(TypedAnswers, ATelephoneCostThatIsNotAnAmountIsAskedAgainBeforeAnyPrinting) {
    ClubFixture club;
    club.writeClub(QStringLiteral("LA COLOMBE"), QStringLiteral("123"));
    club.addFancier(namedFancier(QStringLiteral("DUPONT")));
    Session& s = club.configureSession();
    RaceFilesSpec race;
    race.site = QStringLiteral("PERONNE");
    race.date = QStringLiteral("21 juin 2026");
    for (const char* text : {"Mise     Mise", "TOTAL du jeu ", "FRAIS    frai", "S/total  s/to",
                             "téléph.  tele", "Total    s/td", "TOTAL    t/ge"})
        race.lines << stakeLineSpec(QString::fromUtf8(text), 1);
    club.writeRaceFiles(race);
    RaceRecapRecord recap;
    recap.setFancierCount(1);
    RecordFileOf<RaceRecapRecord>(club.yearPath(QStringLiteral("recap.101"))).rewrite({recap});
    ClubFixture::chooseRaces(s, {101});
    const QMap<QString, QByteArray> before = SetupFolder::filesOf(club);

    ScriptedDialogsScope d;
    QStringList wrong = NotNumbers;
    wrong << QStringLiteral("99999999999") << QStringLiteral("12,3456");
    for (const QString& typed : wrong)
        d->answerInput(typed).answer(MsgAnswer::Ok);
    d->answerInput(QStringLiteral(" 12.5 "));
    RecordingSurface surface;
    EXPECT_FALSE(printClubRecaps(*d, surface, s).nothing());
    EXPECT_EQ(d->pendingAnswers(), 0);
    const QList<MessageRequest> m = d->messages();
    ASSERT_EQ(m.size(), wrong.size());
    for (int i = 0; i < wrong.size(); ++i)
        EXPECT_EQ(m[i].text,
                  QStringLiteral("Le montant « %1 » n'est pas accepté : tapez un nombre d'au plus "
                                 "trois décimales, par exemple 12,50.")
                      .arg(wrong[i].trimmed()));
    EXPECT_TRUE(surface.allText().contains(QStringLiteral("12,500")));
    EXPECT_EQ(SetupFolder::filesOf(club), before); // a print writes nothing
}

TEST(TypedBoxes, ASheetCountThatIsNotANumberIsRefusedNamingItsRow) {
    const auto built = [](const QString& count) {
        SheetRow row;
        row.text = QStringLiteral("Mise      Mise");
        row.value = QStringLiteral("1,50");
        row.count = count;
        return buildSheetRecords({row});
    };
    for (const QString& typed : NotNumbers) {
        SCOPED_TRACE(typed.toStdString());
        const SheetRecords r = built(typed);
        EXPECT_FALSE(r.ok());
        EXPECT_EQ(r.refusedRow, 1);
        EXPECT_EQ(r.refusedColumn, 2);
        EXPECT_TRUE(r.records.isEmpty());
        EXPECT_TRUE(r.refusal.startsWith(QStringLiteral("Le nombre de la ligne 1 ")));
    }
    EXPECT_FALSE(built(QStringLiteral("99999999999")).ok()); // beyond an Integer
    const struct {
        QString typed;
        int16_t count;
    } accepted[] = {{QStringLiteral("12"), 12},
                    {QStringLiteral(" 7 "), 7},
                    {QStringLiteral("2,5"), 2},
                    {QStringLiteral("-3"), -3},
                    {QString(), 0}};
    for (const auto& a : accepted) {
        SCOPED_TRACE(a.typed.toStdString());
        const SheetRecords r = built(a.typed);
        ASSERT_TRUE(r.ok());
        EXPECT_EQ(r.records.first().count(), a.count);
    }
}

TEST(TypedBoxes, AnEntrySheetCoordinateMustBeAPositiveNumber) {
    for (const QString& typed : NotNumbers)
        EXPECT_EQ(coordinateRefusal(typed, QStringLiteral("LATITUDE"), true),
                  QStringLiteral("Valeur incorrecte : LATITUDE"))
            << typed.toStdString();
    for (const char* negative : {"-503812", "-0,5"})
        EXPECT_EQ(
            coordinateRefusal(QString::fromLatin1(negative), QStringLiteral("LATITUDE"), true),
            QStringLiteral("Valeur incorrecte : LATITUDE ne peut pas être négative."));
    for (const char* fine : {"", "503812", " 503812,25 ", "503812.25", "+503812", "-0"})
        EXPECT_EQ(coordinateRefusal(QString::fromLatin1(fine), QStringLiteral("LATITUDE"), true),
                  QString())
            << fine;
}

TEST(TypedBoxes, AClubTextOutsideWindows1252NamesItsBox) {
    ClubTexts t;
    t.name = QStringLiteral("LES AMIS");
    t.code = QStringLiteral("12");
    EXPECT_FALSE(clubTextRefusal(t));
    t.town = QStringLiteral("LILLE €"); // € is in Windows-1252
    EXPECT_FALSE(clubTextRefusal(t));
    EXPECT_EQ(buildClubRecord(t).bytes().mid(110, 7), QByteArray("LILLE \x80"));
    t.correspondent = QStringLiteral("Jean \U0001F426");
    t.postCode = QStringLiteral("Ω");
    const auto refusal = clubTextRefusal(t);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->box, ClubBox::Correspondent); // the first in the form's order
    EXPECT_TRUE(refusal->message.contains(QStringLiteral("Nom du correspondant")));
    EXPECT_THROW(buildClubRecord(t), EncodingError);
}

} // namespace
