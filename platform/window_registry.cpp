#include "platform/window_registry.h"

#include <QApplication>
#include <QObject>
#include <QPointer>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QVariant>

#include <algorithm>
#include <limits>

namespace vt {

void describeControls(QWidget* window) {
    if (!window)
        return;
    if (!window->objectName().isEmpty())
        window->setAccessibleDescription(window->objectName());
    const auto children = window->findChildren<QWidget*>();
    for (QWidget* child : children) {
        if (!child->objectName().isEmpty())
            child->setAccessibleDescription(child->objectName());
    }
}

void pressButtonsOnEnter(QWidget* window) {
    if (!window)
        return;
    const auto buttons = window->findChildren<QPushButton*>();
    for (QPushButton* button : buttons)
        button->setAutoDefault(true);
}

namespace {
// Windows are asked before a change in the order they were loaded.
const char* const LoadOrderProperty = "vtLoadOrder";
} // namespace

void WindowRegistry::track(std::type_index t, QWidget* w) {
    static qlonglong loads = 0;
    w->setProperty(LoadOrderProperty, ++loads);
    // A window deleted by other means leaves the registry too.
    QObject::connect(w, &QObject::destroyed, w, [this, t, w] {
        auto it = m_windows.find(t);
        if (it != m_windows.end() && it.value() == w)
            m_windows.erase(it);
    });
}

void WindowRegistry::unload(std::type_index t) {
    auto it = m_windows.find(t);
    if (it == m_windows.end())
        return;
    QWidget* w = it.value();
    m_windows.erase(it);
    if (w) {
        w->hide();
        w->deleteLater();
    }
}

void WindowRegistry::unload(QWidget* w) {
    for (auto it = m_windows.begin(); it != m_windows.end(); ++it) {
        if (it.value() == w) {
            unload(it.key());
            return;
        }
    }
}

void WindowRegistry::unloadAll() {
    const auto types = m_windows.keys();
    for (const auto& t : types)
        unload(t);
}

WindowRegistry& windows() {
    static WindowRegistry registry;
    return registry;
}

namespace {

const char* const SeasonWindowProperty = "vtSeasonWindow";
bool g_seasonChanging = false;

std::function<void(const QString&)>& mainStatusWriter() {
    static std::function<void(const QString&)> writer;
    return writer;
}

std::function<QString()>& mainStatusReader() {
    static std::function<QString()> reader;
    return reader;
}

} // namespace

void markSeasonWindow(QWidget* window) {
    window->setProperty(SeasonWindowProperty, true);
}

bool closeSeasonWindows() {
    const QScopedValueRollback<bool> changing(g_seasonChanging, true);
    QList<QPointer<QWidget>> open;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->property(SeasonWindowProperty).toBool())
            open.append(w);
    for (const QPointer<QWidget>& w : open) {
        if (!w)
            continue;
        if (w->isVisible() && !w->close())
            return false;
        if (w)
            windows().unload(w.data());
    }
    return true;
}

bool seasonChanging() {
    return g_seasonChanging;
}

namespace {

// The open windows that follow the changes, in the order they were loaded.
QList<QPointer<QWidget>> stateWindows() {
    QList<QWidget*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && dynamic_cast<StateWindow*>(w))
            found.append(w);
    const auto order = [](const QWidget* w) {
        const QVariant v = w->property(LoadOrderProperty);
        return v.isValid() ? v.toLongLong() : std::numeric_limits<qlonglong>::max();
    };
    std::stable_sort(found.begin(), found.end(),
                     [&](const QWidget* a, const QWidget* b) { return order(a) < order(b); });
    return {found.begin(), found.end()};
}

} // namespace

namespace {

QPointer<QWidget>& askedWindow() {
    static QPointer<QWidget> asked;
    return asked;
}

} // namespace

QWidget* windowBeingAsked() { return askedWindow().data(); }

bool askBeforeChange(StateChange change) {
    for (const QPointer<QWidget>& w : stateWindows()) {
        // An earlier answer may have closed this window.
        if (!w || !w->isVisible())
            continue;
        auto* s = dynamic_cast<StateWindow*>(w.data());
        if (!s->hasPendingWork(change))
            continue;
        // The change often starts from the main window, in front of the one with the work.
        w->raise();
        w->activateWindow();
        const QScopedValueRollback<QPointer<QWidget>> asking(askedWindow(), w);
        if (!s->settlePendingWork())
            return false;
    }
    return true;
}

void tellAfterChange(StateChange change) {
    for (const QPointer<QWidget>& w : stateWindows())
        if (w && w->isVisible())
            dynamic_cast<StateWindow*>(w.data())->stateChanged(change);
}

void setMainStatus(const QString& text) {
    if (mainStatusWriter())
        mainStatusWriter()(text);
}

void setMainStatusWriter(std::function<void(const QString&)> writer) {
    mainStatusWriter() = std::move(writer);
}

QString mainStatus() {
    return mainStatusReader() ? mainStatusReader()() : QString();
}

void setMainStatusReader(std::function<QString()> reader) {
    mainStatusReader() = std::move(reader);
}

} // namespace vt
