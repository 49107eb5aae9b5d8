#pragma once
// French dates, written and read with the program's own tables whatever the system locale.
#include <QDate>
#include <QDateTime>
#include <QString>

namespace vt {

// 81 to 99 mean 19xx, 00 to 80 mean 20xx.
int yearFromTwoDigits(int twoDigits);

QString frenchDayName(const QDate& date);  // lundi ... dimanche
QString frenchMonthName(int month);        // janvier ... décembre (1 to 12)

// Patterns: dddd (day name), dd / d (day), mmmm (month name), mm / m (month),
// yyyy / yy (year); every other character is copied.
QString frenchDate(const QDate& date, const QString& pattern);

// The status-bar clock: "dddd dd mmmm yyyy" & " il est " & hh:mm:ss.
QString clockText(const QDateTime& now);

// "dd/mm/yy"; an invalid QDate when the text is not such a date.
QDate parseShortDate(const QString& text);
// "dd mmmm yyyy" with a French month name in any case; invalid QDate otherwise.
QDate parseLongDate(const QString& text);

// A year typed in a year box (1 to 4 digits; the last two count); 0 when refused.
int yearFromTypedText(const QString& text);

} // namespace vt
