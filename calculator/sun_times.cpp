#include "sun_times.h"

#include "common/dates.h"
#include "common/numbers.h"

#include <cmath>

namespace vt::tarvio {

namespace {

const double Pi = 4 * std::atan(1.0);
const double Rad = Pi / 180;
const double TwoPi = 2 * Pi;
constexpr double SinH0 = -0.0153;   // sine of the sun's altitude at rising and setting
constexpr double Obliquity = 0.4091;

// Reduces an angle into [0, 2π).
double reduced(double x) { return x - TwoPi * std::floor(x / TwoPi); }

double decimalDegrees(const Dms& a) { return a.degrees + a.minutes / 60 + a.seconds / 3600; }

// Julian day of the date at 12 h UT.
double julianDay(long long year, long long month, long long day) {
    if (month <= 2) {
        year -= 1;
        month += 12;
    }
    const long long a = idiv(year, 100);
    const long long b = 2 - a + idiv(a, 4);
    return std::floor(365.25 * static_cast<double>(year)) +
           std::floor(30.6001 * static_cast<double>(month + 1)) + static_cast<double>(day) +
           static_cast<double>(b) + 1720995;
}

} // namespace

QString SunTimes::nextDayText() const { return frenchDate(nextDay, QStringLiteral("dd/mm/yy")); }

std::optional<double> universalSunTime(const QDate& day, const Dms& latitude,
                                       const Dms& longitude, bool setting) {
    // The sun's position is taken once, at 12 h UT of the day.
    const double jd = julianDay(day.year(), day.month(), day.day());
    const double t = (jd - 2451545) / 365.25;
    const double g = 6.24 + 6.28301 * t;
    double l = 4.895 + 6.28332 * t + 0.0334 * std::sin(g);
    l = reduced(l);

    // Right ascension, put back in the quadrant of the longitude.
    const double a = std::atan(std::cos(Obliquity) * std::sin(l) / std::cos(l));
    const double aPositive = a < 0 ? a + TwoPi : a;
    const double ra = std::abs(l - aPositive) > 0.044 ? a + Pi : a;

    const double s = std::sin(l) * std::sin(Obliquity);
    const double declination = std::atan(s / std::sqrt(1 - s * s));

    const double phi = Rad * decimalDegrees(latitude);
    const double x =
        (SinH0 - std::sin(phi) * std::sin(declination)) / (std::cos(phi) * std::cos(declination));
    // Beyond ±1 the sun stays above or below the horizon all day.
    if (!std::isfinite(x) || std::abs(x) >= 1)
        return std::nullopt;
    const double h = Pi / 2 + std::atan(-x / std::sqrt(1 - x * x));

    const double theta0 = 1.7534 + 6.28332 * (jd - 0.5 - 2451545) / 365.25;
    const double angle = reduced((setting ? ra + h : ra - h) - theta0);
    // A longitude that names no place on Earth (NaN, infinite, beyond 180 degrees) has no
    // sun time: its hours would not be a time of day, nor even a whole number of seconds.
    const double longitudeDegrees = decimalDegrees(longitude);
    if (!(std::abs(longitudeDegrees) <= 180))
        return std::nullopt;
    const double lambda = Rad * longitudeDegrees;
    const double u = 0.9972696 * (angle - lambda);
    return 12 * u / Pi;
}

namespace {

struct Hms {
    long long hh, mm, ss;
};

// Cut down, never rounded.
Hms cutDown(double hours) {
    const double hh = std::floor(hours);
    const double mm = std::floor(60 * (hours - hh));
    const double ss = std::floor(3600 * ((hours - hh) - mm / 60));
    return {static_cast<long long>(hh), static_cast<long long>(mm), static_cast<long long>(ss)};
}

SunTime makeTime(const Hms& t) {
    return {static_cast<int>(3600 * t.hh + 60 * t.mm + t.ss),
            neutralisationText(t.hh, t.mm, t.ss, QStringLiteral("\""))};
}

} // namespace

SunTime closingFromSunset(double universalHours) {
    Hms t = cutDown(universalHours);
    t.mm += 30;
    t.hh += 2;
    if (t.mm > 59) {
        t.mm -= 60;
        t.hh += 1;
    }
    return makeTime(t);
}

SunTime openingFromSunrise(double universalHours) {
    Hms t = cutDown(universalHours);
    t.mm -= 30;
    t.hh += 2;
    if (t.mm < 0) {
        t.mm += 60;
        t.hh -= 1;
    }
    if (t.mm > 59) {
        t.mm -= 60;
        t.hh += 1;
    }
    return makeTime(t);
}

QString neutralisationText(long long hours, long long minutes, long long seconds,
                           const QString& tail) {
    return QString::number(hours) + u'h' + QStringLiteral("%1").arg(minutes, 2, 10, QChar(u'0')) +
           u'\'' + QStringLiteral("%1").arg(seconds, 2, 10, QChar(u'0')) + tail;
}

SunTimes ComputeSunTimes(const QDate& day, const Dms& latitude, const Dms& longitude) {
    SunTimes out;
    out.nextDay = day.addDays(1);
    if (const auto sunset = universalSunTime(day, latitude, longitude, true))
        out.closing = closingFromSunset(*sunset);
    if (const auto sunrise = universalSunTime(out.nextDay, latitude, longitude, false))
        out.opening = openingFromSunrise(*sunrise);
    return out;
}

} // namespace vt::tarvio
