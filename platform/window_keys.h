#pragma once
// Keys of windows whose only way on is a caption or a button: a caption that acts as a
// button takes the focus with Tab and is pressed with Enter or Space; Esc presses a
// window's way out, as its close box or its OK button does.
#include <QLabel>
#include <functional>

namespace vt {

// The caption takes the focus with Tab (the first one of its window has it when the
// window opens); Enter, the keypad's Enter and Space on it run `press`.
void pressWithKeys(QLabel* caption, std::function<void()> press);

// Esc anywhere in `window` runs `press`.
void pressOnEscape(QWidget* window, std::function<void()> press);

} // namespace vt
