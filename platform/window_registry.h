#pragma once
// Windows are single program-wide instances: the first use of a window creates it
// hidden (its constructor is its load), showing it is modeless, unloading deletes it,
// and "unload, then show" builds it again from the Session.
#include <QHash>
#include <QPointer>
#include <QWidget>

#include <typeindex>

namespace vt {

// Sets every control's accessible description to its objectName (the window's own too),
// so tests and tools find controls by the names the program gives them.
void describeControls(QWidget* window);

// Makes Enter on a focused push button of the window press it, as the space bar does.
// Qt does so only inside dialogs or for auto-default buttons; the secretary who tabs to
// a button and presses Enter would otherwise see nothing happen.
void pressButtonsOnEnter(QWidget* window);

class WindowRegistry {
public:
    template <class W> W& window() {
        const std::type_index type(typeid(W));
        if (QWidget* loaded = m_windows.value(type))
            return *static_cast<W*>(loaded);
        // The constructor may load other windows: the slot is filled only afterwards.
        W* w = new W();
        m_windows.insert(type, w);
        describeControls(w);
        pressButtonsOnEnter(w);
        track(type, w);
        return *w;
    }
    template <class W> bool isLoaded() const {
        auto it = m_windows.find(std::type_index(typeid(W)));
        return it != m_windows.end() && it.value();
    }
    template <class W> W& show() {
        W& w = window<W>();
        w.show();
        w.raise();
        w.activateWindow();
        return w;
    }
    template <class W> void unload() { unload(std::type_index(typeid(W))); }
    // Unloads the window whatever its type (a window that quits unloads itself). The
    // window is hidden and forgotten at once and deleted when control returns to the
    // event loop, so a window may unload itself from one of its own handlers.
    void unload(QWidget* w);
    void unloadAll();

private:
    void unload(std::type_index t);
    void track(std::type_index t, QWidget* w);
    QHash<std::type_index, QWidget*> m_windows;
};

WindowRegistry& windows();

} // namespace vt
