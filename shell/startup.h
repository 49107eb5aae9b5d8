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

// The lock file that says which program works on a data folder.
QString dataFolderLockPath(const QString& dataFolder);

// Takes the data folder of `startDir` (region1, created when missing) for as long as the
// program runs, so that no second Vorel writes under it. Returns an empty text when it is
// taken, or the French message to show before the program ends: the folder is held by a
// Vorel running on the computer named (or it cannot be made or locked at all). A Vorel
// that died leaves a lock that no longer holds.
QString holdDataFolder(const QString& startDir);
// Gives the data folder up (the program's end does so too).
void releaseDataFolder();

} // namespace vt
