// Sun times and distances of a place whose coordinates are not numbers, infinite or far
// beyond the globe, as a damaged release-site file or a careless caller may hand them:
// no time and no distance, never a cast of a non-finite or huge value.
#include "calculator/calculator_model.h"
#include "calculator/sun_times.h"
#include "fanciers/geodesy.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace vt::tarvio;

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

} // namespace

TEST(NonFinitePlace, SunTimesOfAPlaceThatIsNoneAreUnavailable) {
    const QDate day(2026, 6, 21);
    const Dms paris{48, 50, 11};
    const struct {
        Dms latitude, longitude;
    } cases[] = {
        {paris, Dms{NaN, 0, 0}},
        {paris, Dms{Inf, 0, 0}},
        {paris, Dms{-Inf, 0, 0}},
        {paris, Dms{-2.7e68, 0, 0}}, // finite, yet no longitude: its hours overflow a count
        {paris, Dms{181, 0, 0}},
        {paris, Dms{2, 20, 1e300}},
        {Dms{NaN, 0, 0}, Dms{2, 20, 14}},
        {Dms{Inf, 0, 0}, Dms{2, 20, 14}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.latitude.degrees << " " << c.longitude.degrees);
        const SunTimes t = ComputeSunTimes(day, c.latitude, c.longitude);
        EXPECT_FALSE(t.closing);
        EXPECT_FALSE(t.opening);
        EXPECT_EQ(t.nextDayText(), QStringLiteral("22/06/26"));
    }
    // The edges of the globe still have their times.
    EXPECT_TRUE(ComputeSunTimes(day, Dms{0, 0, 0}, Dms{180, 0, 0}).closing);
    EXPECT_TRUE(ComputeSunTimes(day, Dms{0, 0, 0}, Dms{-180, 0, 0}).opening);
}

TEST(NonFinitePlace, ASiteWithoutCoordinatesHasNoDistance) {
    for (const double bad : {NaN, Inf, -Inf}) {
        vt::ReleaseSiteRecord site;
        site.setSiteName(QStringLiteral("ORLEANS"));
        site.setLatitudeDms(bad);
        site.setLongitudeEastDms(15432);
        EXPECT_EQ(distanceText(site, 48.8, 2.3),
                  QStringLiteral("Distance de : ORLEANS = ") + unavailableText());
        EXPECT_FALSE(vt::ComputeGeodesicDistance(bad, 2.3, 47.9, 1.9));
        EXPECT_FALSE(vt::ComputeGeodesicDistance(48.8, 2.3, 47.9, bad));
    }
}
