#include "fanciers/geodesy.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using vt::ComputeGeodesicDistance;
using vt::ComputeSiteDistance;
using vt::DmsToDecimalDegrees;
using vt::PackedPoint;

TEST(Geodesy, PackedCoordinatesConvertToDecimalDegrees) {
    struct Case {
        double packed;
        double degrees;
    };
    const Case cases[] = {
        {480506, 48.085},
        {0, 0},
        {480506.25, 48.08506944444444},
        {21000, 2.1666666666666665},
        {487000, 49.166666666666664}, // 70 minutes count as 70 x 60 seconds
        {13310, 1.5527777777777778},
        {471305, 47.21805555555556},
        {20506, 2.085},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(DmsToDecimalDegrees(c.packed), c.degrees) << c.packed;
    // A fraction is a fraction of a second.
    EXPECT_NEAR(DmsToDecimalDegrees(480506.5) - DmsToDecimalDegrees(480506), 0.5 / 3600, 1e-12);
}

TEST(Geodesy, LongitudeSidesOfSitesAndLofts) {
    EXPECT_DOUBLE_EQ(vt::siteLongitude(0, 0), 0);             // on the meridian
    EXPECT_DOUBLE_EQ(vt::siteLongitude(20506, 13310), 2.085); // east wins when both are set
    EXPECT_DOUBLE_EQ(vt::siteLongitude(0, 20506), -2.085);
    EXPECT_DOUBLE_EQ(vt::loftLongitude(20506, 13310), 2.085);
    EXPECT_DOUBLE_EQ(vt::loftLongitude(0, 20506), -2.085);
}

// Site and loft as stored, and the metres every program must print for them.
TEST(Geodesy, DistanceTableToTheMetre) {
    struct Case {
        const char* name;
        PackedPoint site;
        PackedPoint loft;
        std::int32_t metres;
    };
    const Case cases[] = {
        {"E1", {480506, 22000, 0}, {503000, 31010, 0}, 275382},
        {"E2 west site", {471305, 0, 13310}, {503000, 31010, 0}, 503064},
        {"E3 both west", {482324, 0, 42909}, {471305, 0, 13310}, 255415},
        {"E4 coincident", {503000, 31010, 0}, {503000, 31010, 0}, 0},
        {"E5 short hop", {503020, 31030, 0}, {503000, 31010, 0}, 733},
        {"E6 meridian", {480000, 0, 0}, {490000, 0, 0}, 111201},
        {"E7 decimals of seconds", {480506.25, 22000.5, 0}, {503000, 31010, 0}, 275372},
        {"E8", {431747, 52212, 0}, {503000, 31010, 0}, 818087},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ComputeSiteDistance(c.site, c.loft), c.metres);
        // The loft already converted, as the entry sheet does it.
        EXPECT_EQ(ComputeSiteDistance(c.site, DmsToDecimalDegrees(c.loft.latitude),
                                      vt::loftLongitude(c.loft.east, c.loft.west)),
                  c.metres);
        // Swapping the points (Tarvio puts the loft first) changes nothing.
        EXPECT_EQ(ComputeSiteDistance(c.loft, c.site), c.metres);
    }
}

TEST(Geodesy, NoDistanceForOppositePointsOrNonFiniteInput) {
    EXPECT_EQ(ComputeGeodesicDistance(0, 0, 0, 180), std::nullopt);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(ComputeGeodesicDistance(nan, 0, 48, 2), std::nullopt);
    EXPECT_EQ(ComputeGeodesicDistance(48, 2, 49, inf), std::nullopt);
    EXPECT_EQ(ComputeGeodesicDistance(48, 2, 48, 2), 0);
}

TEST(Geodesy, ACoordinateThatNamesNoPlaceIsRefusedWithItsFault) {
    struct Case {
        double packed;
        bool latitude;
        const char* fault; // nullptr: a place
    };
    const Case cases[] = {
        {0, true, nullptr},
        {480506.99, true, nullptr},
        {485959.999, true, nullptr},
        {900000, true, nullptr},
        {1800000, false, nullptr},
        {1795959.5, false, nullptr},
        {4805060, true, "90°"},
        {4805060, false, "180°"},
        {900000.5, true, "90°"},
        {900100, true, "90°"},
        {1800001, false, "180°"},
        {1900000, false, "180°"},
        {487560, true, "minutes (75)"},
        {486000, false, "minutes (60)"},
        {480560, true, "secondes (60)"},
        {20399.5, false, "secondes (99)"},
        {1e300, true, "90°"},
        {std::numeric_limits<double>::infinity(), false, "180°"},
    };
    for (const Case& c : cases) {
        const QString m =
            vt::impossibleCoordinateRefusal(c.packed, c.latitude, QStringLiteral("LATITUDE"));
        if (!c.fault) {
            EXPECT_TRUE(m.isEmpty()) << c.packed << " " << m.toStdString();
            continue;
        }
        EXPECT_TRUE(m.contains(QString::fromUtf8(c.fault))) << c.packed << " " << m.toStdString();
        EXPECT_TRUE(m.startsWith(QStringLiteral("La case « LATITUDE » contient ")))
            << m.toStdString();
    }
}

TEST(Geodesy, ASaveKeepsAStoredLoftCoordinateItsBoxCouldNotShow) {
    struct Case {
        PackedPoint typed, stored, saved;
    };
    const Case cases[] = {
        // Boxes left as opened: the stored values, even those shown as 0.
        {{0, 0, 21000}, {4805060, 0, 21000}, {4805060, 0, 21000}},
        {{480506, 0, 0}, {480506, 1e300, 0}, {480506, 1e300, 0}},
        // A value typed replaces the stored one.
        {{480507, 0, 21000}, {4805060, 0, 21000}, {480507, 0, 21000}},
        {{480506, 30000, 0}, {480506, 20000, 0}, {480506, 30000, 0}},
        // A longitude typed on the other side wins over a hidden one.
        {{480506, 0, 21000}, {480506, 1e300, 0}, {480506, 0, 21000}},
        {{480506, 30000, 0}, {480506, 0, 9e9}, {480506, 30000, 0}},
    };
    for (const Case& c : cases) {
        const PackedPoint p = vt::savedLoftPoint(c.typed, c.stored);
        EXPECT_EQ(p.latitude, c.saved.latitude);
        EXPECT_EQ(p.east, c.saved.east);
        EXPECT_EQ(p.west, c.saved.west);
    }
}
