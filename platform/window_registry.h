#pragma once
// Windows are single program-wide instances: the first use of a window creates it
// hidden (its constructor is its load), showing it is modeless, unloading deletes it,
// and "unload, then show" builds it again from the Session.
#include <QHash>
#include <QPointer>
#include <QWidget>

#include "platform/window_placement.h"

#include <functional>
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
        keepOnScreen(w);
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

// Marks a window as tied to the open season: a year change closes it first (as its close
// box does), and a window that refuses to close keeps the season as it is. Any window may
// mark itself, so the windows that work on the season need not know the main window.
void markSeasonWindow(QWidget* window);
// Closes the windows tied to the open season and unloads them; false when one of them
// refuses to close (the ones after it stay open).
bool closeSeasonWindows();
// True while closeSeasonWindows runs: a window that would store the old season's choices
// on closing closes without storing them.
bool seasonChanging();

// The named changes of what the windows show and save: the season (year change), the
// chosen races or a chosen race's sheet and prices (race choice and set-up, withdrawal,
// export), and the program's end.
enum class StateChange { Season, Races, ProgramEnd };

// A window that holds typed work not yet stored, or shows the season's chosen races,
// derives from this once; the changes above reach every such window through
// askBeforeChange and tellAfterChange, never window by window.
class StateWindow {
public:
    virtual ~StateWindow() = default;
    // True while the window holds typed work that `change` would lose.
    virtual bool hasPendingWork(StateChange change) const {
        (void)change;
        return false;
    }
    // Asks the user whether to store that work (save, don't save, cancel) and does what
    // he answers; false when he cancels or the save fails.
    virtual bool settlePendingWork() { return true; }
    // After the change: the window reloads what is stored, or closes.
    virtual void stateChanged(StateChange change) { (void)change; }
};

// Before a change: every open window whose typed work the change would lose is asked in
// turn, brought to the front first so that the user sees the work he is asked about;
// false as soon as one is cancelled (the change, or the end, must not happen).
bool askBeforeChange(StateChange change);
// The window askBeforeChange is asking about, while it asks; null otherwise. Its question
// opens over it, not over the window the change was started from.
QWidget* windowBeingAsked();
// After a change: every open window that shows the state reloads it or closes.
void tellAfterChange(StateChange change);

// Writes a progress text into the main window's status label, through the writer the main
// window gives when it loads (nothing happens before). Other windows use it during a long
// load or a print.
void setMainStatus(const QString& text);
void setMainStatusWriter(std::function<void(const QString&)> writer);
// The text the main window's status label shows now, through the reader the main window
// gives when it loads (empty before), so a window that writes a wait message can put the
// label's text back afterwards.
QString mainStatus();
void setMainStatusReader(std::function<QString()> reader);

} // namespace vt
