#include "season.h"

#include "common/record_file.h"
#include "common/records.h"
#include "platform/clock.h"

#include <QDir>

#include <cstring>

namespace vt {

QString seasonTitle(const Session& s) {
    return QStringLiteral("MISES EN LOGE de ") + s.ClubCaption + QStringLiteral(" ANNEE ") +
           QString::number(s.SeasonYear);
}

void setFilePaths(Session& s) {
    s.ClubFilePath = resolveFile(s.DataFolder, QStringLiteral("societe.nom"));
    s.MasterFancierPath = resolveFile(s.DataFolder, QStringLiteral("noms.vba"));
    s.LocalSitesPath = resolveFile(s.DataFolder, QStringLiteral("distloc"));
    s.SheetNamesPath = resolveFile(s.DataFolder, QStringLiteral("fichenl.jeu"));
    s.GeneralSitesPath = resolveFile(s.StartDir, QStringLiteral("distgen"));
}

namespace {

// The season's fanciers file of a new season: the master's records with the race
// amounts of the year cleared, written whole through a temporary file so that a failed
// copy never leaves a half-made file that a later start would take as complete. The
// master is copied as one block, the amounts of race codes 1 to 649 zeroed in place in
// each record (element 0 is kept).
void makeSeasonFancierFile(const QString& seasonPath, const QString& masterPath) {
    RecordFileOf<FancierRecord> season(seasonPath);
    if (season.count() > 0)
        return;
    QByteArray records = RecordFileOf<FancierRecord>(masterPath).readAllBytes();
    constexpr qsizetype firstAmount = FancierRecord::RaceAmountsOffset + 4;
    constexpr qsizetype amountsWidth = 4 * FancierRecord::MaxRaceCode;
    char* bytes = records.data();
    for (qsizetype at = 0; at < records.size(); at += FancierRecord::Size)
        std::memset(bytes + at + firstAmount, 0, amountsWidth);
    season.rewriteAllBytes(records);
}

} // namespace

void openYear(Session& s, int year) {
    const QString folder = QDir(s.DataFolder).filePath(QString::number(year));
    ensureFolder(folder);
    makeSeasonFancierFile(resolveFile(folder, QStringLiteral("noms.vba")), s.MasterFancierPath);
    s.setSeasonYear(year);
    s.clearChosenRaces();
}

void memo(Session& s) {
    setFilePaths(s);
    if (s.SeasonYear != 0)
        return;
    s.CurrentFancierNo = 1;
    s.CalendarBaseNames = {QString(), QStringLiteral("gr1")};
    openYear(s, today().year());
}

QString yearRefusedMessage() {
    return QStringLiteral("Tapez l'année en chiffres, par exemple 05 ou 2005");
}

} // namespace vt
