#pragma once
// What the calendar and race windows touch of the main window: its status label Label1
// and its race menus rec and edrecaps. Reached by their names, so that these windows do
// nothing when the main window is not open.
#include <QString>

namespace vt {

// Writes the text into the main window's status label, shows it and repaints.
void writeMainStatus(const QString& text);
// Shows or hides the main window's menus rec and edrecaps.
void setMainRaceMenusVisible(bool visible);
// Repaints the main window.
void refreshMainWindow();

} // namespace vt
