#pragma once
// The race files of a basketing for the entry-sheet tests, written as the race set-up
// writes them: bases.<code> (record 1), basejeu.<code> (the lines) and mise.<code> (one
// zero block per fancier).
#include "common/record_file.h"
#include "common/session.h"
#include "grid_test_support.h"
#include "tests/support/club_fixture.h"

#include <QDir>
#include <QFile>

namespace vt::testing {

struct RaceFiles {
    int code = 0;
    const char* site = "";
    double latitude = 0, east = 0, west = 0;
    std::vector<Line> lines;
    int fancierCount = 0;
};

inline void writeRaceFiles(const QString& yearFolder, const RaceFiles& race) {
    const QDir dir(yearFolder);
    RaceBaseRecord base;
    base.setSiteName(QString::fromUtf8(race.site));
    base.setCategoryDigit(QStringLiteral("0"));
    base.setLevelIndex(0);
    base.setLatitudeDms(race.latitude);
    base.setLongitudeEastDms(race.east);
    base.setLongitudeWestDms(race.west);
    RecordFileOf<RaceBaseRecord>(dir.filePath(raceFileName(QStringLiteral("bases"), race.code)))
        .rewrite({base});
    RecordFileOf<StakeTypeRecord>(dir.filePath(raceFileName(QStringLiteral("basejeu"), race.code)))
        .rewrite(stakeLines(race.lines));
    RecordFileOf<StakeAmountBlock>(dir.filePath(raceFileName(QStringLiteral("mise"), race.code)))
        .rewrite(QList<StakeAmountBlock>(race.fancierCount));
}

inline QString misePath(const QString& yearFolder, int code) {
    return QDir(yearFolder).filePath(raceFileName(QStringLiteral("mise"), code));
}

// Makes a file impossible to open for writing: read-only, or, for the superuser who writes
// read-only files, a folder in its place (call it after the file has been read).
inline void makeUnwritable(const QString& path) {
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    QFile probe(path);
    if (probe.open(QIODevice::ReadWrite)) {
        probe.close();
        QFile::remove(path);
        QDir().mkdir(path);
    }
}

// The sheet of the fees, rings and deduction example: Mise 1,00, Série 2/3 2,00, then the
// accounting lines (FRAIS 0,50, GRATUITS, S/total, Bagues 0,20, 10 %, Total, TOTAL).
inline const std::vector<Line> ExampleSheet = {
    {"Mise     Mise", 1.0f}, {"Série     2/3", 2.0f}, {"TOTAL du jeu "},
    {"FRAIS    frai", 0.50f}, {"GRATUITS grat"}, {"S/total  s/to"},
    {"Bagues   bagu", 0.20f}, {"    % à  dedu", 10.0f}, {"Total    s/td"},
    {"TOTAL    t/ge"}};

inline const std::vector<Line> SimpleSheet = {
    {"Mise     Mise", 1.0f}, {"TOTAL du jeu "}, {"S/total  s/to"}};

// The basketing of the entry-sheet window tests over the small club (three fanciers):
// races 101 ORLEANS and 102 BORDEAUX on the simple sheet, both chosen.
inline void chooseOrleansAndBordeaux(const QString& yearFolder, Session& s) {
    writeRaceFiles(yearFolder, {101, "ORLEANS", 475413, 15435, 0, SimpleSheet, 3});
    writeRaceFiles(yearFolder, {102, "BORDEAUX", 445017, 0, 3436, SimpleSheet, 3});
    ClubFixture::chooseRaces(s, {101, 102});
}

} // namespace vt::testing
