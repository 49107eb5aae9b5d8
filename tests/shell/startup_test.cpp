#include "shell/startup.h"

#include "common/record_file.h"
#include "common/records.h"
#include "tests/support/club_fixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vt;
using vt::testing::writeBytes;

namespace {

class StartUpTest : public ::testing::Test {
protected:
    void SetUp() override { session() = Session{}; }
    QString region1() const { return QDir(dir.path()).filePath("region1"); }
    QTemporaryDir dir;
};

TEST_F(StartUpTest, AnEmptyFolderIsAFirstRun) {
    EXPECT_FALSE(startUp(session(), dir.path()));
    EXPECT_TRUE(QFileInfo(region1()).isDir());
    EXPECT_TRUE(QFile::exists(region1() + "/societe.nom"));
    EXPECT_EQ(QFileInfo(region1() + "/societe.nom").size(), 0);
    EXPECT_EQ(QDir(region1()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 0);
}

TEST_F(StartUpTest, ABlankNameIsAFirstRun) {
    QDir().mkpath(region1());
    for (char fill : {' ', '\0'}) {
        writeBytes(region1() + "/societe.nom", QByteArray(140, fill));
        EXPECT_FALSE(startUp(session(), dir.path())) << int(fill);
    }
}

TEST_F(StartUpTest, AClubFillsTheTablesTheCaptionAndTheSenderAddress) {
    ClubRecord c;
    c.setClubName(QStringLiteral("LES AMIS"));
    c.setClubCode(QStringLiteral("1234"));
    c.setGroupNumber(7);
    c.setCorrespondent(QStringLiteral("  Jean Martin"));
    c.setAddressLine(QStringLiteral("12 rue des Lilas"));
    c.setPostCode(QStringLiteral("59000"));
    c.setTown(QStringLiteral("LILLE"));
    QDir().mkpath(region1());
    RecordFileOf<ClubRecord>(region1() + "/societe.nom").rewrite({c});

    ASSERT_TRUE(startUp(session(), dir.path()));
    const Session& s = session();
    EXPECT_EQ(s.ClubNames.value(1), QStringLiteral("LES AMIS"));
    EXPECT_EQ(s.ClubCodes.value(1), QStringLiteral("1234"));
    EXPECT_EQ(s.ClubGroupNo, 7);
    EXPECT_EQ(s.ClubGroupNumbers.value(1), 1);
    EXPECT_EQ(s.ClubCaption, QStringLiteral(" La société de LES AMIS"));
    EXPECT_EQ(s.SenderAddress.Correspondent, QStringLiteral("Jean Martin"));
    EXPECT_EQ(s.SenderAddress.Street, QStringLiteral("12 rue des Lilas"));
    EXPECT_EQ(s.SenderAddress.Complement, QString());
    EXPECT_EQ(s.SenderAddress.PostCode, QStringLiteral("59000"));
    EXPECT_EQ(s.SenderAddress.Town, QStringLiteral("LILLE"));
    EXPECT_EQ(s.SeasonYear, 0); // the season is opened by the main window
}

TEST_F(StartUpTest, TheDataFolderIsTheCanonicalPath) {
    QTemporaryDir other;
    const QString link = QDir(other.path()).filePath("club");
    ASSERT_TRUE(QFile::link(dir.path(), link));
    startUp(session(), link);
    EXPECT_EQ(session().DataFolder, QDir(region1()).canonicalPath());
    EXPECT_EQ(session().ClubFilePath, QDir(region1()).canonicalPath() + "/societe.nom");
}

TEST_F(StartUpTest, ADataFolderThatCannotBeMadeStopsTheProgramWithAMessage) {
    writeBytes(region1(), QByteArray("not a folder"));
    try {
        startUp(session(), dir.path());
        FAIL() << "started without its data folder";
    } catch (const Error& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Impossible de créer ou d'ouvrir ")));
        EXPECT_TRUE(e.message().endsWith(QStringLiteral(". Le programme va s'arrêter.")));
    }
}

} // namespace
