#pragma once
// The distance list of one release site: every fancier of the fanciers list who has loft
// coordinates, with his distance in metres to the chosen site.
#include "common/records.h"
#include "platform/print_surface.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace vt {

// The site's line in the choice list: its name padded and cut to 22 characters.
QString siteChoiceItem(const ReleaseSiteRecord& site);
// The caption of the print item once a site is chosen: "lister la distance de " + item.
QString siteListCaption(const QString& choiceItem);

// A fancier's line: the 23-character name and the distance right-aligned in 8.
QString siteDistanceLine(const FancierRecord& fancier, const ReleaseSiteRecord& site);

// Prints the list in the order of the list lines, whatever their selection; fanciers
// without a latitude are left out. `caption` is the print item's caption, `clubName`
// the club named in the heading. Throws FileError when the fanciers file cannot be read
// (nothing is printed then). Returns where the document went.
PrintOutcome printSiteDistanceList(const ReleaseSiteRecord& site, const QString& caption,
                                   const QStringList& listLines, const QString& clubName,
                                   PrintSurface& surface);

} // namespace vt
