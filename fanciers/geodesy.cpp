// Coordinates and the ellipsoid distance, shared by Vorel and Tarvio.
//
// The arithmetic below keeps its exact order of operations (multiplications by 0.0001 and
// 0.01, the sum of the distance terms left to right): printed sheets, the entry sheet and
// Tarvio must agree to the metre, and this library is built without floating-point
// contraction for the same reason.
#include "geodesy.h"

#include "common/fancier_slots.h"
#include "common/numbers.h"

#include <cmath>
#include <limits>

namespace vt {

namespace {
double squared(double x) {
    return x * x;
}
} // namespace

double loftCoordinate(double packed, bool latitude) {
    const double highest = latitude ? 900000 : 1800000;
    return std::isfinite(packed) && packed >= 0.001 && packed <= highest ? packed : 0;
}

double DmsToDecimalDegrees(double packed) {
    const double fraction = packed - std::floor(packed);
    const double deg = std::trunc(packed * 0.0001);
    const double min = std::trunc((packed - 10000 * deg) * 0.01);
    const double sec = std::trunc(packed - 10000 * deg - 100 * min);
    return deg + (min * 60 + sec + fraction) / 3600;
}

QString impossibleCoordinateRefusal(double packed, bool latitude, const QString& caption) {
    const int highest = latitude ? 90 : 180;
    const QString what =
        QStringLiteral("La case « %1 » contient %2 : ").arg(caption, numberText(packed));
    const QString hint = QStringLiteral("\nTapez les degrés, minutes et secondes sans intervalle "
                                        "(480506 pour 48° 05' 06\").");
    const QString beyond =
        what +
        (latitude ? QStringLiteral("une latitude ne dépasse pas 90° (900000).")
                  : QStringLiteral("une longitude ne dépasse pas 180° (1800000).")) +
        hint;
    if (!std::isfinite(packed) || packed >= (highest + 1) * 10000.0)
        return beyond;
    if (packed < 0)
        return {}; // the callers' own test refuses a negative value
    const long long whole = static_cast<long long>(std::floor(packed));
    const long long minutes = whole / 100 % 100, seconds = whole % 100;
    if (minutes >= 60)
        return what +
               QStringLiteral("les minutes (%1) doivent être inférieures à 60.").arg(minutes) +
               hint;
    if (seconds >= 60)
        return what +
               QStringLiteral("les secondes (%1) doivent être inférieures à 60.").arg(seconds) +
               hint;
    if (packed > highest * 10000.0)
        return beyond;
    return {};
}

bool showsStoredCoordinate(double typed, double stored, bool latitude) {
    return typed == loftCoordinate(stored, latitude);
}

PackedPoint savedLoftPoint(const PackedPoint& typed, const PackedPoint& stored) {
    const bool keepLatitude = showsStoredCoordinate(typed.latitude, stored.latitude, true);
    const bool keepEast = showsStoredCoordinate(typed.east, stored.east, false);
    const bool keepWest = showsStoredCoordinate(typed.west, stored.west, false);
    PackedPoint out;
    out.latitude = keepLatitude ? stored.latitude : typed.latitude;
    out.east = keepEast ? stored.east : typed.east;
    out.west = keepWest ? stored.west : typed.west;
    // A loft has one longitude: the one typed wins over a hidden one kept on the other side.
    if (keepEast && !keepWest && typed.west != 0)
        out.east = 0;
    if (keepWest && !keepEast && typed.east != 0)
        out.west = 0;
    return out;
}

double siteLongitude(double eastDms, double westDms) {
    const double east = DmsToDecimalDegrees(eastDms);
    return east != 0 ? east : -DmsToDecimalDegrees(westDms);
}

double loftLongitude(double eastDms, double westDms) {
    return eastDms > 0 ? DmsToDecimalDegrees(eastDms) : -DmsToDecimalDegrees(westDms);
}

std::optional<std::int32_t> ComputeGeodesicDistance(double lat1, double lon1, double lat2,
                                                    double lon2) {
    if (!std::isfinite(lat1) || !std::isfinite(lon1) || !std::isfinite(lat2) ||
        !std::isfinite(lon2))
        return std::nullopt;

    const double a = 6378137;
    const double b = 6356752;
    const double pi = 4 * std::atan(1.0);
    const double f = (a - b) / a;
    const double k = pi / 360; // degrees to radians, halved

    const double G = (lat2 - lat1) * k;
    const double F = (lat2 + lat1) * k;
    const double L = (lon2 - lon1) * k;

    const double S =
        squared(std::sin(G)) * squared(std::cos(L)) + squared(std::cos(F)) * squared(std::sin(L));
    const double C = 1 - S;
    if (!(C > 0)) // exactly opposite points: the formula divides by zero
        return std::nullopt;
    const double w = std::atan(std::sqrt(S) / std::sqrt(1 - squared(std::sqrt(S))));
    const double D = 2 * a * w;
    if (D == 0)
        return 0;

    const double R = std::sin(w) * std::cos(w) / w;
    const double H1 = (3 * R - 1) / (2 * C);
    const double H2 = (3 * R + 1) / (2 * S);
    const double d = D + D * f * H1 * squared(std::sin(F)) * squared(std::cos(G)) -
                     D * f * H2 * squared(std::cos(F)) * squared(std::sin(G));
    const double metres = std::floor(d * 0.999997 + 0.5);
    if (!std::isfinite(metres) || metres < 0 || metres > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(metres);
}

std::optional<std::int32_t> ComputeSiteDistance(const PackedPoint& site, double loftLatitude,
                                                double loftLongitude) {
    const double siteLatitude = DmsToDecimalDegrees(site.latitude);
    return ComputeGeodesicDistance(siteLatitude, siteLongitude(site.east, site.west), loftLatitude,
                                   loftLongitude);
}

std::optional<std::int32_t> ComputeSiteDistance(const PackedPoint& site, const PackedPoint& loft) {
    return ComputeSiteDistance(site, DmsToDecimalDegrees(loft.latitude),
                               loftLongitude(loft.east, loft.west));
}

} // namespace vt
