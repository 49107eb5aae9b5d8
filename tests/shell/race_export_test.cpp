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

namespace {

// The exact thousandths of a field written by the export ("   37,85", "     .38", "   20").
long long fieldThousandths(const QByteArray& field) {
    QString t = QString::fromLatin1(field).trimmed();
    t.replace(u',', u'.');
    if (t.startsWith(u'.'))
        t.prepend(u'0');
    const qsizetype dot = t.indexOf(u'.');
    const QString whole = dot < 0 ? t : t.left(dot);
    const QString decimals = (dot < 0 ? QString() : t.mid(dot + 1)).leftJustified(3, u'0');
    return whole.toLongLong() * 1000 + decimals.toLongLong();
}

// The fancier lines of a written export, each split into its fields.
QList<QList<QByteArray>> fancierLines(const QString& path) {
    QList<QByteArray> lines = readBytes(path).split('\n');
    lines.removeLast(); // after the last CR LF
    QList<QList<QByteArray>> out;
    for (qsizetype i = 1; i + 1 < lines.size(); ++i)
        out.append(lines[i].chopped(1).split(';'));
    return out;
}

} // namespace

TEST(RaceExport, TheTotalsLineIsTheSumOfTheLinesOfALargeRace) {
    ExportFolder e;
    const RecordFileOf<FancierRecord> season(e.club.yearPath("noms.vba"));
    QList<FancierRecord> fanciers;
    QList<StakeAmountBlock> blocks;
    StakeAmountBlock b;
    for (int k : {0, 1, 2, 3})
        b.setStakeCount(k, std::array<float, 4>{3, 1, 0.35f, 37.85f}[k]);
    for (int i = 1; i <= 2500; ++i) {
        FancierSpec f;
        f.name = QStringLiteral("AMATEUR %1").arg(i);
        f.latitude = 480506;
        fanciers.append(e.club.fancierRecord(f));
        blocks.append(b);
    }
    RecordFileOf<FancierRecord>(e.club.yearPath("noms.vba")).rewrite(fanciers);
    RecordFileOf<StakeAmountBlock>(e.club.yearPath("mise.105")).rewrite(blocks);

    ScriptedDialogsScope d;
    const ExportResult r = e.run(*d);
    ASSERT_EQ(r.outcome, ExportOutcome::Written);
    const QList<QList<QByteArray>> lines = fancierLines(r.path);
    ASSERT_EQ(lines.size(), 2500);
    // Columns 6 to 9: pigeons entered, simp, jeu (its mask's point makes it the value
    // itself), the amount.
    long long sums[4] = {};
    for (const QList<QByteArray>& fields : lines) {
        ASSERT_EQ(fields.size(), 9);
        for (int c = 0; c < 4; ++c)
            sums[c] += fieldThousandths(fields[5 + c]);
    }
    const QList<QByteArray> all = readBytes(r.path).split('\n');
    const QList<QByteArray> totals = all[all.size() - 2].chopped(1).split(';');
    ASSERT_EQ(totals.size(), 9);
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(fieldThousandths(totals[5 + c]), sums[c]) << "column " << 6 + c;
    EXPECT_EQ(totals[8], "94625,00");
    EXPECT_EQ(totals[7], "  875");
}

TEST(RaceExport, ValuesWithAPointInTheirMaskAreRoundedBeforeTheirDigitsArePlaced) {
    struct Case {
        double latitude;
        float jeu;
        const char *latitudeField, *jeuField;
    } cases[] = {
        {480506.34, 12.5f, " 480506.34", "   12.50"},
        {480506.345, 0.375f, " 480506.35", "     .38"},
        {480506.3449, 0.35f, " 480506.34", "     .35"},
        {480506.999, 2.675f, " 480507.00", "    2.68"},
        {0, 0, "       . 0", "     . 0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.latitudeField);
        ExportFolder e;
        RecordFileOf<FancierRecord> season(e.club.yearPath("noms.vba"));
        FancierRecord f = season.read(1);
        f.setLatitudeDms(c.latitude);
        f.setLongitudeWestDms(c.latitude);
        season.write(1, f);
        RecordFileOf<StakeAmountBlock> mise(e.club.yearPath("mise.105"));
        StakeAmountBlock b = mise.read(1);
        b.setStakeCount(2, c.jeu);
        mise.write(1, b);
        ScriptedDialogsScope d;
        const ExportResult r = e.run(*d);
        ASSERT_EQ(r.outcome, ExportOutcome::Written);
        const QList<QByteArray> fields = fancierLines(r.path).at(0);
        EXPECT_EQ(fields[2], c.latitudeField);
        EXPECT_EQ(fields[3], c.latitudeField + QByteArray(" "));
        EXPECT_EQ(fields[7], c.jeuField);
    }
}

TEST(RaceExport, ASemicolonInANameLicenceOrCodeAddsNoColumn) {
    ExportFolder e;
    RecordFileOf<FancierRecord> season(e.club.yearPath("noms.vba"));
    FancierRecord f = season.read(1);
    f.setFancierName(QStringLiteral("DUPONT;Jean"));
    f.setLicenceNumber(QStringLiteral("12;45\n7"));
    season.write(1, f);
    RecordFileOf<StakeTypeRecord> stakes(e.club.yearPath("basejeu.105"));
    StakeTypeRecord line = stakes.read(1);
    line.setStakeCode(QStringLiteral("s;mp"));
    stakes.write(1, line);
    ScriptedDialogsScope d;
    const ExportResult r = e.run(*d);
    ASSERT_EQ(r.outcome, ExportOutcome::Written);
    const QList<QByteArray> all = readBytes(r.path).split('\n');
    ASSERT_EQ(all.size(), 5); // header, two fanciers, totals, nothing after the last CR LF
    EXPECT_EQ(all[0].split(';').size(), 10); // the header ends with ";"
    EXPECT_TRUE(all[0].contains(";s mp ;"));
    for (const QList<QByteArray>& fields : fancierLines(r.path))
        EXPECT_EQ(fields.size(), 9);
    const QList<QByteArray> first = fancierLines(r.path).at(0);
    EXPECT_EQ(first[0], "DUPONT Jean            ");
    EXPECT_EQ(first[1], "12 45 7 ");
    EXPECT_EQ(season.read(1).fancierName().trimmed(), QStringLiteral("DUPONT;Jean")); // kept
}
