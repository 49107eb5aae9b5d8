#include "shell/calendar.h"

#include "common/errors.h"
#include "common/record_file.h"
#include "common/text.h"
#include "platform/recording_surface.h"
#include "tests/support/club_fixture.h"

#include <gtest/gtest.h>

using namespace vt;
using namespace vt::testing;

namespace {

CalendarRaceRecord race(const QString& site, const QString& date, int category) {
    CalendarRaceRecord r;
    r.setSiteName(site);
    r.setRaceDate(date);
    r.setCategoryIndex(static_cast<int16_t>(category));
    return r;
}

QByteArray hex(const char* h) { return QByteArray::fromHex(QByteArray(h).replace(' ', "")); }

} // namespace

TEST(CalendarStore, StoresTheExampleRaceByteForByte) {
    ClubFixture club;
    club.addLocalSite({QStringLiteral("ORLEANS"), 475400, 15400, 0});
    const QString cal = club.yearPath("gr1.cal");
    QStringList lines = editorLines({});
    ASSERT_EQ(lines, QStringList{QStringLiteral("001 ")});

    const CalendarRaceRecord stored = storeCalendarRace(
        cal, club.path("distloc"),
        {1, 1, padRight(QStringLiteral("ORLEANS"), 25), 12, 5, 2005, 2});
    const QByteArray bytes = readBytes(cal);
    ASSERT_EQ(bytes.size(), 51);
    EXPECT_EQ(bytes.left(15), QByteArray("ORLEANS        "));
    EXPECT_EQ(bytes.mid(15, 8), QByteArray("12/05/05"));
    EXPECT_EQ(bytes.mid(23, 3), hex("02 00 00"));
    EXPECT_EQ(bytes.mid(26, 8), hex("00 00 00 00 20 04 1D 41"));
    EXPECT_EQ(bytes.mid(34, 8), hex("00 00 00 00 00 14 CE 40"));
    EXPECT_EQ(bytes.mid(42, 8), QByteArray(8, '\0'));
    EXPECT_EQ(bytes.mid(50, 1), QByteArray("A"));

    EXPECT_EQ(applyStoredLine(lines, 0, CalendarRaceLine(1, stored)), 1);
    EXPECT_EQ(lines, (QStringList{QStringLiteral("001 ORLEANS         12 mai 2005       UN AN"),
                                  QStringLiteral("002")}));
}

TEST(CalendarStore, KeepsTheReservedByteAndGrowsWithEmptyRecords) {
    ClubFixture club;
    club.addLocalSite({QStringLiteral("TOURS"), 472338, 4122, 0});
    const QString cal = club.yearPath("gr1.cal");
    CalendarRaceRecord old = race(QStringLiteral("X"), QStringLiteral("01/05/05"), 1);
    old.setRaw(25, QByteArray("Z"));
    RecordFileOf<CalendarRaceRecord>(cal).write(1, old);
    storeCalendarRace(cal, club.path("distloc"), {1, 1, QStringLiteral("TOURS"), 3, 6, 2005, 3});
    storeCalendarRace(cal, club.path("distloc"), {4, 1, QStringLiteral("TOURS"), 4, 6, 2005, 0});
    const QByteArray bytes = readBytes(cal);
    ASSERT_EQ(bytes.size(), 4 * 51);
    EXPECT_EQ(bytes.at(25), 'Z');
    EXPECT_EQ(bytes.at(50), 'J');
    EXPECT_EQ(bytes.mid(51, 102), QByteArray(102, '\0'));
    EXPECT_EQ(bytes.at(3 * 51 + 50), 'V');
}

TEST(CalendarStore, RefusesAnIncompleteEntryOrAMissingDayAndWritesNothing) {
    ClubFixture club;
    club.addLocalSite({QStringLiteral("ORLEANS"), 475400, 15400, 0});
    const QString cal = club.yearPath("gr1.cal");
    const QString site = QStringLiteral("ORLEANS");
    const QList<CalendarEntry> refused = {
        {1, 0, QString(), 12, 5, 2005, 0}, // no site
        {1, 1, site, 12, 0, 2005, 0},      // no month
        {1, 1, site, 0, 5, 2005, 0},       // no day
        {1, 1, site, 31, 2, 2005, 0},      // 31 FÉVRIER
        {1, 1, site, 29, 2, 2005, 0},      // not a leap year
    };
    for (const CalendarEntry& e : refused) {
        try {
            storeCalendarRace(cal, club.path("distloc"), e);
            ADD_FAILURE() << "stored day " << e.day << " month " << e.month;
        } catch (const Error& err) {
            EXPECT_EQ(err.message(), QStringLiteral("Choisissez le lieu de lâcher, le mois et le "
                                                    "jour avant de mémoriser."));
        }
    }
    // The site list no longer matches distloc (rewritten meanwhile).
    EXPECT_THROW(storeCalendarRace(cal, club.path("distloc"),
                                   {1, 1, QStringLiteral("BORDEAUX"), 12, 5, 2005, 0}),
                 Error);
    EXPECT_FALSE(QFile::exists(cal));
}

TEST(CalendarStore, StoresALongSiteCutAndMatchesItAgain) {
    ClubFixture club;
    const QString longName = QStringLiteral("SAINT-QUENTIN-EST");
    club.addLocalSite({QStringLiteral("ORLEANS"), 475400, 15400, 0});
    club.addLocalSite({longName, 495000, 31700, 0});
    const CalendarRaceRecord r = storeCalendarRace(
        club.yearPath("gr1.cal"), club.path("distloc"), {1, 2, longName, 1, 6, 2005, 1});
    EXPECT_EQ(r.siteName(), QStringLiteral("SAINT-QUENTIN-E"));
    const QString line = CalendarRaceLine(1, r);
    const QStringList sites = {padRight(QStringLiteral("ORLEANS"), 25), padRight(longName, 25)};
    EXPECT_EQ(matchSiteLine(sites, Mid(line, 5, 15)), 1);
    EXPECT_EQ(matchSiteLine(sites, QStringLiteral("TOURS")), -1);
}

TEST(CalendarLists, DayListsFollowTheMonthAndTheYear) {
    struct Case {
        int month, year, days;
    };
    for (const Case& c : {Case{1, 2005, 31}, Case{2, 2005, 28}, Case{2, 2004, 29},
                          Case{2, 2000, 29}, Case{3, 2005, 31}, Case{4, 2005, 30},
                          Case{6, 2005, 30}, Case{9, 2005, 30}, Case{11, 2005, 30},
                          Case{12, 2005, 31}, Case{0, 2005, 31}}) {
        const QStringList days = calendarDayLines(c.month, c.year);
        EXPECT_EQ(days.size(), c.days) << c.month << "/" << c.year;
        EXPECT_EQ(days.first(), QStringLiteral(" 01"));
        EXPECT_EQ(days.last(), QStringLiteral(" ") + QString::number(c.days));
    }
    const QStringList months = calendarMonthNames();
    ASSERT_EQ(months.size(), 12);
    EXPECT_EQ(months[1], QStringLiteral("FÉVRIER"));
    EXPECT_EQ(months[7], QStringLiteral("AOÛT"));
    EXPECT_EQ(months[11], QStringLiteral("DÉCEMBRE"));
}

TEST(CalendarLists, EditorAndChooserLinesOfTheExampleCalendar) {
    const QList<CalendarRaceRecord> records = {race(QStringLiteral("ORLEANS"), "12/05/05", 0),
                                               CalendarRaceRecord(),
                                               race(QStringLiteral("TOURS"), "28/04/05", 3)};
    const QStringList editor = editorLines(records);
    ASSERT_EQ(editor.size(), 4);
    EXPECT_EQ(editor[0], QStringLiteral("001 ORLEANS         12 mai 2005       VIEUX"));
    EXPECT_EQ(trim(editor[1]), QStringLiteral("002"));
    EXPECT_TRUE(isFreeCalendarLine(editor[1]));
    EXPECT_EQ(editor[2], QStringLiteral("003 TOURS           28 avril 2005     JEUNES"));
    EXPECT_EQ(editor[3], QStringLiteral("004 "));

    const RaceChoiceLists lists = raceChoiceLists(records);
    EXPECT_EQ(lists.keys, (QStringList{QStringLiteral("4/28 0003"), QStringLiteral("5/12 0001")}));
    ASSERT_EQ(lists.offered.size(), 2);
    EXPECT_EQ(lists.offered[0], QStringLiteral("03 28/04/05  TOURS            JEUNES"));
    EXPECT_EQ(lists.offered[1], QStringLiteral("01 12/05/05  ORLEANS          VIEUX"));
    EXPECT_EQ(raceFromSortKey(lists.keys[0]), 3);

    EXPECT_TRUE(raceChoiceLists({}).keys.isEmpty());
    EXPECT_EQ(editorLines({}), QStringList{QStringLiteral("001 ")});
}

TEST(CalendarLists, ChooserOrderCategoriesAndLimits) {
    // October sorts before May (keys compared as text); equal dates by race number; an
    // undated race comes last with blank date columns.
    const QList<CalendarRaceRecord> records = {
        race(QStringLiteral("ARRAS"), "12/05/05", 1), race(QStringLiteral("BRIVE"), "01/10/05", 2),
        race(QStringLiteral("CAHORS"), "12/05/05", 7), race(QStringLiteral("DAX"), "31/02/05", -1)};
    const RaceChoiceLists lists = raceChoiceLists(records);
    EXPECT_EQ(lists.keys, (QStringList{QStringLiteral("10/01 0002"), QStringLiteral("5/12 0001"),
                                       QStringLiteral("5/12 0003"), QStringLiteral(" 0004")}));
    EXPECT_TRUE(lists.offered[2].endsWith(QStringLiteral("VIEUX")));
    EXPECT_EQ(lists.offered[3], QStringLiteral("04") + QString(11, u' ') + QStringLiteral("DAX") + QString(14, u' ') + QStringLiteral("VIEUX"));

    const QString fifteen = QStringLiteral("ABCDEFGHIJKLMNO");
    const QString line = CalendarRaceLine(23, race(fifteen, "01/06/05", 2));
    EXPECT_EQ(Mid(line, 5, 15), fifteen);
    EXPECT_EQ(Mid(line, 20, 1), QStringLiteral(" "));

    QList<CalendarRaceRecord> full;
    for (int i = 0; i < 99; ++i)
        full.append(race(QStringLiteral("ARRAS"), "12/05/05", 0));
    const QStringList lines = editorLines(full);
    EXPECT_EQ(lines.size(), 99);
    EXPECT_EQ(Left(lines.last(), 3), QStringLiteral("099"));
    QStringList copy = lines;
    EXPECT_EQ(applyStoredLine(copy, 98, lines[98]), -1);
    EXPECT_EQ(copy.size(), 99);
}


TEST(CalendarPrint, PrintsRacesTwoByLineAndNothingForAnEmptyList) {
    RecordingSurface surface;
    const QString caption = QStringLiteral("CALENDRIER : LES AILES");
    const QStringList lines = {QStringLiteral("001 ORLEANS         12 mai 2005       UN AN"),
                               QStringLiteral("002 TOURS           28 avril 2005     VIEUX"),
                               QStringLiteral("003 "),
                               QStringLiteral("004 ARRAS           02 juin 2005      JEUNES"),
                               QStringLiteral("005")};
    printCalendar(surface, caption, lines);
    ASSERT_EQ(surface.documents().size(), 1);
    ASSERT_EQ(surface.pages().size(), 1);
    const RecordedPage& page = surface.pages().first();
    EXPECT_EQ(page.orientation, Orientation::Landscape);
    ASSERT_EQ(page.texts.size(), 4);
    EXPECT_EQ(page.texts[0].text, caption);
    EXPECT_EQ(page.texts[0].fontSize, 11);
    EXPECT_TRUE(page.texts[0].bold);
    const double column = page.texts[1].x; // 0: race 1 at column 1
    EXPECT_DOUBLE_EQ(column, 0);
    const double advance = 0.6 * 11 * 25.4 / 72;
    EXPECT_NEAR(page.texts[2].x, 56 * advance, 1e-6); // race 2 at column 57
    EXPECT_DOUBLE_EQ(page.texts[1].y, page.texts[2].y);
    EXPECT_DOUBLE_EQ(page.texts[3].x, 0);
    EXPECT_GT(page.texts[3].y, page.texts[2].y);
    EXPECT_GT(page.texts[1].y - page.texts[0].y, 1.5 * (page.texts[3].y - page.texts[2].y));

    RecordingSurface none;
    printCalendar(none, caption, {});
    EXPECT_TRUE(none.documents().isEmpty());
    printCalendar(none, caption, {QStringLiteral("001 ")});
    ASSERT_EQ(none.pages().size(), 1);
    EXPECT_EQ(none.pages().first().texts.size(), 1);
}

// The calendar keeps 15 characters of a site's name: only a complete entry whose site is
// longer asks first.
TEST(CalendarStore, AsksBeforeKeepingPartOfALongSiteName) {
    CalendarEntry e;
    e.position = 1;
    e.siteRecord = 1;
    e.day = 14;
    e.month = 6;
    e.year = 2005;
    e.siteText = QStringLiteral("SAINT-QUENTIN-E          ");
    EXPECT_EQ(calendarSiteCutQuestion(e), QString());
    e.siteText = QStringLiteral("SAINT-QUENTIN-EST        ");
    EXPECT_EQ(calendarSiteCutQuestion(e),
              QStringLiteral("Le calendrier garde 15 caractères du nom du lieu de lâcher :\n"
                             "« SAINT-QUENTIN-EST » y sera « SAINT-QUENTIN-E ».\n"
                             "Mémoriser le concours ?"));
    CalendarEntry noDay = e;
    noDay.day = 0;
    EXPECT_EQ(calendarSiteCutQuestion(noDay), QString()); // refused for the date instead
    CalendarEntry noSite = e;
    noSite.siteRecord = 0;
    EXPECT_EQ(calendarSiteCutQuestion(noSite), QString());
}
