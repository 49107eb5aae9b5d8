#pragma once
// Coordinates and the ellipsoid distance, shared by Vorel and Tarvio.
//
// A packed coordinate is a number whose integer digits read DDMMSS and whose fraction is a
// fraction of a second (480506.25 = 48°05'06.25"). A point carries one latitude (north) and
// two longitude fields, east and west, one of which is 0. These functions are pure: every
// caller gets the same metres for the same coordinates (entry sheet, distance sheets, Tarvio).
#include <cstdint>
#include <optional>

namespace vt {

// A point as stored in the files: packed latitude, east and west longitudes.
struct PackedPoint {
    double latitude = 0;
    double east = 0;
    double west = 0;
};

// A loft coordinate of a fancier record as the editors show it: a packed DDMMSS value no
// loft can have reads as 0 (not a finite number, negative, beyond 90 degrees of latitude
// or 180 of longitude, or above 0 but below a thousandth of a second, which a damaged file
// holds and a box would show as a text of a hundred digits), so that what a box shows, the
// save stores and the next opening shows agree.
double loftCoordinate(double packed, bool latitude);

// Packed DDMMSS.fraction to decimal degrees. Minutes or seconds above 59 count as they are.
double DmsToDecimalDegrees(double packed);

// Decimal longitude of a release site: the east value when its conversion is not 0,
// else minus the converted west value.
double siteLongitude(double eastDms, double westDms);

// Decimal longitude of a loft: the east value when the east field is greater than 0,
// else minus the converted west value.
double loftLongitude(double eastDms, double westDms);

// Ellipsoid distance (Andoyer-Lambert, a = 6378137, b = 6356752) between two points in
// decimal degrees, east positive, scaled by 0.999997 and rounded half up to whole metres.
// Coincident points give 0. No value for non-finite input or exactly opposite points.
std::optional<std::int32_t> ComputeGeodesicDistance(double lat1, double lon1, double lat2,
                                                    double lon2);

// Distance from a release site to a loft, both packed; the site is point 1.
std::optional<std::int32_t> ComputeSiteDistance(const PackedPoint& site, const PackedPoint& loft);

// Same, with the loft already converted to decimal degrees (east positive).
std::optional<std::int32_t> ComputeSiteDistance(const PackedPoint& site, double loftLatitude,
                                                double loftLongitude);

} // namespace vt
