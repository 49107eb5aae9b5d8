// Distance sheets and the single-site distance list on the recording surface: the
// printed coordinates and the loft they give, the column order of the sites, the booklet
// cells and their 1000 m rule, the list sheet's grid and its page break, the counts of
// a run, and the distances of one site.
#include "fanciers/distance_list.h"
#include "fanciers/distance_sheets.h"

#include "common/numbers.h"
#include "common/session.h"
#include "common/text.h"
#include "fanciers/fancier_list.h"
#include "fanciers/fancier_prints.h"
#include "fanciers/geodesy.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/recording_surface.h"
#include "tests/support/club_fixture.h"

#include <QDir>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace vt {
namespace {

using testing::ClubFixture;
using testing::SiteSpec;

TEST(DistanceSheets, CoordinatesAreRoundedToHundredthsBeforeTheyArePrinted) {
    struct Case {
        double packed;
        const char16_t* text;
        double value;
    };
    const Case cases[] = {
        {480506.25, u"48°05'06,25", 480506.25},
        {20506, u"02°05'06", 20506},
        {480506.996, u"48°05'07", 480507},   // the whole part follows the rounding
        {480506.004, u"48°05'06", 480506},   // hundredths "00" print nothing
        {485959.996, u"48°59'60", 485960},   // 60" is not carried into the minutes
        {13310, u"01°33'10", 13310},
    };
    for (const Case& c : cases) {
        const PrintedCoordinate p = printedCoordinate(c.packed);
        EXPECT_EQ(p.text, QString::fromUtf16(c.text)) << c.packed;
        EXPECT_DOUBLE_EQ(p.value, c.value) << c.packed;
    }
}

TEST(DistanceSheets, LoftCoordinatesGiveTextAndPoint) {
    FancierRecord f;
    f.setLatitudeDms(480506.25);
    f.setLongitudeEastDms(20506);
    LoftCoordinates loft = loftCoordinates(f);
    EXPECT_EQ(loft.text, QStringLiteral("Coordonnées GPS : 48°05'06,25 - 02°05'06 EST"));
    EXPECT_DOUBLE_EQ(loft.latitude, 48.08506944444444);
    EXPECT_DOUBLE_EQ(loft.longitude, 2.085);

    f.setLatitudeDms(471305);
    f.setLongitudeEastDms(0);
    f.setLongitudeWestDms(13310);
    loft = loftCoordinates(f);
    EXPECT_EQ(loft.text, QStringLiteral("Coordonnées GPS : 47°13'05 - 01°33'10 OUEST"));
    EXPECT_DOUBLE_EQ(loft.longitude, -1.5527777777777778);

    f.setLatitudeDms(480506.996);
    EXPECT_DOUBLE_EQ(loftCoordinates(f).latitude, 48.085277777777776);
}

TEST(DistanceSheets, SitesFillFourColumnsColumnAfterColumn) {
    using Rows = QList<QList<int>>;
    EXPECT_EQ(siteRows(10), (Rows{{0, 3, 6, 9}, {1, 4, 7}, {2, 5, 8}}));
    EXPECT_EQ(siteRows(8), (Rows{{0, 2, 4, 6}, {1, 3, 5, 7}}));
    EXPECT_EQ(siteRows(1), (Rows{{0}}));
    EXPECT_TRUE(siteRows(0).isEmpty());
}

TEST(DistanceSheets, DistanceTextAndBookletCell) {
    EXPECT_EQ(distanceText(12345), QStringLiteral("   12345"));
    EXPECT_EQ(distanceText(12345678), QStringLiteral("12345678"));
    EXPECT_EQ(distanceText(123456789), QStringLiteral("23456789"));
    EXPECT_EQ(distanceText(std::nullopt), Space(8));
    ReleaseSiteRecord arras;
    arras.setSiteName(QStringLiteral("ARRAS"));
    EXPECT_EQ(bookletCell(arras, 275382), QStringLiteral(" ARRAS                 |  275382 |"));
    ReleaseSiteRecord longName;
    longName.setSiteName(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXY"));
    EXPECT_EQ(bookletCell(longName, 5).mid(1, 22), QStringLiteral("ABCDEFGHIJKLMNOPQRSTU "));
}

TEST(DistanceSheets, LayoutQuestionAndClosingMessage) {
    const MessageRequest q = sheetLayoutQuestion();
    EXPECT_EQ(q.text, QStringLiteral("Désirez-vous imprimer en forme de Carnet"));
    EXPECT_EQ(q.title, QStringLiteral("Forme de l'édition"));
    EXPECT_EQ(q.buttons, MsgButtons::YesNo);
    EXPECT_EQ(q.defaultButton, MsgAnswer::Yes);
    EXPECT_EQ(q.icon, MsgIcon::Information);

    DistanceSheetRun run;
    run.printed = 2;
    run.skipped = 1;
    MessageRequest m = distanceSheetsMessage(run);
    EXPECT_EQ(m.text, QStringLiteral("L'impression sélectionnée est mémorisée vous pouvez retravailler \n"
                                     "Feuilles imprimées : 2\nSans coordonnées : 1\nEn échec : 0"));
    EXPECT_EQ(m.buttons, MsgButtons::Ok);
    EXPECT_TRUE(m.title.isEmpty()); // the program's title
    run.failed = 1;
    run.failedNames = {QStringLiteral("DUPONT Michel")};
    m = distanceSheetsMessage(run);
    EXPECT_TRUE(m.text.startsWith(QStringLiteral("L'impression sélectionnée est incomplète\n")));
    EXPECT_TRUE(m.text.endsWith(QStringLiteral("En échec : 1\nDUPONT Michel")));
    EXPECT_EQ(m.icon, MsgIcon::Exclamation);
}

// A run into a folder that cannot be written fails every sheet: the message names the
// first ten fanciers and says how many more, so that it keeps its counts and reason on the
// screen whatever the size of the run.
TEST(DistanceSheets, TheMessageNamesAtMostTenFailedFanciers) {
    const struct {
        int failed;
        int namesShown;
        QString more;
    } cases[] = {{3, 3, {}},
                 {11, 11, {}},
                 {12, 10, QStringLiteral("… et 2 autres")},
                 {2500, 10, QStringLiteral("… et 2490 autres")}};
    for (const auto& c : cases) {
        DistanceSheetRun run;
        run.total = run.failed = c.failed;
        for (int i = 1; i <= c.failed; ++i)
            run.failedNames << QStringLiteral("AMATEUR %1").arg(i);
        run.where = PrintOutcome::failure(QStringLiteral("Impression impossible : le fichier "
                                                         "/club/impressions/x.pdf ne peut pas "
                                                         "être écrit, rien n'est enregistré"));
        const QStringList lines = distanceSheetsMessage(run).text.split(u'\n');
        EXPECT_EQ(lines.filter(QStringLiteral("AMATEUR ")).size(), c.namesShown) << c.failed;
        EXPECT_EQ(lines.contains(QStringLiteral("AMATEUR 10")), c.failed >= 10) << c.failed;
        EXPECT_EQ(lines.contains(QStringLiteral("AMATEUR 11")), c.failed == 11) << c.failed;
        EXPECT_EQ(c.more.isEmpty() || lines.contains(c.more), true) << c.failed;
        EXPECT_TRUE(lines.contains(QStringLiteral("En échec : %1").arg(c.failed)));
        EXPECT_EQ(lines.last(), run.where.message);
        EXPECT_LE(lines.size(), 16);
    }
}

// A club whose first fancier has his loft at 50°30'00" N 3°10'10" E, and four sites in
// file order: ARRAS at 275382 m, one at the loft (0 m), one at 1000 m and one at 1001 m.
class SheetsFixture : public ::testing::Test {
protected:
    void SetUp() override {
        club.writeClub(QStringLiteral("LES AMIS"), QStringLiteral("59012"));
        dupont = club.addFancier({QStringLiteral("DUPONT Michel"), QStringLiteral("LILLE"), 503000,
                                  31010, 0, QStringLiteral("3 rue Nationale"),
                                  QStringLiteral("59000"), QStringLiteral("1234567")});
        noLoft = club.addFancier({QStringLiteral("MARTIN Paul"), QStringLiteral("ROUBAIX"), 0, 0, 0,
                                  QString(), QString(), QString()});
        club.configureSession();
        addSite(QStringLiteral("ARRAS"), 480506, 22000);
        addSite(QStringLiteral("AU PIGEONNIER"), 503000, 31010);
        addSite(QStringLiteral("A MILLE"), siteAt(1000), 31010);
        addSite(QStringLiteral("A MILLE ET UN"), siteAt(1001), 31010);
        setClockForTests([] { return QDateTime(QDate(2005, 5, 12), QTime(10, 0)); });
    }
    void TearDown() override { setClockForTests({}); }

    void addSite(const QString& name, double lat, double east) {
        club.addGeneralSite(SiteSpec{name, lat, east, 0});
    }
    // A latitude north of the loft, in hundredths of a second, at that many metres.
    static double siteAt(int metres) {
        for (int h = 0; h < 100000; ++h) {
            const double lat = 503000 + (h / 100) / 60 * 100 + (h / 100) % 60 + (h % 100) / 100.0;
            const auto d = ComputeSiteDistance({lat, 31010, 0}, {503000, 31010, 0});
            if (d && *d == metres)
                return lat;
        }
        ADD_FAILURE() << "no latitude at " << metres << " m";
        return 0;
    }

    ClubFixture club;
    int dupont = 0, noLoft = 0;
};

TEST_F(SheetsFixture, BookletLeavesOutSitesUpToAThousandMetres) {
    RecordingSurface s;
    const DistanceSheetRun run = printDistanceSheets({dupont}, SheetLayout::Booklet, s);
    EXPECT_EQ(run.printed, 1);
    ASSERT_EQ(s.pages().size(), 1);
    const RecordedPage& page = s.pages().at(0);
    EXPECT_EQ(page.orientation, Orientation::Landscape);
    ASSERT_EQ(page.images.size(), 1);
    EXPECT_DOUBLE_EQ(page.images.at(0).x, 3);
    EXPECT_DOUBLE_EQ(page.images.at(0).y, 3);

    const RecordedText& heading = page.texts.at(0);
    EXPECT_EQ(heading.text, QStringLiteral("FÉDÉRATION COLOMBOPHILE 1ère REGION"));
    EXPECT_DOUBLE_EQ(heading.x, 30);
    EXPECT_DOUBLE_EQ(heading.y, 3);
    EXPECT_DOUBLE_EQ(heading.scaleTop, -5);
    EXPECT_TRUE(page.texts.at(1).text.startsWith(QStringLiteral("DUPONT Michel          3 rue")));
    EXPECT_TRUE(page.texts.at(1).text.endsWith(QStringLiteral("59000   LILLE")));
    const RecordedText& gps = page.texts.at(2);
    EXPECT_EQ(gps.text, QStringLiteral("Coordonnées GPS : 50°30'00 - 03°10'10 EST"));
    EXPECT_EQ(gps.color, 255);
    EXPECT_EQ(page.texts.at(3).text, QStringLiteral("Société de : LES AMIS"));
    EXPECT_EQ(page.texts.at(3).color, 0);
    EXPECT_EQ(page.texts.at(4).text, QStringLiteral("Licence N° : 1234567"));
    EXPECT_NEAR(std::remainder(page.texts.at(4).x, 14 * 0.6 * 12 * 25.4 / 72), 0, 1e-9);

    const RecordedText& rule = page.texts.at(5);
    EXPECT_EQ(rule.text, Space(140));
    EXPECT_TRUE(rule.underline);
    EXPECT_DOUBLE_EQ(rule.fontSize, 10);
    // The 0 m and 1000 m sites take no cell: the 1001 m one moves into column 2.
    const RecordedText& row = page.texts.at(6);
    ReleaseSiteRecord arras, oneMore;
    arras.setSiteName(QStringLiteral("ARRAS"));
    oneMore.setSiteName(QStringLiteral("A MILLE ET UN"));
    EXPECT_EQ(row.text, bookletCell(arras, 275382) + bookletCell(oneMore, 1001));
    EXPECT_TRUE(row.underline);
    EXPECT_DOUBLE_EQ(row.x, 0);
    EXPECT_EQ(page.texts.size(), 7);
}

// The licence stays in its print zone after the club, and moves one zone on when the
// club's text would touch it ("LES AILES DU NORD", or a 3-letter name, ends a fifth of a
// character before the zone), up to the 23 characters a club name holds: a space always separates
// them and the line stays inside the landscape page.
TEST_F(SheetsFixture, BookletKeepsTheLicenceApartFromTheClubName) {
    const double cw = 0.6 * 12 * 25.4 / 72, zone = 14 * cw;
    const QString widest = QStringLiteral("LES AILES DU NORD ET PA");
    ASSERT_EQ(widest.size(), 23);
    QList<int> moved; // the lengths whose licence moved one zone on
    for (int length = 1; length <= widest.size(); ++length) {
        SCOPED_TRACE(length);
        const QString name = widest.left(length);
        session().ClubNames[1] = name;
        RecordingSurface s;
        ASSERT_EQ(printDistanceSheets({dupont}, SheetLayout::Booklet, s).printed, 1);
        const RecordedPage& page = s.pages().at(0);
        const RecordedText& club = page.texts.at(3);
        const RecordedText& licence = page.texts.at(4);
        ASSERT_EQ(club.text, QStringLiteral("Société de : ") + name);
        ASSERT_EQ(licence.text, QStringLiteral("Licence N° : 1234567"));
        EXPECT_DOUBLE_EQ(licence.y, club.y);
        const double clubEnd = club.x + club.text.size() * cw;
        // The first zone a space after the club's end.
        const double expected = (std::floor((clubEnd + cw) / zone - 1e-9) + 1) * zone;
        EXPECT_NEAR(licence.x, expected, 1e-9);
        EXPECT_GE(licence.x - clubEnd, cw - 1e-9);
        EXPECT_LE(licence.x + licence.text.size() * cw, 289 + 1e-9);
        // Read as a line of the page: the club, spaces, the licence.
        const QStringList lines = RecordingSurface::pageLines(page);
        ASSERT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const QString& line) {
            return line.contains(QRegularExpression(QRegularExpression::escape(name) +
                                                    QStringLiteral(" +Licence N° : 1234567$")));
        })) << lines.join(u'\n').toStdString();
        // Where the club leaves a space before its next zone, the licence stays there.
        const double nextZone = (std::floor(clubEnd / zone + 1e-9) + 1) * zone;
        if (nextZone - clubEnd >= cw)
            EXPECT_NEAR(licence.x, nextZone, 1e-9);
        else
            moved << length;
    }
    EXPECT_EQ(moved, QList<int>({3, 17}));
}

TEST_F(SheetsFixture, ListSheetIsPortraitAndPrintsEverySiteInItsGrid) {
    RecordingSurface s;
    printDistanceSheets({dupont}, SheetLayout::Booklet, s);
    printDistanceSheets({dupont}, SheetLayout::List, s);
    ASSERT_EQ(s.documents().size(), 2);
    const RecordedPage& page = s.pages().at(0);
    EXPECT_EQ(page.orientation, Orientation::Portrait);
    const QString text = s.allText();
    EXPECT_TRUE(text.contains(QStringLiteral("LISTE DE DISTANCES édité le 12 mai 2005")));
    EXPECT_TRUE(text.contains(QStringLiteral(" Fédération\nColombophile\n1ère REGION")));
    for (const char* site : {" ARRAS", " AU PIGEONNIER", " A MILLE", " A MILLE ET UN"})
        EXPECT_TRUE(text.contains(QString::fromLatin1(site))) << site;
    EXPECT_TRUE(text.contains(QStringLiteral("    1000")));
    EXPECT_TRUE(text.contains(QStringLiteral("       0")));

    // One row of four cells: column j at (j - 1) * c, the distance 35.5 mm further.
    const double c = 202.0 / 4 - 1;
    QList<double> nameXs, distanceXs;
    for (const RecordedText& t : page.texts) {
        if (t.fontSize != 8)
            continue;
        (t.text.startsWith(u' ') && !t.text.trimmed().at(0).isDigit() ? nameXs : distanceXs).append(t.x);
    }
    EXPECT_EQ(nameXs, (QList<double>{0, c, 2 * c, 3 * c}));
    EXPECT_EQ(distanceXs, (QList<double>{35.5, c + 35.5, 2 * c + 35.5, 3 * c + 35.5}));

    // Two rules (top and below the row) and the nine verticals of S4.
    QList<double> verticals;
    int horizontals = 0;
    for (const RecordedLine& l : page.lines) {
        if (l.x1 == l.x2)
            verticals.append(l.x1);
        else {
            ++horizontals;
            EXPECT_DOUBLE_EQ(l.x1, 0);
            EXPECT_DOUBLE_EQ(l.x2, 200);
        }
    }
    EXPECT_EQ(horizontals, 2);
    EXPECT_EQ(verticals, (QList<double>{0, 36, 49.5, 85.5, 99, 135, 148.5, 184.5, 200}));
}

TEST_F(SheetsFixture, ListGridIsClosedAndStartedAgainAtAPageBreak) {
    for (int i = 0; i < 300; ++i)
        addSite(QStringLiteral("SITE %1").arg(i), 480506, 22000);
    RecordingSurface s;
    printDistanceSheets({dupont}, SheetLayout::List, s);
    ASSERT_EQ(s.pages().size(), 2);
    const RecordedPage& first = s.pages().at(0);
    double lastRule = -100;
    double verticalBottom = 0;
    for (const RecordedLine& l : first.lines) {
        if (l.y1 == l.y2)
            lastRule = std::max(lastRule, l.y1);
        else
            verticalBottom = l.y2;
    }
    EXPECT_DOUBLE_EQ(verticalBottom, lastRule);
    EXPECT_LE(lastRule, -5 + 289.0);
    const RecordedPage& second = s.pages().at(1);
    ASSERT_FALSE(second.lines.isEmpty());
    EXPECT_DOUBLE_EQ(second.lines.at(0).y1, -5); // a rule at the top of the new page
    EXPECT_DOUBLE_EQ(second.lines.at(0).y2, -5);
    for (const RecordedText& t : second.texts) // no heading is repeated
        EXPECT_DOUBLE_EQ(t.fontSize, 8);
}

TEST_F(SheetsFixture, RunCountsSkippedAndFailedSheets) {
    RecordingSurface s;
    DistanceSheetRun run = printDistanceSheets({dupont, noLoft, 0}, SheetLayout::List, s);
    EXPECT_EQ(run.printed, 1);
    EXPECT_EQ(run.skipped, 2);
    EXPECT_EQ(run.failed, 0);
    EXPECT_EQ(s.documents().size(), 1); // no page, no document for a loft without latitude

    session().FancierFilePath = club.startDir(); // a folder: the record cannot be read
    run = printDistanceSheets({dupont}, SheetLayout::Booklet, s);
    EXPECT_EQ(run.failed, 1);
    EXPECT_EQ(run.failedNames, QStringList{QStringLiteral("N° 1")});
}

TEST_F(SheetsFixture, SingleSiteListNamesTheSiteAndListsTheLofts) {
    const QStringList lines = {fancierListItem(readSeasonFancier(dupont), dupont),
                               fancierListItem(readSeasonFancier(noLoft), noLoft)};
    ReleaseSiteRecord site;
    site.setSiteName(QStringLiteral("LIEU UN"));
    site.setLatitudeDms(480506);
    site.setLongitudeEastDms(22000);
    const QString caption = siteListCaption(siteChoiceItem(site));
    EXPECT_EQ(caption, QStringLiteral("lister la distance de LIEU UN"));
    RecordingSurface s;
    printSiteDistanceList(site, caption, lines, QStringLiteral("LES AMIS"), s);
    const RecordedPage& page = s.pages().at(0);
    ASSERT_EQ(page.texts.size(), 3);
    EXPECT_EQ(page.texts.at(0).text, QStringLiteral("LA DISTANCE DE LIEU UN"));
    EXPECT_EQ(page.texts.at(1).text, QStringLiteral("De la société de LES AMIS"));
    EXPECT_EQ(page.texts.at(2).text, QStringLiteral("DUPONT Michel") + Space(12) + QStringLiteral("275382"));
    const double line = 12 * 1.1328 * 25.4 / 72;
    EXPECT_NEAR(page.texts.at(0).y, line, 1e-9);        // after one empty line
    EXPECT_NEAR(page.texts.at(2).y, 4 * line, 1e-9);    // after the heading's empty line
    EXPECT_DOUBLE_EQ(page.texts.at(0).scaleTop, -5);
    EXPECT_TRUE(page.texts.at(0).bold);
}

TEST(SingleSiteList, ChoiceItemsAndDistanceLines) {
    ReleaseSiteRecord site;
    site.setSiteName(QStringLiteral("SAINT-JEAN-DE-LUZ-PLAGE-X")); // 25 characters
    EXPECT_EQ(siteChoiceItem(site), QStringLiteral("SAINT-JEAN-DE-LUZ-PLAG"));
    site.setLatitudeDms(480506);
    site.setLongitudeEastDms(0);
    site.setLongitudeWestDms(22000); // east 0: minus the west longitude
    FancierRecord f;
    f.setFancierName(QStringLiteral("DUPONT Michel"));
    f.setLatitudeDms(503000);
    const auto west = ComputeSiteDistance({480506, 0, 22000}, {503000, 0, 0});
    ASSERT_TRUE(west);
    EXPECT_EQ(siteDistanceLine(f, site),
              f.fancierName() + Right(Space(9) + strNumber(static_cast<long long>(*west)), 8));
    EXPECT_EQ(siteDistanceLine(f, site).size(), 31);
    // A seven-digit distance leaves one space after the name.
    site.setLatitudeDms(0);
    site.setLongitudeWestDms(0);
    const QString far = siteDistanceLine(f, site);
    EXPECT_EQ(far.at(23), u' ');
    EXPECT_NE(far.at(24), u' ');
}

} // namespace
} // namespace vt
