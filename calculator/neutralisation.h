#pragma once
// The night neutralisation shown by Tarvio's main window: the closing, opening and dead
// time at the Paris reference point, and the loft's own closing and opening, whose night
// lasts exactly as long as the Paris one.
#include "sun_times.h"

#include <QDate>
#include <QString>

#include <optional>

namespace vt::tarvio {

// The fixed reference point of the dead time.
inline constexpr Dms ParisLatitude{48, 49, 59.75};
inline constexpr Dms ParisLongitude{2, 20, 11.22};

// Shown in place of a time when the sun does not set or rise at the place that day.
QString unavailableText();

// The chosen date: today moved by the day, then the month, then the year offset; a month
// or year step keeps the day of the month, clamped to the month's last day.
QDate chosenDate(const QDate& today, int dayOffset, int monthOffset, int yearOffset);

struct ParisTimes {
    SunTimes sun;
    // Paris closing minus Paris opening, in seconds; empty when either is unavailable.
    std::optional<int> closingLessOpening;
    QString closingLabel;  // "FERMETURE le dd/mm/yy à PARIS " & time
    QString openingLabel;  // "OUVERTURE le dd/mm/yy à PARIS  " & time
    QString deadTimeLabel; // "Temps mort avec pénombre : 06h51'37''"
};
ParisTimes computeParisTimes(const QDate& day);

// "Temps mort avec pénombre : " & hh "h" mm "'" ss "''" for a dead time in seconds.
QString deadTimeText(int deadSeconds);

struct LoftTimes {
    std::optional<SunTime> closing;
    std::optional<int> openingSeconds; // seconds on the next day
    QString closingLabel;              // "Heure de FERMETURE personnalisée : " & time
    QString openingLabel;              // "  Heure d'OUVERTURE personnalisée :   " & time
};
// The loft's closing from its own sunset; its opening follows the closing by the Paris
// dead time (it is not the loft's own sunrise).
LoftTimes computeLoftTimes(const QDate& day, const Dms& latitude, const Dms& longitude,
                           std::optional<int> parisClosingLessOpening);

// The sun-time arguments of a packed coordinate DDMMSS.ff: the hundredths are rounded
// into the seconds (halves to even), so 484959.75 gives 48, 49, 60.
Dms packedArguments(double packed);

} // namespace vt::tarvio
