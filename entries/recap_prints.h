#pragma once
// The printed recaps of a basketing: the club's recapitulation sheet of every chosen race
// (from the stored recaps), the totals per race and the stake detail per fancier (of the
// fanciers listed with a total in the recap window). Each print reads the race files of
// the season's folder without creating any, and draws on a print surface.
#include "common/records.h"
#include "common/session.h"
#include "platform/print_progress.h"
#include "platform/print_surface.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace vt {

class Dialogs;

// The record numbers of the recap window's lines that carry a total (text from
// character 48 not blank), in list order; the record number is in characters 24 to 28.
QList<int> listedFanciers(const QStringList& recapLines);

// The status text of a print job: shown with a text, taken down with an empty one.
using PrintStatus = std::function<void(const QString&)>;

// "Editer les récapitulatifs" / "Imprimer la Récap": one page per chosen race. The
// telephone costs are asked first, for every telephone line, and the printing starts
// after the last answer. The status shows "Patientez impression en cours" while it runs.
// `progress` hears of each race's sheet before it is printed; a stop prints no further
// sheet. Returns where the document went, or that it could not be printed and why.
PrintOutcome printClubRecaps(Dialogs& dialogs, PrintSurface& surface, const Session& s,
                             const PrintStatus& status = {},
                             PrintProgress& progress = noPrintProgress());

// "Imprimer les totaux par concours": one landscape table of what each listed fancier
// owes per chosen race, with row totals and a bold totals row. `progress` hears of each
// fancier before his row is printed; after a stop the table holds the rows printed so far
// and their totals.
PrintOutcome printRaceTotals(Dialogs& dialogs, PrintSurface& surface, const Session& s,
                             const QList<int>& fanciers,
                             PrintProgress& progress = noPrintProgress());

// "Imprimer le détail par amateur et concours": a page per chosen race with the stakes of
// each listed fancier who entered pigeons, his bets total and his sub-total. `progress`
// hears of each race before it is read and drawn, and of how far it is within it; after a
// stop the document holds the races printed whole.
PrintOutcome printFancierDetail(Dialogs& dialogs, PrintSurface& surface, const Session& s,
                                const QList<int>& fanciers,
                                PrintProgress& progress = noPrintProgress());

} // namespace vt
