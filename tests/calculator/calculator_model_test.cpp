// The main window's computations without the window: the loft steps of the acceptance
// examples, the east/west side, the distance line and the reading of distgen.
#include "calculator/calculator_model.h"
#include "calculator/tarvio_texts.h"

#include "common/numbers.h"
#include "common/record_file.h"
#include "common/session.h"
#include "common/text.h"
#include "fanciers/geodesy.h"
#include "fanciers/site_list.h"
#include "tests/support/club_fixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vt;
using namespace vt::tarvio;

namespace {

std::string s(const QString& q) { return q.toStdString(); }

ReleaseSiteRecord site(const QString& name, double lat, double east, double west) {
    ReleaseSiteRecord r;
    r.setSiteName(name);
    r.setLatitudeDms(lat);
    r.setLongitudeEastDms(east);
    r.setLongitudeWestDms(west);
    return r;
}

} // namespace

TEST(CalculatorModel, StepsOfTheAcceptanceExamplesGiveTheTableTimes) {
    {
        CalculatorModel m(QDate(2026, 4, 15), {});
        m.stepLatitude(1, 2);
        m.stepLatitude(2, -12);
        m.stepEast(1, 1);
        m.stepEast(2, -16);
        m.stepEast(3, -11);
        EXPECT_EQ(s(m.latitudeText()), "50:38:00,00");
        EXPECT_EQ(s(m.latitudePacked()), "503800.00");
        EXPECT_EQ(s(m.eastText()), "03:04:00,00");
        EXPECT_EQ(s(m.eastPacked()), "030400.00");
        EXPECT_EQ(s(m.loftTimes().closingLabel), "Heure de FERMETURE personnalisée : 21h11'28\"");
        EXPECT_EQ(s(m.loftTimes().openingLabel), "  Heure d'OUVERTURE personnalisée :   6h28'48''");
    }
    {
        CalculatorModel m(QDate(2026, 9, 1), {});
        m.stepLatitude(1, -5);
        m.stepLatitude(2, -14);
        m.stepEast(1, -1);
        m.stepEast(2, 6);
        m.stepEast(3, -11);
        EXPECT_EQ(s(m.latitudeText()), "43:36:00,00");
        EXPECT_EQ(s(m.eastText()), "01:26:00,00");
        EXPECT_EQ(s(m.loftTimes().closingLabel), "Heure de FERMETURE personnalisée : 20h59'31\"");
        EXPECT_EQ(s(m.loftTimes().openingLabel), "  Heure d'OUVERTURE personnalisée :   6h36'33''");
    }
}

TEST(CalculatorModel, DateOffsetsMoveTheParisTimesAndYearsPast2030StayReal) {
    CalculatorModel m(QDate(2026, 4, 15), {});
    EXPECT_EQ(s(m.dateText()), "15/04/26");
    EXPECT_EQ(s(m.paris().closingLabel), "FERMETURE le 15/04/26 à PARIS 21h11'05\"");
    // The default loft on that day.
    EXPECT_EQ(s(m.loftTimes().closingLabel), "Heure de FERMETURE personnalisée : 21h11'05\"");
    EXPECT_EQ(s(m.loftTimes().openingLabel), "  Heure d'OUVERTURE personnalisée :   6h28'25''");
    m.setDateOffsets(0, 0, 4);
    EXPECT_EQ(s(m.dateText()), "15/04/30");
    EXPECT_EQ(s(m.paris().closingLabel), "FERMETURE le 15/04/30 à PARIS 21h11'08\"");
    EXPECT_EQ(s(m.paris().openingLabel), "OUVERTURE le 16/04/30 à PARIS  6h28'22\"");
    EXPECT_EQ(s(m.paris().deadTimeLabel), "Temps mort avec pénombre : 09h17'14''");

    CalculatorModel jan(QDate(2027, 1, 31), {});
    jan.setDateOffsets(0, 1, 0);
    EXPECT_EQ(s(jan.dateText()), "28/02/27");
    jan.setDateOffsets(1, 0, 0);
    EXPECT_EQ(s(jan.dateText()), "01/02/27");
}

TEST(CalculatorModel, EastAndWestSidesKeepTheirValuesAndTheLastChangedCounts) {
    CalculatorModel m(QDate(2026, 4, 15), {site("BREST", 482330, 0, 42910)});
    EXPECT_EQ(s(m.westText()), "");
    m.stepWest(1, 4);
    m.stepWest(2, 29);
    m.stepWest(3, 10);
    EXPECT_EQ(s(m.eastText()), "");
    EXPECT_EQ(s(m.eastPacked()), "");
    EXPECT_EQ(s(m.westText()), "04:29:10,00");
    EXPECT_EQ(s(m.westPacked()), "042910.00");
    m.stepLatitude(2, -20); // 48:30:00: the west side stays
    EXPECT_EQ(s(m.westPacked()), "042910.00");
    EXPECT_EQ(s(m.loftTimes().closingLabel), "Heure de FERMETURE personnalisée : 21h37'43\"");
    EXPECT_EQ(s(m.loftTimes().openingLabel), "  Heure d'OUVERTURE personnalisée :   6h55'03''");

    const auto expected = ComputeSiteDistance(PackedPoint{482330, 0, 42910}, PackedPoint{483000, 0, 42910});
    ASSERT_TRUE(expected);
    EXPECT_EQ(s(m.distanceLabel()), "Distance de : BREST = " + s(strNumber(static_cast<long long>(*expected))));

    m.stepEast(3, 0); // back to the east side with its own value
    EXPECT_EQ(s(m.eastText()), "02:20:11,00");
    EXPECT_EQ(s(m.westText()), "");
}

TEST(CalculatorModel, DistanceLineFollowsTheShownSiteWithVorelsMetres) {
    const QList<ReleaseSiteRecord> sites = {site("ZUTKERQUE", 505200, 22300, 0),
                                            site("ARRAS                    ", 501730, 24600, 0)};
    CalculatorModel m(QDate(2026, 4, 15), sites);
    const auto zut = ComputeSiteDistance(PackedPoint{505200, 22300, 0}, PackedPoint{485000, 22011, 0});
    const auto arras = ComputeSiteDistance(PackedPoint{501730, 24600, 0}, PackedPoint{485000, 22011, 0});
    ASSERT_TRUE(zut && arras);
    EXPECT_EQ(s(m.distanceLabel()), "Distance de : ZUTKERQUE =  " + std::to_string(*zut));
    m.setShownSite(1);
    EXPECT_EQ(s(m.distanceLabel()), "Distance de : ARRAS =  " + std::to_string(*arras));
    EXPECT_EQ(s(m.siteItems().at(1)), "ARRAS                        501730     24600         0");

    // Both longitudes at 0: the distance is computed at longitude 0.
    m.stepEast(1, -2);
    m.stepEast(2, -20);
    m.stepEast(3, -11);
    EXPECT_EQ(s(m.eastPacked()), "000000.00");
    const auto zero = ComputeGeodesicDistance(DmsToDecimalDegrees(501730), siteLongitude(24600, 0),
                                              DmsToDecimalDegrees(485000), 0);
    EXPECT_EQ(s(m.distanceLabel()), "Distance de : ARRAS =  " + std::to_string(*zero));

    // A latitude of 0 keeps the last distance line.
    const QString before = m.distanceLabel();
    m.stepLatitude(1, -60);
    EXPECT_EQ(m.distanceLabel(), before);

    CalculatorModel empty(QDate(2026, 4, 15), {});
    EXPECT_EQ(s(empty.distanceLabel()), "Distance de : aucun lieu de lâcher dans le fichier");
    EXPECT_EQ(s(empty.paris().closingLabel), "FERMETURE le 15/04/26 à PARIS 21h11'05\"");
}

TEST(CalculatorModel, GeneralSitesAreReadInFileOrderWithoutBlankRecords) {
    vt::testing::ClubFixture club;
    club.addGeneralSite({QStringLiteral("ZUTKERQUE"), 505200, 22300, 0});
    club.addGeneralSite({QString(), 0, 0, 0});
    club.addGeneralSite({QStringLiteral("ARRAS"), 501730, 24600, 0});
    setStartDirectory(club.startDir());
    const QList<ReleaseSiteRecord> sites = readGeneralSitesInFileOrder(generalSitesPath());
    ASSERT_EQ(sites.size(), 2);
    EXPECT_EQ(s(trim(sites.at(0).siteName())), "ZUTKERQUE");
    EXPECT_EQ(s(trim(sites.at(1).siteName())), "ARRAS");

    QTemporaryDir empty;
    setStartDirectory(empty.path());
    EXPECT_TRUE(readGeneralSitesInFileOrder(generalSitesPath()).isEmpty());
    EXPECT_TRUE(QFile::exists(QDir(empty.path()).filePath(QStringLiteral("distgen"))));
}

TEST(CalculatorModel, DistgenIsFoundWhateverTheCaseOfItsName) {
    QTemporaryDir dir;
    const QString upper = QDir(dir.path()).filePath(QStringLiteral("DISTGEN"));
    RecordFileOf<ReleaseSiteRecord>(upper).write(1, site("ARRAS", 501730, 24600, 0));
    setStartDirectory(dir.path());
    EXPECT_EQ(generalSitesPath(), upper);
    EXPECT_EQ(readGeneralSitesInFileOrder(generalSitesPath()).size(), 1);
}

TEST(CalculatorModel, ReadsTheGeneralFileAsVorelsEditorWritesIt) {
    QTemporaryDir dir;
    setStartDirectory(dir.path());
    const SiteList written({site("ZUTKERQUE", 505200, 22300, 0), site("Lens", 502555.1234, 24950, 0),
                            site("BREST", 482330, 0, 42910)});
    written.save(generalSitesPath());
    const QList<ReleaseSiteRecord> read = readGeneralSitesInFileOrder(generalSitesPath());
    ASSERT_EQ(read.size(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(read.at(i).bytes(), written.at(i).bytes());
    CalculatorModel m(QDate(2026, 4, 15), read);
    EXPECT_EQ(m.siteItems(), written.items());
}
