#pragma once
// The loft position chosen with the main window's steppers. Each coordinate is one whole
// number of hundredths of a second of arc, so that a step of any part (degree, minute,
// second, hundredth) carries into and borrows from the others, and the value stays
// within its range: latitude 0 to 89°59'59.99", longitude 0 to 179°59'59.99".
#include "sun_times.h"

#include <QString>

namespace vt::tarvio {

class LoftCoordinate {
public:
    enum Kind { Latitude, Longitude };
    static constexpr long long HundredthsPerDegree = 360000;

    LoftCoordinate(Kind kind, long long hundredths);
    // Degrees, minutes, seconds, hundredths of a second.
    static LoftCoordinate fromParts(Kind kind, int degrees, int minutes, int seconds,
                                    int hundredths = 0);

    Kind kind() const { return m_kind; }
    long long hundredths() const { return m_value; }
    long long maximum() const;

    // Moves part 1 (degrees), 2 (minutes), 3 (seconds) or 4 (hundredths) by `steps`
    // of its unit, clamped to the range.
    void step(int part, long long steps);

    int degrees() const;
    int minutes() const;
    int seconds() const;
    int hundredthsOfSecond() const;

    // "48:50:00,00": degrees as two digits (three from 100), the locale's decimal comma.
    QString displayText() const;
    // "485000.00": the packed coordinate DDMMSS.ff, always with a period.
    QString packedText() const;
    // The packed coordinate as a number (the packed text read back).
    double packedValue() const;

private:
    Kind m_kind;
    long long m_value;
};

// The loft of the main window: latitude, and east and west longitudes that each keep
// their own value; the side changed last is the loft's side.
struct Loft {
    enum Side { East, West };
    LoftCoordinate latitude = LoftCoordinate::fromParts(LoftCoordinate::Latitude, 48, 50, 0);
    LoftCoordinate east = LoftCoordinate::fromParts(LoftCoordinate::Longitude, 2, 20, 11);
    LoftCoordinate west = LoftCoordinate::fromParts(LoftCoordinate::Longitude, 0, 0, 0);
    Side side = East;

    // The sun-time arguments: latitude, and the longitude of the loft's side (west
    // negated), each from its packed value with the hundredths rounded into the seconds.
    Dms latitudeArguments() const;
    Dms longitudeArguments() const;
};

} // namespace vt::tarvio
