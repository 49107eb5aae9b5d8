#include "startup.h"

#include "club.h"
#include "common/record_file.h"
#include "season.h"

#include <QDir>

namespace vt {

namespace {

Error cannotStart(const QString& path) {
    return Error(QStringLiteral("Impossible de créer ou d'ouvrir %1. Le programme va s'arrêter.")
                     .arg(QDir::toNativeSeparators(path)));
}

} // namespace

bool startUp(Session& s, const QString& startDir) {
    try {
        s.setStartDir(startDir);
    } catch (const Error&) {
        throw cannotStart(QDir(startDir).filePath(QStringLiteral("region1")));
    }
    setFilePaths(s);
    try {
        RecordFile(s.ClubFilePath, ClubRecord::Size).create();
        return readClubTables(s);
    } catch (const Error&) {
        throw cannotStart(s.ClubFilePath);
    }
}

} // namespace vt
