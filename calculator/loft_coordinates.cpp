#include "loft_coordinates.h"

#include "neutralisation.h"

#include "common/numbers.h"

#include <algorithm>

namespace vt::tarvio {

namespace {

constexpr long long Units[] = {0, LoftCoordinate::HundredthsPerDegree, 6000, 100, 1};

QString digits(long long v, int width) {
    return QStringLiteral("%1").arg(v, width, 10, QChar(u'0'));
}

} // namespace

LoftCoordinate::LoftCoordinate(Kind kind, long long hundredths) : m_kind(kind), m_value(0) {
    m_value = std::clamp(hundredths, 0LL, maximum());
}

LoftCoordinate LoftCoordinate::fromParts(Kind kind, int degrees, int minutes, int seconds,
                                         int hundredths) {
    return LoftCoordinate(kind, degrees * Units[1] + minutes * Units[2] + seconds * Units[3] +
                                    hundredths);
}

long long LoftCoordinate::maximum() const {
    return (m_kind == Latitude ? 90 : 180) * HundredthsPerDegree - 1;
}

void LoftCoordinate::step(int part, long long steps) {
    if (part < 1 || part > 4)
        return;
    m_value = std::clamp(m_value + steps * Units[part], 0LL, maximum());
}

int LoftCoordinate::degrees() const { return static_cast<int>(m_value / Units[1]); }
int LoftCoordinate::minutes() const { return static_cast<int>(m_value % Units[1] / Units[2]); }
int LoftCoordinate::seconds() const { return static_cast<int>(m_value % Units[2] / Units[3]); }
int LoftCoordinate::hundredthsOfSecond() const { return static_cast<int>(m_value % 100); }

QString LoftCoordinate::displayText() const {
    return digits(degrees(), 2) + u':' + digits(minutes(), 2) + u':' + digits(seconds(), 2) +
           u',' + digits(hundredthsOfSecond(), 2);
}

QString LoftCoordinate::packedText() const {
    return digits(degrees(), 2) + digits(minutes(), 2) + digits(seconds(), 2) + u'.' +
           digits(hundredthsOfSecond(), 2);
}

double LoftCoordinate::packedValue() const { return val(packedText()); }

Dms Loft::latitudeArguments() const { return packedArguments(latitude.packedValue()); }

Dms Loft::longitudeArguments() const {
    if (side == East)
        return packedArguments(east.packedValue());
    const Dms w = packedArguments(west.packedValue());
    return {-w.degrees, -w.minutes, -w.seconds};
}

} // namespace vt::tarvio
