#include "startup.h"

#include "club.h"
#include "common/held_lock.h"
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

QString dataFolderLockPath(const QString& dataFolder) {
    return QDir(dataFolder).filePath(QStringLiteral(".vorel.lock"));
}

namespace {

HeldLock& dataFolderHold() {
    static HeldLock hold;
    return hold;
}

} // namespace

QString holdDataFolder(const QString& startDir) {
    Session place;
    try {
        place.setStartDir(startDir);
    } catch (const Error&) {
        return cannotStart(QDir(startDir).filePath(QStringLiteral("region1"))).message();
    }
    const QString folder = QDir::toNativeSeparators(place.DataFolder);
    HeldLock hold = HeldLock::take(dataFolderLockPath(place.DataFolder));
    switch (hold.state()) {
    case HeldLock::State::Held:
        dataFolderHold() = std::move(hold);
        return {};
    case HeldLock::State::HeldElsewhere: {
        const LockOwner& owner = hold.owner();
        QString text =
            QStringLiteral("Le dossier %1 est déjà utilisé par %2 sur l'ordinateur « %3 ».\n"
                           "Un seul programme à la fois peut travailler sur ce dossier : "
                           "celui-ci va s'arrêter sans rien modifier.")
                .arg(folder, owner.shownProgram(), owner.shownHost());
        // A program that died on another computer cannot be told from one that runs: its
        // lock stays until it is removed by hand.
        if (!owner.host.isEmpty() && owner.host != thisHostName())
            text += QStringLiteral("\nSi ce programme ne tourne plus sur « %1 », supprimez le "
                                   "fichier %2.")
                        .arg(owner.host, QDir::toNativeSeparators(hold.path()));
        return text;
    }
    case HeldLock::State::Failed:
        break;
    }
    return QStringLiteral("Impossible de réserver le dossier %1 pour ce programme : %2.\n"
                          "Le programme va s'arrêter.")
        .arg(folder, hold.failure());
}

void releaseDataFolder() { dataFolderHold().release(); }

} // namespace vt
