#pragma once
// The distance sheets: for one fancier, his identity, his loft coordinates and his
// distance to every release site of distgen, as a landscape booklet page ("Carnet") or
// as a ruled list sheet; one print document per fancier, the sheets of a run together.
#include "common/records.h"
#include "platform/print_progress.h"
#include "platform/print_surface.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace vt {

struct MessageRequest;

// A packed coordinate rounded to hundredths of a second, as printed: "48°05'06,25",
// "02°05'06" (six digits, leading zeros added), and the rounded value itself.
struct PrintedCoordinate {
    QString text;
    double value = 0;
};
PrintedCoordinate printedCoordinate(double packed);

// The loft of a fancier: "Coordonnées GPS : <lat> - <lon> EST|OUEST" and the loft in
// decimal degrees (east positive).
struct LoftCoordinates {
    QString text;
    double latitude = 0, longitude = 0;
};
LoftCoordinates loftCoordinates(const FancierRecord& fancier);

// The sites of each row, as indices from 0: four columns filled column after column.
QList<QList<int>> siteRows(int siteCount);

// The distance in whole metres right-aligned in 8 (the last 8 characters when longer);
// blank when it cannot be computed.
QString distanceText(std::optional<std::int32_t> metres);
// A booklet cell: " " + 21 characters of the name + " |" + distance + " |" (34).
QString bookletCell(const ReleaseSiteRecord& site, std::optional<std::int32_t> metres);

enum class SheetLayout { Booklet, List };

// "Désirez-vous imprimer en forme de Carnet" (Yes/No, Yes the default): Yes = booklet.
MessageRequest sheetLayoutQuestion();

// One fancier's sheet, given the sites in file order. Nothing is printed for a fancier
// without a latitude (the answer is then empty). Returns where the document went.
PrintOutcome printDistanceBooklet(const FancierRecord& fancier,
                                  const QList<ReleaseSiteRecord>& sites, PrintSurface& surface);
PrintOutcome printDistanceList(const FancierRecord& fancier, const QList<ReleaseSiteRecord>& sites,
                               PrintSurface& surface);

// A run of sheets over record numbers of the season file, with its counts.
struct DistanceSheetRun {
    int total = 0;            // record numbers given
    int printed = 0;
    int skipped = 0;          // no coordinates, or no record number
    int failed = 0;
    bool stopped = false;     // the user stopped the run before its end
    QStringList failedNames;  // the fanciers whose sheet failed
    PrintOutcome where;       // where the run went, with its pages (no message: nothing printed)
};
// Every sheet in one print run ("Feuilles de distance": one PDF without a printer). The
// progress hears of each sheet before it prints and may stop the run there.
DistanceSheetRun printDistanceSheets(const QList<int>& recordNos, SheetLayout layout,
                                     PrintSurface& surface,
                                     PrintProgress& progress = noPrintProgress());

// The closing message of a run, with its counts.
MessageRequest distanceSheetsMessage(const DistanceSheetRun& run);

} // namespace vt
