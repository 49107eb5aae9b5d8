#include "calendar.h"

#include "common/damage.h"
#include "common/dates.h"
#include "common/errors.h"
#include "common/numbers.h"
#include "common/record_file.h"
#include "common/session.h"
#include "common/sorting.h"
#include "common/text.h"

#include <algorithm>

namespace vt {

int calendarCategory(const CalendarRaceRecord& record) {
    const int c = record.categoryIndex();
    return (c >= 0 && c <= 3) ? c : 0;
}

QDate calendarDate(const CalendarRaceRecord& record) { return parseShortDate(record.raceDate()); }

QList<CalendarRaceRecord> readCalendar(const QString& calendarPath) {
    const RecordFileOf<CalendarRaceRecord> file(calendarPath);
    checkWholeRecords(file);
    const QList<CalendarRaceRecord> records = file.readAll();
    for (int i = 0; i < records.size() && i < MaxCalendarRaces; ++i) {
        const CalendarRaceRecord& r = records[i];
        if (isBlank(r.siteName()) || isBlank(r.raceDate()) || calendarDate(r).isValid())
            continue;
        noteDamage(file.path(), i + 1,
                   QStringLiteral("date du concours %1 « %2 » : « %3 », qui n'est pas une date")
                       .arg(raceNumberText(i + 1), trim(r.siteName()), r.raceDate()));
    }
    return records;
}

QString raceNumberText(int race) { return Right(QString::number(race + 1000), 3); }

QString CalendarRaceLine(int race, const CalendarRaceRecord& record) {
    const QString site = trim(record.siteName());
    if (site.isEmpty())
        return raceNumberText(race) + Space(35);
    const QDate date = calendarDate(record);
    const QString longDate =
        date.isValid() ? frenchDate(date, QStringLiteral("dd mmmm yyyy")) : QString();
    return raceNumberText(race) + u' ' + padRight(site, 15) + u' ' + padRight(longDate, 18) +
           CategoryNames[calendarCategory(record)];
}

QString CalendarFreeLine(int race, bool trailingSpace) {
    return raceNumberText(race) + (trailingSpace ? QStringLiteral(" ") : QString());
}

bool isFreeCalendarLine(const QString& line) { return trim(line).size() <= 3; }

int calendarLineRace(const QString& line) { return static_cast<int>(val(Left(line, 3))); }

QStringList editorLines(const QList<CalendarRaceRecord>& records) {
    QStringList lines;
    const int n = std::min<int>(records.size(), MaxCalendarRaces);
    for (int i = 0; i < n; ++i)
        lines.append(CalendarRaceLine(i + 1, records[i]));
    if (n < MaxCalendarRaces)
        lines.append(CalendarFreeLine(n + 1, true));
    return lines;
}

QString RaceSortKey(int race, const CalendarRaceRecord& record) {
    const QDate date = calendarDate(record);
    const QString day = date.isValid() ? frenchDate(date, QStringLiteral("m/dd")) : QString();
    return day + u' ' + Right(QString::number(10000 + race), 4);
}

QString OfferedRaceLine(int race, const CalendarRaceRecord& record) {
    const QDate date = calendarDate(record);
    const QString shortDate =
        date.isValid() ? frenchDate(date, QStringLiteral("dd/mm/yy")) : QString();
    return Right(QString::number(100 + race), 2) + u' ' + padRight(shortDate, 10) +
           record.siteName() + QStringLiteral("  ") + CategoryNames[calendarCategory(record)];
}

RaceChoiceLists raceChoiceLists(const QList<CalendarRaceRecord>& records) {
    QStringList keys;
    QList<int> undated;
    const int n = std::min<int>(records.size(), MaxCalendarRaces);
    for (int i = 0; i < n; ++i) {
        if (isBlank(records[i].siteName()))
            continue;
        if (calendarDate(records[i]).isValid())
            insertSorted(keys, RaceSortKey(i + 1, records[i]));
        else
            undated.append(i + 1);
    }
    for (int race : undated)
        keys.append(RaceSortKey(race, records[race - 1]));
    RaceChoiceLists out;
    out.keys = keys;
    for (const QString& key : keys) {
        const int race = raceFromSortKey(key);
        out.offered.append(OfferedRaceLine(race, records[race - 1]));
    }
    return out;
}

int raceFromSortKey(const QString& key) { return static_cast<int>(val(Right(key, 4))); }

QStringList calendarMonthNames() {
    QStringList names;
    for (int m = 1; m <= 12; ++m)
        names.append(upperCase(frenchMonthName(m)));
    return names;
}

QStringList calendarDayLines(int month, int year) {
    int days = 31;
    if (month >= 1 && month <= 12)
        days = QDate(year, month, 1).daysInMonth();
    QStringList lines;
    for (int d = 1; d <= days; ++d)
        lines.append(u' ' + Right(QString::number(100 + d), 2));
    return lines;
}

CalendarRaceRecord storeCalendarRace(const QString& calendarPath, const QString& localSitesPath,
                                     const CalendarEntry& entry) {
    if (entry.position < 1 || entry.position > MaxCalendarRaces)
        throw Error(QStringLiteral("Choisissez une ligne du calendrier avant de mémoriser."));
    const QDate date = (entry.month >= 1 && entry.month <= 12 && entry.day >= 1)
                           ? QDate(entry.year, entry.month, entry.day)
                           : QDate();
    if (entry.siteRecord < 1 || !date.isValid() || entry.category < 0 || entry.category > 3)
        throw Error(QStringLiteral(
            "Choisissez le lieu de lâcher, le mois et le jour avant de mémoriser."));
    const RecordFileOf<ReleaseSiteRecord> sites(localSitesPath);
    if (entry.siteRecord > sites.count() ||
        trim(sites.read(entry.siteRecord).siteName()) != trim(entry.siteText))
        throw Error(QStringLiteral(
            "La liste des lieux de lâcher a changé : fermez et rouvrez le calendrier."));
    const ReleaseSiteRecord site = sites.read(entry.siteRecord);

    RecordFileOf<CalendarRaceRecord> calendar(calendarPath);
    CalendarRaceRecord record = calendar.read(entry.position);
    record.setSiteName(Left(site.siteName(), 15));
    record.setRaceDate(frenchDate(date, QStringLiteral("dd/mm/yy")));
    record.setLatitudeDms(site.latitudeDms());
    record.setLongitudeEastDms(site.longitudeEastDms());
    record.setLongitudeWestDms(site.longitudeWestDms());
    record.setCategoryIndex(static_cast<int16_t>(entry.category));
    record.setCategoryLetter(CategoryLetters[entry.category]);
    calendar.write(entry.position, record);
    return record;
}

QString calendarSiteCutQuestion(const CalendarEntry& entry) {
    const QString name = trim(entry.siteText);
    if (entry.siteRecord < 1 || entry.day < 1 || entry.month < 1 || name.size() <= 15)
        return QString();
    return QStringLiteral("Le calendrier garde 15 caractères du nom du lieu de lâcher :\n"
                          "« %1 » y sera « %2 ».\nMémoriser le concours ?")
        .arg(name, trim(Left(name, 15)));
}

PrintOutcome printCalendar(PrintSurface& surface, const QString& caption,
                           const QStringList& lines) {
    if (lines.isEmpty())
        return {};
    surface.beginDocument(QStringLiteral("Calendrier"));
    // Two race lines side by side need about 237 mm at 11 points: landscape holds them.
    surface.setOrientation(Orientation::Landscape);
    surface.setFontName(QStringLiteral("COURIER New"));
    surface.setFontSize(11);
    surface.setBold(true);
    surface.printLine(caption);
    surface.printLine();
    int count = 0;
    for (const QString& line : lines) {
        if (isFreeCalendarLine(line))
            continue;
        ++count;
        surface.print(line);
        surface.nextZone();
        if (count % 2 == 0)
            surface.endLine();
    }
    return surface.endDocument();
}

} // namespace vt

namespace vt {
int applyStoredLine(QStringList& lines, int index, const QString& storedLine) {
    if (index < 0 || index >= lines.size())
        return -1;
    lines[index] = storedLine;
    if (index == lines.size() - 1 && lines.size() < MaxCalendarRaces)
        lines.append(CalendarFreeLine(static_cast<int>(lines.size()) + 1, false));
    return index + 1 < lines.size() ? index + 1 : -1;
}
} // namespace vt

namespace vt {
QString ChosenRaceLine(int levelIndex, const CalendarRaceRecord& record, int raceCode) {
    return padRight(LevelNames[levelIndex & 3], 50) + record.siteName() + record.raceDate() +
           u' ' + raceExtension(raceCode);
}
} // namespace vt

namespace vt {
int matchSiteLine(const QStringList& siteNames, const QString& lineSite) {
    const QString wanted = trim(lineSite);
    if (wanted.isEmpty())
        return -1;
    for (int i = 0; i < siteNames.size(); ++i)
        if (trim(Left(siteNames[i], 15)) == wanted)
            return i;
    return -1;
}
} // namespace vt
