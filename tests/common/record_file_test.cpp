#include "common/record_file.h"
#include "common/records.h"
#include "tests/support/club_fixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace vt;
using vt::testing::readBytes;
using vt::testing::writeBytes;

namespace {
QByteArray hex(const char* h) { return QByteArray::fromHex(h); }
}

TEST(Records, LengthsOfEveryType) {
    EXPECT_EQ(ClubRecord::Size, 140);
    EXPECT_EQ(FancierRecord::Size, 3197);
    EXPECT_EQ(ReleaseSiteRecord::Size, 49);
    EXPECT_EQ(CalendarRaceRecord::Size, 51);
    EXPECT_EQ(RaceBaseRecord::Size, 127);
    EXPECT_EQ(SheetNameRecord::Size, 50);
    EXPECT_EQ(StakeTypeRecord::Size, 19);
    EXPECT_EQ(StakeAmountBlock::Size, 404);
    EXPECT_EQ(RaceRecapRecord::Size, 204);
}

TEST(Records, ClubRecordBytes) {
    ClubRecord c;
    c.setClubName("ABC");
    c.setGroupNumber(7);
    c.setClubCode("12");
    for (auto set : {&ClubRecord::setCorrespondent, &ClubRecord::setAddressLine,
                     &ClubRecord::setAddressComplement, &ClubRecord::setPostCode,
                     &ClubRecord::setTown})
        (c.*set)(QString());
    QByteArray expected = QByteArray("ABC") + QByteArray(20, ' ') + hex("0700") + "12" +
                          QByteArray(113, ' ');
    EXPECT_EQ(c.bytes(), expected);
}

TEST(Records, StakeTypeRecordDecodes) {
    StakeTypeRecord r(hex("4652414953202020") + "frai " + hex("0000") + hex("00004841"));
    EXPECT_EQ(r.stakeLabel().trimmed(), "FRAIS");
    EXPECT_EQ(r.stakeCode().trimmed(), "frai");
    EXPECT_EQ(r.count(), 0);
    EXPECT_FLOAT_EQ(r.unitValue(), 12.5f);
}

// Every record type keeps every byte it does not touch, through the file and back.
TEST(Records, EveryTypeRoundTripsByteForByte) {
    QTemporaryDir dir;
    auto pattern = [](int n) {
        QByteArray b(n, '\0');
        for (int i = 0; i < n; ++i)
            b[i] = static_cast<char>((i * 37 + 11) & 0xFF);
        return b;
    };
    auto check = [&](auto record, const char* name) {
        using R = decltype(record);
        R r(pattern(R::Size));
        RecordFileOf<R> f(dir.filePath(name));
        f.write(1, r);
        f.write(2, r);
        EXPECT_EQ(f.read(2).bytes(), pattern(R::Size)) << name;
        f.rewrite(f.readAll());
        EXPECT_EQ(readBytes(f.path()), pattern(R::Size) + pattern(R::Size)) << name;
    };
    check(ClubRecord{}, "club");
    check(FancierRecord{}, "fancier");
    check(ReleaseSiteRecord{}, "site");
    check(CalendarRaceRecord{}, "cal");
    check(RaceBaseRecord{}, "base");
    check(SheetNameRecord{}, "sheet");
    check(StakeTypeRecord{}, "stake");
    check(StakeAmountBlock{}, "mise");
    check(RaceRecapRecord{}, "recap");

    // Typed fields set over a patterned record leave the reserved bytes alone.
    FancierRecord f(pattern(3197));
    f.setFancierName(QStringLiteral("ŒUVRE Élise €"));
    f.setRaceAmount(649, 123456);
    f.setLatitudeDms(480506.25);
    EXPECT_EQ(f.bytes().mid(167, 414), pattern(3197).mid(167, 414));
    EXPECT_EQ(f.fancierName().trimmed(), QStringLiteral("ŒUVRE Élise €"));
    EXPECT_EQ(f.raceAmount(649), 123456);
    EXPECT_EQ(f.bytes().mid(597 + 4 * 649, 4), hex("40e20100"));
    EXPECT_THROW(f.setRaceAmount(650, 1), Error);
    RaceBaseRecord b(pattern(127));
    b.setStakeSheet(3);
    b.setLevelIndex(2);
    EXPECT_EQ(b.bytes().mid(57, 14), pattern(127).mid(57, 14));
    EXPECT_EQ(b.bytes().mid(77, 2), hex("0300"));
    CalendarRaceRecord c(pattern(51));
    c.setSiteName("ORLEANS");
    c.setRaceDate("12/05/05");
    EXPECT_EQ(c.bytes()[25], pattern(51)[25]);
}

TEST(RecordFile, CountsWholeRecordsAndReadsZerosPastTheEnd) {
    QTemporaryDir dir;
    const QString p = dir.filePath("noms.vba");
    writeBytes(p, QByteArray(6494, 'A'));
    RecordFileOf<FancierRecord> f(p);
    EXPECT_EQ(f.count(), 2);
    EXPECT_TRUE(f.read(3).isZero());
    EXPECT_TRUE(f.read(3).fancierName().trimmed().isEmpty());
    FancierRecord r;
    r.setFancierName("DUPONT");
    f.write(3, r);
    EXPECT_EQ(QFileInfo(p).size(), 9591);
    EXPECT_EQ(f.count(), 3);
    EXPECT_EQ(readBytes(p).mid(6394, 6), QByteArray("DUPONT"));
}

TEST(RecordFile, MissingFileOpensEmptyAndThenExists) {
    QTemporaryDir dir;
    RecordFileOf<ClubRecord> f(dir.filePath("societe.nom"));
    EXPECT_FALSE(f.exists());
    EXPECT_EQ(f.count(), 0);
    f.create();
    EXPECT_TRUE(f.exists());
    EXPECT_EQ(f.count(), 0);
    EXPECT_TRUE(f.read(1).isZero());
}

TEST(RecordFile, WritingPastTheEndGrowsWithZeroRecords) {
    QTemporaryDir dir;
    RecordFileOf<ReleaseSiteRecord> f(dir.filePath("distloc"));
    ReleaseSiteRecord r;
    r.setSiteName("ORLEANS");
    f.write(3, r);
    EXPECT_EQ(f.count(), 3);
    EXPECT_TRUE(f.read(1).isZero());
    EXPECT_TRUE(f.read(2).isZero());
    EXPECT_THROW(f.write(0, r), Error);
}

// Records written as one block: in place over the records they cover, zero records before
// them past the end, the records after them kept; a part record is refused.
TEST(RecordFile, ABlockOfRecordsIsWrittenInPlace) {
    QTemporaryDir dir;
    RecordFile f(dir.filePath("mise.101"), 4);
    writeBytes(f.path(), QByteArray("AAAABBBBCC"));
    f.writeRecordsAt(1, QByteArray("xxxx"));
    EXPECT_EQ(readBytes(f.path()), QByteArray("xxxxBBBBCC"));
    f.writeRecordsAt(4, QByteArray("yyyyzzzz"));
    EXPECT_EQ(readBytes(f.path()), QByteArray("xxxxBBBB\0\0\0\0yyyyzzzz", 20));
    EXPECT_EQ(f.readAllBytes(), readBytes(f.path()));
    EXPECT_THROW(f.writeRecordsAt(1, QByteArray("abcdef")), Error);
    EXPECT_THROW(f.writeRecordsAt(0, QByteArray("abcd")), Error);
    EXPECT_EQ(readBytes(f.path()).left(8), QByteArray("xxxxBBBB"));
}

// A file read whole answers every record as a read of the file does.
TEST(RecordFile, LoadedRecordsAnswerAsTheFileDoes) {
    QTemporaryDir dir;
    RecordFile f(dir.filePath("mise.101"), 4);
    writeBytes(f.path(), QByteArray("AAAABBBBCC"));
    const LoadedRecords loaded(f);
    EXPECT_EQ(loaded.count(), 2);
    for (int n = 1; n <= 3; ++n)
        EXPECT_EQ(loaded.raw(n), f.readRaw(n)) << n;
    EXPECT_THROW(loaded.raw(0), Error);
    EXPECT_EQ(LoadedRecords(RecordFile(dir.filePath("missing"), 4)).raw(1), QByteArray(4, '\0'));
}

// Mends written back by record number: each in place, the others untouched.
TEST(RecordFile, RecordsWrittenInPlaceByNumber) {
    QTemporaryDir dir;
    RecordFile f(dir.filePath("noms.vba"), 4);
    writeBytes(f.path(), QByteArray("AAAABBBBCCCCDDDD"));
    QList<int> written;
    writeRecordsInPlace(f, {{1, "xxxx"}, {2, "yyyy"}, {4, "zzzz"}, {6, "wwww"}}, written);
    EXPECT_EQ(readBytes(f.path()), QByteArray("xxxxyyyyCCCCzzzz\0\0\0\0wwww", 24));
    EXPECT_EQ(written, QList<int>({1, 2, 4, 6}));
}

// A block rewrite leaves the records given, or on failure the old file untouched.
TEST(RecordFile, ABlockRewriteIsWholeOrNothing) {
    QTemporaryDir dir;
    RecordFile f(dir.filePath("noms.vba"), 4);
    f.rewriteAllBytes(QByteArray("AAAABBBB"));
    EXPECT_EQ(readBytes(f.path()), QByteArray("AAAABBBB"));
    EXPECT_THROW(f.rewriteAllBytes(QByteArray("abcdef")), Error);
    RecordFile::rewriteFailureForTests = [](int i) { return i == 2; };
    EXPECT_THROW(f.rewriteAllBytes(QByteArray("ccccddddeeee")), FileError);
    RecordFile::rewriteFailureForTests = nullptr;
    EXPECT_EQ(readBytes(f.path()), QByteArray("AAAABBBB"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"noms.vba"});
}

TEST(RecordFile, RewriteLeavesExactlyTheRecordsGiven) {
    QTemporaryDir dir;
    RecordFileOf<ReleaseSiteRecord> f(dir.filePath("distgen"));
    QList<ReleaseSiteRecord> ten(10);
    for (int i = 0; i < 10; ++i)
        ten[i].setSiteName(QStringLiteral("SITE %1").arg(i));
    f.rewrite(ten);
    EXPECT_EQ(f.count(), 10);
    f.rewrite(ten.mid(0, 7));
    EXPECT_EQ(f.count(), 7);
    EXPECT_EQ(QFileInfo(f.path()).size(), 7 * 49);
}

TEST(RecordFile, FailedRewriteKeepsTheOldFileWhole) {
    QTemporaryDir dir;
    RecordFileOf<ReleaseSiteRecord> f(dir.filePath("distgen"));
    QList<ReleaseSiteRecord> old(4), fresh(6);
    for (auto& r : old)
        r.setSiteName("OLD");
    for (auto& r : fresh)
        r.setSiteName("NEW");
    f.rewrite(old);
    const QByteArray before = readBytes(f.path());
    RecordFile::rewriteFailureForTests = [](int i) { return i == 3; };
    EXPECT_THROW(f.rewrite(fresh), FileError);
    RecordFile::rewriteFailureForTests = nullptr;
    EXPECT_EQ(readBytes(f.path()), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"distgen"});
}

TEST(RecordFile, ExistingFilesAreFoundWhateverTheCase) {
    QTemporaryDir dir;
    writeBytes(dir.filePath("NOMS.VBA"), QByteArray(3197, 'B'));
    RecordFileOf<FancierRecord> f(dir.filePath("noms.vba"));
    EXPECT_EQ(f.count(), 1);
    EXPECT_TRUE(f.path().endsWith("NOMS.VBA"));
    RecordFileOf<FancierRecord> fresh(dir.filePath("distloc"));
    EXPECT_TRUE(fresh.path().endsWith("distloc"));
    // A folder of the name in another case is no file; a link to a file is one.
    ASSERT_TRUE(QDir(dir.path()).mkdir("RECAP.101"));
    EXPECT_EQ(resolveFile(dir.path(), "recap.101"), dir.filePath("recap.101"));
    ASSERT_TRUE(QFile::link(dir.filePath("NOMS.VBA"), dir.filePath("Mise.101")));
    EXPECT_EQ(resolveFile(dir.path(), "mise.101"), dir.filePath("Mise.101"));
}

TEST(RecordFile, ReadOnlyFolderGivesAFrenchMessageNamingTheFile) {
    QTemporaryDir dir;
    if (::getuid() == 0)
        GTEST_SKIP() << "root writes everywhere";
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    RecordFileOf<ClubRecord> f(dir.filePath("societe.nom"));
    try {
        f.rewrite({ClubRecord{}});
        FAIL();
    } catch (const FileError& e) {
        EXPECT_TRUE(e.message().contains("societe.nom"));
    }
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}
