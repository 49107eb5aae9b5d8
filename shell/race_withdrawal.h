#pragma once
// Withdrawing a race from the calendar: the user is asked first. On Yes its record is
// emptied, every non-empty file of the calendar's folder that belongs to the race at one of
// its four levels is deleted and the fanciers of that folder owe nothing for it any more;
// on No only the record is emptied; on Cancel (or Esc) nothing changes.
#include "common/session.h"
#include "platform/dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace vt {

struct WithdrawalResult {
    bool done = false;       // a race position was given and its record emptied
    bool confirmed = false;  // the user answered Yes
    QString freeLine;        // the editor's line for the position now free ("005 ")
    QStringList deleted;     // names of the files deleted
    QStringList failures;    // what could not be done (files named)
};

// position: the race number (1 to 99); lineText: the editor's line of the race.
// The race files and the fanciers file (noms.vba) are those of `folder`, the calendar's.
// `beforeEmptying`, when given, runs after a Yes and before anything is written: false
// leaves every file as it was (done stays false).
WithdrawalResult withdrawRace(Dialogs& dialogs, const QString& calendarPath,
                              const QString& folder, int position, const QString& lineText,
                              const std::function<bool()>& beforeEmptying = {});

// The season's chosen races whose files a Yes withdrawal of race `position` of a calendar
// in `folder` deletes: the position at any level, when `folder` is the season's.
QList<int> chosenRacesAt(const Session& s, const QString& folder, int position);
// Takes `codes` out of the chosen races; the races after them move up a slot, each with
// its stake file.
void leaveChosenRaces(Session& s, const QList<int>& codes);

} // namespace vt
