#include "session.h"

#include "record_file.h"
#include "text.h"

#include <QDir>

namespace vt {

QString raceExtension(int raceCode) {
    return QStringLiteral(".%1").arg((raceCode % 1000 + 1000) % 1000, 3, 10, QChar(u'0'));
}

QString raceFileName(const QString& base, int raceCode) { return base + raceExtension(raceCode); }

void Session::setStartDir(const QString& startDir) {
    StartDir = QDir(startDir).absolutePath();
    DataFolder = QDir(StartDir).filePath(QStringLiteral("region1"));
    ensureFolder(DataFolder);
    DataFolder = QDir(DataFolder).canonicalPath();
    ClubFilePath = resolveFile(DataFolder, QStringLiteral("societe.nom"));
    MasterFancierPath = resolveFile(DataFolder, QStringLiteral("noms.vba"));
    LocalSitesPath = resolveFile(DataFolder, QStringLiteral("distloc"));
    SheetNamesPath = resolveFile(DataFolder, QStringLiteral("fichenl.jeu"));
    GeneralSitesPath = resolveFile(StartDir, QStringLiteral("distgen"));
}

void Session::setSeasonYear(int year) {
    SeasonYear = year;
    YearShort = QStringLiteral("%1").arg(year % 100, 2, 10, QChar(u'0'));
    YearFolder = QDir(DataFolder).filePath(QString::number(year));
    ensureFolder(YearFolder);
    FancierFilePath = resolveFile(YearFolder, QStringLiteral("noms.vba"));
}

void Session::clearChosenRaces() {
    ChosenRaceCodes.fill(0);
    ChosenRaceStakeFiles.fill(QString());
}

QList<int> Session::chosenRaces() const {
    QList<int> out;
    for (int i = 1; i <= MaxChosenRaces && ChosenRaceCodes[i] != 0; ++i)
        out.append(ChosenRaceCodes[i]);
    return out;
}

void Session::setClub(const QString& name, const QString& code, int groupNumber) {
    ClubCount = 1;
    ClubNames = {QString(), trim(name)};
    ClubCodes = {QString(), trim(code)};
    ClubGroupNumbers = {0, 1};
    ClubGroupNo = groupNumber;
    ClubCaption = QStringLiteral(" La société de ") + trim(name);
}

Session& session() {
    static Session s;
    return s;
}

} // namespace vt
