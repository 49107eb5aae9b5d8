#pragma once
// The start-up road: the start folder, the data folder region1 created and entered, and
// the club read from record 1 of societe.nom (created empty when missing).
#include "common/session.h"

#include <QString>

namespace vt {

// Returns true when a club is set up, false on a first run (empty club file or blank
// name). Throws vt::Error "Impossible de créer ou d'ouvrir <chemin>. Le programme va
// s'arrêter." when the data folder or the club file cannot be made or read.
bool startUp(Session& s, const QString& startDir);

} // namespace vt
