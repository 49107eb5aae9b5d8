#include "shell/club.h"

#include "common/record_file.h"
#include "shell/season.h"
#include "shell/startup.h"
#include "tests/support/club_fixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vt;
using vt::testing::readBytes;
using vt::testing::writeBytes;

namespace {

TEST(ClubGroupNumber, TypedTextsAreReadOrRefused) {
    struct Case {
        const char* text;
        std::optional<int16_t> group;
    };
    const Case cases[] = {
        {"", 0},          {"  ", 0},        {"7", 7},          {"-5", -5},
        {"2.5", 2},       {"2,5", 2},       {"3.5", 4},        {"3,5", 4},
        {"2,6", 3},       {"32767", 32767}, {"-32768", -32768}, {"12abc", std::nullopt},
        {"abc", std::nullopt}, {" 1 2", std::nullopt}, {"40000", std::nullopt},
        {"32767,5", std::nullopt}, {"1,2,3", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(groupNumberFromText(QString::fromUtf8(c.text)), c.group) << c.text;
}

class ClubTest : public ::testing::Test {
protected:
    void SetUp() override {
        session() = Session{};
        startUp(session(), dir.path());
    }
    QString data(const QString& n) const { return QDir(session().DataFolder).filePath(n); }
    static ClubTexts amis() {
        ClubTexts t;
        t.name = QStringLiteral("LES AMIS");
        t.code = QStringLiteral("1234");
        t.groupNumber = QStringLiteral("7");
        return t;
    }
    QTemporaryDir dir;
};

TEST_F(ClubTest, FirstSaveWritesTheRecordAndAnEmptyBackup) {
    ASSERT_EQ(QFileInfo(data("societe.nom")).size(), 0);
    saveClub(session(), amis());
    QByteArray expected = QByteArray("LES AMIS") + QByteArray(15, ' ') +
                          QByteArray("\x07\x00", 2) + QByteArray("1234 ") +
                          QByteArray(110, ' ');
    EXPECT_EQ(readBytes(data("societe.nom")), expected);
    EXPECT_TRUE(QFile::exists(data("socres")));
    EXPECT_EQ(QFileInfo(data("socres")).size(), 0);
    EXPECT_EQ(session().ClubCaption, QStringLiteral(" La société de LES AMIS"));
    EXPECT_EQ(session().ClubNames.value(1), QStringLiteral("LES AMIS"));
    EXPECT_EQ(session().ClubCodes.value(1), QStringLiteral("1234"));
    EXPECT_EQ(session().ClubGroupNo, 7);
    EXPECT_EQ(session().ClubCount, 1);
    EXPECT_EQ(session().ClubGroupNumbers.value(1), 1);
}

TEST_F(ClubTest, TheBackupHoldsTheFileAsItWasBeforeEachSave) {
    saveClub(session(), amis());
    const QByteArray first = readBytes(data("societe.nom"));
    ClubTexts t = amis();
    t.name = QStringLiteral("LES AMIS REUNIS");
    saveClub(session(), t);
    EXPECT_EQ(readBytes(data("socres")), first);
    const QByteArray second = readBytes(data("societe.nom"));
    t.code = QStringLiteral("99");
    saveClub(session(), t);
    EXPECT_EQ(readBytes(data("socres")), second);
}

TEST_F(ClubTest, RefusedInputChangesNoFile) {
    saveClub(session(), amis());
    writeBytes(data("socres"), QByteArray("older"));
    const QByteArray club = readBytes(data("societe.nom"));
    for (const QString& group : {QStringLiteral("40000"), QStringLiteral("12abc")}) {
        ClubTexts t = amis();
        t.groupNumber = group;
        try {
            saveClub(session(), t);
            ADD_FAILURE() << "accepted " << group.toStdString();
        } catch (const Error& e) {
            EXPECT_EQ(e.message(), groupNumberRefusedMessage());
        }
    }
    ClubTexts t = amis();
    t.town = QStringLiteral("Łódź");
    EXPECT_THROW(saveClub(session(), t), EncodingError);
    EXPECT_EQ(readBytes(data("societe.nom")), club);
    EXPECT_EQ(readBytes(data("socres")), QByteArray("older"));
    EXPECT_EQ(session().ClubGroupNo, 7);
}

TEST_F(ClubTest, AddressTextsAreStoredAsTypedAndReadBackTrimmed) {
    ClubTexts t = amis();
    t.correspondent = QStringLiteral("Jean Martin");
    t.address = QStringLiteral("   12 rue des Lilas");
    t.postCode = QStringLiteral("59000");
    t.town = QString(40, QChar(u'x'));
    saveClub(session(), t);
    const ClubRecord r = RecordFileOf<ClubRecord>(data("societe.nom")).read(1);
    EXPECT_EQ(r.addressLine(), QStringLiteral("   12 rue des Lilas      "));
    EXPECT_EQ(r.town(), QString(30, QChar(u'x')));
    EXPECT_EQ(session().SenderAddress.Correspondent, QStringLiteral("Jean Martin"));
    EXPECT_EQ(session().SenderAddress.Street, QStringLiteral("12 rue des Lilas"));
    EXPECT_EQ(session().SenderAddress.PostCode, QStringLiteral("59000"));
    EXPECT_EQ(session().SenderAddress.Town, QString(30, QChar(u'x')));
    const ClubTexts back = clubTexts(r);
    EXPECT_EQ(back.address, QStringLiteral("12 rue des Lilas"));
    EXPECT_EQ(back.groupNumber, QStringLiteral("7"));
}

TEST_F(ClubTest, AnEmptyRecordShowsEmptyBoxesAndGroupZero) {
    const ClubTexts t = clubTexts(ClubRecord());
    EXPECT_TRUE(t.name.isEmpty());
    EXPECT_TRUE(t.town.isEmpty());
    EXPECT_EQ(t.groupNumber, QStringLiteral("0"));
}

} // namespace
