#pragma once
// The export of one race's entries to a semicolon text file (Windows-1252, CR LF): a
// header, one line per fancier who entered pigeons, a totals line.
#include "platform/dialogs.h"

#include <QDate>
#include <QString>

namespace vt {

enum class ExportOutcome {
    Written,     // the file is written
    NotPrepared, // the race has no set-up files at this level: nothing created
    Failed,      // reported to the user; no file left behind
    Declined     // the folder was not ready and the user gave up (the chooser closes)
};

struct ExportResult {
    ExportOutcome outcome = ExportOutcome::Failed;
    QString path;
};

// The file name of a race: site, level word, "_dd_mm ", ".", category.
QString exportFileName(const QString& site, int raceCode, const QDate& date, int category);

// Exports race `raceCode` from the per-race files of `yearFolder` and the season's
// fanciers file into `folder`.
ExportResult exportRace(Dialogs& dialogs, int raceCode, const QString& yearFolder,
                        const QString& fancierFile, const QString& folder);

} // namespace vt
