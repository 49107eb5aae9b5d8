#include "platform/window_keys.h"

#include <QKeyEvent>
#include <QShortcut>

namespace vt {

namespace {

class CaptionKeys : public QObject {
public:
    CaptionKeys(QLabel* caption, std::function<void()> press)
        : QObject(caption), m_press(std::move(press)) {}

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            m_press();
            return true;
        default:
            return false;
        }
    }

private:
    std::function<void()> m_press;
};

} // namespace

void pressWithKeys(QLabel* caption, std::function<void()> press) {
    caption->setFocusPolicy(Qt::StrongFocus);
    caption->installEventFilter(new CaptionKeys(caption, std::move(press)));
    if (!caption->window()->focusWidget())
        caption->setFocus(Qt::OtherFocusReason);
}

void pressOnEscape(QWidget* window, std::function<void()> press) {
    auto* shortcut = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, window, std::move(press));
}

} // namespace vt
