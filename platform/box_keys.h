#pragma once
// The keys of entry boxes: Enter is swallowed and moves the focus to the next box with
// its text selected; Esc or Del clears the box. Each window names the next box. A paste
// that does not fit in the box is refused whole, never cut to the box's width.
#include <QLineEdit>
#include <functional>

namespace vt {

// `next` may be null (Enter then only runs onEnter). `onEnter`, when given, runs before
// the focus moves and may return false to keep the focus (a refused value). The box also
// refuses long pastes (refuseLongPastes, with its own message).
void installBoxKeys(QLineEdit* box, QWidget* next, std::function<bool()> onEnter = {});

// A paste into a box of limited width (Ctrl+V, Shift+Insert, the context menu's paste,
// the middle button, a drop) that is longer than the room left in the box (its width less
// the text that stays) is refused with `message`, and the box keeps what it held; Qt
// alone would keep the beginning of the text and drop the rest without a word. An empty
// `message` gives the width: "Le texte collé ne tient pas dans la case : 23 caractères au
// plus." Boxes without a width take any paste.
void refuseLongPastes(QLineEdit* box, const QString& message = QString());
// The message of a refused paste into a box of `width` characters.
QString pasteTooLongMessage(int width);

} // namespace vt
