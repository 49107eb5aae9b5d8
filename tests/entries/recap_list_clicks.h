#pragma once
// Opens a fancier's entry sheet as the user does: a double-click on his line of the recap
// window's list.
#include "entries/jeuamat_window.h"
#include "entries/recapam_window.h"
#include "platform/window_registry.h"
#include "tests/support/pending_events.h"

#include <QListWidget>
#include <QtTest>

namespace vt::testing {

// A mouse click on a line of a list, or a double-click (the first click, then the second:
// Qt's test double-click sends only the second).
inline void clickRow(QListWidget* list, int row, bool twice = false) {
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    if (twice)
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

// The entry sheet of record `recordNo`, opened by a double-click on his line; fails the
// test (and returns the sheet loaded anyway) when no sheet opens.
inline jeuamat& doubleClickFancier(recapam& recap, int recordNo) {
    QListWidget* list = recap.list();
    for (int i = 0; i < list->count(); ++i) {
        if (recap.recordNoAt(i) == recordNo) {
            const QRect rect = list->visualItemRect(list->item(i));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        }
    }
    [&] { QVERIFY(windows().isLoaded<jeuamat>()); }();
    return windows().window<jeuamat>();
}

} // namespace vt::testing
