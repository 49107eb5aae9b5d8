#pragma once
// Withdrawing a race from the calendar: its record is emptied at once, and on the user's
// Yes every non-empty file of the calendar's folder that belongs to the race at one of
// its four levels is deleted and the fanciers of that folder owe nothing for it any more.
#include "platform/dialogs.h"

#include <QString>
#include <QStringList>

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
WithdrawalResult withdrawRace(Dialogs& dialogs, const QString& calendarPath,
                              const QString& folder, int position, const QString& lineText);

} // namespace vt
