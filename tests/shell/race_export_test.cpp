#include "shell/race_export.h"

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

// Race 5 (ORLEANS, 12 mai 2005, VIEUX) set up at GENERAL with three stake lines, and
// three fanciers: two who entered (10, 4, 12.5, 12.5) and one who did not.
struct ExportFolder {
    ClubFixture club;
    QString out = QDir(club.startDir()).filePath("export");

    ExportFolder() {
        QDir().mkpath(out);
        RaceBaseRecord base;
        base.setSiteName(QStringLiteral("ORLEANS"));
        base.setCategoryDigit(QStringLiteral("0"));
        base.setCalendarDateLong(QStringLiteral("12 mai 2005"));
        RecordFileOf<RaceBaseRecord>(club.yearPath("bases.105")).write(1, base);
        QList<StakeTypeRecord> lines;
        for (const char* code : {" simp", " jeu ", " frai"}) {
            StakeTypeRecord l;
            l.setStakeLabel(QStringLiteral("X"));
            l.setStakeCode(QString::fromLatin1(code));
            lines.append(l);
        }
        RecordFileOf<StakeTypeRecord>(club.yearPath("basejeu.105")).rewrite(lines);
        FancierSpec dupont;
        dupont.name = QStringLiteral("DUPONT JEAN");
        dupont.latitude = 480506.34;
        dupont.west = 21000;
        dupont.licence = QStringLiteral("1234567");
        club.addFancier(dupont);
        FancierSpec martin;
        martin.name = QStringLiteral("MARTIN Paul");
        club.addFancier(martin);
        club.addFancier(dupont);
        StakeAmountBlock b;
        for (int k : {0, 1, 2, 3})
            b.setStakeCount(k, std::array<float, 4>{10, 4, 12.5f, 12.5f}[k]);
        RecordFileOf<StakeAmountBlock> mise(club.yearPath("mise.105"));
        mise.write(1, b);
        mise.write(2, StakeAmountBlock());
        mise.write(3, b);
    }
    ExportResult run(Dialogs& d, int code = 105) {
        return exportRace(d, code, club.yearFolder(), club.yearPath("noms.vba"), out);
    }
};

} // namespace

TEST(RaceExport, WritesTheExampleFileLineForLine) {
    ExportFolder e;
    ScriptedDialogsScope d;
    const ExportResult r = e.run(*d);
    ASSERT_EQ(r.outcome, ExportOutcome::Written);
    EXPECT_TRUE(d->asked().isEmpty()); // no message when it is done
    EXPECT_EQ(QFileInfo(r.path).fileName(), QStringLiteral("ORLEANS GENERAL_12_05 .VIEUX"));
    const QByteArray expected =
        "Noms Pr\xE9noms ;Licence;Latitude;longitude;E/O;Engag\xE9s; simp; jeu ; frai;\r\n"
        "DUPONT JEAN            ;1234567 ; 480506.34;  21000.00 ;O;    10;    4;   12.50;   12,50\r\n"
        "DUPONT JEAN            ;1234567 ; 480506.34;  21000.00 ;O;    10;    4;   12.50;   12,50\r\n"
        ";;;TOTAUX;;   20;    8;   25;   25,00\r\n";
    EXPECT_EQ(readBytes(r.path), expected);
    EXPECT_EQ(QDir(e.out).entryList(QDir::Files).size(), 1); // no temporary file left
}

TEST(RaceExport, EastLongitudeZeroCoordinatesAndTheLevelOfTheRace) {
    ExportFolder e;
    RecordFileOf<FancierRecord> season(e.club.yearPath("noms.vba"));
    FancierRecord f = season.read(3);
    f.setLatitudeDms(0);
    f.setLongitudeWestDms(0);
    season.write(3, f);
    f = season.read(1);
    f.setLongitudeEastDms(30350);
    season.write(1, f);
    QFile::copy(e.club.yearPath("bases.105"), e.club.yearPath("bases.405"));
    QFile::copy(e.club.yearPath("basejeu.105"), e.club.yearPath("basejeu.405"));
    QFile::copy(e.club.yearPath("mise.105"), e.club.yearPath("mise.405"));
    ScriptedDialogsScope d;
    const ExportResult r = e.run(*d, 405);
    ASSERT_EQ(r.outcome, ExportOutcome::Written);
    EXPECT_EQ(QFileInfo(r.path).fileName(), QStringLiteral("ORLEANS SOCIETE_12_05 .VIEUX"));
    const QList<QByteArray> lines = readBytes(r.path).split('\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_TRUE(lines[1].startsWith("DUPONT JEAN            ;1234567 ; 480506.34;  30350.00 ;E;"));
    EXPECT_TRUE(lines[2].startsWith("DUPONT JEAN            ;1234567 ;       . 0;       . 0 ;O;"));
}

TEST(RaceExport, ARaceNotSetUpIsRefusedAndAMissingFolderAsksToRetry) {
    ExportFolder e;
    ScriptedDialogsScope d;
    d->answer(MsgAnswer::Ok);
    EXPECT_EQ(e.run(*d, 205).outcome, ExportOutcome::NotPrepared);
    EXPECT_EQ(d->messages().last().text,
              QStringLiteral("Ce concours n'a pas été préparé à ce niveau : rien n'a été exporté."));
    EXPECT_FALSE(QFile::exists(e.club.yearPath("bases.205")));
    EXPECT_FALSE(QFile::exists(e.club.yearPath("mise.205")));

    QDir(e.out).removeRecursively();
    d->answer(MsgAnswer::No);
    EXPECT_EQ(e.run(*d).outcome, ExportOutcome::Declined);
    const MessageRequest q = d->messages().last();
    EXPECT_EQ(q.text, QStringLiteral("Veuillez mettre la disquette dans le lecteur A:"));
    EXPECT_EQ(q.icon, MsgIcon::Critical);
    EXPECT_EQ(q.buttons, MsgButtons::YesNo);
    EXPECT_EQ(q.defaultButton, MsgAnswer::No);
    EXPECT_FALSE(QFile::exists(e.out));
}

TEST(RaceExport, FileNamesLoseCharactersThatCannotStandInThem) {
    EXPECT_EQ(exportFileName(QStringLiteral("ST/OMER: A"), 305, QDate(2005, 8, 1), 3),
              QStringLiteral("ST_OMER_ A SECTEUR_01_08 .JEUNES"));
}
