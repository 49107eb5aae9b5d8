#include "calculator_model.h"

#include "common/damage.h"
#include "common/dates.h"
#include "common/numbers.h"
#include "common/record_file.h"
#include "common/text.h"
#include "fanciers/geodesy.h"
#include "fanciers/site_list.h"

namespace vt::tarvio {

QList<ReleaseSiteRecord> readGeneralSitesInFileOrder(const QString& generalSitesPath) {
    RecordFileOf<ReleaseSiteRecord>(generalSitesPath).create();
    return readCheckedSites(generalSitesPath);
}

QString distanceText(const ReleaseSiteRecord& site, double loftLatitude, double loftLongitude) {
    const PackedPoint point{site.latitudeDms(), site.longitudeEastDms(), site.longitudeWestDms()};
    const auto metres = ComputeSiteDistance(point, loftLatitude, loftLongitude);
    return QStringLiteral("Distance de : ") + trim(site.siteName()) + QStringLiteral(" = ") +
           (metres ? strNumber(static_cast<long long>(*metres)) : unavailableText());
}

QString noSiteDistanceText() {
    return QStringLiteral("Distance de : aucun lieu de lâcher dans le fichier");
}

CalculatorModel::CalculatorModel(const QDate& today, const QList<ReleaseSiteRecord>& sites)
    : m_today(today), m_date(today), m_sites(sites) {
    refreshParis();
}

void CalculatorModel::setDateOffsets(int days, int months, int years) {
    m_date = chosenDate(m_today, days, months, years);
    refreshParis();
}

QString CalculatorModel::dateText() const {
    return frenchDate(m_date, QStringLiteral("dd/mm/yy"));
}

void CalculatorModel::stepLatitude(int part, long long steps) {
    m_loft.latitude.step(part, steps);
    refreshSite();
}

void CalculatorModel::stepEast(int part, long long steps) {
    m_loft.east.step(part, steps);
    m_loft.side = Loft::East;
    refreshSite();
}

void CalculatorModel::stepWest(int part, long long steps) {
    m_loft.west.step(part, steps);
    m_loft.side = Loft::West;
    refreshSite();
}

void CalculatorModel::setSites(const QList<ReleaseSiteRecord>& sites) {
    const QString shown = m_site < m_sites.size() ? trim(m_sites.at(m_site).siteName()) : QString();
    m_sites = sites;
    m_site = 0;
    for (int i = 0; i < m_sites.size() && !shown.isEmpty(); ++i) {
        if (trim(m_sites.at(i).siteName()) == shown) {
            m_site = i;
            break;
        }
    }
    // The line of a list that was empty does not stay: the new list's first site shows.
    m_distance.clear();
    refreshSite();
}

void CalculatorModel::setShownSite(int index) {
    if (index >= 0 && index < m_sites.size())
        m_site = index;
    refreshSite();
}

QStringList CalculatorModel::siteItems() const {
    QStringList out;
    for (const ReleaseSiteRecord& r : m_sites)
        out.append(siteListItem(r));
    return out;
}

QString CalculatorModel::eastText() const {
    return m_loft.side == Loft::East ? m_loft.east.displayText() : QString();
}
QString CalculatorModel::westText() const {
    return m_loft.side == Loft::West ? m_loft.west.displayText() : QString();
}
QString CalculatorModel::eastPacked() const {
    return m_loft.side == Loft::East ? m_loft.east.packedText() : QString();
}
QString CalculatorModel::westPacked() const {
    return m_loft.side == Loft::West ? m_loft.west.packedText() : QString();
}

void CalculatorModel::refreshParis() {
    m_paris = computeParisTimes(m_date);
    refreshSite();
}

void CalculatorModel::refreshSite() {
    // The distance follows the loft only once it has a latitude; until then the line
    // keeps its text.
    const double latitudePacked = m_loft.latitude.packedValue();
    if (m_sites.isEmpty()) {
        m_distance = noSiteDistanceText();
    } else if (intFloor(latitudePacked) > 0) {
        const Loft::Side side = m_loft.side;
        const double east = side == Loft::East ? m_loft.east.packedValue() : 0;
        const double west = side == Loft::West ? m_loft.west.packedValue() : 0;
        // A side whose whole part is 0 counts as longitude 0.
        const double longitude = intFloor(east) > 0   ? DmsToDecimalDegrees(east)
                                 : intFloor(west) > 0 ? -DmsToDecimalDegrees(west)
                                                      : 0.0;
        m_distance = distanceText(m_sites.at(m_site), DmsToDecimalDegrees(latitudePacked),
                                  longitude);
    }
    m_loftTimes = computeLoftTimes(m_date, m_loft.latitudeArguments(), m_loft.longitudeArguments(),
                                   m_paris.closingLessOpening);
}

} // namespace vt::tarvio
