#pragma once
// What the two release-site windows share: the close box that does what "Quitter" does,
// and the main menu's reopening that asks before unsaved changes are dropped.
#include "fanciers/site_list.h"
#include "platform/dialogs.h"
#include "platform/window_registry.h"

#include <QCloseEvent>
#include <QMetaObject>

namespace vt {

// W has: bool hasUnsavedChanges() const, bool save() (false when it failed and the
// window stays open), and void setClosing() (the next close needs no save).
//
// When W is open with unsaved changes, asks `question` (Yes/No/Cancel, default Yes): Yes
// saves, No drops the changes. False when the user cancels or the save failed: the window
// stays open as it was. Otherwise the window needs no save any more when it closes.
template <class W> bool settleSiteChanges(const QString& question) {
    if (!windows().isLoaded<W>())
        return true;
    W& open = windows().window<W>();
    if (open.hasUnsavedChanges() &&
        !dialogs().askToSave(question, siteMessageTitle(), [&open] { return open.save(); }))
        return false;
    open.setClosing();
    return true;
}

// The main menu's item: settles the open window's changes, then opens a freshly loaded one.
template <class W> void reopenSiteWindow(const QString& question) {
    if (!settleSiteChanges<W>(question))
        return;
    windows().unload<W>();
    windows().show<W>();
}

// The close box: saves as "Quitter" does unless the window is already closing; a failed
// save keeps the window open. An accepted close unloads the window.
template <class W> void closeSiteWindow(W* window, QCloseEvent* event, bool closing) {
    if (!closing && !window->save()) {
        event->ignore();
        return;
    }
    event->accept();
    QMetaObject::invokeMethod(
        window, [window] { windows().unload(window); }, Qt::QueuedConnection);
}

} // namespace vt
