#pragma once
// The race calendar: the lines the calendar editor and the race chooser show for the
// records of a calendar file, the month and day lists of the editor, the storing of one
// race, and the printed calendar.
#include "common/records.h"
#include "platform/print_surface.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace vt {

// A calendar holds races 1 to 99; a calendar of 99 races offers no free line.
inline constexpr int MaxCalendarRaces = 99;

// The category index of a record, an index outside 0 to 3 reading as 0.
int calendarCategory(const CalendarRaceRecord& record);
// The stored "dd/mm/yy" date as a real date (invalid when it is none).
QDate calendarDate(const CalendarRaceRecord& record);
// The races of a calendar file (record n = race n). A race whose stored date is no date
// (99/99/99, 31/02/26) is noted as damage and read undated; a cut last record is noted
// and left out.
QList<CalendarRaceRecord> readCalendar(const QString& calendarPath);
// The three digits of a race number (race 7 gives "007").
QString raceNumberText(int race);

// The editor's line of a race: number, site in 15, long date in 18, category. A free
// position (blank site) gives its three digits followed by spaces only.
QString CalendarRaceLine(int race, const CalendarRaceRecord& record);
// The free line under the last race: the next number, with or without one space.
QString CalendarFreeLine(int race, bool trailingSpace);
// A line that trims to three characters or fewer is a free position.
bool isFreeCalendarLine(const QString& line);
// The race number in the first three characters of an editor line (0 when none).
int calendarLineRace(const QString& line);
// Every line of the editor's race list for these records (record i + 1 = race i + 1),
// then the free line when the calendar has room for one more race.
QStringList editorLines(const QList<CalendarRaceRecord>& records);

// The race chooser's hidden key ("m/dd nnnn") and visible line of a race.
QString RaceSortKey(int race, const CalendarRaceRecord& record);
QString OfferedRaceLine(int race, const CalendarRaceRecord& record);
// Both lists of the race chooser, line k of each describing the same race: the races
// with a site, sorted by key as text (so October comes before May); races whose date is
// not a real date come last, in race order, with blank date columns.
struct RaceChoiceLists {
    QStringList keys;
    QStringList offered;
};
RaceChoiceLists raceChoiceLists(const QList<CalendarRaceRecord>& records);
// The race number in the last four characters of a key (0 when none).
int raceFromSortKey(const QString& key);

// The twelve month names in capitals, January first.
QStringList calendarMonthNames();
// The day lines " 01" ... of a month of the given year (31 lines when month is 0).
QStringList calendarDayLines(int month, int year);

// What the editor gives to store one race.
struct CalendarEntry {
    int position = 0;    // race number = record number, 1 to 99
    int siteRecord = 0;  // record number in distloc, 0 when no site is selected
    QString siteText;    // the site's line as the editor lists it
    int day = 0;         // 0 when no day is selected
    int month = 0;       // 0 when no month is selected
    int year = 0;        // four digits
    int category = 0;    // 0 to 3
};

// Stores the race at its position in the calendar file (records missing before it are
// written empty, the reserved byte of the record is kept) and returns the stored record.
// Throws Error with a French message when the entry is incomplete or distloc changed;
// nothing is then written.
CalendarRaceRecord storeCalendarRace(const QString& calendarPath, const QString& localSitesPath,
                                     const CalendarEntry& entry);

// The calendar keeps 15 characters of a site's name: for a complete entry whose site has
// a longer name, the question that says what will be kept; otherwise an empty text.
QString calendarSiteCutQuestion(const CalendarEntry& entry);

// Prints the calendar: the caption, an empty line, then the race lines two by line in
// print zones (free positions skipped). Nothing is printed for an empty list. Returns
// what the surface says about where the document went.
PrintOutcome printCalendar(PrintSurface& surface, const QString& caption, const QStringList& lines);

} // namespace vt

namespace vt {
// After "MEMORISER": the line at `index` becomes the stored race's line, and when it
// was the last line and the list has room, the next free line (no trailing space) is
// appended. Returns the index of the line to pick next (the following line), or -1.
int applyStoredLine(QStringList& lines, int index, const QString& storedLine);
} // namespace vt

namespace vt {
// A line of the race chooser's chosen list (78 characters): the level caption in 50, the
// 15 stored site characters, the 8 stored date characters, a space, the race extension.
QString ChosenRaceLine(int levelIndex, const CalendarRaceRecord& record, int raceCode);
} // namespace vt

namespace vt {
// The index of the release site an editor line names: the first site whose name, cut to
// the 15 characters a calendar record keeps and trimmed, equals the line's site (-1).
int matchSiteLine(const QStringList& siteNames, const QString& lineSite);
} // namespace vt
