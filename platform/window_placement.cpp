#include "platform/window_placement.h"

#include <QEvent>
#include <QPointer>
#include <QScreen>
#include <QTimer>

#include <algorithm>

namespace vt {

namespace {

class Placement : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            auto* window = static_cast<QWidget*>(watched);
            placeOnScreen(window);
            // Once the window's layout and the window manager have given it its first
            // size, once more.
            QTimer::singleShot(0, window, [w = QPointer<QWidget>(window)] {
                if (w && w->isVisible())
                    placeOnScreen(w);
            });
        }
        return false;
    }
};

} // namespace

void keepOnScreen(QWidget* window) {
    if (window && window->isWindow())
        window->installEventFilter(new Placement(window));
}

void placeOnScreen(QWidget* window) {
    if (!window || window->isFullScreen() || window->isMaximized())
        return;
    const QScreen* screen = window->screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    if (window->geometry().contains(screen->geometry()))
        return; // a background over the whole screen
    QRect frame = window->frameGeometry();
    const int extraWidth = frame.width() - window->width();
    const int extraHeight = frame.height() - window->height();
    if (frame.width() > area.width() || frame.height() > area.height()) {
        window->resize(std::max(window->minimumWidth(),
                                std::min(window->width(), area.width() - extraWidth)),
                       std::max(window->minimumHeight(),
                                std::min(window->height(), area.height() - extraHeight)));
        frame = window->frameGeometry();
    }
    // The top left corner stays on the area, so the title bar can always be reached.
    const int x = std::max(area.left(), std::min(frame.left(), area.right() + 1 - frame.width()));
    const int y = std::max(area.top(), std::min(frame.top(), area.bottom() + 1 - frame.height()));
    if (x != frame.left() || y != frame.top())
        window->move(x, y);
}

} // namespace vt
