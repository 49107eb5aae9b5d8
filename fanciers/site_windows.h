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
template <class W> void reopenSiteWindow(const QString& question) {
    if (windows().isLoaded<W>()) {
        W& open = windows().window<W>();
        if (open.hasUnsavedChanges() &&
            dialogs().askYesNo(question, siteMessageTitle(), MsgAnswer::Yes) && !open.save())
            return;
        open.setClosing();
        windows().unload<W>();
    }
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
