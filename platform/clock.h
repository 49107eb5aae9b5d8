#pragma once
// Today's date and time from one source, so tests can fix the date.
#include <QDateTime>

#include <functional>

namespace vt {

QDateTime now();
QDate today();
// Tests fix the clock; an empty function goes back to the system clock.
void setClockForTests(std::function<QDateTime()> source);

} // namespace vt
