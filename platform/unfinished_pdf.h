#pragma once
// The file a PDF run is written to before it is whole: a hidden file of this process alone
// in the target folder, locked while it is open, that takes the run's final name only when
// the run is done, and never the name of a file already there. An unfinished file that nobody
// holds (its program was killed mid-run) is removed by the next run in that folder.
#include <QFile>
#include <QString>

#include <memory>

namespace vt {

// Opens a new unfinished file for a run whose file is to be "<base>.pdf" in `folder` (which
// must exist); nullptr when it cannot be created.
std::unique_ptr<QFile> openUnfinishedPdf(const QString& folder, const QString& base);

// Closes the unfinished file and gives it the first free name of "<base>.pdf", "<base> (2).pdf",
// "<base> (3).pdf"… in `folder`, replacing no file even when another program takes one of
// those names at the same moment. Returns the path taken, empty when none could be taken
// (the unfinished file is then left to its owner to remove).
QString keepUnfinishedPdf(QFile& file, const QString& folder, const QString& base);

// Removes the unfinished files in `folder` that no live program is writing: not locked, and
// not written for a few seconds (the moments between a file's creation and its lock, and
// between its close and its rename, hold no lock).
void removeAbandonedPdfs(const QString& folder);

} // namespace vt
