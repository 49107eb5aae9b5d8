#pragma once
// Windows open on the screen: a window whose stored or computed place would put part of
// it off the screen's available area (below a panel, past an edge) is moved onto it, and
// one larger than that area is made to fit where its minimum size allows.
#include <QWidget>

namespace vt {

// Watches `window`: each time it is shown, it is brought onto the available area of its
// screen. Full-screen and maximised windows, and backgrounds as large as the whole
// screen, stay as they are.
void keepOnScreen(QWidget* window);

// Brings `window` onto the available area of its screen now.
void placeOnScreen(QWidget* window);

} // namespace vt
