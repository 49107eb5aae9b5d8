#include "shell/race_withdrawal.h"

#include "common/record_file.h"
#include "common/records.h"
#include "platform/scripted_dialogs.h"
#include "tests/support/club_fixture.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace vt;
using namespace vt::testing;

namespace {

struct WithdrawalFolder {
    ClubFixture club;
    QString cal = club.yearPath("gr1.cal");

    WithdrawalFolder(int races = 7) {
        QList<CalendarRaceSpec> specs;
        for (int i = 0; i < races; ++i)
            specs.append({QStringLiteral("ORLEANS"), QStringLiteral("12/05/05"), 0, 475400, 15400, 0});
        club.writeCalendar(specs);
        writeBytes(club.yearPath("bases.105"), QByteArray(127, 'b'));
        writeBytes(club.yearPath("mise.305"), QByteArray(808, 'm'));
        writeBytes(club.yearPath("recap.405"), QByteArray(204, 'r'));
        writeBytes(club.yearPath("notes.205"), QByteArray());
        writeBytes(club.yearPath("bases.106"), QByteArray(127, 'b'));
        for (const QString& name : {QStringLiteral("DUPONT Jean"), QStringLiteral("MARTIN Paul")})
            {
            FancierSpec spec;
            spec.name = name;
            club.addFancier(spec);
        }
        RecordFileOf<FancierRecord> season(club.yearPath("noms.vba"));
        for (int f = 1; f <= 2; ++f) {
            FancierRecord r = season.read(f);
            r.setRaceAmount(105, 1000);
            r.setRaceAmount(305, 2000);
            r.setRaceAmount(106, 3000);
            season.write(f, r);
        }
    }
    bool has(const char* name) const { return QFile::exists(club.yearPath(name)); }
    FancierRecord fancier(int f) const {
        return RecordFileOf<FancierRecord>(club.yearPath("noms.vba")).read(f);
    }
};

} // namespace

TEST(RaceWithdrawal, YesDeletesTheRaceFilesAndClearsTheAmountsAtFourLevels) {
    WithdrawalFolder w;
    ScriptedDialogsScope d;
    d->answer(MsgAnswer::Yes);
    const WithdrawalResult r = withdrawRace(*d, w.cal, w.club.yearFolder(), 5,
                                            QStringLiteral("005 ORLEANS         12 mai 2005       VIEUX"));
    ASSERT_EQ(d->messages().size(), 1);
    const MessageRequest q = d->messages().first();
    EXPECT_EQ(q.text, QStringLiteral("Suppression du concours ORLEANS         12 mai 2005       VIEUX\n"
                                     "Pour mettre à zéro les fichiers de ce concours cliquez sur OUI"));
    EXPECT_EQ(q.title, QStringLiteral("Vidage d'un concours"));
    EXPECT_EQ(q.buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(q.icon, MsgIcon::Question);
    EXPECT_EQ(q.defaultButton, MsgAnswer::Yes);

    EXPECT_TRUE(r.confirmed);
    EXPECT_EQ(r.freeLine, QStringLiteral("005 "));
    EXPECT_FALSE(w.has("bases.105"));
    EXPECT_FALSE(w.has("mise.305"));
    EXPECT_FALSE(w.has("recap.405"));
    EXPECT_TRUE(w.has("notes.205"));
    EXPECT_TRUE(w.has("bases.106"));
    for (int f = 1; f <= 2; ++f) {
        for (int code : {105, 205, 305, 405})
            EXPECT_EQ(w.fancier(f).raceAmount(code), 0) << code;
        EXPECT_EQ(w.fancier(f).raceAmount(106), 3000);
    }
    const QByteArray cal = readBytes(w.cal);
    ASSERT_EQ(cal.size(), 7 * 51);
    EXPECT_EQ(cal.mid(4 * 51, 51), QByteArray(51, '\0'));
    EXPECT_NE(cal.mid(3 * 51, 51), QByteArray(51, '\0'));
}

TEST(RaceWithdrawal, NoEmptiesTheRecordOnlyAndTheFreeLineAsksByNumber) {
    WithdrawalFolder w;
    ScriptedDialogsScope d;
    d->answer(MsgAnswer::No);
    const WithdrawalResult r = withdrawRace(*d, w.cal, w.club.yearFolder(), 5,
                                            QStringLiteral("005 ORLEANS         12 mai 2005       VIEUX"));
    EXPECT_FALSE(r.confirmed);
    EXPECT_EQ(r.freeLine, QStringLiteral("005 "));
    EXPECT_EQ(readBytes(w.cal).mid(4 * 51, 51), QByteArray(51, '\0'));
    EXPECT_TRUE(w.has("bases.105"));
    EXPECT_TRUE(w.has("mise.305"));
    EXPECT_EQ(w.fancier(1).raceAmount(105), 1000);

    // The free line after seven races: the file grows by one record.
    d->answer(MsgAnswer::No);
    withdrawRace(*d, w.cal, w.club.yearFolder(), 8, QStringLiteral("008"));
    EXPECT_EQ(readBytes(w.cal).size(), 8 * 51);
    EXPECT_TRUE(d->messages().last().text.startsWith(
        QStringLiteral("Suppression du concours Numéro 008\n")));
}

// Cancel (Esc) on the question, or a Yes whose windows then refuse the change, leave the
// calendar, the race files and the amounts as they were.
TEST(RaceWithdrawal, ACancelOrARefusedChangeLeavesEverythingAsItWas) {
    struct Case {
        const char* name;
        MsgAnswer answer;
    };
    for (const Case c : {Case{"Annuler", MsgAnswer::Cancel}, Case{"Oui, then refused", MsgAnswer::Yes}}) {
        WithdrawalFolder w;
        const QByteArray calendar = readBytes(w.cal);
        ScriptedDialogsScope d;
        d->answer(c.answer);
        bool refusedAsked = false;
        const WithdrawalResult r = withdrawRace(
            *d, w.cal, w.club.yearFolder(), 5, QStringLiteral("005 ORLEANS"), [&] {
                refusedAsked = true;
                return false;
            });
        EXPECT_FALSE(r.done) << c.name;
        EXPECT_FALSE(r.confirmed) << c.name;
        EXPECT_EQ(refusedAsked, c.answer == MsgAnswer::Yes) << c.name;
        EXPECT_EQ(readBytes(w.cal), calendar) << c.name;
        EXPECT_TRUE(w.has("bases.105")) << c.name;
        EXPECT_EQ(w.fancier(1).raceAmount(105), 1000) << c.name;
    }
}

TEST(RaceWithdrawal, WithoutFilesTheAmountsAreStillClearedAndNoFancierFileIsMade) {
    WithdrawalFolder w;
    ScriptedDialogsScope d;
    d->answer(MsgAnswer::Yes);
    withdrawRace(*d, w.cal, w.club.yearFolder(), 6, QStringLiteral("006 ORLEANS"));
    EXPECT_FALSE(w.has("bases.106"));
    EXPECT_EQ(w.fancier(1).raceAmount(106), 0);
    EXPECT_EQ(w.fancier(1).raceAmount(105), 1000);

    // Another year's folder without noms.vba: files go, no fanciers file appears.
    const QString other = QDir(w.club.dataFolder()).filePath("2006");
    QDir().mkpath(other);
    writeBytes(QDir(other).filePath("mise.102"), QByteArray(404, 'm'));
    d->answer(MsgAnswer::Yes);
    const WithdrawalResult r =
        withdrawRace(*d, QDir(other).filePath("gr1.cal"), other, 2, QStringLiteral("002 "));
    EXPECT_EQ(r.deleted, QStringList{QStringLiteral("mise.102")});
    EXPECT_FALSE(QFile::exists(QDir(other).filePath("noms.vba")));
    EXPECT_EQ(d->messages().size(), 2);
}
