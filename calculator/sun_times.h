#pragma once
// Sunset and sunrise for the night neutralisation of a race: the closing is 30 minutes
// after sunset on day D, the opening 30 minutes before sunrise on day D + 1, both in
// legal time taken as universal time + 2 hours in every season. The method and its
// constants are the ones the federation's rule is computed with, kept to the second
// (a more accurate solar model would give other times than the clubs' tables).
#include <QDate>
#include <QString>

#include <optional>

namespace vt::tarvio {

// An angle as degrees, minutes and seconds of arc (the seconds may carry a fraction).
// A west longitude or a south latitude has all three parts negated.
struct Dms {
    double degrees = 0;
    double minutes = 0;
    double seconds = 0;
};

// A time of the neutralisation: seconds since midnight (not wrapped at 24 hours) and
// its text, as 21h05'07" (hours without a leading zero, one double quote at the end).
struct SunTime {
    int seconds = 0;
    QString text;
};

struct SunTimes {
    std::optional<SunTime> closing; // empty when the sun does not set on D at the place
    std::optional<SunTime> opening; // empty when the sun does not rise on D + 1
    QDate nextDay;                  // D + 1
    QString nextDayText() const;    // "dd/mm/yy"
};

// The closing and opening times of date `day` at the place given by its latitude (north
// positive) and longitude (east positive).
SunTimes ComputeSunTimes(const QDate& day, const Dms& latitude, const Dms& longitude);

// Universal time of sunset (setting = true) or sunrise on `day`, in hours as a real
// number; empty when the sun does not set or rise that day at the latitude.
std::optional<double> universalSunTime(const QDate& day, const Dms& latitude,
                                       const Dms& longitude, bool setting);

// The closing made from a sunset and the opening made from a sunrise, both given in
// universal hours: the time is cut down to the second, moved by 30 minutes and by the
// 2 hours of legal time.
SunTime closingFromSunset(double universalHours);
SunTime openingFromSunrise(double universalHours);

// hh "h" mm "'" ss followed by `tail` (a double quote for the sun times).
QString neutralisationText(long long hours, long long minutes, long long seconds,
                           const QString& tail);

} // namespace vt::tarvio
