#include "platform/box_keys.h"

#include <QAbstractSpinBox>
#include <QKeyEvent>
#include <QPointer>

namespace vt {

namespace {

class BoxKeys : public QObject {
public:
    BoxKeys(QLineEdit* box, QWidget* next, std::function<bool()> onEnter)
        : QObject(box), m_box(box), m_next(next), m_onEnter(std::move(onEnter)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != m_box)
            return false;
        if (event->type() == QEvent::ShortcutOverride) {
            // The box keeps these keys even where the window has shortcuts on them.
            if (isBoxKey(static_cast<QKeyEvent*>(event)->key())) {
                event->accept();
                return true;
            }
            return false;
        }
        if (event->type() != QEvent::KeyPress)
            return false;
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            enter();
            return true;
        case Qt::Key_Escape:
        case Qt::Key_Delete:
            m_box->clear();
            return true;
        default:
            return false;
        }
    }

private:
    static bool isBoxKey(int key) {
        return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape ||
               key == Qt::Key_Delete;
    }

    void enter() {
        if (m_onEnter && !m_onEnter())
            return;
        if (!m_next)
            return;
        m_next->setFocus(Qt::TabFocusReason);
        if (auto* line = qobject_cast<QLineEdit*>(m_next.data()))
            line->selectAll();
        else if (auto* spin = qobject_cast<QAbstractSpinBox*>(m_next.data()))
            spin->selectAll();
    }

    QLineEdit* m_box;
    QPointer<QWidget> m_next;
    std::function<bool()> m_onEnter;
};

} // namespace

void installBoxKeys(QLineEdit* box, QWidget* next, std::function<bool()> onEnter) {
    if (!box)
        return;
    box->installEventFilter(new BoxKeys(box, next, std::move(onEnter)));
}

} // namespace vt
