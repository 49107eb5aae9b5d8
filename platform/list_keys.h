#pragma once
// The Click of a list: a mouse click on a line, and also a key that moves the current
// line (arrows, page keys, Home, End, a typed letter), as a secretary picks lines with the
// keyboard. Qt reports only the mouse click; without this, a line reached with the arrows
// looks chosen while the window still works on the line clicked before.
#include <QListWidget>
#include <functional>

namespace vt {

// `pick` receives the row of the line clicked or moved to.
void onListClick(QListWidget* list, std::function<void(int row)> pick);

} // namespace vt
