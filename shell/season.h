#pragma once
// The season: the folder of a year under the data folder, its fanciers file made from
// the master the first time the year is opened, and the title line of the main window.
#include "common/session.h"

#include <QString>

namespace vt {

// "MISES EN LOGE de " & the club caption & " ANNEE " & the season year.
QString seasonTitle(const Session& s);

// Sets the file paths that hang on the data folder and the start folder.
void setFilePaths(Session& s);

// Opens `year` as the season: creates its folder, makes its fanciers file from the master
// when the season file is empty (every race amount but element 0 cleared; free slots
// copied too, so record numbers agree), and clears the chosen races. Throws vt::Error
// with a French message when a folder or file cannot be made; the session then keeps
// the season it had.
void openYear(Session& s, int year);

// The main window's start-up procedure: sets the paths and, when no season is open yet,
// opens the season of today's year. Run again (after the club form's save) it keeps the
// open season, its chosen races and the current fancier.
void memo(Session& s);

// The message of a year box that does not hold a year.
QString yearRefusedMessage();

} // namespace vt
