#include "fanciers/distance_list.h"

#include "common/numbers.h"
#include "common/text.h"
#include "fanciers/fancier_prints.h"
#include "fanciers/geodesy.h"
#include "platform/print_surface.h"

namespace vt {

QString siteChoiceItem(const ReleaseSiteRecord& site) {
    return Left(site.siteName() + Space(26), 22);
}

QString siteListCaption(const QString& choiceItem) {
    return QStringLiteral("lister la distance de ") + trim(choiceItem);
}

QString siteDistanceLine(const FancierRecord& f, const ReleaseSiteRecord& site) {
    const auto d = ComputeSiteDistance(
        PackedPoint{site.latitudeDms(), site.longitudeEastDms(), site.longitudeWestDms()},
        DmsToDecimalDegrees(f.latitudeDms()),
        loftLongitude(f.longitudeEastDms(), f.longitudeWestDms()));
    // A distance that cannot be computed (points exactly opposite) leaves the field blank.
    const QString metres = d ? strNumber(static_cast<long long>(*d)) : QString();
    return f.fancierName() + Right(Space(9) + metres, 8);
}

PrintOutcome printSiteDistanceList(const ReleaseSiteRecord& site, const QString& caption,
                                   const QStringList& listLines, const QString& clubName,
                                   PrintSurface& s) {
    const QList<FancierRecord> fanciers = readListedFanciers(listLines);
    s.beginDocument(QStringLiteral("Distances ") + trim(site.siteName()));
    s.setScaleMillimetres(-5);
    s.setFontName(QStringLiteral("COURIER New"));
    s.setFontSize(12);
    s.setBold(true);
    s.setUnderline(false);
    s.printLine();
    s.printLine(upperCase(Mid(caption, 8)));
    s.printLine(QStringLiteral("De la société de ") + clubName);
    s.printLine();
    for (const FancierRecord& f : fanciers)
        if (f.latitudeDms() > 0)
            s.printLine(siteDistanceLine(f, site));
    return s.endDocument();
}

} // namespace vt
