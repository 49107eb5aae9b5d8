#pragma once
// Runs what the windows left for the event loop: queued calls (a window unloading itself,
// a list reloading) and deferred deletions, then any other pending event.
#include <QCoreApplication>
#include <QEvent>

namespace vt::testing {

inline void processPending() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

} // namespace vt::testing
