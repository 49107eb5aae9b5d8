// Sun times, the Paris dead time and the loft's own times, against the federation's
// worked examples and a table computed independently with the same method.
#include "calculator/loft_coordinates.h"
#include "calculator/neutralisation.h"
#include "calculator/sun_times.h"

#include <gtest/gtest.h>

using namespace vt::tarvio;

namespace {

std::string s(const QString& q) { return q.toStdString(); }

const QString Dq = QStringLiteral("\"");

} // namespace

TEST(SunTimes, WorkedExamplesAtParisToTheSecond) {
    struct Case {
        QDate day;
        const char* closing;
        const char* nextDay;
        const char* opening;
    };
    const Case cases[] = {
        {QDate(2005, 6, 21), "22h26'49\"", "22/06/05", "5h18'26\""},
        {QDate(2005, 1, 15), "18h51'14\"", "16/01/05", "9h08'14\""},   // January: M ≤ 2 rule
        {QDate(2005, 12, 31), "18h33'03\"", "01/01/06", "9h14'26\""},  // opening on 1 January
        {QDate(2030, 4, 15), "21h11'08\"", "16/04/30", "6h28'22\""},   // not read as 1930
        {QDate(2031, 2, 28), "20h00'55\"", "01/03/31", "8h03'19\""},
        {QDate(2032, 2, 29), "20h02'07\"", "01/03/32", "8h01'49\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(s(c.day.toString(Qt::ISODate)));
        const SunTimes t = ComputeSunTimes(c.day, ParisLatitude, ParisLongitude);
        ASSERT_TRUE(t.closing && t.opening);
        EXPECT_EQ(s(t.closing->text), c.closing);
        EXPECT_EQ(s(t.opening->text), c.opening);
        EXPECT_EQ(s(t.nextDayText()), c.nextDay);
    }
    const SunTimes june = ComputeSunTimes(QDate(2005, 6, 21), ParisLatitude, ParisLongitude);
    EXPECT_EQ(june.closing->seconds, 22 * 3600 + 26 * 60 + 49);
    EXPECT_EQ(june.opening->seconds, 5 * 3600 + 18 * 60 + 26);
}

TEST(SunTimes, MinutesCarryAndBorrowAroundTheHalfHour) {
    // Sunset 20:45:10 UT: 30 minutes carry into the hour; sunrise 4:10:05 borrows one.
    const SunTime closing = closingFromSunset(20 + 45 / 60.0 + 10.5 / 3600);
    EXPECT_EQ(s(closing.text), "23h15'10" + s(Dq));
    EXPECT_EQ(closing.seconds, 23 * 3600 + 15 * 60 + 10);
    const SunTime opening = openingFromSunrise(4 + 10 / 60.0 + 5.5 / 3600);
    EXPECT_EQ(s(opening.text), "5h40'05" + s(Dq));
    EXPECT_EQ(opening.seconds, 5 * 3600 + 40 * 60 + 5);
    // Cut down, never rounded.
    EXPECT_EQ(s(closingFromSunset(19 + 59 / 60.0 + 59.999 / 3600).text), "22h29'59" + s(Dq));
}

TEST(SunTimes, FarNorthClosesAfterMidnightThenHasNoSunset) {
    const QDate day(2026, 6, 21);
    const Dms lon{2, 20, 11.22};
    const SunTimes late = ComputeSunTimes(day, Dms{65, 40, 0}, lon);
    ASSERT_TRUE(late.closing);
    EXPECT_EQ(s(late.closing->text), "26h11'30" + s(Dq)); // hours are not wrapped at 24
    EXPECT_EQ(late.closing->seconds, 94290);

    const SunTimes none = ComputeSunTimes(day, Dms{66, 0, 0}, lon);
    EXPECT_FALSE(none.closing);
    EXPECT_FALSE(none.opening);
    EXPECT_EQ(s(none.nextDayText()), "22/06/26");
    const LoftTimes loft = computeLoftTimes(day, Dms{66, 0, 0}, lon, 53017);
    EXPECT_EQ(s(loft.closingLabel), "Heure de FERMETURE personnalisée : indisponible");
    EXPECT_EQ(s(loft.openingLabel), "  Heure d'OUVERTURE personnalisée :   indisponible");
}

TEST(Neutralisation, ParisLabelsAndLoftTimesOfTheComputedTable) {
    struct Case {
        QDate day;
        int latDeg, latMin, latSec, latHund;
        int lonDeg, lonMin, lonSec;
        const char *label10, *label11, *label5, *loftClosing, *loftOpening;
    };
    const Case cases[] = {
        {QDate(2026, 6, 21), 48, 49, 59, 75, 2, 20, 11,
         "FERMETURE le 21/06/26 à PARIS 22h26'51\"", "OUVERTURE le 22/06/26 à PARIS  5h18'28\"",
         "Temps mort avec pénombre : 06h51'37''", "22h26'51\"", "5h18'28''"},
        {QDate(2026, 12, 21), 48, 49, 59, 75, 2, 20, 11,
         "FERMETURE le 21/12/26 à PARIS 18h25'50\"", "OUVERTURE le 22/12/26 à PARIS  9h12'12\"",
         "Temps mort avec pénombre : 14h46'22''", "18h25'50\"", "9h12'12''"},
        {QDate(2026, 4, 15), 50, 38, 0, 0, 3, 4, 0,
         "FERMETURE le 15/04/26 à PARIS 21h11'05\"", "OUVERTURE le 16/04/26 à PARIS  6h28'25\"",
         "Temps mort avec pénombre : 09h17'20''", "21h11'28\"", "6h28'48''"},
        {QDate(2026, 9, 1), 43, 36, 0, 0, 1, 26, 0,
         "FERMETURE le 01/09/26 à PARIS 21h02'48\"", "OUVERTURE le 02/09/26 à PARIS  6h39'50\"",
         "Temps mort avec pénombre : 09h37'02''", "20h59'31\"", "6h36'33''"},
        {QDate(2031, 3, 10), 48, 50, 0, 0, 2, 20, 11,
         "FERMETURE le 10/03/31 à PARIS 20h16'35\"", "OUVERTURE le 11/03/31 à PARIS  7h43'08\"",
         "Temps mort avec pénombre : 11h26'33''", "20h16'35\"", "7h43'08''"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(s(c.day.toString(Qt::ISODate)));
        const ParisTimes paris = computeParisTimes(c.day);
        EXPECT_EQ(s(paris.closingLabel), c.label10);
        EXPECT_EQ(s(paris.openingLabel), c.label11);
        EXPECT_EQ(s(paris.deadTimeLabel), c.label5);

        Loft loft;
        loft.latitude = LoftCoordinate::fromParts(LoftCoordinate::Latitude, c.latDeg, c.latMin,
                                                  c.latSec, c.latHund);
        loft.east = LoftCoordinate::fromParts(LoftCoordinate::Longitude, c.lonDeg, c.lonMin,
                                              c.lonSec);
        const LoftTimes t = computeLoftTimes(c.day, loft.latitudeArguments(),
                                             loft.longitudeArguments(), paris.closingLessOpening);
        EXPECT_EQ(s(t.closingLabel), std::string("Heure de FERMETURE personnalisée : ") + c.loftClosing);
        EXPECT_EQ(s(t.openingLabel),
                  std::string("  Heure d'OUVERTURE personnalisée :   ") + c.loftOpening);
    }
}

TEST(Neutralisation, WestLoftUsesTheNegatedWestLongitude) {
    const QDate day(2026, 4, 15);
    Loft loft;
    loft.latitude = LoftCoordinate::fromParts(LoftCoordinate::Latitude, 48, 30, 0);
    loft.west = LoftCoordinate::fromParts(LoftCoordinate::Longitude, 4, 29, 10);
    loft.side = Loft::West;
    const Dms lon = loft.longitudeArguments();
    EXPECT_EQ(lon.degrees, -4);
    EXPECT_EQ(lon.minutes, -29);
    EXPECT_EQ(lon.seconds, -10);
    const LoftTimes t = computeLoftTimes(day, loft.latitudeArguments(), lon,
                                         computeParisTimes(day).closingLessOpening);
    EXPECT_EQ(s(t.closingLabel), "Heure de FERMETURE personnalisée : 21h37'43\"");
    EXPECT_EQ(s(t.openingLabel), "  Heure d'OUVERTURE personnalisée :   6h55'03''");
}

TEST(Neutralisation, PackedArgumentsRoundTheHundredthsIntoTheSeconds) {
    struct Case {
        double packed;
        double d, m, sec;
    };
    const Case cases[] = {{484959.75, 48, 49, 60}, {485000.0, 48, 50, 0},
                          {22011.22, 2, 20, 11},   {485000.5, 48, 50, 0}, // half to even
                          {485001.5, 48, 50, 2},   {0, 0, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.packed);
        const Dms a = packedArguments(c.packed);
        EXPECT_EQ(a.degrees, c.d);
        EXPECT_EQ(a.minutes, c.m);
        EXPECT_EQ(a.seconds, c.sec);
    }
}

TEST(Neutralisation, DateStepsKeepTheDayClampedToTheMonth) {
    EXPECT_EQ(chosenDate(QDate(2026, 1, 31), 0, 1, 0), QDate(2026, 2, 28));
    EXPECT_EQ(chosenDate(QDate(2028, 1, 31), 0, 1, 0), QDate(2028, 2, 29));
    EXPECT_EQ(chosenDate(QDate(2026, 4, 15), 1, 0, 0), QDate(2026, 4, 16));
    EXPECT_EQ(chosenDate(QDate(2026, 4, 15), -365, 0, 0), QDate(2025, 4, 15));
    EXPECT_EQ(chosenDate(QDate(2028, 2, 29), 0, 0, 3), QDate(2031, 2, 28));
    EXPECT_EQ(chosenDate(QDate(2026, 12, 31), 1, 1, 5), QDate(2032, 2, 1));
}

TEST(LoftCoordinates, StepsCarryBorrowAndClamp) {
    Loft loft;
    EXPECT_EQ(s(loft.latitude.displayText()), "48:50:00,00");
    EXPECT_EQ(s(loft.latitude.packedText()), "485000.00");
    EXPECT_EQ(s(loft.east.displayText()), "02:20:11,00");
    EXPECT_EQ(s(loft.east.packedText()), "022011.00");
    EXPECT_EQ(s(loft.west.packedText()), "000000.00");

    struct Case {
        int part;
        long long steps;
        const char *display, *packed;
    };
    const Case latitudeCases[] = {
        {2, 10, "49:00:00,00", "490000.00"},   // ten minutes carry into the degrees
        {2, -51, "47:59:00,00", "475900.00"},  // borrowed, not wrapped through 24 hours
        {4, -25, "48:49:59,75", "484959.75"},
        {1, 45, "89:59:59,99", "895959.99"},   // clamped below the pole
        {1, -60, "00:00:00,00", "000000.00"},
        {3, 3600, "49:50:00,00", "495000.00"},
    };
    for (const Case& c : latitudeCases) {
        SCOPED_TRACE(c.display);
        Loft l;
        l.latitude.step(c.part, c.steps);
        EXPECT_EQ(s(l.latitude.displayText()), c.display);
        EXPECT_EQ(s(l.latitude.packedText()), c.packed);
    }
    LoftCoordinate east = loft.east;
    east.step(1, 1);
    east.step(2, -16);
    east.step(3, -11);
    EXPECT_EQ(s(east.displayText()), "03:04:00,00");
    east.step(1, 200);
    EXPECT_EQ(s(east.displayText()), "179:59:59,99");
    EXPECT_EQ(s(east.packedText()), "1795959.99");

    Loft l;
    l.latitude.step(4, -25);
    const Dms a = l.latitudeArguments();
    EXPECT_EQ(a.degrees, 48);
    EXPECT_EQ(a.minutes, 49);
    EXPECT_EQ(a.seconds, 60);
}

TEST(LoftCoordinates, NoSunsetAtTheClampedPoleIsUnavailableNotAFailure) {
    Loft loft;
    loft.latitude.step(1, 45);
    const QDate day(2026, 6, 21);
    const LoftTimes t = computeLoftTimes(day, loft.latitudeArguments(), loft.longitudeArguments(),
                                         computeParisTimes(day).closingLessOpening);
    EXPECT_FALSE(t.closing);
    EXPECT_EQ(s(t.closingLabel), "Heure de FERMETURE personnalisée : indisponible");
}
