#include "fanciers/site_list.h"

#include "common/errors.h"
#include "common/record_file.h"
#include "tests/support/club_fixture.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace vt;
using vt::testing::ClubFixture;
using vt::testing::readBytes;
using vt::testing::siteRecord;

namespace {

QString distgen(const ClubFixture& f) {
    return QDir(f.startDir()).filePath("distgen");
}

} // namespace

TEST(SiteListItem, FiftyFiveColumnsOfNameAndCoordinates) {
    EXPECT_EQ(siteListItem(siteRecord({"ARRAS", 501728, 24650, 0})),
              QStringLiteral("ARRAS                        501728     24650         0"));
    const QString west = siteListItem(siteRecord({"  Bordeaux ", 445017, 0, 3436.5}));
    EXPECT_EQ(west.size(), 55);
    EXPECT_EQ(west.left(25), QStringLiteral("Bordeaux                 "));
    EXPECT_EQ(west.mid(45), QStringLiteral("    3436.5"));
    // A 30-character name keeps its first 25.
    EXPECT_EQ(siteListItem(siteRecord({"ABCDEFGHIJKLMNOPQRSTUVWXYZABCD", 0, 0, 0})).left(25),
              QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXY"));
}

TEST(SiteListItem, CoordinateFieldsKeepTheirLeadingDigits) {
    struct Case {
        double value;
        const char* field;
    };
    const Case cases[] = {
        {0, "         0"},
        {480506.25, " 480506.25"},
        {480506.123, "480506.123"},
        {480506.1234, "480506.123"}, // rounded to fit, never "80506.1234"
        {480506.9999, "    480507"},
        {21000.12345, "21000.1234"}, // correctly rounded from its
                                     // binary value,
        {13030, "     13030"},
        // Values with far more decimals than the field: the rounding that fits is the same
        // whatever number of decimals it is first tried at.
        {1e-300, "         0"},
        {-1e-300, "         0"},
        {1.00000000001, "         1"},
        {9.99999999999, "        10"},
        {-480506.9999, "   -480507"},
        {0.123456789012, "0.12345679"},
        {-0.123456789012, "-0.1234568"},
        {123.4567890123, "123.456789"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(siteCoordinateField(c.value), QString::fromUtf8(c.field)) << c.value;
}

TEST(SiteList, SortsByListLineIgnoringCaseWithFrenchAccents) {
    const QStringList sorted = {"abbeville",  "ARRAS",      "arras",   "Étaples",  "Eu",
                                "L'Aigle",    "Le Havre",   "Lens",    "Œuilly",   "Oye",
                                "Saint Omer", "Saint-Omer", "Saintes", "Zuydcoote"};
    SiteList list;
    for (auto it = sorted.rbegin(); it != sorted.rend(); ++it)
        list.insert(siteRecord({*it, 480000, 20000, 0}));
    QStringList names;
    for (const ReleaseSiteRecord& r : list.records())
        names.append(r.siteName().trimmed());
    EXPECT_EQ(names, sorted);
}

TEST(SiteList, NameCheckIgnoresCaseAndSurroundingSpaces) {
    const SiteList list(
        {siteRecord({"ARRAS", 501728, 24650, 0}), siteRecord({"Tours", 472338, 4122, 0})});
    EXPECT_EQ(list.indexOfName("  arras "), 0);
    EXPECT_EQ(list.indexOfName("TOURS"), 1);
    EXPECT_EQ(list.indexOfName("ARRA"), -1);
    EXPECT_EQ(list.indexOfName("   "), -1);
    EXPECT_EQ(SiteList().indexOfName("ARRAS"), -1);
}

// distgen [ZUYDCOOTE, blank, arras]: loaded and saved unchanged, it comes back as 98 bytes
// in name order without the blank record.
TEST(SiteList, RewriteDropsBlankRecordsAndKeepsNameOrder) {
    ClubFixture f;
    f.addGeneralSite({"ZUYDCOOTE", 510400, 23200, 0});
    f.addGeneralSite({"", 0, 0, 0});
    f.addGeneralSite({"arras", 501728, 24650, 0});
    const SiteList list = SiteList::load(distgen(f));
    ASSERT_EQ(list.size(), 2);
    list.save(distgen(f));

    const QByteArray bytes = readBytes(distgen(f));
    ASSERT_EQ(bytes.size(), 98);
    EXPECT_EQ(bytes.left(25), QByteArray("arras").leftJustified(25, ' '));
    EXPECT_EQ(bytes.mid(25, 24).toHex(), QByteArray("00000000809f1e41000000008012d840"
                                                    "0000000000000000"));
    EXPECT_EQ(bytes.mid(49, 25), QByteArray("ZUYDCOOTE").leftJustified(25, ' '));
    EXPECT_EQ(bytes.mid(74, 24).toHex(), QByteArray("0000000000271f4100000000"
                                                    "00a8d6400000000000000000"));
}

TEST(SiteList, MissingFileIsCreatedEmptyAndFailedRewriteKeepsTheOldFile) {
    ClubFixture f;
    const SiteList empty = SiteList::load(distgen(f));
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_TRUE(QFile::exists(distgen(f)));

    f.addGeneralSite({"ARRAS", 501728, 24650, 0});
    const QByteArray before = readBytes(distgen(f));
    SiteList list = SiteList::load(distgen(f));
    list.insert(siteRecord({"TOURS", 472338, 4122, 0}));
    RecordFile::rewriteFailureForTests = [](int index) { return index == 1; };
    EXPECT_THROW(list.save(distgen(f)), FileError);
    RecordFile::rewriteFailureForTests = nullptr;
    EXPECT_EQ(readBytes(distgen(f)), before);
}

TEST(SiteBoxes, AcceptedBoxes) {
    struct Case {
        TypedSite typed;
        double lat, east, west;
    };
    const Case cases[] = {
        {{"Arras", "480506,25", "22000", ""}, 480506.25, 22000, 0},
        {{"Arras", "480506.25", "", "13310"}, 480506.25, 0, 13310},
        {{"Arras", "480506,1234", "0", "0"}, 480506.1234, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.latitude.toStdString());
        const SiteEntry e = readSiteBoxes(c.typed);
        ASSERT_EQ(e.kind, SiteEntry::Ready);
        EXPECT_EQ(e.record.latitudeDms(), c.lat);
        EXPECT_EQ(e.record.longitudeEastDms(), c.east);
        EXPECT_EQ(e.record.longitudeWestDms(), c.west);
        EXPECT_FALSE(e.westDropped);
    }
    EXPECT_EQ(readSiteBoxes({"", "480506", "", ""}).kind, SiteEntry::NoName);
    EXPECT_EQ(readSiteBoxes({"   ", "480506", "", ""}).kind, SiteEntry::NoName);
}

TEST(SiteBoxes, RefusedBoxes) {
    struct Case {
        TypedSite typed;
        SiteBox box;
    };
    const Case cases[] = {
        {{"Arras", "", "22000", ""}, SiteBox::Latitude},
        {{"Arras", "abc", "22000", ""}, SiteBox::Latitude},
        {{"Arras", "48,05,06", "22000", ""}, SiteBox::Latitude},
        {{"Arras", "-480506", "22000", ""}, SiteBox::Latitude},
        {{"Arras", "480506", "4805a", ""}, SiteBox::East},
        {{"Arras", "480506", "", "-13310"}, SiteBox::West},
        {{"Łódź", "480506", "22000", ""}, SiteBox::Name},
    };
    for (const Case& c : cases) {
        const SiteEntry e = readSiteBoxes(c.typed);
        SCOPED_TRACE(e.message.toStdString());
        ASSERT_EQ(e.kind, SiteEntry::Refused);
        EXPECT_EQ(e.box, c.box);
        EXPECT_FALSE(e.message.isEmpty());
    }
}

TEST(SiteBoxes, NameIsTrimmedAndCutAndBothLongitudesKeepEast) {
    const SiteEntry e =
        readSiteBoxes({"  ABCDEFGHIJKLMNOPQRSTUVWXYZABCD ", "480506", "22000", "13310"});
    ASSERT_EQ(e.kind, SiteEntry::Ready);
    EXPECT_EQ(e.record.siteName(), QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXY"));
    EXPECT_TRUE(e.westDropped);
    EXPECT_EQ(e.record.longitudeEastDms(), 22000);
    EXPECT_EQ(e.record.longitudeWestDms(), 0);
}

TEST(SiteBoxes, EnterKeyHelpers) {
    EXPECT_EQ(normaliseCoordinateBox(" 480506.25 "), QStringLiteral("480506,25"));
    EXPECT_EQ(coordinateBoxText(480506.25), QStringLiteral("480506,25"));
    EXPECT_EQ(coordinateBoxText(480506.1234), QStringLiteral("480506,1234"));
    EXPECT_EQ(coordinateBoxText(0), QStringLiteral("0"));
    EXPECT_EQ(coordinateBoxValue(""), 0);
    EXPECT_EQ(coordinateBoxValue("22000,5"), 22000.5);
    EXPECT_FALSE(checkCoordinateBox("", SiteBox::East));
    EXPECT_FALSE(checkCoordinateBox("0", SiteBox::East));
    EXPECT_TRUE(checkCoordinateBox("12a", SiteBox::East));
    EXPECT_TRUE(checkCoordinateBox("-1", SiteBox::West));
}
