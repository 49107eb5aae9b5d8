#pragma once
// The names list: the lines of the fanciers list, all of them or those of one club,
// under the heading "Liste des NOMS ".
#include "platform/print_surface.h"

#include <QString>
#include <QStringList>

namespace vt {

// The heading: "Liste des NOMS Fichier complet", or "Liste des NOMS Société de <club>".
QString namesListHeading(int club);

// Prints the list lines (without their last four characters) whatever their selection;
// with a club (1 to ClubCount) only the lines whose club column, trimmed, is that club's
// name cut to 20 characters. Returns where the document went.
PrintOutcome printNamesList(const QStringList& listLines, int club, PrintSurface& surface);

} // namespace vt
