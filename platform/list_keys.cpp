#include "platform/list_keys.h"

#include <QKeyEvent>

namespace vt {

namespace {

bool movesCurrentLine(const QKeyEvent* key) {
    switch (key->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    default:
        // A letter or digit jumps to the next line that starts with it.
        return !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) &&
               !key->text().isEmpty() && key->text().at(0).isPrint();
    }
}

class ListKeys : public QObject {
public:
    ListKeys(QListWidget* list, std::function<void(int)> pick)
        : QObject(list), m_list(list), m_pick(std::move(pick)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != m_list || event->type() != QEvent::KeyPress ||
            !movesCurrentLine(static_cast<QKeyEvent*>(event)))
            return false;
        // The list moves its current line first; the pick then sees the new line.
        const int before = m_list->currentRow();
        static_cast<QObject*>(m_list)->event(event);
        const int after = m_list->currentRow();
        if (after >= 0 && after != before)
            m_pick(after);
        return true;
    }

private:
    QListWidget* m_list;
    std::function<void(int)> m_pick;
};

} // namespace

void onListClick(QListWidget* list, std::function<void(int row)> pick) {
    if (!list)
        return;
    QObject::connect(list, &QListWidget::itemClicked, list,
                     [list, pick](QListWidgetItem* item) { pick(list->row(item)); });
    list->installEventFilter(new ListKeys(list, std::move(pick)));
}

} // namespace vt
