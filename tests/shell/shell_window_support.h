#pragma once
// What the shell's window tests share: the clicks a secretary makes on the calendar
// chooser and on the lines of a list.
#include "shell/calend_window.h"

#include "platform/window_registry.h"

#include <QListWidget>
#include <QRadioButton>
#include <QTest>

namespace vt::testing {

// The club's calendar option of the calendar chooser.
inline QRadioButton* calendarOption() {
    return windows().window<calend>().findChild<QRadioButton*>(QStringLiteral("Option1_1"));
}

// A mouse click on the calendar option of the shown calendar chooser.
inline void clickCalendar() {
    QVERIFY(windows().isLoaded<calend>());
    QVERIFY(windows().window<calend>().isVisible());
    QRadioButton* option = calendarOption();
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(8, option->height() / 2));
}

inline void clickLine(QListWidget* list, int row) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
}

// The first click of the pair, then the second: Qt's test double-click sends only the
// second.
inline void doubleClickLine(QListWidget* list, int row) {
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

} // namespace vt::testing
