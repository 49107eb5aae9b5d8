#pragma once
// A window's control found by its name, as the user's path through the windows needs it;
// a control that is missing ends the test at once with its name.
#include <QWidget>

namespace vt::testing {

template <class T> T* child(QWidget& w, const char* name) {
    T* c = w.findChild<T*>(QString::fromLatin1(name));
    if (!c)
        qFatal("%s has no control %s", qPrintable(w.objectName()), name);
    return c;
}

} // namespace vt::testing
