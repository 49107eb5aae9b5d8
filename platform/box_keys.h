#pragma once
// The keys of entry boxes: Enter is swallowed and moves the focus to the next box with
// its text selected; Esc or Del clears the box. Each window names the next box.
#include <QLineEdit>
#include <functional>

namespace vt {

// `next` may be null (Enter then only runs onEnter). `onEnter`, when given, runs before
// the focus moves and may return false to keep the focus (a refused value).
void installBoxKeys(QLineEdit* box, QWidget* next, std::function<bool()> onEnter = {});

} // namespace vt
