#include "platform/box_keys.h"

#include "platform/dialogs.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
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

// A QLineEdit without a width has this one.
constexpr int UnlimitedWidth = 32767;

class PasteGuard : public QObject {
public:
    PasteGuard(QLineEdit* box, const QString& message)
        : QObject(box), m_box(box), m_message(message) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != m_box || m_box->isReadOnly())
            return false;
        switch (event->type()) {
        case QEvent::KeyPress:
            return static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste) &&
                   !fits(clipboardText(QClipboard::Clipboard));
        case QEvent::MouseButtonRelease:
            // The middle button pastes the selection where the system has one.
            return static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton &&
                   QGuiApplication::clipboard()->supportsSelection() &&
                   !fits(clipboardText(QClipboard::Selection), false);
        case QEvent::Drop: {
            const QMimeData* data = static_cast<QDropEvent*>(event)->mimeData();
            if (!data || !data->hasText() || fits(data->text(), false))
                return false;
            event->ignore();
            return true;
        }
        case QEvent::ContextMenu:
            showContextMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
            return true;
        default:
            return false;
        }
    }

    void setMessage(const QString& message) { m_message = message; }

private:
    static QString clipboardText(QClipboard::Mode mode) {
        return QGuiApplication::clipboard()->text(mode);
    }

    // True when `text` fits in the room left (replacing the selected text when
    // `replacesSelection`); otherwise says so and returns false.
    bool fits(const QString& text, bool replacesSelection = true) {
        const int width = m_box->maxLength();
        if (width >= UnlimitedWidth)
            return true;
        const int kept = m_box->text().size() -
                         (replacesSelection ? int(m_box->selectedText().size()) : 0);
        if (text.size() <= width - kept)
            return true;
        dialogs().inform(m_message.isEmpty() ? pasteTooLongMessage(width) : m_message,
                         QString(), MsgIcon::Exclamation);
        return false;
    }

    // The paste of a box's menu: named "edit-paste" by recent versions of Qt, known by its
    // shortcut in the others (the menu's texts are translated, its shortcuts are not).
    static QAction* pasteAction(QMenu* menu) {
        if (auto* named = menu->findChild<QAction*>(QStringLiteral("edit-paste")))
            return named;
        const QString shortcut =
            QLatin1Char('\t') + QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
        for (QAction* action : menu->actions()) {
            if (action->text().endsWith(shortcut)) {
                action->setObjectName(QStringLiteral("edit-paste"));
                return action;
            }
        }
        return nullptr;
    }

    // The box's own menu, whose paste goes through the same test.
    void showContextMenu(const QPoint& at) {
        QMenu* menu = m_box->createStandardContextMenu();
        if (QAction* paste = pasteAction(menu)) {
            QObject::disconnect(paste, &QAction::triggered, nullptr, nullptr);
            QObject::connect(paste, &QAction::triggered, m_box, [this] {
                if (fits(clipboardText(QClipboard::Clipboard)))
                    m_box->paste();
            });
        }
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(at);
    }

    QLineEdit* m_box;
    QString m_message;
};

} // namespace

void installBoxKeys(QLineEdit* box, QWidget* next, std::function<bool()> onEnter) {
    if (!box)
        return;
    box->installEventFilter(new BoxKeys(box, next, std::move(onEnter)));
    refuseLongPastes(box);
}

void refuseLongPastes(QLineEdit* box, const QString& message) {
    if (!box)
        return;
    // One guard per box; a later call gives it its message.
    for (QObject* child : box->children()) {
        if (auto* guard = dynamic_cast<PasteGuard*>(child)) {
            if (!message.isEmpty())
                guard->setMessage(message);
            return;
        }
    }
    box->installEventFilter(new PasteGuard(box, message));
}

QString pasteTooLongMessage(int width) {
    return QStringLiteral("Le texte collé ne tient pas dans la case : %1 caractères au plus.")
        .arg(width);
}

} // namespace vt
