#include "shell/season.h"

#include "common/record_file.h"
#include "common/records.h"
#include "platform/clock.h"
#include "tests/support/club_fixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vt;
using vt::testing::readBytes;

namespace {

// A start folder with region1 and a master fanciers file, and no season folder yet.
class SeasonTest : public ::testing::Test {
protected:
    void SetUp() override {
        setClockForTests([] { return QDateTime(QDate(2005, 3, 8), QTime(8, 15, 0)); });
        session() = Session{};
        session().setStartDir(dir.path());
        session().setClub(QStringLiteral("LES AMIS"), QStringLiteral("1234"), 7);
    }
    void TearDown() override {
        setClockForTests({});
        RecordFile::rewriteFailureForTests = {};
    }
    QString data(const QString& n) const { return QDir(session().DataFolder).filePath(n); }
    void writeMaster() {
        FancierRecord a;
        a.setFancierName(QStringLiteral("DUPONT JEAN"));
        a.setRaceAmount(0, 5);
        a.setRaceAmount(105, 1234);
        a.setRaceAmount(649, 7);
        RecordFileOf<FancierRecord>(data("noms.vba")).rewrite({a, FancierRecord()});
    }
    QTemporaryDir dir;
};

TEST_F(SeasonTest, FirstStartMakesTheSeasonFileFromTheMasterWithAmountsCleared) {
    writeMaster();
    ASSERT_FALSE(QDir(data("2005")).exists());
    memo(session());

    const QByteArray master = readBytes(data("noms.vba"));
    const QByteArray season = readBytes(data("2005/noms.vba"));
    ASSERT_EQ(season.size(), 6394);
    EXPECT_EQ(season.left(597), master.left(597));
    EXPECT_EQ(season.mid(597, 4), QByteArray("\x05\x00\x00\x00", 4));
    EXPECT_EQ(season.mid(601, 3197 - 601), QByteArray(3197 - 601, '\0'));
    EXPECT_EQ(season.mid(3197), master.mid(3197));
    EXPECT_EQ(session().YearFolder, data("2005"));
    EXPECT_EQ(session().YearShort, QStringLiteral("05"));
    EXPECT_EQ(session().FancierFilePath, data("2005/noms.vba"));
    EXPECT_EQ(seasonTitle(session()),
              QStringLiteral("MISES EN LOGE de  La société de LES AMIS ANNEE 2005"));
}

TEST_F(SeasonTest, APartRecordAtTheEndOfTheMasterIsNotCopied) {
    writeMaster();
    QFile master(data("noms.vba"));
    ASSERT_TRUE(master.open(QIODevice::Append));
    master.write(QByteArray(100, 'x'));
    master.close();
    memo(session());
    const QByteArray season = readBytes(data("2005/noms.vba"));
    ASSERT_EQ(season.size(), 2 * FancierRecord::Size);
    EXPECT_EQ(season.mid(3197), readBytes(data("noms.vba")).mid(3197, 3197));
}

TEST_F(SeasonTest, ASecondStartLeavesTheSeasonFileAsItIs) {
    writeMaster();
    memo(session());
    RecordFileOf<FancierRecord> season(data("2005/noms.vba"));
    FancierRecord r = season.read(1);
    r.setRaceAmount(102, 4500);
    season.write(1, r);
    const QByteArray before = readBytes(data("2005/noms.vba"));

    session() = Session{};
    session().setStartDir(dir.path());
    memo(session());
    EXPECT_EQ(readBytes(data("2005/noms.vba")), before);
}

TEST_F(SeasonTest, AnEmptyMasterGivesAnEmptySeasonFile) {
    memo(session());
    EXPECT_TRUE(QFile::exists(data("2005/noms.vba")));
    EXPECT_EQ(QFileInfo(data("2005/noms.vba")).size(), 0);
    EXPECT_EQ(seasonTitle(session()).right(10), QStringLiteral("ANNEE 2005"));
}

TEST_F(SeasonTest, AFailedCopyLeavesNoSeasonFileAndTheSeasonUnchanged) {
    writeMaster();
    memo(session());
    session().ChosenRaceCodes[1] = 102;
    RecordFile::rewriteFailureForTests = [](int i) { return i == 1; };
    EXPECT_THROW(openYear(session(), 2006), Error);
    EXPECT_FALSE(QFile::exists(data("2006/noms.vba")));
    EXPECT_EQ(session().SeasonYear, 2005);
    EXPECT_EQ(session().FancierFilePath, data("2005/noms.vba"));
    EXPECT_EQ(session().ChosenRaceCodes[1], 102);
}

TEST_F(SeasonTest, OpeningAYearClearsTheChosenRaces) {
    memo(session());
    session().ChosenRaceCodes[1] = 102;
    session().ChosenRaceStakeFiles[1] = QStringLiteral("gr1jeu.102");
    openYear(session(), 1981);
    EXPECT_EQ(session().YearFolder, data("1981"));
    EXPECT_EQ(session().YearShort, QStringLiteral("81"));
    EXPECT_TRUE(session().chosenRaces().isEmpty());
    EXPECT_TRUE(session().ChosenRaceStakeFiles[1].isEmpty());
}

TEST_F(SeasonTest, MemoRunAgainKeepsTheOpenSeason) {
    memo(session());
    openYear(session(), 2004);
    session().ChosenRaceCodes[1] = 102;
    session().CurrentFancierNo = 3;
    memo(session());
    EXPECT_EQ(session().SeasonYear, 2004);
    EXPECT_EQ(session().ChosenRaceCodes[1], 102);
    EXPECT_EQ(session().CurrentFancierNo, 3);
    EXPECT_EQ(session().MasterFancierPath, data("noms.vba"));
    EXPECT_EQ(session().GeneralSitesPath, QDir(session().StartDir).filePath("distgen"));
}

TEST_F(SeasonTest, AFolderThatCannotBeMadeIsReportedAndTheSeasonStays) {
    memo(session());
    QFile blocker(data("2010"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_THROW(openYear(session(), 2010), Error);
    EXPECT_EQ(session().SeasonYear, 2005);
}

} // namespace
