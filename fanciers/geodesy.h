#pragma once
// Coordinates and the ellipsoid distance, shared by Vorel and Tarvio.
//
// A packed coordinate is a number whose integer digits read DDMMSS and whose fraction is a
// fraction of a second (480506.25 = 48°05'06.25"). A point carries one latitude (north) and
// two longitude fields, east and west, one of which is 0. These functions are pure: every
// caller gets the same metres for the same coordinates (entry sheet, distance sheets, Tarvio).
#include <QString>

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

// The refusal of a typed packed coordinate that names no place: more than 90 degrees of
// latitude or 180 of longitude, or minutes or seconds of 60 or more (4805060 is a latitude
// typed with one digit too many, 487560 has 75 minutes). The message names the box by its
// `caption`; empty when the value is possible. Every box that takes a coordinate checks
// with it, after its own test that the text is a number that is not negative.
QString impossibleCoordinateRefusal(double packed, bool latitude, const QString& caption);

// The loft point a fancier's save stores from its three boxes (`typed`, after the rule of
// one longitude) and the record as it stands (`stored`). A box whose value is still the
// one it was given for the stored value keeps the stored value exactly: a value no box
// can show (a damaged one, shown as 0) is not replaced by 0 because the user changed
// another box. Such a hidden longitude gives way to a longitude typed on the other side.
PackedPoint savedLoftPoint(const PackedPoint& typed, const PackedPoint& stored);
// True when the box's value is the one the box was given for `stored`.
bool showsStoredCoordinate(double typed, double stored, bool latitude);

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
